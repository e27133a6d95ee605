#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/DeviceMonitor.h"

namespace orvane {

namespace detail {
struct MonitorState;
}

// The changes between two listings of one bus, interfaces matched by path:
// removals first, in the order of `before`, then arrivals, in the order of
// `after`. Names are built from the last component of each path, which is
// the hidraw node's name on the machine's bus.
std::vector<HidHotplugEvent> diffInterfaces(const std::vector<HidDeviceInfo>& before,
                                            const std::vector<HidDeviceInfo>& after);

// Passes on the events of a bus that reports its own changes (the simulated
// mouse). The bus calls us on whatever thread made the change, often in the
// middle of a transfer; handing the events to our own thread keeps the
// callback from running inside someone else's transfer.
class BusWatchDeviceMonitor final : public DeviceMonitor {
  public:
    // Null when the bus cannot report changes itself.
    static std::unique_ptr<BusWatchDeviceMonitor> create(HidBus& bus, Callback callback);
    ~BusWatchDeviceMonitor() override;

    BusWatchDeviceMonitor(const BusWatchDeviceMonitor&) = delete;
    BusWatchDeviceMonitor& operator=(const BusWatchDeviceMonitor&) = delete;

  private:
    explicit BusWatchDeviceMonitor(std::shared_ptr<detail::MonitorState> state);

    std::shared_ptr<detail::MonitorState> state;
    std::unique_ptr<HidHotplugSubscription> subscription;
    std::thread thread;
};

// Lists the bus at an interval and reports the differences: the last resort
// where nothing announces changes (a container without a udev daemon).
class PollingDeviceMonitor final : public DeviceMonitor {
  public:
    static constexpr std::chrono::milliseconds kDefaultInterval{500};

    PollingDeviceMonitor(HidBus& bus, Callback callback,
                         std::chrono::milliseconds interval = kDefaultInterval);
    ~PollingDeviceMonitor() override;

    PollingDeviceMonitor(const PollingDeviceMonitor&) = delete;
    PollingDeviceMonitor& operator=(const PollingDeviceMonitor&) = delete;

  private:
    std::shared_ptr<detail::MonitorState> state;
    std::thread thread;
};

}  // namespace orvane
