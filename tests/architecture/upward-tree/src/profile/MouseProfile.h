#pragma once

// Allowed: the core's own folders, and a header of the same folder.
#include "buttons/ButtonFunction.h"
#include "profile/DataStream.h"
// Upward: the core may not know the application.
#include "app/CVYSKDlg.h"
