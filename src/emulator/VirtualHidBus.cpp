#include "emulator/VirtualHidBus.h"

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>

#include "platform/virtual/BusProtocol.h"

namespace orvane::emulator {

namespace detail {

struct HandleState {
    std::string path;
    std::deque<std::vector<std::uint8_t>> reports;
};

struct Subscriber {
    // Held while the callback runs, so that ending the subscription waits
    // for a call in flight; recursive so that a callback may end its own.
    std::recursive_mutex callMutex;
    bool active = true;
    std::uint64_t firstEvent = 0;
    HidBus::HotplugCallback callback;
};

struct PendingEvent {
    std::uint64_t sequence = 0;
    HidHotplugEvent event;
};

struct VirtualHidBusCore {
    VirtualHidBusCore(std::shared_ptr<VirtualMouse> mouse, Clock& clock,
                      std::chrono::milliseconds replyTimeout)
        : mouse(std::move(mouse)), clock(clock), replyTimeout(replyTimeout) {}

    // Runs `action` on the model under the lock, collects what it announced
    // and delivers the hot-plug events after the lock is released.
    template <typename Action>
    auto call(Action&& action) {
        std::unique_lock lock(mutex);
        auto result = action(*mouse);
        collectNotices();
        lock.unlock();
        deliverEvents();
        return result;
    }

    HidError outcome(const TransferResult& result) {
        if (result.neverCompletes) {
            clock.sleepFor(replyTimeout);
            return HidError::Timeout;
        }
        return result.error;
    }

    void collectNotices();
    void deliverEvents();

    const std::shared_ptr<VirtualMouse> mouse;
    Clock& clock;
    const std::chrono::milliseconds replyTimeout;

    // Guards the model and everything below.
    std::mutex mutex;
    std::condition_variable reportArrived;
    std::vector<HandleState*> handles;
    std::vector<std::shared_ptr<Subscriber>> subscribers;
    std::deque<PendingEvent> pending;
    std::uint64_t nextSequence = 0;
    bool delivering = false;
};

void VirtualHidBusCore::collectNotices() {
    bool wake = false;
    for (Notice& notice : mouse->takeNotices()) {
        if (notice.kind == Notice::Kind::InputReport) {
            for (HandleState* handle : handles) {
                if (handle->path != notice.device.path) {
                    continue;
                }
                if (handle->reports.size() >= VirtualHidBus::kInputQueueLimit) {
                    handle->reports.pop_front();
                }
                handle->reports.push_back(notice.report);
                wake = true;
            }
            continue;
        }
        const bool arrival = notice.kind == Notice::Kind::Arrival;
        // Readers of a removed interface must stop waiting.
        wake = wake || !arrival;
        const std::string name = virtualInterfaceName(notice.device);
        pending.push_back(
            {nextSequence++,
             {arrival ? HidHotplugEvent::Kind::Arrival : HidHotplugEvent::Kind::Removal,
              std::move(notice.device), name}});
    }
    if (wake) {
        reportArrived.notify_all();
    }
}

void VirtualHidBusCore::deliverEvents() {
    std::unique_lock lock(mutex);
    // Whoever delivers already will deliver ours too, in order; a callback
    // that calls back into the bus lands here and returns at once.
    if (delivering) {
        return;
    }
    delivering = true;
    try {
        while (!pending.empty()) {
            const PendingEvent next = std::move(pending.front());
            pending.pop_front();
            const std::vector<std::shared_ptr<Subscriber>> receivers = subscribers;
            lock.unlock();
            for (const std::shared_ptr<Subscriber>& receiver : receivers) {
                if (next.sequence < receiver->firstEvent) {
                    continue;
                }
                std::lock_guard call(receiver->callMutex);
                if (receiver->active) {
                    receiver->callback(next.event);
                }
            }
            lock.lock();
        }
    } catch (...) {
        if (!lock.owns_lock()) {
            lock.lock();
        }
        delivering = false;
        throw;
    }
    delivering = false;
}

}  // namespace detail

namespace {

using detail::HandleState;
using detail::Subscriber;
using detail::VirtualHidBusCore;

// steady_clock's time points overflow on a wait of milliseconds::max().
std::chrono::milliseconds boundedWait(std::chrono::milliseconds timeout) {
    constexpr std::chrono::milliseconds kLongest = std::chrono::hours(24 * 365);
    return std::clamp(timeout, std::chrono::milliseconds::zero(), kLongest);
}

class VirtualHidDevice final : public HidDevice {
  public:
    VirtualHidDevice(std::shared_ptr<VirtualHidBusCore> core, std::string path)
        : core(std::move(core)) {
        state.path = std::move(path);
    }
    ~VirtualHidDevice() override {
        std::lock_guard lock(core->mutex);
        std::erase(core->handles, &state);
    }

    // Registers the queue; called by open() under the lock.
    void attach() { core->handles.push_back(&state); }

