#pragma once

#include <optional>

namespace orvane::test {

// The X server's pointer control ($DISPLAY), as the desktop holds it. Apart
// from the tests because Xlib's macros clash with GoogleTest's names.
struct PointerControl {
    int numerator = 0;
    int denominator = 0;
    int threshold = 0;
};

std::optional<PointerControl> readPointerControl();

}  // namespace orvane::test
