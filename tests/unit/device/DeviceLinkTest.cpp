#include "device/DeviceLink.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "platform/FakeClock.h"
#include "protocol/DeviceIds.h"
#include "support/CaseName.h"
#include "support/ScriptedHid.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::report64;
using test::ScriptedHidBus;
using test::ScriptedHidDevice;
using ::testing::ElementsAre;

HidDeviceInfo configInterface(std::string path = "cfg", std::uint16_t release = 0x0105) {
    return {std::move(path), kVendorId, kProductId, release, kConfigUsagePage, kConfigUsage, 0};
}

std::vector<std::uint8_t> replyWithStatus(std::uint8_t status, std::uint8_t value = 0) {
    std::vector<std::uint8_t> reply = report64({kCommandReportId, status});
    reply[16] = value;
    return reply;
}

struct Fixture {
    Fixture() : link(bus, clock) {}
    ScriptedHidDevice& openMouse() {
        ScriptedHidDevice& device = bus.add(configInterface());
        EXPECT_EQ(link.openDevice(), 1);
        return device;
    }
    ScriptedHidBus bus;
    FakeClock clock;
    DeviceLink link;
};

TEST(DeviceLink, OpensOnlyTheConfigurationInterfaceOfTheMouse) {
    Fixture f;
    f.bus.add({"other-page", kVendorId, kProductId, 1, 0xFF00, kConfigUsage, 1});
    f.bus.add(
        {"boot-loader", kVendorId, kBootLoaderProductId, 1, kConfigUsagePage, kConfigUsage, 0});
    f.bus.add({"other-vendor", 0x046D, kProductId, 1, kConfigUsagePage, kConfigUsage, 0});
    f.bus.add(configInterface("cfg", 0x0088));

    EXPECT_EQ(f.link.openDevice(), 1);
    EXPECT_THAT(f.bus.opened, ElementsAre("cfg"));
    EXPECT_TRUE(f.link.connected());
    EXPECT_EQ(f.link.versionNumber(), 0x0088);
    EXPECT_EQ(firmwareVersionText(f.link), "0.88");
}

TEST(DeviceLink, WithoutTheMouseNothingIsOpenedAndTransfersFail) {
    Fixture f;
    ScriptedHidDevice& stray = f.bus.add({"kbd", 0x1234, 0x5678, 1, 1, 6, 0});
    EXPECT_EQ(f.link.openDevice(), 0);
    EXPECT_FALSE(f.link.connected());
    EXPECT_EQ(firmwareVersionText(f.link), "-.--");
    EXPECT_FALSE(f.link.sendFeature(report64({0xA1, 0x03})));
    CommandReport reply{};
    EXPECT_FALSE(f.link.receiveFeature(reply));
    EXPECT_TRUE(stray.sets.empty());
    EXPECT_TRUE(f.clock.sleeps().empty());
}

TEST(DeviceLink, AMousePresentButNotReadableIsToldApartFromAMissingOne) {
    Fixture f;
    EXPECT_EQ(f.link.openDevice(), 0);
    EXPECT_EQ(f.link.unreadablePath(), "") << "nothing plugged in";

    f.bus.addRefusing(configInterface("/dev/hidraw7"), HidError::AccessDenied);
    EXPECT_EQ(f.link.openDevice(), 0);
    EXPECT_FALSE(f.link.connected());
    EXPECT_EQ(f.link.unreadablePath(), "/dev/hidraw7");

    // Once the rule has acted the mouse opens, and the old reason is gone.
    f.bus.refused.clear();
    f.bus.infos.clear();
    f.bus.add(configInterface("/dev/hidraw7"));
    EXPECT_EQ(f.link.openDevice(), 1);
    EXPECT_EQ(f.link.unreadablePath(), "");
}

TEST(DeviceLink, AnInterfaceThatFailsForAnotherReasonIsNotCalledUnreadable) {
    Fixture f;
    f.bus.addRefusing(configInterface("/dev/hidraw7"), HidError::DeviceNotConnected);
    EXPECT_EQ(f.link.openDevice(), 0);
    EXPECT_EQ(f.link.unreadablePath(), "");
}

