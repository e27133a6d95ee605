#pragma once

#include <array>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/PointerSettings.h"

namespace orvane {

// KDE Plasma's mouse settings, written where Plasma keeps them: the double
// click and the wheel in kdeglobals, speed and acceleration in kcminputrc,
// both in the user's configuration folder. After a change the running
// session is told over the session bus to read them again; without a
// session bus the files still hold the change for the next login.
// Plasma has no page-wise wheel scrolling, so kWheelPageScroll is refused.
class KdePointerSettings final : public PointerSettings {
  public:
    // Null, with `error` saying why, when `configFolder` ($XDG_CONFIG_HOME
    // or ~/.config) is not an absolute path.
    static std::unique_ptr<KdePointerSettings> create(const std::filesystem::path& configFolder,
                                                      std::string& error);

    explicit KdePointerSettings(std::filesystem::path configFolder);

    std::string desktopName() const override { return "KDE Plasma"; }
    bool setDoubleClickTime(int milliseconds) override;
    bool setPointerSpeed(int speed) override;
    bool setWheelScrollLines(int lines) override;
    bool setAcceleration(const std::array<int, 3>& values) override;

  private:
    bool write(const char* file, const char* group, const char* key, const std::string& value);

    const std::filesystem::path configFolder;
};

}  // namespace orvane
