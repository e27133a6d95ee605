#pragma once

#include <array>
#include <memory>
#include <string>

#include "platform/PointerSettings.h"

namespace orvane {

// The GNOME mouse settings (org.gnome.desktop.peripherals.mouse) through
// GSettings; the running desktop follows them on its own. GNOME keeps no
// wheel lines for the mouse, so that setter answers false.
class GnomePointerSettings final : public PointerSettings {
  public:
    // Null, with `error` saying why, when the mouse schema is not installed
    // or GSettings has nowhere to keep what is written.
    static std::unique_ptr<GnomePointerSettings> create(std::string& error);
    ~GnomePointerSettings() override;

    std::string desktopName() const override { return "GNOME"; }
    bool setDoubleClickTime(int milliseconds) override;
    bool setPointerSpeed(int speed) override;
    bool setWheelScrollLines(int lines) override;
    bool setAcceleration(const std::array<int, 3>& values) override;

  private:
    struct Schema;

    explicit GnomePointerSettings(std::unique_ptr<Schema> schema);

    std::unique_ptr<Schema> schema;
};

}  // namespace orvane
