#include "platform/linux/x11/X11PointerSettings.h"

#include <X11/Xlib.h>

#include <algorithm>
#include <numeric>
#include <utility>

namespace orvane {

namespace {

struct Control {
    int numerator = 1;
    int denominator = 1;
    int threshold = 0;
};

Control reduced(int numerator, int denominator, int threshold) {
    const int divisor = std::gcd(numerator, denominator);
    return {numerator / divisor, denominator / divisor, threshold};
}

// The core control moves the part of a move beyond `threshold` by
// numerator/denominator. Speed s stands for a factor of s/10 on all
// movement (1 -> 0.1, 10 -> the device's own, 20 -> 2).
//
// Without acceleration the threshold is 0, so the ratio covers the whole
// move and is the plain speed factor.
//
// With acceleration the step sits at the level's first threshold with the
// level's factor: 2 for the one-step levels, and 3 for the two-step one,
// which the single step cannot follow: 3 keeps it above the others and
// lies between its doubling and its quadrupling. Moves below the threshold
// then keep the device's own speed, so speed can only act on the step:
// above 10 it multiplies the ratio; below 10 it raises the threshold by
// 10/s instead, because a ratio below the level's (below 1 at the lowest
// speeds) would slow fast moves down. Either way the three levels stay
// apart at every speed: thresholds 12, 6, 4 (scaled alike) with ratios
// 2, 2, 3 (scaled alike).
Control controlFor(int speed, const std::array<int, 3>& acceleration) {
    const int s = std::clamp(speed, 1, 20);
    const int level = acceleration[2];
    if (level <= 0) {
        return reduced(s, 10, 0);
    }
    const int factor = level >= 2 ? 3 : 2;
    const int threshold = std::max(acceleration[0], 1);
    if (s >= 10) {
        return reduced(factor * s, 10, threshold);
    }
    return reduced(factor, 1, (threshold * 10 + s / 2) / s);
}

}  // namespace

std::unique_ptr<X11PointerSettings> X11PointerSettings::create(const std::string& displayName,
                                                               std::string& error) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        error = "cannot open the X11 display \"" + displayName +
                "\": the pointer settings need an X11 session";
        return nullptr;
    }
    XCloseDisplay(display);
    return std::make_unique<X11PointerSettings>(displayName);
}

X11PointerSettings::X11PointerSettings(std::string displayName)
    : displayName(std::move(displayName)) {}

bool X11PointerSettings::setDoubleClickTime(int) {
    return false;
}

bool X11PointerSettings::setWheelScrollLines(int) {
    return false;
}

bool X11PointerSettings::setPointerSpeed(int value) {
    speed = value;
    return write();
}

bool X11PointerSettings::setAcceleration(const std::array<int, 3>& values) {
    acceleration = values;
    return write();
}

bool X11PointerSettings::write() {
    // A connection per write: Apply is rare, and a server that went away
    // meanwhile then shows as a failed open rather than a dead connection.
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return false;
    }
    const Control wanted = controlFor(speed, acceleration);
    XChangePointerControl(display, True, True, wanted.numerator, wanted.denominator,
                          wanted.threshold);
    // The read back is the round trip that makes the server take the change
    // before this returns, and it tells whether the server kept it.
    Control held;
    XGetPointerControl(display, &held.numerator, &held.denominator, &held.threshold);
    XCloseDisplay(display);
    return held.numerator == wanted.numerator && held.denominator == wanted.denominator &&
           held.threshold == wanted.threshold;
}

}  // namespace orvane
