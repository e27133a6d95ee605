#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "emulator/VirtualHidBus.h"
#include "platform/FakeClock.h"

namespace orvane::emulator {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

Bytes command(std::initializer_list<std::uint8_t> head) {
    Bytes report(64, 0);
    std::copy(head.begin(), head.end(), report.begin());
    return report;
}

Bytes replyBuffer() {
    return command({0xA1});
}

std::string pathOf(VirtualHidBus& bus, int interfaceNumber) {
    for (const HidDeviceInfo& device : bus.enumerate()) {
        if (device.interfaceNumber == interfaceNumber) {
            return device.path;
        }
    }
    return {};
}

std::unique_ptr<HidDevice> openInterface(VirtualHidBus& bus, int interfaceNumber) {
    HidError error = HidError::None;
    auto device = bus.open(pathOf(bus, interfaceNumber), error);
    EXPECT_EQ(error, HidError::None);
    return device;
}

// What one read with no wait gives: the report, or empty.
Bytes readNow(HidDevice& device, HidError expected = HidError::None) {
    Bytes report(9, 0xEE);
    std::size_t length = 99;
    EXPECT_EQ(device.readInputReport(report, 0ms, length), expected);
    report.resize(length);
    return report;
}

Bytes dpiReport(std::uint8_t level) {
    return {0x03, 0x02, static_cast<std::uint8_t>(level - 1), 0, 0, 0, 0, 0, 0};
}

class Recorder {
  public:
    HidBus::HotplugCallback callback() {
        return [this](const HidHotplugEvent& event) {
            std::lock_guard lock(mutex);
            events.push_back(event);
        };
    }
    std::vector<HidHotplugEvent> taken() {
        std::lock_guard lock(mutex);
        return std::exchange(events, {});
    }

  private:
    std::mutex mutex;
    std::vector<HidHotplugEvent> events;
};

class VirtualHidBusTest : public ::testing::Test {
  protected:
    FakeClock clock;
    VirtualHidBus bus{clock};
};

TEST_F(VirtualHidBusTest, EachHandleOfTheConfigInterfaceGetsEveryInputReport) {
    const auto first = openInterface(bus, VirtualMouse::kConfigInterface);
    bus.withMouse([](VirtualMouse& mouse) { mouse.pressDpiButton(2); });
    // Like a hidraw descriptor, a handle sees what came after it was opened.
    const auto second = openInterface(bus, VirtualMouse::kConfigInterface);
    const auto pointer = openInterface(bus, VirtualMouse::kPointerInterface);
    bus.withMouse([](VirtualMouse& mouse) { mouse.pressDpiButton(4); });

    EXPECT_EQ(readNow(*first), dpiReport(2));
    EXPECT_EQ(readNow(*first), dpiReport(4));
    EXPECT_EQ(readNow(*first), Bytes{});
    EXPECT_EQ(readNow(*second), dpiReport(4));
    EXPECT_EQ(readNow(*second), Bytes{});
    EXPECT_EQ(readNow(*pointer), Bytes{});
}

TEST_F(VirtualHidBusTest, AShortBufferTakesThePartOfTheReportThatFits) {
    const auto device = openInterface(bus, VirtualMouse::kConfigInterface);
    bus.withMouse([](VirtualMouse& mouse) { mouse.pressDpiButton(3); });
    Bytes report(3);
    std::size_t length = 0;
    EXPECT_EQ(device->readInputReport(report, 0ms, length), HidError::None);
    EXPECT_EQ(length, 3U);
    EXPECT_EQ(report, (Bytes{0x03, 0x02, 2}));
}

TEST_F(VirtualHidBusTest, SubscribersHearEveryRemovalAndArrivalInOrder) {
    Recorder first;
    Recorder second;
    std::vector<HidDeviceInfo> present;
    const auto firstWatch = bus.watch(first.callback(), present);
    const auto secondWatch = bus.watch(second.callback());
    const std::vector<HidDeviceInfo> before = bus.enumerate();
    ASSERT_EQ(before.size(), 3U);
    EXPECT_EQ(present, before);
    EXPECT_TRUE(first.taken().empty());

    bus.withMouse([](VirtualMouse& mouse) { mouse.unplug(); });
    bus.withMouse([](VirtualMouse& mouse) { mouse.plug(); });
    const std::vector<HidDeviceInfo> after = bus.enumerate();
    ASSERT_EQ(after.size(), 3U);

    const std::vector<HidHotplugEvent> heard = first.taken();
    ASSERT_EQ(heard.size(), 6U);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(heard[i].kind, HidHotplugEvent::Kind::Removal);
        EXPECT_EQ(heard[i].device, before[i]);
        EXPECT_EQ(heard[3 + i].kind, HidHotplugEvent::Kind::Arrival);
        EXPECT_EQ(heard[3 + i].device, after[i]);
        EXPECT_NE(after[i].path, before[i].path);
    }
    EXPECT_EQ(heard[3].interfaceName, "HID#VID_1209&PID_0001&MI_00#" + after[0].path);
    EXPECT_EQ(second.taken().size(), 6U);
}

