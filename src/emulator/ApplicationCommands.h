#pragma once

#include <optional>

#include "emulator/MouseMemory.h"
#include "emulator/Reports.h"

namespace orvane::emulator {

// The configuration application's commands: current slot, slot selection,
// surface analysis and the two halves of a slot image. Empty for a request
// that is not one of them.
std::optional<CommandReply> handleApplicationCommand(MouseMemory& memory, const Request& request);

}  // namespace orvane::emulator
