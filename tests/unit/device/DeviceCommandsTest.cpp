#include "device/DeviceCommands.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "platform/FakeClock.h"
#include "protocol/DeviceIds.h"
#include "support/ScriptedHid.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using test::report64;
using test::ScriptedHidBus;
using test::ScriptedHidDevice;

std::vector<std::uint8_t> reply(std::uint8_t status, std::uint8_t value = 0) {
    std::vector<std::uint8_t> bytes = report64({kCommandReportId, status});
    bytes[16] = value;
    return bytes;
}

struct Fixture {
    Fixture()
        : link(bus, clock),
          device(
              bus.add({"cfg", kVendorId, kProductId, 0x105, kConfigUsagePage, kConfigUsage, 0})) {
        EXPECT_EQ(link.openDevice(), 1);
    }
    ScriptedHidBus bus;
    FakeClock clock;
    DeviceLink link;
    ScriptedHidDevice& device;
};

TEST(DeviceCommands, ReadCurrentProfileTakesOnlySlotsZeroToFour) {
    Fixture f;
    f.device.expectSet(report64({0xA1, 0x03})).expectGet(64, reply(1, 3));
    std::uint8_t slot = 9;
    EXPECT_EQ(readCurrentProfile(f.link, slot), kCommandDone);
    EXPECT_EQ(slot, 3);
    EXPECT_EQ(f.clock.sleeps(), (std::vector<Clock::Duration>{2000ms}));

    f.device.expectSet(report64({0xA1, 0x03})).expectGet(64, reply(1, 5));
    EXPECT_EQ(readCurrentProfile(f.link, slot), kCommandFailed);
    EXPECT_EQ(slot, 3);
    EXPECT_TRUE(f.device.finished());
}

TEST(DeviceCommands, SelectProfileSendsTheSlotAndJudgesTheStatus) {
    Fixture f;
    f.device.expectSet(report64({0xA1, 0x04, 0, 0, 0, 3})).expectGet(64, reply(1));
    EXPECT_EQ(selectProfile(f.link, 3), kCommandDone);
    EXPECT_EQ(f.clock.sleeps(), (std::vector<Clock::Duration>{1500ms}));

    f.device.expectSet(report64({0xA1, 0x04, 0, 0, 0, 1}))
        .expectGet(64, reply(2), HidError::None, 6);
    EXPECT_EQ(selectProfile(f.link, 1), kCommandFailed);

    f.device.expectSet(report64({0xA1, 0x04, 0, 0, 0, 1}), HidError::GeneralFailure);
    EXPECT_EQ(selectProfile(f.link, 1), kCommandFailed);  // and no reply is read
    EXPECT_TRUE(f.device.finished());
}

TEST(DeviceCommands, SurfaceAnalysisStartsAndReportsTheQualityWhateverTheStatus) {
    Fixture f;
    f.device.expectSet(report64({0xA1, 0x05, 0x01})).expectGet(64, reply(1));
    EXPECT_EQ(startSurfaceAnalysis(f.link), kCommandDone);

    f.device.expectSet(report64({0xA1, 0x05, 0x02})).expectGet(64, reply(0, 7), HidError::None, 6);
    std::uint8_t quality = 0;
    EXPECT_EQ(readSurfaceQuality(f.link, quality), kCommandDone);
    EXPECT_EQ(quality, 7);

    f.device.expectSet(report64({0xA1, 0x05, 0x02}), HidError::GeneralFailure);
    quality = 0;
    EXPECT_EQ(readSurfaceQuality(f.link, quality), kCommandFailed);
    EXPECT_EQ(quality, 0);
    EXPECT_TRUE(f.device.finished());
}

std::vector<std::uint8_t> uploadReport(const DeviceImage& image, std::uint8_t half) {
    std::vector<std::uint8_t> report(1041, 0);
    report[0] = 0xA0;
    report[1] = 0x08;
    report[5] = image.bytes[0];
    report[6] = half;
    std::copy_n(image.bytes.begin() + 1024 * half, 1024, report.begin() + 16);
    return report;
}

MouseProfile sampleProfile() {
    MouseProfile profile;
    profile.slotIndex = 2;
    profile.name = u"Upload";
    profile.buttons[7] = {7, 14, 20, 3};
    profile.buttonMacros[7] = {u"m", 20, {{1, 65, 0, 5}, {1, 65, 1, 5}}};
    return profile;
}

DeviceImage sampleImage() {
    return buildDeviceImage(sampleProfile());
}

TEST(DeviceCommands, UploadSendsBothHalvesEachFollowedBy200ms) {
    Fixture f;
    const DeviceImage image = sampleImage();
    f.device.expectSet(uploadReport(image, 0)).expectGet(64, reply(1));
    f.device.expectSet(uploadReport(image, 1)).expectGet(64, reply(1));
    EXPECT_EQ(uploadImage(f.link, image), kCommandDone);
    EXPECT_TRUE(f.device.finished());
    EXPECT_EQ(f.clock.sleeps(), (std::vector<Clock::Duration>{200ms, 200ms}));
}

TEST(DeviceCommands, UploadReportsWhichStepFailedAndStopsThere) {
    const DeviceImage image = sampleImage();
    {
        Fixture f;
        f.device.expectSet(uploadReport(image, 0), HidError::GeneralFailure);
        EXPECT_EQ(uploadImage(f.link, image), kCommandFailed);
        EXPECT_EQ(f.clock.sleeps(), (std::vector<Clock::Duration>{200ms}));
        EXPECT_TRUE(f.device.finished());
    }
    {
        Fixture f;
        f.device.expectSet(uploadReport(image, 0)).expectGet(64, {}, HidError::GeneralFailure);
        EXPECT_EQ(uploadImage(f.link, image), kReplyUnreadable);
        EXPECT_TRUE(f.device.finished());
    }
    {
        Fixture f;
        f.device.expectSet(uploadReport(image, 0)).expectGet(64, reply(1));
        f.device.expectSet(uploadReport(image, 1), HidError::GeneralFailure);
        EXPECT_EQ(uploadProfile(f.link, sampleProfile()), kCommandFailed);
    }
}

}  // namespace
}  // namespace orvane
