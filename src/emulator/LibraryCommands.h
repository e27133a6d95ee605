#pragma once

#include "emulator/MouseMemory.h"
#include "emulator/Reports.h"

namespace orvane::emulator {

// The device-control library's commands in application mode: versions,
// sensor and lighting settings, buttons, profiles, data blocks, factory reset
// and the switch to the boot loader. Anything else is refused.
CommandReply handleLibraryCommand(MouseMemory& memory, const Request& request);

}  // namespace orvane::emulator
