#include "app/InterfaceMatch.h"

#include <array>

#include "protocol/DeviceIds.h"

namespace orvane {

namespace {

std::array<char, 4> upperHex(std::uint16_t value) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    return {kDigits[(value >> 12) & 0xF], kDigits[(value >> 8) & 0xF], kDigits[(value >> 4) & 0xF],
            kDigits[value & 0xF]};
}

bool occursAfterFirst(std::string_view text, std::string_view part) {
    const std::size_t at = text.find(part, 1);
    return at != std::string_view::npos;
}

}  // namespace

bool namesMouseInterface(std::string_view interfaceName, std::uint16_t vendorId,
                         std::uint16_t productId) {
    const auto vendor = upperHex(vendorId);
    const auto product = upperHex(productId);
    return occursAfterFirst(interfaceName, std::string_view(vendor.data(), vendor.size())) &&
           occursAfterFirst(interfaceName, std::string_view(product.data(), product.size())) &&
           occursAfterFirst(interfaceName, "MI_00");
}

bool namesMouseInterface(std::string_view interfaceName) {
    return namesMouseInterface(interfaceName, kVendorId, kProductId);
}

}  // namespace orvane
