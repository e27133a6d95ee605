#include "e2e/XPointerControl.h"

#include <X11/Xlib.h>

namespace orvane::test {

std::optional<PointerControl> readPointerControl() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        return std::nullopt;
    }
    PointerControl control;
    XGetPointerControl(display, &control.numerator, &control.denominator, &control.threshold);
    XCloseDisplay(display);
    return control;
}

}  // namespace orvane::test
