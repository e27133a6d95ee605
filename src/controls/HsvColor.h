#pragma once

#include <cstdint>
#include <optional>

namespace orvane {

// Colours cross the colour windows, the lighting page and the profile record
// as 32-bit values with red in bits 0-7, green in 8-15 and blue in 16-23.
using ColorRef = std::uint32_t;

constexpr ColorRef makeColorRef(int red, int green, int blue) {
    return static_cast<ColorRef>(red & 0xFF) | (static_cast<ColorRef>(green & 0xFF) << 8) |
           (static_cast<ColorRef>(blue & 0xFF) << 16);
}
constexpr int redOf(ColorRef colour) {
    return static_cast<int>(colour & 0xFF);
}
constexpr int greenOf(ColorRef colour) {
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int blueOf(ColorRef colour) {
    return static_cast<int>((colour >> 16) & 0xFF);
}

// Hue in degrees (0 to 360), saturation and value as fractions.
struct Hsv {
    double h = 0;
    double s = 0;
    double v = 0;
};

// Red, green and blue as fractions.
struct RgbFraction {
    double r = 0;
    double g = 0;
    double b = 0;
};

// Fails (no value) when a channel lies outside 0..1.
std::optional<Hsv> rgbToHsv(double r, double g, double b);

// Fails when the saturation or the value lies outside 0..1 or the hue outside
// 0..360; a hue of 360 counts as 0.
std::optional<RgbFraction> hsvToRgb(double h, double s, double v);

// The smallest integer not below c x 255 - 0.5, so exact halves go down.
int channelFromFraction(double c);

// The smallest integer not below value. The conversions work in doubles, so a
// product that is an integer in exact arithmetic may come out a hair above it;
// that noise must not push the result up by one.
int ceilingOf(double value);

// The colour windows' integer form of a colour: hue in tenths of a degree
// (0 to 3599), saturation and value in thousandths (0 to 1000).
struct HsvComponents {
    int hue = 0;
    int x = 0;
    int y = 0;

    friend bool operator==(const HsvComponents&, const HsvComponents&) = default;
};

// Each component rounded up to its unit; black for a colour that cannot be
// converted (which a 0..255 triple never is).
HsvComponents hsvComponentsFromColor(ColorRef colour);

// Black when the components are out of range.
ColorRef colorFromHsvComponents(const HsvComponents& components);

}  // namespace orvane
