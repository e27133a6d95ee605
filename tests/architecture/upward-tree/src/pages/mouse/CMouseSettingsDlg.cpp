// Allowed: the pages' common base.
#include "pages/SettingsPage.h"
// Sideways: one page may not reach into another.
#include "pages/sensor/CSensorDlg.h"