TEST_F(VirtualHidBusTest, AnEndedSubscriptionHearsNothingMore) {
    Recorder recorder;
    auto subscription = bus.watch(recorder.callback());
    subscription.reset();
    bus.withMouse([](VirtualMouse& mouse) { mouse.unplug(); });
    EXPECT_TRUE(recorder.taken().empty());
}

TEST_F(VirtualHidBusTest, CallbacksMayUseTheBusAndEndTheirOwnSubscription) {
    std::vector<std::size_t> listed;
    std::unique_ptr<HidHotplugSubscription> subscription;
    subscription = bus.watch([&](const HidHotplugEvent&) {
        listed.push_back(bus.enumerate().size());
        // Plugging in again from inside a removal: its arrivals come after
        // this call, to nobody, since the subscription ends here.
        bus.withMouse([](VirtualMouse& mouse) { mouse.plug(); });
        subscription.reset();
    });
    bus.withMouse([](VirtualMouse& mouse) { mouse.unplug(); });
    EXPECT_EQ(listed, std::vector<std::size_t>{0});
    EXPECT_EQ(bus.enumerate().size(), 3U);
}

TEST_F(VirtualHidBusTest, AHandleKeptAcrossUnplugAndReplugFails) {
    const std::string oldPath = pathOf(bus, VirtualMouse::kConfigInterface);
    const auto kept = openInterface(bus, VirtualMouse::kConfigInterface);
    bus.withMouse([](VirtualMouse& mouse) {
        mouse.unplug();
        mouse.plug();
    });
    Bytes reply = replyBuffer();
    EXPECT_EQ(kept->sendFeatureReport(command({0xA1, 0x02})), HidError::DeviceNotConnected);
    EXPECT_EQ(kept->getFeatureReport(reply), HidError::DeviceNotConnected);
    readNow(*kept, HidError::DeviceNotConnected);
    HidError error = HidError::None;
    EXPECT_EQ(bus.open(oldPath, error), nullptr);
    EXPECT_EQ(error, HidError::DeviceNotConnected);

    const auto fresh = openInterface(bus, VirtualMouse::kConfigInterface);
    ASSERT_EQ(fresh->sendFeatureReport(command({0xA1, 0x02})), HidError::None);
    ASSERT_EQ(fresh->getFeatureReport(reply), HidError::None);
    EXPECT_EQ(reply[1], 1);
    EXPECT_EQ(reply[16] | (reply[17] << 8), 0x0105);
}

TEST_F(VirtualHidBusTest, ReportsQueuedBeforeARemovalAreStillHandedOut) {
    const auto device = openInterface(bus, VirtualMouse::kConfigInterface);
    bus.withMouse([](VirtualMouse& mouse) {
        mouse.pressDpiButton(5);
        mouse.unplug();
    });
    EXPECT_EQ(readNow(*device), dpiReport(5));
    readNow(*device, HidError::DeviceNotConnected);
}

TEST_F(VirtualHidBusTest, AWaitingReaderIsWokenWhenItsInterfaceGoes) {
    const auto device = openInterface(bus, VirtualMouse::kConfigInterface);
    std::atomic<HidError> result{HidError::None};
    std::thread reader([&] {
        Bytes report(9);
        std::size_t length = 0;
        result = device->readInputReport(report, 60s, length);
    });
    bus.withMouse([](VirtualMouse& mouse) { mouse.unplug(); });
    reader.join();
    EXPECT_EQ(result.load(), HidError::DeviceNotConnected);
}

