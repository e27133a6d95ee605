#pragma once

#include <cstdint>
#include <ostream>
#include <string>

namespace orvanectl {

// What a user should read for a result byte of the device-control library.
std::string describeLibraryResult(std::uint8_t result);

// Prints the failure of `what` and gives the exit status: 0 for success,
// 1 for anything else.
int reportLibraryResult(std::uint8_t result, const std::string& what, std::ostream& err);

}  // namespace orvanectl
