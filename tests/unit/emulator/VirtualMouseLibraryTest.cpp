#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MouseTestSupport.h"

namespace orvane::emulator::testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using VirtualMouseLibrary = MouseTest;

const Bytes kDone = report({0xA1, 0x01});

// A setting request, and where its bytes land in the block of the profile
// it names.
struct Setting {
    const char* name;
    Bytes request;
    std::size_t profile;
    std::size_t offset;
    Bytes stored;
};

class StoredSettings : public MouseTest, public ::testing::WithParamInterface<Setting> {};

TEST_P(StoredSettings, LandInTheProfileBlockAndNowhereElse) {
    const Setting& setting = GetParam();
    const Bytes expected = with(block(setting.profile), setting.offset, setting.stored);
    const Bytes other = block(setting.profile % 5 + 1);
    EXPECT_EQ(exchange(setting.request), kDone);
    EXPECT_EQ(block(setting.profile), expected);
    EXPECT_EQ(block(setting.profile % 5 + 1), other);
}

const Bytes kDpi = {0x03, 0x01, 0x90, 0x01, 0x20, 0x03, 0x40, 0x06, 0x80, 0x0C, 0xB8,
                    0x0B, 0x10, 0x27, 0x00, 0x00, 0x01, 0x00, 0xFF, 0xFF, 0x64, 0x00};
const Bytes kSensor = with(with(Bytes(26, 0), 0, Bytes{8, 6, 1, 0}), 4, kDpi);
const Bytes kLighting = with(pattern(28, 4), 25, Bytes{50, 1, 2});
const Bytes kEntry = {0x02, 0x01, 0x04, 0x00, 0x00, 0x00, 0x0F};

INSTANTIATE_TEST_SUITE_P(
    VirtualMouse, StoredSettings,
    ::testing::Values(
        Setting{"PollingRate", report({0xA1, 0x0D, 0x01, 0, 0, 2, 2}), 2, 1, {2}},
        Setting{"ResponseTime", report({0xA1, 0x0D, 0x02, 0, 0, 1, 0x0C}), 1, 2, {0x0C}},
        Setting{"AngleSnapping", report({0xA1, 0x0D, 0x03, 0, 0, 3, 1}), 3, 3, {1}},
        Setting{"LiftOff", report({0xA1, 0x0D, 0x04, 0, 0, 5, 1}), 5, 4, {1}},
        Setting{"Resolutions",
                with(report({0xA1, 0x0D, 0x0A, 0, 0, 4, 3, 1}), 16, slice(kDpi, 2, 20)), 4, 5,
                kDpi},
        Setting{"SensorReset", with(report({0xA1, 0x0D, 0x0F, 0, 0, 2}), 16, kSensor), 2, 1,
                kSensor},
        Setting{"Lighting", with(report({0xA1, 0x0C, 0, 0, 0, 3}), 16, kLighting), 3, 31,
                kLighting},
        Setting{"Button", with(report({0xA1, 0x0A, 0, 0, 0, 1, 3}), 16, kEntry), 1, 65 + 14,
                kEntry}),
    [](const auto& info) { return std::string(info.param.name); });

class RefusedRequests : public MouseTest,
                        public ::testing::WithParamInterface<std::pair<const char*, Bytes>> {};

TEST_P(RefusedRequests, AnswerTheFailureStatusAndChangeNothing) {
    const std::string before = mouse.saveState();
    EXPECT_EQ(status(GetParam().second), kStatusFailed);
    EXPECT_EQ(mouse.saveState(), before);
    EXPECT_TRUE(mouse.takeNotices().empty());
}

