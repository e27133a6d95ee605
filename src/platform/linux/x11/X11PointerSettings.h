#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/PointerSettings.h"

namespace orvane {

// The X server's core pointer control: one acceleration ratio that applies
// to the part of a move beyond a threshold (pixels per motion event). The
// core protocol keeps no double-click time and no wheel lines; those belong
// to the toolkits, so their setters answer false.
//
// Speed and acceleration share the one control, so each setter writes both
// from the last values this object was given (the device's own speed and no
// acceleration until told otherwise).
class X11PointerSettings final : public PointerSettings {
  public:
    // Null, with `error` saying why, when no X server answers on
    // `displayName` (empty: $DISPLAY).
    static std::unique_ptr<X11PointerSettings> create(const std::string& displayName,
                                                      std::string& error);

    explicit X11PointerSettings(std::string displayName);

    std::string desktopName() const override { return "X11"; }
    bool setDoubleClickTime(int milliseconds) override;
    bool setPointerSpeed(int speed) override;
    bool setWheelScrollLines(int lines) override;
    bool setAcceleration(const std::array<int, 3>& values) override;

  private:
    bool write();

    const std::string displayName;
    int speed = 10;
    std::array<int, 3> acceleration{};
};

}  // namespace orvane
