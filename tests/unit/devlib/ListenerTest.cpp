#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "EventTestSupport.h"
#include "devlib/Capture.h"
#include "devlib/DeviceListener.h"
#include "support/CaseName.h"

namespace orvane::devlib::testing {
namespace {

using Kind = HidHotplugEvent::Kind;

struct NameCase {
    Kind kind;
    std::string name;
    std::optional<std::uint8_t> code;
};

class ListenerMatching : public ::testing::TestWithParam<NameCase> {};

TEST_P(ListenerMatching, GivesTheCodeOfTheInterfaceName) {
    EXPECT_EQ(deviceChangeCode(GetParam().kind, GetParam().name), GetParam().code);
}

INSTANTIATE_TEST_SUITE_P(
    Names, ListenerMatching,
    ::testing::Values(NameCase{Kind::Arrival, "HID#VID_1209&PID_0001&MI_00#hidraw3", 1},
                      NameCase{Kind::Arrival, "HID#VID_1209&PID_0002&MI_00#hidraw3", 2},
                      NameCase{Kind::Arrival, "HID#VID_1209&PID_0001&MI_01#hidraw4", std::nullopt},
                      NameCase{Kind::Arrival, "HID#PID_0002&MI_00#hidraw3", std::nullopt},
                      NameCase{Kind::Arrival, "hid#vid_1209&pid_0001&mi_00#hidraw3", std::nullopt},
                      NameCase{Kind::Arrival, "HID#VID_120A&PID_0001&MI_00#hidraw3", std::nullopt},
                      NameCase{Kind::Removal, "HID#VID_1209&PID_0001&MI_00#hidraw3", 255},
                      NameCase{Kind::Removal, "HID#PID_0002&MI_00#hidraw3", 255},
                      NameCase{Kind::Removal, "HID#VID_1209&PID_0001&MI_02#hidraw5", std::nullopt},
                      NameCase{Kind::Removal, "HID#PID_0001&MI_00#hidraw3", std::nullopt},
                      NameCase{Kind::Removal, "", std::nullopt}),
    [](const ::testing::TestParamInfo<NameCase>& info) {
        return (info.param.kind == Kind::Arrival ? "ArrivalOf_" : "RemovalOf_") +
               test::spelled(info.param.name);
    });

Recorder<std::uint8_t> changes;
Recorder<int> closings;

// What a device-change callback may do besides recording: call the library.
std::function<void(std::uint8_t)> onChange;

void ORVANE_STDCALL recordChange(std::uint8_t* code) {
    if (onChange) {
        onChange(*code);
    }
    changes.add(*code);
}
void ORVANE_STDCALL ignoreEvent(std::uint8_t*, std::uint8_t*, std::int32_t*) {}

class Listener : public LibraryOnTappedMouse {
  protected:
    Listener() {
        changes.clear();
        closings.clear();
        onChange = nullptr;
    }
    ~Listener() override {
        listener.reset();
        capture.stop();
        onChange = nullptr;
    }

    EventCapture capture{*core};
    std::unique_ptr<DeviceListener> listener = std::make_unique<DeviceListener>(*core, [this] {
        closeDevice(*core, capture, nullptr);
        closings.add(1);
    });
};

TEST_F(Listener, RefusesANullCallback) {
    EXPECT_EQ(listener->setCallback(nullptr), ORVANE_DEVICE_ERROR);
    EXPECT_EQ(listener->setCallback(recordChange), ORVANE_OK);
}

TEST_F(Listener, CannotStartWithoutABus) {
    FakeClock otherClock;
    LibraryCore noBus(nullptr, otherClock);
    DeviceListener lonely(noBus, nullptr);
    EXPECT_EQ(lonely.start(), ORVANE_DEVICE_ERROR);
}

TEST_F(Listener, RemovalReports255AndClosesTheDevice) {
    ASSERT_EQ(listener->setCallback(recordChange), ORVANE_OK);
    ASSERT_EQ(listener->start(), ORVANE_OK);
    ASSERT_TRUE(core->ensureDeviceOpen());
    ASSERT_EQ(capture.start(ignoreEvent), ORVANE_CAPTURE_STARTED);

    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });

    ASSERT_TRUE(closings.waitForCount(1));
    EXPECT_EQ(changes.all(), std::vector<std::uint8_t>{255});
    EXPECT_FALSE(capture.running());
    EXPECT_FALSE(core->deviceOpen());
}

TEST_F(Listener, ArrivalInApplicationModeReports1) {
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    ASSERT_EQ(listener->setCallback(recordChange), ORVANE_OK);
    ASSERT_EQ(listener->start(), ORVANE_OK);

    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.plug(); });

    ASSERT_TRUE(changes.waitForCount(1));
    EXPECT_EQ(changes.all(), std::vector<std::uint8_t>{1});
    EXPECT_TRUE(closings.all().empty());
}

TEST_F(Listener, SwitchToTheBootLoaderReportsRemovalThen2) {
    ASSERT_EQ(listener->setCallback(recordChange), ORVANE_OK);
    ASSERT_EQ(listener->start(), ORVANE_OK);

    Bytes enter = filled({kCommandReportId, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x71}, kCommandReportSize);
    sendToMouse(enter);

    ASSERT_TRUE(changes.waitForCount(2));
    EXPECT_EQ(changes.all(), (std::vector<std::uint8_t>{255, 2}));
    EXPECT_TRUE(closings.waitForCount(1));
    EXPECT_EQ(closings.all().size(), 1U);
}

TEST_F(Listener, CallbackMayStartTheCaptureOnArrival) {
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    onChange = [this](std::uint8_t code) {
        if (code == 1) {
            EXPECT_EQ(capture.start(ignoreEvent), ORVANE_CAPTURE_STARTED);
        }
    };
    ASSERT_EQ(listener->setCallback(recordChange), ORVANE_OK);
    ASSERT_EQ(listener->start(), ORVANE_OK);

    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.plug(); });

    ASSERT_TRUE(changes.waitForCount(1));
    EXPECT_TRUE(capture.running());
}

TEST_F(Listener, WithoutCallbackARemovalStillClosesTheDevice) {
    ASSERT_EQ(listener->start(), ORVANE_OK);
    bus->withMouse([](emulator::VirtualMouse& mouse) { mouse.unplug(); });
    EXPECT_TRUE(closings.waitForCount(1));
    EXPECT_TRUE(changes.all().empty());
}

}  // namespace
}  // namespace orvane::devlib::testing