INSTANTIATE_TEST_SUITE_P(
    VirtualMouse, RefusedRequests,
    ::testing::Values(std::pair{"PollingCode3", report({0xA1, 0x0D, 0x01, 0, 0, 1, 3})},
                      std::pair{"OddResponseTime", report({0xA1, 0x0D, 0x02, 0, 0, 1, 7})},
                      std::pair{"ResponseTime14", report({0xA1, 0x0D, 0x02, 0, 0, 1, 14})},
                      std::pair{"AngleSnapping2", report({0xA1, 0x0D, 0x03, 0, 0, 1, 2})},
                      std::pair{"SensorOfProfile6", report({0xA1, 0x0D, 0x01, 0, 0, 6, 1})},
                      std::pair{"LightingOfProfile0", report({0xA1, 0x0C, 0, 0, 0, 0})},
                      std::pair{"Button7", report({0xA1, 0x0A, 0, 0, 0, 1, 7})},
                      std::pair{"CurrentProfile6", report({0xA1, 0x0B, 0x04, 0, 0, 6})},
                      std::pair{"SyncProfile7", report({0xA1, 0x0B, 0x02, 0, 0, 7})},
                      std::pair{"CopyToProfile9", report({0xA1, 0x0B, 0x0A, 0, 0, 1, 9})},
                      std::pair{"ReadProfile0", report({0xA1, 0x0B, 0x07, 0, 0, 0})},
                      std::pair{"ReadBlock7", report({0xA1, 0x25, 7, 0, 0, 1})},
                      std::pair{"WriteWithAWrongSum",
                                with(dataBlockWrite(1, 1, Bytes(1024, 1)), 7, Bytes{1})},
                      std::pair{"WriteBlock0", dataBlockWrite(0, 1, Bytes(1024, 1))},
                      std::pair{"WrongUnlock", report({0xA1, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x72})},
                      std::pair{"UnknownCommand", report({0xA1, 0x77})}),
    [](const auto& info) { return std::string(info.param.first); });

TEST_F(VirtualMouseLibrary, VersionsReportFirmwareAndBootLoader) {
    EXPECT_THAT(slice(exchange(report({0xA1, 0x02})), 0, 20),
                ElementsAre(0xA1, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x05, 0x01, 0, 1));
}

TEST_F(VirtualMouseLibrary, AnAllFFDataBlockWithSum00FCIsStoredAndReadBack) {
    const Bytes payload(1024, 0xFF);
    EXPECT_EQ(exchange(dataReport({0xA0, 0x21, 3, 0, 0, 2, 0, 0x00, 0xFC}, payload)), kDone);
    EXPECT_THAT(mouse.dataBlock(2, 3), Each(0xFF));
    EXPECT_THAT(mouse.dataBlock(2, 2), Each(0x00));
    EXPECT_EQ(exchange(report({0xA1, 0x25, 3, 0, 0, 2}), 1041), dataReport({0xA0, 1}, payload));
}

TEST_F(VirtualMouseLibrary, ReadProfileDataGivesTheBlockWithTheSettingsMade) {
    exchange(report({0xA1, 0x0D, 0x02, 0, 0, 4, 0x0C}));
    exchange(with(report({0xA1, 0x0A, 0, 0, 0, 4, 6}), 16, kEntry));
    const Bytes reply = exchange(report({0xA1, 0x0B, 0x07, 0, 0, 4}), 1041);
    EXPECT_EQ(reply, dataReport({0xA0, 0x01}, block(4)));
    EXPECT_EQ(reply[16 + 2], 0x0C);
    EXPECT_EQ(slice(reply, 16 + 65 + 35, 7), kEntry);
}

TEST_F(VirtualMouseLibrary, TheCurrentProfileIsTheApplicationsSlotPlusOne) {
    EXPECT_EQ(status(report({0xA1, 0x0B, 0x04, 0, 0, 5})), kStatusDone);
    EXPECT_EQ(mouse.activeSlot(), 4);
    exchange(report({0xA1, 0x04, 0, 0, 0, 1}));
    EXPECT_EQ(exchange(report({0xA1, 0x0B, 0x03}))[16], 2);
    EXPECT_EQ(status(report({0xA1, 0x0B, 0x02, 0, 0, 6})), kStatusDone);
}

TEST_F(VirtualMouseLibrary, DeletingProfilesKeepsOneAndAnActiveOne) {
    const auto count = [this] { return exchange(report({0xA1, 0x0B, 0x09}))[16]; };
    exchange(report({0xA1, 0x0D, 0x01, 0, 0, 3, 8}));
    exchange(report({0xA1, 0x0B, 0x04, 0, 0, 3}));
    for (std::uint8_t profile : {3, 1, 2, 4}) {
        EXPECT_EQ(status(report({0xA1, 0x0B, 0x06, 0, 0, profile})), kStatusDone);
    }
    EXPECT_EQ(count(), 1);
    EXPECT_EQ(mouse.activeSlot(), 4);
    EXPECT_EQ(status(report({0xA1, 0x0B, 0x06, 0, 0, 5})), kStatusFailed);
    EXPECT_EQ(status(report({0xA1, 0x0B, 0x04, 0, 0, 3})), kStatusFailed);

    EXPECT_EQ(status(report({0xA1, 0x0B, 0x05, 0, 0, 3})), kStatusDone);
    EXPECT_EQ(count(), 2);
    EXPECT_EQ(status(report({0xA1, 0x0B, 0x04, 0, 0, 3})), kStatusDone);
    EXPECT_EQ(block(3)[1], 1) << "a deleted profile comes back with factory settings";
}

