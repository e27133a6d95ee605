#pragma once

#include <memory>

#include "platform/DeviceMonitor.h"

namespace orvane {

// The best monitor for `bus`: the bus's own watch() when it offers one (the
// simulated mouse), else the system's hot-plug notifications, else polling
// the bus. Null only when none of them can be started. `bus` must outlive
// the monitor.
std::unique_ptr<DeviceMonitor> createDeviceMonitor(HidBus& bus, DeviceMonitor::Callback callback);

}  // namespace orvane
