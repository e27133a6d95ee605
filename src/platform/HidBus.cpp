#include "platform/HidBus.h"

#include <cstdio>

namespace orvane {

int interfaceNumberFromPhys(const std::string& phys) {
    static const std::string kMarker = "/input";
    const std::size_t at = phys.rfind(kMarker);
    if (at == std::string::npos || at + kMarker.size() == phys.size()) {
        return -1;
    }
    int number = 0;
    for (std::size_t i = at + kMarker.size(); i < phys.size(); ++i) {
        if (phys[i] < '0' || phys[i] > '9' || number > 255) {
            return -1;
        }
        number = number * 10 + (phys[i] - '0');
    }
    return number <= 255 ? number : -1;
}

std::string hidInterfaceName(const HidDeviceInfo& device, const std::string& systemName) {
    char ids[40];
    std::snprintf(ids, sizeof ids, "HID#VID_%04X&PID_%04X&MI_%02X#", device.vendorId,
                  device.productId,
                  device.interfaceNumber < 0 ? 0U : unsigned(device.interfaceNumber) & 0xFFU);
    return ids + systemName;
}

}  // namespace orvane
