#pragma once

#include <array>
#include <optional>
#include <string>

#include "platform/PointerSettings.h"

namespace orvane {

// Pointer settings for tests: keeps the last value of each setting; a
// setting named in `refused` is not taken, as on a desktop without it.
class FakePointerSettings final : public PointerSettings {
  public:
    struct Refusals {
        bool doubleClickTime = false;
        bool pointerSpeed = false;
        bool wheelScrollLines = false;
        bool acceleration = false;
    };

    std::string desktopName() const override { return "test desktop"; }

    bool setDoubleClickTime(int milliseconds) override {
        return keep(doubleClickTime, milliseconds, refused.doubleClickTime);
    }
    bool setPointerSpeed(int speed) override {
        return keep(pointerSpeed, speed, refused.pointerSpeed);
    }
    bool setWheelScrollLines(int lines) override {
        return keep(wheelScrollLines, lines, refused.wheelScrollLines);
    }
    bool setAcceleration(const std::array<int, 3>& values) override {
        return keep(acceleration, values, refused.acceleration);
    }

    Refusals refused;
    std::optional<int> doubleClickTime;
    std::optional<int> pointerSpeed;
    std::optional<int> wheelScrollLines;
    std::optional<std::array<int, 3>> acceleration;

  private:
    template <typename T>
    static bool keep(std::optional<T>& slot, const T& value, bool refuse) {
        if (refuse) {
            return false;
        }
        slot = value;
        return true;
    }
};

}  // namespace orvane
