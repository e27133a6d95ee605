#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "platform/AppPaths.h"
#include "platform/PointerSettings.h"

namespace orvane {

// How each desktop's pointer settings are made; tests hand in their own.
struct PointerSettingsBackends {
    std::function<std::unique_ptr<PointerSettings>(std::string& error)> gnome;
    std::function<std::unique_ptr<PointerSettings>(const std::filesystem::path& configFolder,
                                                   std::string& error)>
        kde;
    std::function<std::unique_ptr<PointerSettings>(const std::string& display, std::string& error)>
        x11;

    static PointerSettingsBackends ofThisSystem();
};

// The pointer settings of the user's desktop, chosen from the session's
// environment: the first desktop of XDG_CURRENT_DESKTOP that keeps its own
// mouse settings (KDE; GNOME and the desktops built on its settings), else
// the X server's core control in an X11 session with a DISPLAY. Null when
// none of them can be used, with `why` in words for the user; `why` also
// says why a desktop's own settings gave way to the X server's.
std::unique_ptr<PointerSettings> createPointerSettings(
    const AppPaths::EnvironmentLookup& environment, const PointerSettingsBackends& backends,
    std::string& why);
std::unique_ptr<PointerSettings> createPointerSettings(
    const AppPaths::EnvironmentLookup& environment, std::string& why);

// The same for this process's own environment.
std::unique_ptr<PointerSettings> createPointerSettingsForThisProcess(std::string& why);

}  // namespace orvane
