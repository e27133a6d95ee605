#pragma once

#include <filesystem>
#include <string>

#include "platform/AppPaths.h"

namespace orvane {

// The user's own XDG autostart entry for a program: present (and not marked
// Hidden) means the desktop starts the program at log-in.
class AutostartEntry {
  public:
    // $XDG_CONFIG_HOME/autostart/<desktopId>.desktop, by default below ~/.config.
    static std::filesystem::path fileFor(const AppPaths::EnvironmentLookup& environment,
                                         const std::string& desktopId);

    // `command` is the Exec line's program and arguments, already quoted.
    AutostartEntry(std::filesystem::path file, std::string name, std::string command,
                   std::string icon);

    const std::filesystem::path& file() const { return path; }
    bool enabled() const;
    // Writes the entry whole (a temporary file renamed over it) or removes it;
    // false, with `error` in words, when that failed and nothing changed.
    bool setEnabled(bool on, std::string& error) const;

  private:
    std::string contents() const;

    std::filesystem::path path;
    std::string name;
    std::string command;
    std::string icon;
};

// A program path as a desktop entry's Exec line needs it: quoted when it
// holds anything but plain characters, with the characters the entry format
// reserves escaped.
std::string desktopExecQuoted(const std::string& program);

}  // namespace orvane
