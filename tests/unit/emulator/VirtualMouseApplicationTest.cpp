#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "MouseTestSupport.h"
#include "protocol/image/DeviceImage.h"
#include "support/CaseName.h"

namespace orvane::emulator::testing {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using VirtualMouseApplication = MouseTest;

Bytes withValue(Bytes reply, std::uint8_t value) {
    reply[16] = value;
    return reply;
}

TEST_F(VirtualMouseApplication, SelectProfileMakesTheSlotTheCurrentOne) {
    EXPECT_EQ(exchange(report({0xA1, 0x04, 0x00, 0x00, 0x00, 0x03})), report({0xA1, 0x01}));
    EXPECT_EQ(mouse.activeSlot(), 3);
    EXPECT_EQ(exchange(report({0xA1, 0x03})), withValue(report({0xA1, 0x01}), 3));
}

class RefusedSlotOperands : public MouseTest,
                            public ::testing::WithParamInterface<std::pair<int, int>> {};

TEST_P(RefusedSlotOperands, ChangeNoImageAndNoSlot) {
    const auto [slot, half] = GetParam();
    const std::string before = mouse.saveState();
    const auto s = static_cast<std::uint8_t>(slot);
    const auto h = static_cast<std::uint8_t>(half);
    EXPECT_EQ(status(dataReport({0xA0, 0x08, 0, 0, 0, s, h}, pattern(1024, 1))), kStatusFailed);
    if (half == 0) {
        EXPECT_EQ(status(report({0xA1, 0x04, 0, 0, 0, s})), kStatusFailed);
    }
    EXPECT_EQ(mouse.saveState(), before);
}

INSTANTIATE_TEST_SUITE_P(VirtualMouse, RefusedSlotOperands,
                         ::testing::Values(std::pair{5, 0}, std::pair{255, 0}, std::pair{0, 2},
                                           std::pair{4, 255}),
                         [](const auto& info) {
                             return test::caseName("Slot", info.param.first, "Half",
                                                   info.param.second);
                         });

TEST_F(VirtualMouseApplication, ImageHalvesLandByteForByteInTheirSlot) {
    const Bytes image = pattern(2048, 9);
    const auto untouched = mouse.slotImage(1);
    for (std::uint8_t half : {0, 1}) {
        const Bytes reply = exchange(dataReport({0xA0, 0x08, 0, 0, 0, 2, half},
                                                std::span(image).subspan(half * 1024u, 1024)));
        EXPECT_EQ(reply, report({0xA1, 0x01}));
    }
    const auto stored = mouse.slotImage(2);
    EXPECT_EQ(Bytes(stored.begin(), stored.end()), image);
    EXPECT_EQ(mouse.slotImage(1), untouched);
}

TEST_F(VirtualMouseApplication, SurfaceQualityIsReadAfterAnAnalysis) {
    mouse.setSurfaceQuality(87);
    EXPECT_EQ(status(report({0xA1, 0x05, 0x01})), kStatusDone);
    EXPECT_EQ(exchange(report({0xA1, 0x05, 0x02})), withValue(report({0xA1, 0x01}), 87));
    EXPECT_EQ(status(report({0xA1, 0x05, 0x03})), kStatusFailed);
}

TEST_F(VirtualMouseApplication, FactorySlotsHoldWhatTheApplicationWritesForItsDefaultRecord) {
    for (std::size_t slot = 0; slot < VirtualMouse::kSlotCount; ++slot) {
        MouseProfile profile;
        profile.slotIndex = static_cast<std::uint8_t>(slot);
        profile.name = u"Profile" + std::u16string(1, static_cast<char16_t>(u'1' + slot));
        EXPECT_EQ(mouse.slotImage(slot), buildDeviceImage(profile).bytes) << "slot " << slot;
    }
}

TEST_F(VirtualMouseApplication, TheResolutionButtonSetsTheLevelOfTheActiveSlotAndReportsIt) {
    exchange(report({0xA1, 0x04, 0, 0, 0, 1}));
    mouse.pressDpiButton(4);
    EXPECT_EQ(mouse.slotImage(1)[50], 4);
    EXPECT_EQ(mouse.slotImage(0)[50], 2);
    const auto notices = mouse.takeNotices();
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].kind, Notice::Kind::InputReport);
    EXPECT_EQ(notices[0].device, mouse.interfaces().at(0));
    EXPECT_THAT(notices[0].report, ElementsAre(0x03, 0x02, 0x03, 0, 0, 0, 0, 0, 0));

    for (std::uint8_t level : {0, 6}) {
        mouse.pressDpiButton(level);
    }
    EXPECT_TRUE(mouse.takeNotices().empty());
    EXPECT_EQ(mouse.slotImage(1)[50], 4);
}

}  // namespace
}  // namespace orvane::emulator::testing
