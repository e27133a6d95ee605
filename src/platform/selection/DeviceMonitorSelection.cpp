#include "platform/selection/DeviceMonitorSelection.h"

#include "platform/BusDeviceMonitor.h"
#include "platform/linux/udev/UdevDeviceMonitor.h"

namespace orvane {

std::unique_ptr<DeviceMonitor> createDeviceMonitor(HidBus& bus, DeviceMonitor::Callback callback) {
    if (auto watching = BusWatchDeviceMonitor::create(bus, callback)) {
        return watching;
    }
    if (udevDaemonRunning()) {
        if (auto udevMonitor = UdevDeviceMonitor::create(callback)) {
            return udevMonitor;
        }
    }
    return std::make_unique<PollingDeviceMonitor>(bus, std::move(callback));
}

}  // namespace orvane
