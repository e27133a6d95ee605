#include "controls/HsvColor.h"

#include <algorithm>
#include <cmath>

namespace orvane {

namespace {

// Far below a thousandth of a unit and far above the error of a few double
// operations on values up to 3600.
constexpr double kCeilingSlack = 1e-9;

}  // namespace

std::optional<Hsv> rgbToHsv(double r, double g, double b) {
    const double largest = std::max({r, g, b});
    const double smallest = std::min({r, g, b});
    if (smallest < 0 || largest > 1) {
        return std::nullopt;
    }
    Hsv hsv;
    hsv.v = largest;
    if (largest == 0) {
        return hsv;
    }
    const double spread = largest - smallest;
    hsv.s = spread / largest;
    if (hsv.s == 0) {
        return hsv;
    }
    if (r == largest) {
        hsv.h = 60 * ((g - b) / spread);
    } else if (g != largest) {
        hsv.h = 60 * ((r - g) / spread + 4);
    } else {
        hsv.h = 60 * ((b - r) / spread + 2);
    }
    if (hsv.h < 0) {
        hsv.h += 360;
    }
    return hsv;
}

std::optional<RgbFraction> hsvToRgb(double h, double s, double v) {
    // A negative saturation would give channels above the value and, past 1,
    // bytes that spill into the neighbouring channel; it is refused like one
    // above 1.
    if (s < 0 || s > 1 || v < 0 || v > 1 || h < 0 || h > 360) {
        return std::nullopt;
    }
    if (h == 360) {
        h = 0;
    }
    if (s == 0) {
        return RgbFraction{v, v, v};
    }
    const double sector = h / 60;
    const int i = static_cast<int>(sector);
    const double f = sector - i;
    const double p = v * (1 - s);
    const double q = v * (1 - s * f);
    const double t = v * (1 - s * (1 - f));
    switch (i) {
        case 0:
            return RgbFraction{v, t, p};
        case 1:
            return RgbFraction{q, v, p};
        case 2:
            return RgbFraction{p, v, t};
        case 3:
            return RgbFraction{p, q, v};
        case 4:
            return RgbFraction{t, p, v};
        default:
            return RgbFraction{v, p, q};
    }
}

int ceilingOf(double value) {
    return static_cast<int>(std::ceil(value - kCeilingSlack));
}

int channelFromFraction(double c) {
    return std::clamp(ceilingOf(c * 255 - 0.5), 0, 255);
}

HsvComponents hsvComponentsFromColor(ColorRef colour) {
    const auto hsv =
        rgbToHsv(redOf(colour) / 255.0, greenOf(colour) / 255.0, blueOf(colour) / 255.0);
    if (!hsv) {
        return {};
    }
    // A hue a hair below 360 would round up to 3600, which is red again.
    int hue = ceilingOf(hsv->h * 10);
    if (hue >= 3600) {
        hue = 0;
    }
    return {hue, ceilingOf(hsv->s * 1000), ceilingOf(hsv->v * 1000)};
}

ColorRef colorFromHsvComponents(const HsvComponents& components) {
    const auto rgb = hsvToRgb(components.hue / 10.0, components.x / 1000.0, components.y / 1000.0);
    if (!rgb) {
        return 0;
    }
    return makeColorRef(channelFromFraction(rgb->r), channelFromFraction(rgb->g),
                        channelFromFraction(rgb->b));
}

}  // namespace orvane
