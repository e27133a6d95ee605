#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

#include "devlib/LibraryCore.h"
#include "emulator/VirtualHidBus.h"
#include "platform/FakeClock.h"
#include "protocol/ReportLayout.h"

namespace orvane::devlib::testing {

using Bytes = std::vector<std::uint8_t>;
constexpr std::chrono::seconds kPatience{10};

// `size` bytes: `head`, then zeros.
inline Bytes filled(std::initializer_list<std::uint8_t> head, std::size_t size) {
    Bytes result(head);
    result.resize(size, 0);
    return result;
}

// The simulated mouse seen through a tap: every feature report any handle
// sends is logged, input reports can be pushed to the reading handle, and
// the tap knows how many handles are open and whether one is inside a read.
class TappedBus final : public HidBus {
  public:
    explicit TappedBus(Clock& clock) : mouse(std::make_shared<emulator::VirtualHidBus>(clock)) {}

    std::vector<HidDeviceInfo> enumerate() override { return mouse->enumerate(); }
    std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) override {
        std::unique_ptr<HidDevice> inner = mouse->open(path, error);
        if (!inner) {
            return nullptr;
        }
        return std::make_unique<Handle>(tap, std::move(inner));
    }
    std::unique_ptr<HidHotplugSubscription> watch(HotplugCallback callback) override {
        return mouse->watch(std::move(callback));
    }

    template <typename Action>
    auto withMouse(Action&& action) {
        return mouse->withMouse(std::forward<Action>(action));
    }

    void inject(Bytes report) {
        {
            std::lock_guard lock(tap->mutex);
            tap->injected.push_back(std::move(report));
        }
        tap->changed.notify_all();
    }
    std::vector<Bytes> sets() const {
        std::lock_guard lock(tap->mutex);
        return tap->sets;
    }
    void clearSets() {
        std::lock_guard lock(tap->mutex);
        tap->sets.clear();
    }
    int openHandles() const {
        std::lock_guard lock(tap->mutex);
        return tap->openHandles;
    }
    // The most handles that were ever open at once.
    int peakOpenHandles() const {
        std::lock_guard lock(tap->mutex);
        return tap->peakOpenHandles;
    }
    // Waits until some handle waits for an input report.
    bool waitForReader() {
        std::unique_lock lock(tap->mutex);
        return tap->changed.wait_for(lock, kPatience, [this] { return tap->readers > 0; });
    }
    // A handle released while one of its reads was still running.
    bool releasedDuringRead() const {
        std::lock_guard lock(tap->mutex);
        return tap->releasedDuringRead;
    }

  private:
    struct Tap {
        mutable std::mutex mutex;
        std::condition_variable changed;
        std::vector<Bytes> sets;
        std::deque<Bytes> injected;
        int openHandles = 0;
        int peakOpenHandles = 0;
        int readers = 0;
        bool releasedDuringRead = false;
    };

    class Handle final : public HidDevice {
      public:
        Handle(std::shared_ptr<Tap> tap, std::unique_ptr<HidDevice> inner)
            : tap(std::move(tap)), inner(std::move(inner)) {
            std::lock_guard lock(this->tap->mutex);
            ++this->tap->openHandles;
            this->tap->peakOpenHandles =
                std::max(this->tap->peakOpenHandles, this->tap->openHandles);
        }
        ~Handle() override {
            std::lock_guard lock(tap->mutex);
            --tap->openHandles;
            tap->releasedDuringRead = tap->releasedDuringRead || reading;
        }
        HidError sendFeatureReport(std::span<const std::uint8_t> report) override {
            {
                std::lock_guard lock(tap->mutex);
                tap->sets.emplace_back(report.begin(), report.end());
            }
            return inner->sendFeatureReport(report);
        }
        HidError getFeatureReport(std::span<std::uint8_t> report) override {
            return inner->getFeatureReport(report);
        }
        HidError readInputReport(std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                                 std::size_t& length) override {
            {
                std::unique_lock lock(tap->mutex);
                reading = true;
                ++tap->readers;
                tap->changed.notify_all();
                // A read that waits for ever still looks at the mouse's own
                // reports now and then; this double is no waiting thread to
                // be proud of, only a way to inject reports.
                const auto wait = timeout == kWaitForever ? kInnerLookEvery : timeout;
                const bool injected = tap->changed.wait_for(
                    lock, wait, [this] { return cancelled || !tap->injected.empty(); });
                if (cancelled) {
                    --tap->readers;
                    reading = false;
                    length = 0;
                    return HidError::None;
                }
                --tap->readers;
                reading = false;
                if (injected) {
                    const Bytes next = std::move(tap->injected.front());
                    tap->injected.pop_front();
                    length = std::min(next.size(), report.size());
                    std::copy_n(next.begin(), length, report.begin());
                    return HidError::None;
                }
            }
            // What the mouse itself sent (its buttons) has waited meanwhile.
            return inner->readInputReport(report, std::chrono::milliseconds(0), length);
        }

        void cancelInputRead() override {
            {
                std::lock_guard lock(tap->mutex);
                cancelled = true;
            }
            tap->changed.notify_all();
        }

      private:
        std::shared_ptr<Tap> tap;
        std::unique_ptr<HidDevice> inner;
        bool reading = false;
        bool cancelled = false;  // guarded by tap->mutex
        static constexpr std::chrono::milliseconds kInnerLookEvery{10};
    };

    std::shared_ptr<emulator::VirtualHidBus> mouse;
    std::shared_ptr<Tap> tap = std::make_shared<Tap>();
};

// The library's core on the tapped simulated mouse.
class LibraryOnTappedMouse : public ::testing::Test {
  protected:
    LibraryOnTappedMouse() {
        auto owned = std::make_unique<TappedBus>(clock);
        bus = owned.get();
        core = std::make_unique<LibraryCore>(std::move(owned), clock);
    }

    // One exchange on a handle of the test's own, past the library.
    void sendToMouse(const Bytes& request, std::size_t replyLength = kCommandReportSize) {
        HidDeviceInfo config;
        for (const HidDeviceInfo& info : bus->enumerate()) {
            if (info.interfaceNumber == 0) {
                config = info;
            }
        }
        HidError error = HidError::None;
        std::unique_ptr<HidDevice> handle = bus->open(config.path, error);
        ASSERT_NE(handle, nullptr);
        ASSERT_EQ(handle->sendFeatureReport(request), HidError::None);
        Bytes reply = filled({kCommandReportId}, replyLength);
        ASSERT_EQ(handle->getFeatureReport(reply), HidError::None);
        ASSERT_EQ(reply[kStatusByte], kStatusDone);
    }

    FakeClock clock;
    TappedBus* bus = nullptr;
    std::unique_ptr<LibraryCore> core;
};

// Callbacks of the C interface carry no context, so what they see goes
// through one of these, reached from a global.
template <typename Event>
class Recorder {
  public:
    void add(Event event) {
        {
            std::lock_guard lock(mutex);
            events.push_back(std::move(event));
        }
        changed.notify_all();
    }
    bool waitFor(const std::function<bool(const std::vector<Event>&)>& done) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, kPatience, [&] { return done(events); });
    }
    bool waitForCount(std::size_t count) {
        return waitFor([count](const std::vector<Event>& seen) { return seen.size() >= count; });
    }
    std::vector<Event> all() const {
        std::lock_guard lock(mutex);
        return events;
    }
    void clear() {
        std::lock_guard lock(mutex);
        events.clear();
    }

  private:
    mutable std::mutex mutex;
    std::condition_variable changed;
    std::vector<Event> events;
};

}  // namespace orvane::devlib::testing
