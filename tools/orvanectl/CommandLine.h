#pragma once

#include <ostream>

namespace orvanectl {

// Exit statuses shared by every command.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailure = 1;  // an unreadable or damaged file, a failed write
inline constexpr int kExitUsage = 2;    // a command line that makes no sense

// Parses the command line and runs the command it names.
int run(int argc, const char* const* argv, std::ostream& out, std::ostream& err);

}  // namespace orvanectl
