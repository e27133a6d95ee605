// Allowed: the library's public header, and the tool's own header.
#include "Command.h"
#include "Orvane_pro_dll.h"
// Not allowed: the tool goes through the library, never its insides.
#include "devlib/LibraryCore.h"