    HidError sendFeatureReport(std::span<const std::uint8_t> report) override {
        return core->outcome(core->call([&](VirtualMouse& mouse) {
            if (!mouse.isPresent(state.path)) {
                return TransferResult{HidError::DeviceNotConnected};
            }
            return mouse.setFeature(state.path, report);
        }));
    }

    HidError getFeatureReport(std::span<std::uint8_t> report) override {
        return core->outcome(core->call([&](VirtualMouse& mouse) {
            if (!mouse.isPresent(state.path)) {
                return TransferResult{HidError::DeviceNotConnected};
            }
            return mouse.getFeature(state.path, report);
        }));
    }

    HidError readInputReport(std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                             std::size_t& length) override {
        length = 0;
        const bool forever = timeout == kWaitForever;
        const auto deadline = std::chrono::steady_clock::now() + boundedWait(timeout);
        std::unique_lock lock(core->mutex);
        for (;;) {
            if (cancelled) {
                return HidError::None;
            }
            // Reports that came before a removal are still handed out, as
            // hidraw does.
            if (!state.reports.empty()) {
                const std::vector<std::uint8_t>& next = state.reports.front();
                length = std::min(next.size(), report.size());
                std::copy_n(next.begin(), length, report.begin());
                state.reports.pop_front();
                return HidError::None;
            }
            if (!core->mouse->isPresent(state.path)) {
                return HidError::DeviceNotConnected;
            }
            if (forever) {
                core->reportArrived.wait(lock);
                continue;
            }
            if (std::chrono::steady_clock::now() >= deadline) {
                return HidError::None;
            }
            core->reportArrived.wait_until(lock, deadline);
        }
    }

    void cancelInputRead() override {
        {
            std::lock_guard lock(core->mutex);
            cancelled = true;
        }
        core->reportArrived.notify_all();
    }

  private:
    std::shared_ptr<VirtualHidBusCore> core;
    HandleState state;
    bool cancelled = false;  // guarded by core->mutex
};

class VirtualHotplugSubscription final : public HidHotplugSubscription {
  public:
    VirtualHotplugSubscription(std::shared_ptr<VirtualHidBusCore> core,
                               std::shared_ptr<Subscriber> subscriber)
        : core(std::move(core)), subscriber(std::move(subscriber)) {}
    ~VirtualHotplugSubscription() override {
        {
            std::lock_guard lock(core->mutex);
            std::erase(core->subscribers, subscriber);
        }
        std::lock_guard call(subscriber->callMutex);
        subscriber->active = false;
    }

  private:
    std::shared_ptr<VirtualHidBusCore> core;
    std::shared_ptr<Subscriber> subscriber;
};

}  // namespace

VirtualHidBus::VirtualHidBus(Clock& clock, std::chrono::milliseconds replyTimeout)
    : VirtualHidBus(std::make_shared<VirtualMouse>(), clock, replyTimeout) {}

VirtualHidBus::VirtualHidBus(std::shared_ptr<VirtualMouse> mouse, Clock& clock,
                             std::chrono::milliseconds replyTimeout)
    : core(std::make_shared<VirtualHidBusCore>(std::move(mouse), clock, replyTimeout)) {
    // Whatever the model announced before we held it (its first plug-in)
    // was before anyone could listen.
    std::lock_guard lock(core->mutex);
    core->mouse->takeNotices();
}

VirtualHidBus::~VirtualHidBus() = default;

std::vector<HidDeviceInfo> VirtualHidBus::enumerate() {
    std::lock_guard lock(core->mutex);
    return core->mouse->interfaces();
}

std::unique_ptr<HidDevice> VirtualHidBus::open(const std::string& path, HidError& error) {
    std::lock_guard lock(core->mutex);
    if (!core->mouse->isPresent(path)) {
        error = HidError::DeviceNotConnected;
        return nullptr;
    }
    auto device = std::make_unique<VirtualHidDevice>(core, path);
    device->attach();
    error = HidError::None;
    return device;
}

std::unique_ptr<HidHotplugSubscription> VirtualHidBus::watch(HotplugCallback callback) {
    std::vector<HidDeviceInfo> present;
    return watch(std::move(callback), present);
}

std::unique_ptr<HidHotplugSubscription> VirtualHidBus::watch(HotplugCallback callback,
                                                             std::vector<HidDeviceInfo>& present) {
    auto subscriber = std::make_shared<Subscriber>();
    subscriber->callback = std::move(callback);
    std::lock_guard lock(core->mutex);
    // Events still waiting for delivery happened before this list was taken.
    subscriber->firstEvent = core->nextSequence;
    present = core->mouse->interfaces();
    core->subscribers.push_back(subscriber);
    return std::make_unique<VirtualHotplugSubscription>(core, std::move(subscriber));
}

void VirtualHidBus::runOnMouse(const std::function<void(VirtualMouse&)>& action) {
    core->call([&action](VirtualMouse& mouse) {
        action(mouse);
        return true;
    });
}

}  // namespace orvane::emulator
