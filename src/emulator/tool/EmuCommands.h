#pragma once

#include <ostream>

namespace orvane::emulator {

// Exit statuses of orvane-emu.
inline constexpr int kToolOk = 0;
inline constexpr int kToolFailure = 1;  // no daemon answers, or it refused the command
inline constexpr int kToolUsage = 2;    // a command line that makes no sense

// Parses the command line and sends the command it names to the daemon.
int runEmuTool(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace orvane::emulator
