#include "controls/HsvColor.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

namespace orvane {
namespace {

struct ComponentCase {
    const char* name;
    ColorRef colour;
    HsvComponents expected;
};

class HsvComponentsFromColor : public testing::TestWithParam<ComponentCase> {};

TEST_P(HsvComponentsFromColor, RoundsEachComponentUpToItsUnit) {
    EXPECT_EQ(hsvComponentsFromColor(GetParam().colour), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HsvComponentsFromColor,
    testing::Values(ComponentCase{"PureRed", makeColorRef(255, 0, 0), {0, 1000, 1000}},
                    ComponentCase{"Orange", makeColorRef(255, 128, 0), {302, 1000, 1000}},
                    ComponentCase{"Green", makeColorRef(0, 255, 0), {1200, 1000, 1000}},
                    ComponentCase{"Blue", makeColorRef(0, 0, 255), {2400, 1000, 1000}},
                    ComponentCase{"Magenta", makeColorRef(255, 0, 255), {3000, 1000, 1000}},
                    ComponentCase{"White", makeColorRef(255, 255, 255), {0, 0, 1000}},
                    ComponentCase{"Black", makeColorRef(0, 0, 0), {0, 0, 0}},
                    // 100 / 255 = 0.39215...: the value rounds up to 393.
                    ComponentCase{"DarkBlue", makeColorRef(0, 0, 100), {2400, 1000, 393}},
                    // Just below red on the circle: the hue wraps past 359.
                    ComponentCase{"RedTowardsMagenta", makeColorRef(255, 0, 1), {3598, 1000, 1000}},
                    // Exactly half saturation must not pick up rounding noise.
                    ComponentCase{"HalfSaturation", makeColorRef(204, 102, 102), {0, 500, 800}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HsvColor, OrangeComputesBackExactly) {
    EXPECT_EQ(colorFromHsvComponents({302, 1000, 1000}), makeColorRef(255, 128, 0));
}

TEST(HsvColor, ColorRefKeepsRedInTheLowByte) {
    const ColorRef colour = makeColorRef(0x12, 0x34, 0x56);
    EXPECT_EQ(colour, 0x563412u);
    EXPECT_EQ(redOf(colour), 0x12);
    EXPECT_EQ(greenOf(colour), 0x34);
    EXPECT_EQ(blueOf(colour), 0x56);
}

TEST(HsvColor, ChannelFromFractionSendsExactHalvesDown) {
    // 0.5 x 255 - 0.5 = 127 exactly.
    EXPECT_EQ(channelFromFraction(0.5), 127);
    EXPECT_EQ(channelFromFraction(0.0), 0);
    EXPECT_EQ(channelFromFraction(1.0), 255);
    EXPECT_EQ(channelFromFraction(128 / 255.0), 128);
    EXPECT_EQ(channelFromFraction(0.5021), 128);
}

struct RejectedHsv {
    const char* name;
    double h, s, v;
};

class HsvToRgbRejects : public testing::TestWithParam<RejectedHsv> {};

TEST_P(HsvToRgbRejects, AndTheSelectorColourIsBlack) {
    const auto& c = GetParam();
    EXPECT_FALSE(hsvToRgb(c.h, c.s, c.v).has_value());
    EXPECT_EQ(colorFromHsvComponents({static_cast<int>(c.h * 10), static_cast<int>(c.s * 1000),
                                      static_cast<int>(c.v * 1000)}),
              0u);
}

INSTANTIATE_TEST_SUITE_P(Table, HsvToRgbRejects,
                         testing::Values(RejectedHsv{"SaturationAboveOne", 10, 1.2, 1},
                                         RejectedHsv{"NegativeSaturation", 10, -0.5, 1},
                                         RejectedHsv{"ValueAboveOne", 10, 1, 1.5},
                                         RejectedHsv{"NegativeValue", 10, 1, -0.1},
                                         RejectedHsv{"HueAbove360", 361, 1, 1},
                                         RejectedHsv{"NegativeHue", -1, 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(HsvColor, RgbToHsvRejectsChannelsOutsideZeroToOne) {
    EXPECT_FALSE(rgbToHsv(1.01, 0, 0).has_value());
    EXPECT_FALSE(rgbToHsv(0.5, -0.01, 0).has_value());
}

TEST(HsvColor, Hue360CountsAsRed) {
    const auto rgb = hsvToRgb(360, 1, 1);
    ASSERT_TRUE(rgb.has_value());
    EXPECT_DOUBLE_EQ(rgb->r, 1);
    EXPECT_DOUBLE_EQ(rgb->g, 0);
    EXPECT_DOUBLE_EQ(rgb->b, 0);
}

TEST(HsvColor, SweepRoundTripsWithinOneStepPerChannel) {
    // Each component is rounded up to a tenth of a degree or a thousandth, so
    // a channel can come back at most one step off, and never further.
    int worst = 0;
    for (int r = 0; r < 256; r += 5) {
        for (int g = 0; g < 256; g += 5) {
            for (int b = 0; b < 256; b += 5) {
                const ColorRef colour = makeColorRef(r, g, b);
                const ColorRef back = colorFromHsvComponents(hsvComponentsFromColor(colour));
                worst = std::max({worst, std::abs(redOf(back) - r), std::abs(greenOf(back) - g),
                                  std::abs(blueOf(back) - b)});
                ASSERT_EQ(back >> 24, 0u);
            }
        }
    }
    EXPECT_LE(worst, 1);
}

TEST(HsvColor, PrimaryAndGreyColoursRoundTripExactly) {
    for (int level = 0; level < 256; ++level) {
        for (const ColorRef colour : {makeColorRef(level, level, level), makeColorRef(level, 0, 0),
                                      makeColorRef(0, level, 0), makeColorRef(0, 0, level)}) {
            ASSERT_EQ(colorFromHsvComponents(hsvComponentsFromColor(colour)), colour)
                << std::hex << colour;
        }
    }
}

}  // namespace
}  // namespace orvane