TEST(DeviceLink, OpenIfClosedTrustsTheFlagAndCloseIsAlwaysHarmless) {
    Fixture f;
    f.openMouse();
    f.bus.infos.clear();  // unplugged, but no removal handled yet
    EXPECT_EQ(f.link.openDeviceIfClosed(), 1);
    EXPECT_EQ(f.bus.opened.size(), 1U);

    EXPECT_EQ(f.link.closeDevice(), 1);
    EXPECT_EQ(f.link.closeDevice(), 1);
    EXPECT_FALSE(f.link.connected());
    EXPECT_EQ(f.link.openDeviceIfClosed(), 0);
}

struct SendCase {
    std::vector<HidError> attempts;  // outcome of each attempt the device sees
    bool result;
    std::vector<Clock::Duration> pauses;
};

void PrintTo(const SendCase& c, std::ostream* out) {
    *out << "first error " << static_cast<unsigned>(c.attempts.front()) << ", " << c.attempts.size()
         << " attempts";
}

class DeviceLinkSend : public ::testing::TestWithParam<SendCase> {};

TEST_P(DeviceLinkSend, RetriesOnlyTransientErrorsWithPausesAfterFailedRetries) {
    Fixture f;
    ScriptedHidDevice& device = f.openMouse();
    const auto request = report64({0xA1, 0x04, 0, 0, 0, 2});
    for (HidError error : GetParam().attempts) {
        device.expectSet(request, error);
    }
    EXPECT_EQ(f.link.sendFeature(request), GetParam().result);
    EXPECT_TRUE(device.finished());
    EXPECT_EQ(f.clock.sleeps(), GetParam().pauses);
}

constexpr HidError kOk = HidError::None;
constexpr HidError kFailed = HidError::FunctionFailed;

std::string errorName(HidError error) {
    switch (error) {
        case HidError::None:
            return "Done";
        case HidError::DeviceNotReady:
            return "NotReady";
        case HidError::Crc:
            return "Crc";
        case HidError::WriteFault:
            return "WriteFault";
        case HidError::GeneralFailure:
            return "GeneralFailure";
        case HidError::InvalidParameter:
            return "InvalidParameter";
        case HidError::Timeout:
            return "Timeout";
        case HidError::DeviceNotConnected:
            return "NotConnected";
        case HidError::FunctionFailed:
            return "Failed";
        case HidError::AccessDenied:
            return "AccessDenied";
    }
    return test::caseName("Error", static_cast<unsigned>(error));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, DeviceLinkSend,
    ::testing::Values(
        SendCase{{kOk}, true, {}}, SendCase{{HidError::GeneralFailure}, false, {}},
        SendCase{{HidError::DeviceNotConnected}, false, {}},
        SendCase{{kFailed, kFailed, kFailed, kFailed}, false, {50ms, 50ms, 50ms}},
        SendCase{{kFailed, kOk}, true, {}},
        SendCase{{HidError::DeviceNotReady, kFailed, kOk}, true, {50ms}},
        SendCase{{HidError::Crc, kOk}, true, {}}, SendCase{{HidError::WriteFault, kOk}, true, {}},
        SendCase{{HidError::InvalidParameter, HidError::GeneralFailure, kOk}, true, {50ms}}),
    [](const ::testing::TestParamInfo<SendCase>& info) {
        std::string name;
        for (HidError error : info.param.attempts) {
            name += (name.empty() ? "" : "Then") + errorName(error);
        }
        return name;
    });

TEST(DeviceLink, BusyDeviceIsPolledSixTimesOverHalfASecondAndTheReadStillSucceeds) {
    Fixture f;
    ScriptedHidDevice& device = f.openMouse();
    device.expectGet(64, replyWithStatus(0), kOk, 6);
    CommandReport reply{};
    EXPECT_TRUE(f.link.receiveFeature(reply));
    EXPECT_TRUE(device.finished());
    EXPECT_EQ(reply[1], 0);
    EXPECT_EQ(f.clock.sleeps(), (std::vector<Clock::Duration>{0ms, 50ms, 100ms, 150ms, 200ms}));
    EXPECT_EQ(f.clock.totalSlept(), 500ms);
}

TEST(DeviceLink, PollingStopsAtTheFirstDoneReply) {
    Fixture f;
    ScriptedHidDevice& device = f.openMouse();
    device.expectGet(64, replyWithStatus(3)).expectGet(64, replyWithStatus(1, 42));
    CommandReport reply{};
    EXPECT_TRUE(f.link.receiveFeature(reply));
    EXPECT_EQ(reply[16], 42);
    EXPECT_TRUE(f.clock.sleeps().empty());
}

