#include "platform/desktop/PointerSettingsSelection.h"

#include <strings.h>

#include <cstdlib>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/linux/gnome/GnomePointerSettings.h"
#include "platform/linux/kde/KdePointerSettings.h"
#include "platform/linux/x11/X11PointerSettings.h"

namespace orvane {

namespace {

enum class Desktop { kde, gnome, other };

bool sameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && ::strncasecmp(a.data(), b.data(), a.size()) == 0;
}

// The desktops that read the GNOME mouse keys
// (org.gnome.desktop.peripherals.mouse): GNOME with its classic and
// flashback sessions and distribution flavours ("ubuntu:GNOME"), Budgie and
// Pantheon, whose settings daemons and control centres are GNOME's own.
// Cinnamon, MATE and Unity keep mouse settings under schemas of their own
// and Xfce and LXQt outside GSettings: writing GNOME's keys would change
// nothing there, so they are left to the X server's control.
Desktop desktopOf(std::string_view name) {
    if (sameName(name, "KDE")) {
        return Desktop::kde;
    }
    for (std::string_view gnome :
         {"GNOME", "GNOME-Classic", "GNOME-Flashback", "Budgie", "Pantheon"}) {
        if (sameName(name, gnome)) {
            return Desktop::gnome;
        }
    }
    return Desktop::other;
}

// The first desktop we know in the list, which names the most particular
// first ("ubuntu:GNOME").
Desktop currentDesktop(std::string_view list) {
    while (!list.empty()) {
        const auto colon = list.find(':');
        const Desktop desktop = desktopOf(list.substr(0, colon));
        if (desktop != Desktop::other) {
            return desktop;
        }
        list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
    }
    return Desktop::other;
}

std::string valueOf(const AppPaths::EnvironmentLookup& environment, std::string_view name) {
    return environment(name).value_or("");
}

// $XDG_CONFIG_HOME when absolute, else ~/.config; empty when neither is
// known.
std::filesystem::path configFolder(const AppPaths::EnvironmentLookup& environment) {
    const std::filesystem::path xdg = valueOf(environment, "XDG_CONFIG_HOME");
    if (xdg.is_absolute()) {
        return xdg;
    }
    const std::string home = valueOf(environment, "HOME");
    return home.empty() ? std::filesystem::path{} : std::filesystem::path(home) / ".config";
}

}  // namespace

PointerSettingsBackends PointerSettingsBackends::ofThisSystem() {
    PointerSettingsBackends backends;
    backends.gnome = [](std::string& error) -> std::unique_ptr<PointerSettings> {
        return GnomePointerSettings::create(error);
    };
    backends.kde = [](const std::filesystem::path& folder,
                      std::string& error) -> std::unique_ptr<PointerSettings> {
        return KdePointerSettings::create(folder, error);
    };
    backends.x11 = [](const std::string& display,
                      std::string& error) -> std::unique_ptr<PointerSettings> {
        return X11PointerSettings::create(display, error);
    };
    return backends;
}

std::unique_ptr<PointerSettings> createPointerSettings(
    const AppPaths::EnvironmentLookup& environment, const PointerSettingsBackends& backends,
    std::string& why) {
    why.clear();
    const std::string desktops = valueOf(environment, "XDG_CURRENT_DESKTOP");
    std::unique_ptr<PointerSettings> settings;
    switch (currentDesktop(desktops)) {
        case Desktop::kde:
            settings = backends.kde(configFolder(environment), why);
            break;
        case Desktop::gnome:
            settings = backends.gnome(why);
            break;
        case Desktop::other:
            break;
    }
    if (settings) {
        return settings;
    }

    // On Wayland the X server is only there for older programs, and its
    // pointer control would move their idea of the pointer, not the user's.
    const bool wayland = sameName(valueOf(environment, "XDG_SESSION_TYPE"), "wayland");
    const std::string display = valueOf(environment, "DISPLAY");
    if (!wayland && !display.empty()) {
        std::string error;
        settings = backends.x11(display, error);
        if (!settings) {
            why += (why.empty() ? "" : "; ") + error;
        }
        return settings;
    }
    if (why.empty()) {
        const std::string named =
            desktops.empty() ? std::string("this desktop") : "the desktop \"" + desktops + "\"";
        why = wayland ? "the pointer settings of " + named +
                            " cannot be changed from here: only KDE Plasma and GNOME are "
                            "supported in a Wayland session"
                      : "no desktop session was found (neither XDG_CURRENT_DESKTOP names a "
                        "supported desktop nor DISPLAY an X11 display): the pointer settings "
                        "cannot be changed";
    }
    return nullptr;
}

std::unique_ptr<PointerSettings> createPointerSettings(
    const AppPaths::EnvironmentLookup& environment, std::string& why) {
    return createPointerSettings(environment, PointerSettingsBackends::ofThisSystem(), why);
}

std::unique_ptr<PointerSettings> createPointerSettingsForThisProcess(std::string& why) {
    return createPointerSettings(AppPaths::thisProcessEnvironment(), why);
}

}  // namespace orvane
