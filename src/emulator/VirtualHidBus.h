#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "emulator/VirtualMouse.h"
#include "platform/Clock.h"
#include "platform/HidBus.h"

namespace orvane::emulator {

namespace detail {
struct VirtualHidBusCore;
}

// The simulated mouse as a HID bus inside this process: the unit tests'
// bus, and the one orvane-emud serves, so that both follow one set of rules.
//
// Every call into the model happens under one lock (the model is not
// thread-safe). After each, the notices the model left are passed on: input
// reports into the queue of every open handle of that interface (each handle
// has its own, as each hidraw descriptor does), arrivals and removals to the
// watch() subscribers, outside the lock, in the order they happened.
//
// A transfer the model never completes is waited out for the reply time-out
// through the clock and then fails with HidError::Timeout, so a FakeClock
// makes it instant. Handles and subscriptions may outlive the bus; the clock
// must outlive them all.
class VirtualHidBus final : public HidBus {
  public:
    static constexpr std::chrono::milliseconds kDefaultReplyTimeout{5000};
    // Reports a handle keeps while nobody reads; older ones make room.
    static constexpr std::size_t kInputQueueLimit = 64;

    explicit VirtualHidBus(Clock& clock = systemClock(),
                           std::chrono::milliseconds replyTimeout = kDefaultReplyTimeout);
    // Shares the model with whoever else holds it; they must not call it
    // behind the bus's back.
    VirtualHidBus(std::shared_ptr<VirtualMouse> mouse, Clock& clock = systemClock(),
                  std::chrono::milliseconds replyTimeout = kDefaultReplyTimeout);
    ~VirtualHidBus() override;

    VirtualHidBus(const VirtualHidBus&) = delete;
    VirtualHidBus& operator=(const VirtualHidBus&) = delete;

    std::vector<HidDeviceInfo> enumerate() override;
    std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) override;
    std::unique_ptr<HidHotplugSubscription> watch(HotplugCallback callback) override;

    // watch() together with the interfaces present at the moment it starts,
    // so that the list and the events that follow it fit without a gap or a
    // repeat.
    std::unique_ptr<HidHotplugSubscription> watch(HotplugCallback callback,
                                                  std::vector<HidDeviceInfo>& present);

    // Runs `action` on the model under the bus's lock, then passes on what
    // the model announced; its result is handed back.
    template <typename Action>
    auto withMouse(Action&& action) -> std::invoke_result_t<Action&, VirtualMouse&> {
        using Result = std::invoke_result_t<Action&, VirtualMouse&>;
        if constexpr (std::is_void_v<Result>) {
            runOnMouse([&action](VirtualMouse& mouse) { action(mouse); });
        } else {
            std::optional<Result> result;
            runOnMouse([&](VirtualMouse& mouse) { result.emplace(action(mouse)); });
            return std::move(*result);
        }
    }

  private:
    void runOnMouse(const std::function<void(VirtualMouse&)>& action);

    std::shared_ptr<detail::VirtualHidBusCore> core;
};

}  // namespace orvane::emulator
