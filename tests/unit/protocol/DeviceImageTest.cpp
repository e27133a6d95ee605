#include "protocol/image/DeviceImage.h"
#include "support/CaseName.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace orvane {
namespace {

using ::testing::Each;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::uint8_t> bytesAt(const DeviceImage& image, std::size_t offset, std::size_t count) {
    return {image.bytes.begin() + static_cast<std::ptrdiff_t>(offset),
            image.bytes.begin() + static_cast<std::ptrdiff_t>(offset + count)};
}

std::size_t readWord(const DeviceImage& image, std::size_t offset) {
    return image.bytes[offset] | (image.bytes[offset + 1] << 8);
}

void giveMacro(MouseProfile& profile, std::size_t button, std::vector<CMacroEvent> events) {
    const auto id = static_cast<std::uint16_t>(100 + button);
    profile.buttons[button].function = 14;
    profile.buttons[button].parameter = id;
    profile.buttonMacros[button] = {u"macro", id, std::move(events)};
}

std::vector<CMacroEvent> keyStrokes(std::size_t count) {
    std::vector<CMacroEvent> events;
    for (std::size_t i = 0; i < count; ++i) {
        events.push_back({1, 65, static_cast<std::uint8_t>(i % 2), 20});
    }
    return events;
}

TEST(DeviceImage, DefaultRecordInSlot2) {
    MouseProfile profile;
    profile.slotIndex = 2;
    // A copy left behind by a button that no longer plays a macro.
    profile.buttonMacros[0].events = keyStrokes(3);
    const DeviceImage image = buildDeviceImage(profile);

    EXPECT_EQ(image.bytes[0], 2);
    EXPECT_THAT(bytesAt(image, 17, 4), ElementsAre(0x00, 0x08, 0x00, 0x00));
    EXPECT_EQ(image.bytes[21], 1);
    EXPECT_EQ(image.bytes[22], 1);
    EXPECT_EQ(image.bytes[32], 100);
    EXPECT_EQ(image.bytes[50], 2);
    EXPECT_EQ(image.bytes[86], 5);
    EXPECT_THAT(bytesAt(image, 52, 4), ElementsAre(0x90, 0x01, 0x90, 0x01));
    EXPECT_THAT(bytesAt(image, 97, 4), ElementsAre(0x38, 0x4A, 0x38, 0x4A));
    for (std::size_t entry : {0, 1, 2, 3, 4, 5, 6, 10, 11}) {
        EXPECT_EQ(image.bytes[101 + 7 * entry + 6], 0x0F) << "entry " << entry;
    }
    EXPECT_THAT(bytesAt(image, 150, 21), Each(0));
    EXPECT_THAT(bytesAt(image, 185, 2048 - 185), Each(0));
    EXPECT_THAT(image.shortenedMacroButtons, IsEmpty());
}

TEST(DeviceImage, FieldsLandAtTheirOffsets) {
    MouseProfile profile;
    profile.pollingInterval = 0x0108;
    profile.enabled = 0;
    profile.lightingEffect = 0x1205;  // zones unlit: flags keep only the mode bit
    profile.liftOffDistance = 2;
    profile.angleSnapping = 1;
    profile.rippleControl = 3;
    profile.sensorAttribute = 0x1234;
    profile.dpiLevelAttribute = 0x0107;
    profile.dpiLevelCount = 4;
    for (std::size_t i = 0; i < kDpiLevelCount; ++i) {
        profile.dpiLevels[i] = {static_cast<std::uint16_t>(0x0101 * (i + 1)), 9999};
    }
    const DeviceImage image = buildDeviceImage(profile);

    EXPECT_THAT(bytesAt(image, 21, 2), ElementsAre(0x08, 0x00));
    for (std::size_t zone : {23, 27, 33, 37, 41, 45}) {
        EXPECT_THAT(bytesAt(image, zone, 4), ElementsAre(0, 0, 0, 0x05)) << "zone at " << zone;
    }
    EXPECT_THAT(bytesAt(image, 70, 2), ElementsAre(2, 1));
    EXPECT_THAT(bytesAt(image, 86, 3), ElementsAre(4, 0x34, 3));
    const std::size_t levels[] = {51, 60, 81, 91, 96};
    for (std::size_t i = 0; i < kDpiLevelCount; ++i) {
        const auto x = static_cast<std::uint8_t>(i + 1);
        EXPECT_THAT(bytesAt(image, levels[i], 5), ElementsAre(0x07, x, x, x, x)) << "level " << i;
    }
}

struct LightingCase {
    std::uint32_t brightness;
    std::uint32_t colour;
    std::uint8_t percent;
    std::vector<std::uint8_t> dimmed;
};
std::ostream& operator<<(std::ostream& out, const LightingCase& c) {
    return out << "brightness " << c.brightness << " colour " << c.colour;
}

class DeviceImageBrightness : public ::testing::TestWithParam<LightingCase> {};

// Zones A and B follow the brightness step, C and D (D three times) never do.
TEST_P(DeviceImageBrightness, ScalesWheelAndLogoZonesOnly) {
    const LightingCase& c = GetParam();
    MouseProfile profile;
    profile.lightingBrightness = c.brightness;
    profile.lightingZoneFlags = 0x1F;
    profile.zoneColor1 = profile.zoneColor2 = profile.zoneColor3 = profile.zoneColor4 = c.colour;
    const DeviceImage image = buildDeviceImage(profile);

    const std::vector<std::uint8_t> full = {static_cast<std::uint8_t>(c.colour),
                                            static_cast<std::uint8_t>(c.colour >> 8),
                                            static_cast<std::uint8_t>(c.colour >> 16)};
    EXPECT_EQ(image.bytes[32], c.percent);
    EXPECT_EQ(bytesAt(image, 23, 3), c.dimmed);
    EXPECT_EQ(bytesAt(image, 27, 3), c.dimmed);
    for (std::size_t offset : {33, 37, 41, 45}) {
        EXPECT_EQ(bytesAt(image, offset, 3), full) << "zone at " << offset;
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, DeviceImageBrightness,
                         ::testing::Values(LightingCase{1, 0xFFFF00, 0, {0x00, 0x00, 0x00}},
                                           LightingCase{2, 0xFFFF00, 25, {0x00, 0x3F, 0x3F}},
                                           LightingCase{3, 0xFFFF00, 50, {0x00, 0x7F, 0x7F}},
                                           LightingCase{4, 0x0100C8, 75, {0x96, 0x00, 0x00}},
                                           LightingCase{5, 0x123456, 100, {0x56, 0x34, 0x12}},
                                           LightingCase{0, 0x123456, 100, {0x56, 0x34, 0x12}},
                                           LightingCase{9, 0x123456, 100, {0x56, 0x34, 0x12}}),
                         [](const ::testing::TestParamInfo<LightingCase>& info) {
                             return test::caseName("Step", info.param.brightness);
                         });

struct NameCase {
    std::u16string name;
    std::string field;
};
std::ostream& operator<<(std::ostream& out, const NameCase& c) {
    return out << "field \"" << c.field << '"';
}

class DeviceImageName : public ::testing::TestWithParam<NameCase> {};

TEST_P(DeviceImageName, FitsFifteenBytesAndATerminator) {
    MouseProfile profile;
    profile.name = GetParam().name;
    const DeviceImage image = buildDeviceImage(profile);
    std::vector<std::uint8_t> expected(GetParam().field.begin(), GetParam().field.end());
    expected.resize(16, 0);
    EXPECT_EQ(bytesAt(image, 1, 16), expected);
}

INSTANTIATE_TEST_SUITE_P(Names, DeviceImageName,
                         ::testing::Values(NameCase{u"Profile1", "Profile1"}, NameCase{u"", ""},
                                           NameCase{u"Caf\u00E9 \u20AC", "Caf\xE9 \x80"},
                                           NameCase{u"\u0416uk \u3042", "?uk ?"},
                                           NameCase{u"ABCDEFGHIJKLMNO", "ABCDEFGHIJKLMNO"},
                                           NameCase{u"ABCDEFGHIJKLMNOPQRST", "ABCDEFGHIJKLMNO"}),
                         [](const ::testing::TestParamInfo<NameCase>& info) {
                             return test::spelled(info.param.name);
                         });

TEST(DeviceImage, MacroOnButton7PointsAtOffset800) {
    MouseProfile profile;
    giveMacro(profile, 7, {{1, 65, 0, 0x01020304}, {1, 65, 1, 7}});
    const DeviceImage image = buildDeviceImage(profile);

    EXPECT_THAT(bytesAt(image, 171, 7), ElementsAre(0x03, 0x00, 0x20, 0x03, 0x02, 0x00, 0x0F));
    EXPECT_THAT(bytesAt(image, 800, 14), ElementsAre(0x01, 0x04, 0x00, 0x00, 0x04, 0x03, 0x02,  //
                                                     0x01, 0x04, 0x00, 0x01, 0x07, 0x00, 0x00));
    EXPECT_THAT(bytesAt(image, 814, 2048 - 814), Each(0));
}

TEST(DeviceImage, SecondMacroFollowsTheFirstAndItsTerminator) {
    MouseProfile profile;
    giveMacro(profile, 1, keyStrokes(3));
    giveMacro(profile, 8, keyStrokes(2));
    const DeviceImage image = buildDeviceImage(profile);

    EXPECT_THAT(bytesAt(image, 108 + 2, 4), ElementsAre(0x20, 0x03, 0x03, 0x00));
    EXPECT_THAT(bytesAt(image, 178 + 2, 4), ElementsAre(0x3C, 0x03, 0x02, 0x00));
    EXPECT_THAT(bytesAt(image, 821, 7), Each(0));
    EXPECT_EQ(image.bytes[828], 1);
}

TEST(DeviceImage, MacroButtonWithIndexPastEightGetsAnEmptyMacro) {
    MouseProfile profile;
    profile.buttons[3] = {12, 14, 5, 3};
    const DeviceImage image = buildDeviceImage(profile);
    EXPECT_THAT(bytesAt(image, 122, 7), ElementsAre(0x03, 0xFE, 0x20, 0x03, 0x00, 0x00, 0x0F));
    EXPECT_THAT(image.shortenedMacroButtons, IsEmpty());
}

// 1248 bytes hold nine terminators and 169 events; nine full macros want 1152.
TEST(DeviceImage, OverfullMacroAreaShortensLaterMacrosAndKeepsEveryTerminator) {
    MouseProfile profile;
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        giveMacro(profile, b, keyStrokes(128));
    }
    const DeviceImage image = buildDeviceImage(profile);

    EXPECT_THAT(image.shortenedMacroButtons, ElementsAre(1, 2, 3, 4, 5, 6, 7, 8));
    const std::size_t entries[] = {0, 1, 2, 3, 4, 5, 6, 10, 11};
    std::size_t expectedOffset = 800;
    std::size_t events = 0;
    for (std::size_t b = 0; b < kButtonCount; ++b) {
        const std::size_t entry = 101 + 7 * entries[b];
        const std::size_t offset = readWord(image, entry + 2);
        const std::size_t count = readWord(image, entry + 4);
        EXPECT_EQ(offset, expectedOffset) << "button " << b;
        ASSERT_LE(offset + 7 * (count + 1), 2048U) << "button " << b;
        EXPECT_THAT(bytesAt(image, offset + 7 * count, 7), Each(0)) << "button " << b;
        EXPECT_EQ(image.bytes[entry + 1], count == 0 ? 0xFE : 0x00) << "button " << b;
        expectedOffset = offset + 7 * (count + 1);
        events += count;
    }
    EXPECT_EQ(readWord(image, 101 + 4), 128U);
    EXPECT_EQ(events, 169U);
}

}  // namespace
}  // namespace orvane
