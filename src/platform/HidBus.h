#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/HidDevice.h"
#include "platform/HidDeviceInfo.h"

namespace orvane {

// A change on the bus: one interface appeared or went away. `interfaceName`
// is built like "HID#VID_1209&PID_0001&MI_00#<name>" on every backend, so
// that one matching rule serves them all.
struct HidHotplugEvent {
    enum class Kind { Arrival, Removal };
    Kind kind = Kind::Arrival;
    HidDeviceInfo device;
    std::string interfaceName;
};

// Ends a hot-plug subscription when destroyed.
class HidHotplugSubscription {
  public:
    virtual ~HidHotplugSubscription() = default;
};

// The HID interfaces of the machine (or of the simulated mouse).
class HidBus {
  public:
    using HotplugCallback = std::function<void(const HidHotplugEvent&)>;

    virtual ~HidBus() = default;

    // Every interface present now, in the bus's own order.
    virtual std::vector<HidDeviceInfo> enumerate() = 0;

    // Opens one interface by its path; null (and the reason in `error`) when
    // it cannot be opened.
    virtual std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) = 0;

    // Calls `callback` (on a thread of the bus's choosing) for every arrival
    // and removal until the subscription is destroyed. Null when this bus
    // cannot report changes itself; the caller then watches the system.
    virtual std::unique_ptr<HidHotplugSubscription> watch(HotplugCallback callback) {
        (void)callback;
        return nullptr;
    }
};

// The interface number in a HID device's place as the kernel names it
// (HID_PHYS): usbhid writes "usb-0000:00:14.0-1/input2", and a device without
// a USB parent (the simulated mouse in the kernel, through uhid) writes it
// the same way, its only record of the number. -1 when it names none.
int interfaceNumberFromPhys(const std::string& phys);

// The interface name that arrival and removal events carry.
std::string hidInterfaceName(const HidDeviceInfo& device, const std::string& systemName);

}  // namespace orvane
