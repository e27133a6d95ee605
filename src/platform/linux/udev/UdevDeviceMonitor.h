#pragma once

#include <memory>
#include <thread>

#include "platform/DeviceMonitor.h"

namespace orvane {

// Arrivals and removals of hidraw nodes as the udev daemon announces them.
// Vendor, product and interface number come from the USB parents of the
// node; a removal carries what its arrival (or the listing at start) found,
// because the parents are gone from sysfs by the time it is announced.
class UdevDeviceMonitor final : public DeviceMonitor {
  public:
    // Null when no udev monitor can be set up.
    static std::unique_ptr<UdevDeviceMonitor> create(Callback callback);
    ~UdevDeviceMonitor() override;

    UdevDeviceMonitor(const UdevDeviceMonitor&) = delete;
    UdevDeviceMonitor& operator=(const UdevDeviceMonitor&) = delete;

    struct State;

  private:
    explicit UdevDeviceMonitor(std::shared_ptr<State> state);

    std::shared_ptr<State> state;
    std::thread thread;
};

// Whether a udev daemon runs here; in containers there often is none, and a
// monitor on its socket would then never hear anything.
bool udevDaemonRunning();

}  // namespace orvane
