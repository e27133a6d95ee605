#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

// Whether an arrival or removal names the mouse's configuration interface:
// the vendor id and the product id, each as four upper-case hexadecimal
// digits, and "MI_00" all occur in the interface name after its first
// character, letter case respected.
bool namesMouseInterface(std::string_view interfaceName, std::uint16_t vendorId,
                         std::uint16_t productId);

// The same for the mouse's own ids.
bool namesMouseInterface(std::string_view interfaceName);

}  // namespace orvane
