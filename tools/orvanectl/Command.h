#pragma once

#include <CLI/CLI.hpp>
#include <functional>
#include <ostream>

namespace orvanectl {

// A parsed command, run after the whole command line has been accepted.
using Action = std::function<int(std::ostream& out, std::ostream& err)>;

// Each group adds its sub-commands to `parent`; the one the user chose
// stores its action in `chosen`.
void addProfileCommands(CLI::App& parent, Action& chosen);
void addMacroCommands(CLI::App& parent, Action& chosen);
// The commands that drive the mouse through the device-control library.
void addDeviceCommands(CLI::App& parent, Action& chosen);
void addEventCommands(CLI::App& parent, Action& chosen);
// doctor: whether this system lets the user reach the mouse.
void addDoctorCommand(CLI::App& parent, Action& chosen);

}  // namespace orvanectl
