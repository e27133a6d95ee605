#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <thread>

#include "emulator/VirtualHidBus.h"
#include "platform/BusDeviceMonitor.h"
#include "platform/DeviceMonitor.h"
#include "platform/FakeClock.h"
#include "platform/selection/DeviceMonitorSelection.h"

namespace orvane {
namespace {

using Kind = HidHotplugEvent::Kind;
constexpr std::chrono::seconds kPatience{10};

struct Seen {
    Kind kind;
    std::string name;
    std::thread::id thread;
    friend bool operator==(const Seen& a, const Seen& b) {
        return a.kind == b.kind && a.name == b.name;
    }
};

class Events {
  public:
    DeviceMonitor::Callback callback() {
        return [this](const HidHotplugEvent& event) {
            {
                std::lock_guard lock(mutex);
                seen.push_back({event.kind, event.interfaceName, std::this_thread::get_id()});
            }
            changed.notify_all();
        };
    }
    std::vector<Seen> waitFor(std::size_t count) {
        std::unique_lock lock(mutex);
        changed.wait_for(lock, kPatience, [&] { return seen.size() >= count; });
        return seen;
    }
    std::vector<Seen> all() {
        std::lock_guard lock(mutex);
        return seen;
    }

  private:
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<Seen> seen;
};

std::vector<Seen> expectedFor(Kind kind, const std::vector<HidDeviceInfo>& interfaces) {
    std::vector<Seen> expected;
    for (const HidDeviceInfo& info : interfaces) {
        expected.push_back({kind, hidInterfaceName(info, info.path), {}});
    }
    return expected;
}

TEST(BusWatchDeviceMonitor, ReportsUnplugAndPlugOfTheSimulatedMouseOnItsOwnThread) {
    FakeClock clock;
    emulator::VirtualHidBus bus(clock);
    Events events;
    std::unique_ptr<DeviceMonitor> monitor = createDeviceMonitor(bus, events.callback());
    ASSERT_NE(monitor, nullptr);
    const std::vector<HidDeviceInfo> before = bus.enumerate();
    ASSERT_EQ(before.size(), 3U);

    bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.plug(); });
    const std::vector<HidDeviceInfo> after = bus.enumerate();

    std::vector<Seen> expected = expectedFor(Kind::Removal, before);
    const std::vector<Seen> arrivals = expectedFor(Kind::Arrival, after);
    expected.insert(expected.end(), arrivals.begin(), arrivals.end());
    const std::vector<Seen> seen = events.waitFor(expected.size());
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(seen.front().name.rfind("HID#VID_1209&PID_0001&MI_00#", 0), 0U);
    EXPECT_NE(seen.front().thread, std::this_thread::get_id());
}

TEST(BusWatchDeviceMonitor, MayBeDestroyedFromItsOwnCallback) {
    FakeClock clock;
    emulator::VirtualHidBus bus(clock);
    std::mutex mutex;
    std::condition_variable done;
    std::unique_ptr<DeviceMonitor> monitor;
    int calls = 0;
    {
        std::lock_guard lock(mutex);
        monitor = BusWatchDeviceMonitor::create(bus, [&](const HidHotplugEvent&) {
            std::lock_guard inside(mutex);
            ++calls;
            monitor.reset();
            done.notify_all();
        });
    }
    bus.withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    std::unique_lock lock(mutex);
    EXPECT_TRUE(done.wait_for(lock, kPatience, [&] { return monitor == nullptr; }));
    EXPECT_EQ(calls, 1);
}

// A bus whose listing the test changes while the monitor polls it.
class ListedBus final : public HidBus {
  public:
    std::vector<HidDeviceInfo> enumerate() override {
        std::lock_guard lock(mutex);
        return listing;
    }
    std::unique_ptr<HidDevice> open(const std::string&, HidError& error) override {
        error = HidError::DeviceNotConnected;
        return nullptr;
    }
    void set(std::vector<HidDeviceInfo> devices) {
        std::lock_guard lock(mutex);
        listing = std::move(devices);
    }

  private:
    std::mutex mutex;
    std::vector<HidDeviceInfo> listing;
};

HidDeviceInfo hidraw(int number, std::uint16_t productId, int interfaceNumber) {
    return {"/dev/hidraw" + std::to_string(number),
            0x1209,
            productId,
            0x0105,
            0xFF01,
            2,
            interfaceNumber};
}

TEST(PollingDeviceMonitor, ReportsWhatChangedBetweenTwoListings) {
    ListedBus bus;
    bus.set({hidraw(1, 0x0001, 0)});
    Events events;
    PollingDeviceMonitor monitor(bus, events.callback(), std::chrono::milliseconds(1));

    bus.set({hidraw(1, 0x0001, 0), hidraw(4, 0x0002, 0)});
    const auto arrived = events.waitFor(1);
    bus.set({hidraw(4, 0x0002, 0)});
    const auto removed = events.waitFor(2);

    ASSERT_EQ(arrived.size(), 1U);
    EXPECT_EQ(arrived[0], (Seen{Kind::Arrival, "HID#VID_1209&PID_0002&MI_00#hidraw4", {}}));
    ASSERT_EQ(removed.size(), 2U);
    EXPECT_EQ(removed[1], (Seen{Kind::Removal, "HID#VID_1209&PID_0001&MI_00#hidraw1", {}}));
}

}  // namespace
}  // namespace orvane
