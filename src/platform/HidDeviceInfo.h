#pragma once

#include <cstdint>
#include <string>

namespace orvane {

// One HID interface as the bus lists it.
struct HidDeviceInfo {
    std::string path;  // what HidBus::open takes; unique on its bus
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t releaseNumber = 0;  // the device's version number
    std::uint16_t usagePage = 0;      // of the interface's top-level collection
    std::uint16_t usage = 0;
    int interfaceNumber = -1;  // USB interface, -1 when the bus does not know it

    friend bool operator==(const HidDeviceInfo&, const HidDeviceInfo&) = default;
};

}  // namespace orvane
