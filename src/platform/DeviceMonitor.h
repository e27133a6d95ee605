#pragma once

#include <functional>
#include <memory>

#include "platform/HidBus.h"

namespace orvane {

// Reports arrivals and removals of HID interfaces, each with its interface
// name (hidInterfaceName), on a thread of the monitor's own, from creation
// until destruction. Interfaces present when the monitor starts are not
// reported.
//
// The callback never runs on the thread that caused the change, so it may
// call back into the bus or into whatever made the change. Once the
// destructor has returned the callback is not running and is never called
// again; destroying a monitor from inside its own callback is allowed.
class DeviceMonitor {
  public:
    using Callback = std::function<void(const HidHotplugEvent&)>;

    virtual ~DeviceMonitor() = default;
};

}  // namespace orvane