TEST_F(VirtualMouseLibrary, CopyAndResetsMoveWholeProfiles) {
    const VirtualMouse factory;
    exchange(report({0xA1, 0x0D, 0x02, 0, 0, 1, 10}));
    exchange(dataBlockWrite(6, 1, pattern(1024, 5)));
    EXPECT_EQ(status(report({0xA1, 0x0B, 0x0A, 0, 0, 1, 3})), kStatusDone);
    EXPECT_EQ(block(3), with(block(1), 0, Bytes{3}));
    EXPECT_EQ(mouse.dataBlock(3, 6), mouse.dataBlock(1, 6));

    EXPECT_EQ(status(report({0xA1, 0x0B, 0x01, 0, 0, 3})), kStatusDone);
    EXPECT_EQ(mouse.profileBlock(3), factory.profileBlock(3));
    EXPECT_THAT(mouse.dataBlock(3, 6), Each(0));
    EXPECT_NE(mouse.profileBlock(1), factory.profileBlock(1));

    exchange(dataReport({0xA0, 0x08, 0, 0, 0, 1, 0}, pattern(1024, 3)));
    exchange(report({0xA1, 0x0B, 0x06, 0, 0, 5}));
    exchange(report({0xA1, 0x04, 0, 0, 0, 1}));
    EXPECT_EQ(status(report({0xA1, 0x0E})), kStatusDone);
    EXPECT_EQ(mouse.saveState(), factory.saveState());
}

TEST_F(VirtualMouseLibrary, ProgramAndWebPageButtonsReportTheirBlockAndTextLength) {
    exchange(report({0xA1, 0x0B, 0x04, 0, 0, 2}));
    exchange(with(report({0xA1, 0x0A, 0, 0, 0, 2, 5}), 16, Bytes{0x23, 0, 0x34, 0x12}));
    exchange(with(report({0xA1, 0x0A, 0, 0, 0, 2, 6}), 16, Bytes{0x24, 0, 20, 0}));
    exchange(with(report({0xA1, 0x0A, 0, 0, 0, 1, 4}), 16, Bytes{0x24, 0, 20, 0}));
    EXPECT_TRUE(mouse.pressButton(5));
    EXPECT_TRUE(mouse.pressButton(6));
    for (int button : {0, 1, 4, 7}) {
        EXPECT_FALSE(mouse.pressButton(button)) << button;
    }
    const auto notices = mouse.takeNotices();
    ASSERT_EQ(notices.size(), 2u);
    EXPECT_THAT(notices[0].report, ElementsAre(0x03, 0x23, 0x34, 0x12, 5, 2, 0, 0, 0));
    EXPECT_THAT(notices[1].report, ElementsAre(0x03, 0x24, 20, 0, 6, 2, 0, 0, 0));
}

TEST_F(VirtualMouseLibrary, EnteringTheBootLoaderReplacesTheInterfacesOnceTheReplyIsRead) {
    const std::string before = config();
    EXPECT_EQ(exchange(report({0xA1, 0x3A, 0, 0, 0, 0x3C, 0xC3, 0x71})), kDone);
    const auto notices = mouse.takeNotices();
    ASSERT_EQ(notices.size(), 4u);
    EXPECT_EQ(notices[0].kind, Notice::Kind::Removal);
    EXPECT_EQ(notices[2].device.interfaceNumber, 2);
    EXPECT_EQ(notices[3].kind, Notice::Kind::Arrival);
    const auto interfaces = mouse.interfaces();
    ASSERT_EQ(interfaces.size(), 1u);
    EXPECT_EQ(notices[3].device, interfaces[0]);
    EXPECT_EQ(interfaces[0].productId, VirtualMouseOptions().bootLoaderProductId);
    EXPECT_EQ(interfaces[0].releaseNumber, 0x0100);
    EXPECT_EQ(mouse.setFeature(before, report({0xA1, 0x02})).error, HidError::DeviceNotConnected);
}

}  // namespace
}  // namespace orvane::emulator::testing
