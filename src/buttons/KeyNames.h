#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// The name the pages and pop-ups show for a key code (virtual-key numbering,
// left and right modifiers apart); empty for a code that has none.
std::string GetKeyName(std::uint8_t code);

}  // namespace orvane