// A capture blocks in its read for as long as the mouse is quiet; only a
// report, a removal or a cancel ends the wait.
TEST_F(VirtualHidBusTest, AReadThatWaitsForEverEndsWithAReportOrACancel) {
    const auto device = openInterface(bus, VirtualMouse::kConfigInterface);
    Bytes report(9);
    std::size_t length = 0;
    std::thread pressing([this] { bus.withMouse([](VirtualMouse& m) { m.pressDpiButton(2); }); });
    EXPECT_EQ(device->readInputReport(report, HidDevice::kWaitForever, length), HidError::None);
    pressing.join();
    EXPECT_EQ(Bytes(report.begin(), report.begin() + static_cast<long>(length)), dpiReport(2));

    std::atomic<std::size_t> cancelledLength{99};
    std::thread reader([&] {
        Bytes mine(9);
        std::size_t got = 99;
        EXPECT_EQ(device->readInputReport(mine, HidDevice::kWaitForever, got), HidError::None);
        cancelledLength = got;
    });
    device->cancelInputRead();
    reader.join();
    EXPECT_EQ(cancelledLength.load(), 0U);
    // The cancel holds for every later read: the reader is on its way out.
    EXPECT_EQ(device->readInputReport(report, HidDevice::kWaitForever, length), HidError::None);
    EXPECT_EQ(length, 0U);
}

TEST_F(VirtualHidBusTest, AReplyThatNeverCompletesTimesOutAfterExactlyTheReplyTimeout) {
    const auto device = openInterface(bus, VirtualMouse::kConfigInterface);
    bus.withMouse([](VirtualMouse& mouse) {
        Fault fault;
        fault.kind = Fault::Kind::NeverReply;
        fault.count = 1;
        mouse.addFault(fault);
    });
    ASSERT_EQ(device->sendFeatureReport(command({0xA1, 0x02})), HidError::None);
    Bytes reply = replyBuffer();
    EXPECT_EQ(device->getFeatureReport(reply), HidError::Timeout);
    EXPECT_EQ(clock.sleeps(), std::vector<Clock::Duration>{5000ms});

    clock.clearSleeps();
    EXPECT_EQ(device->getFeatureReport(reply), HidError::None);
    EXPECT_EQ(reply[1], 1);
    EXPECT_TRUE(clock.sleeps().empty());
}

TEST(VirtualHidBus, TheReplyTimeoutIsTheBussOwn) {
    FakeClock clock;
    VirtualHidBus bus(clock, 250ms);
    bus.withMouse([](VirtualMouse& mouse) {
        Fault fault;
        fault.kind = Fault::Kind::NeverReply;
        mouse.addFault(fault);
    });
    const auto device = openInterface(bus, VirtualMouse::kConfigInterface);
    Bytes reply = replyBuffer();
    EXPECT_EQ(device->getFeatureReport(reply), HidError::Timeout);
    EXPECT_EQ(clock.totalSlept(), 250ms);
}

// Run under ThreadSanitizer, this is what shows a model call outside the
// lock or a queue touched without it.
TEST(VirtualHidBus, ManyThreadsMayUseTheBusAtOnce) {
    FakeClock clock;
    VirtualHidBus bus(clock);
    Recorder recorder;
    const auto subscription = bus.watch(recorder.callback());
    std::atomic<bool> unexpected{false};
    std::vector<std::thread> threads;
    for (int t = 0; t < 3; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 200; ++i) {
                HidError error = HidError::None;
                const auto device = bus.open(pathOf(bus, VirtualMouse::kConfigInterface), error);
                if (!device) {
                    continue;
                }
                Bytes reply = replyBuffer();
                const HidError sent = device->sendFeatureReport(command({0xA1, 0x02}));
                const HidError got = device->getFeatureReport(reply);
                std::size_t length = 0;
                Bytes report(9);
                const HidError read = device->readInputReport(report, 0ms, length);
                for (HidError e : {sent, got, read}) {
                    if (e != HidError::None && e != HidError::DeviceNotConnected) {
                        unexpected = true;
                    }
                }
            }
        });
    }
    threads.emplace_back([&] {
        for (int i = 0; i < 100; ++i) {
            bus.withMouse([i](VirtualMouse& mouse) {
                mouse.pressDpiButton(static_cast<std::uint8_t>(1 + i % 5));
                if (i % 10 == 0) {
                    mouse.unplug();
                    mouse.plug();
                }
            });
        }
    });
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_FALSE(unexpected.load());
    EXPECT_EQ(recorder.taken().size(), 10U * 6U);
}

}  // namespace
}  // namespace orvane::emulator
