#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace orvane {

struct AppPaths;
class Clock;
class Shell;

// "--demo": the application runs against the simulated mouse. When no
// orvane-emud answers on the simulated bus's socket, the one beside the
// program is started (it detaches itself and keeps the mouse's memory in a
// state file of the user's), then ORVANE_HID selects the simulated bus for
// the application and the device-control library alike.
struct DemoMouse {
    Shell& shell;
    Clock& clock;
    const AppPaths& paths;
    std::string socketPath;
    // Whether a simulated mouse answers on `socketPath`.
    std::function<bool(const std::string& socketPath)> answers;

    // An empty text, or why the simulated mouse could not be reached.
    std::string start() const;
};

// The demo mouse of this process: the simulated bus's default socket.
DemoMouse demoMouseOfThisProcess(Shell& shell, Clock& clock, const AppPaths& paths);

}  // namespace orvane
