#pragma once

#include <array>
#include <string>

namespace orvane {

// The desktop's pointer settings, set from a profile on Apply. Values come in
// the units the profile files were made with: milliseconds, a speed of 1 to
// 20 (10 leaves the pointer as the device moves it), lines per wheel notch,
// and three acceleration values (first threshold, second threshold, level;
// all 0 is no acceleration). Each backend converts them to its desktop's
// own scale; a setter answers false when the desktop has no such setting or
// refused it, so that the caller can tell the user what was not set.
class PointerSettings {
  public:
    // A wheel notch scrolls one screen rather than a number of lines.
    static constexpr int kWheelPageScroll = -1;

    virtual ~PointerSettings() = default;

    // Names the desktop in messages ("GNOME", "KDE Plasma", "X11").
    virtual std::string desktopName() const = 0;

    virtual bool setDoubleClickTime(int milliseconds) = 0;
    virtual bool setPointerSpeed(int speed) = 0;
    virtual bool setWheelScrollLines(int lines) = 0;
    virtual bool setAcceleration(const std::array<int, 3>& values) = 0;
};

}  // namespace orvane
