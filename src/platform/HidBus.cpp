#include "platform/HidBus.h"

#include <cstdio>

namespace orvane {

std::string hidInterfaceName(const HidDeviceInfo& device, const std::string& systemName) {
    char ids[40];
    std::snprintf(ids, sizeof ids, "HID#VID_%04X&PID_%04X&MI_%02X#", device.vendorId,
                  device.productId,
                  device.interfaceNumber < 0 ? 0U : unsigned(device.interfaceNumber) & 0xFFU);
    return ids + systemName;
}

}  // namespace orvane
