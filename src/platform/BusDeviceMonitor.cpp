#include "platform/BusDeviceMonitor.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace orvane {

namespace detail {

struct MonitorState {
    explicit MonitorState(DeviceMonitor::Callback callback) : callback(std::move(callback)) {}

    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = false;
    std::deque<HidHotplugEvent> queue;
    const DeviceMonitor::Callback callback;
};

}  // namespace detail

namespace {

using detail::MonitorState;

std::string systemNameOfPath(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A monitor destroyed from inside its own callback cannot wait for itself;
// its thread then finishes on its own, keeping the state alive, and calls
// nothing more because `stopping` is set.
void stopThread(MonitorState& state, std::thread& thread) {
    {
        std::lock_guard lock(state.mutex);
        state.stopping = true;
    }
    state.wake.notify_all();
    if (!thread.joinable()) {
        return;
    }
    if (thread.get_id() == std::this_thread::get_id()) {
        thread.detach();
    } else {
        thread.join();
    }
}

}  // namespace

std::vector<HidHotplugEvent> diffInterfaces(const std::vector<HidDeviceInfo>& before,
                                            const std::vector<HidDeviceInfo>& after) {
    const auto listedIn = [](const std::vector<HidDeviceInfo>& list, const std::string& path) {
        return std::any_of(list.begin(), list.end(),
                           [&path](const HidDeviceInfo& info) { return info.path == path; });
    };
    std::vector<HidHotplugEvent> events;
    for (const HidDeviceInfo& gone : before) {
        if (!listedIn(after, gone.path)) {
            events.push_back({HidHotplugEvent::Kind::Removal, gone,
                              hidInterfaceName(gone, systemNameOfPath(gone.path))});
        }
    }
    for (const HidDeviceInfo& came : after) {
        if (!listedIn(before, came.path)) {
            events.push_back({HidHotplugEvent::Kind::Arrival, came,
                              hidInterfaceName(came, systemNameOfPath(came.path))});
        }
    }
    return events;
}

std::unique_ptr<BusWatchDeviceMonitor> BusWatchDeviceMonitor::create(HidBus& bus,
                                                                     Callback callback) {
    auto state = std::make_shared<MonitorState>(std::move(callback));
    auto subscription =
        bus.watch([queued = std::weak_ptr<MonitorState>(state)](const HidHotplugEvent& event) {
            if (const auto target = queued.lock()) {
                {
                    std::lock_guard lock(target->mutex);
                    target->queue.push_back(event);
                }
                target->wake.notify_all();
            }
        });
    if (!subscription) {
        return nullptr;
    }
    std::unique_ptr<BusWatchDeviceMonitor> monitor(new BusWatchDeviceMonitor(std::move(state)));
    monitor->subscription = std::move(subscription);
    return monitor;
}

BusWatchDeviceMonitor::BusWatchDeviceMonitor(std::shared_ptr<MonitorState> shared)
    : state(std::move(shared)) {
    thread = std::thread([state = state] {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->wake.wait(lock, [&] { return state->stopping || !state->queue.empty(); });
            if (state->stopping) {
                return;
            }
            const HidHotplugEvent event = std::move(state->queue.front());
            state->queue.pop_front();
            lock.unlock();
            state->callback(event);
            lock.lock();
        }
    });
}

BusWatchDeviceMonitor::~BusWatchDeviceMonitor() {
    // No new events once the subscription is gone; then the thread may end.
    subscription.reset();
    stopThread(*state, thread);
}

PollingDeviceMonitor::PollingDeviceMonitor(HidBus& bus, Callback callback,
                                           std::chrono::milliseconds interval)
    : state(std::make_shared<MonitorState>(std::move(callback))) {
    // Listed here, on the creator's thread, so that whatever is present when
    // the constructor returns counts as known.
    std::vector<HidDeviceInfo> known = bus.enumerate();
    thread = std::thread([state = state, &bus, interval, known = std::move(known)]() mutable {
        std::unique_lock lock(state->mutex);
        for (;;) {
            state->wake.wait_for(lock, interval, [&] { return state->stopping; });
            if (state->stopping) {
                return;
            }
            lock.unlock();
            std::vector<HidDeviceInfo> present = bus.enumerate();
            for (const HidHotplugEvent& event : diffInterfaces(known, present)) {
                {
                    std::lock_guard check(state->mutex);
                    if (state->stopping) {
                        return;
                    }
                }
                state->callback(event);
            }
            known = std::move(present);
            lock.lock();
        }
    });
}

PollingDeviceMonitor::~PollingDeviceMonitor() {
    stopThread(*state, thread);
}

}  // namespace orvane