TEST(DeviceLink, FailedReadsAreRetriedOnlyForTransientErrors) {
    {
        Fixture f;
        ScriptedHidDevice& device = f.openMouse();
        device.expectGet(64, {}, HidError::GeneralFailure);
        CommandReport reply{};
        EXPECT_FALSE(f.link.receiveFeature(reply));
        EXPECT_TRUE(device.finished());
    }
    {
        Fixture f;
        ScriptedHidDevice& device = f.openMouse();
        device.expectGet(64, {}, kFailed, 4);
        CommandReport reply{};
        reply.fill(0x55);
        EXPECT_FALSE(f.link.receiveFeature(reply));
        EXPECT_EQ(reply, CommandReport{0xA1});  // the preset buffer, no leftovers
        EXPECT_EQ(f.clock.sleeps(), (std::vector<Clock::Duration>{50ms, 50ms, 50ms}));
    }
    {
        Fixture f;
        ScriptedHidDevice& device = f.openMouse();
        device.expectGet(64, {}, kFailed).expectGet(64, replyWithStatus(1));
        CommandReport reply{};
        EXPECT_TRUE(f.link.receiveFeature(reply));
        EXPECT_TRUE(f.clock.sleeps().empty());
    }
}

// The application takes the desktop's locale for the whole process; a
// comma-decimal one must not reach the texts it shows.
class CommaDecimalLocale {
  public:
    CommaDecimalLocale() {
        const char* current = std::setlocale(LC_ALL, nullptr);
        previous = current != nullptr ? current : "C";
        active = std::setlocale(LC_ALL, "de_DE.UTF-8") != nullptr;
    }
    ~CommaDecimalLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    bool isActive() const { return active; }

  private:
    std::string previous;
    bool active = false;
};

struct VersionCase {
    const char* name;
    std::uint16_t release;
    std::uint16_t value;
    const char* text;
};

void PrintTo(const VersionCase& c, std::ostream* os) {
    *os << c.name;
}

class FirmwareVersion : public ::testing::TestWithParam<VersionCase> {};

TEST_P(FirmwareVersion, ReadsTheHexDigitsAsDecimal) {
    Fixture f;
    f.bus.add(configInterface("cfg", GetParam().release));
    ASSERT_EQ(f.link.openDevice(), 1);
    EXPECT_EQ(f.link.firmwareVersionValue(), GetParam().value);
    EXPECT_EQ(firmwareVersionText(f.link), GetParam().text);
}

TEST_P(FirmwareVersion, KeepsItsPointUnderACommaDecimalLocale) {
    const CommaDecimalLocale locale;
    if (!locale.isActive()) {
        GTEST_SKIP() << "the locale de_DE.UTF-8 is not installed (scripts/deps installs it)";
    }
    Fixture f;
    f.bus.add(configInterface("cfg", GetParam().release));
    ASSERT_EQ(f.link.openDevice(), 1);
    EXPECT_EQ(firmwareVersionText(f.link), GetParam().text);
}

TEST(DeviceLink, AClosedGateKeepsTheMouseOutOfReach) {
    Fixture f;
    f.bus.add(configInterface("cfg", 0x0105));
    bool open = true;
    f.link.setAccessGate([&open] { return open; });
    ASSERT_EQ(f.link.openDevice(), 1);
    open = false;
    EXPECT_FALSE(f.link.sendFeature(report64({0xA1, 0x03})));
    f.link.closeDevice();
    EXPECT_EQ(f.link.openDevice(), 0);
    EXPECT_EQ(firmwareVersionText(f.link), "-.--");
    open = true;
    EXPECT_EQ(f.link.openDevice(), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Numbers, FirmwareVersion,
    ::testing::Values(VersionCase{"Release0088", 0x0088, 88, "0.88"},
                      VersionCase{"Release0100", 0x0100, 100, "1.00"},
                      VersionCase{"Release0105", 0x0105, 105, "1.05"},
                      VersionCase{"HexDigitStopsTheNumber", 0x01A0, 1, "0.01"},
                      VersionCase{"LeadingHexDigitGivesZero", 0x00A0, 0, "0.00"},
                      VersionCase{"Release9999", 0x9999, 9999, "99.99"}),
    [](const ::testing::TestParamInfo<VersionCase>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvane
