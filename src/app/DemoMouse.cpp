#include "app/DemoMouse.h"

#include <chrono>
#include <system_error>

#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/Shell.h"
#include "platform/selection/HidBusSelection.h"
#include "platform/virtual/EmulatorHidBus.h"

namespace orvane {

namespace {

using namespace std::chrono_literals;

// The daemon detaches once it serves; its socket is given this long.
constexpr Clock::Duration kStartWait = 5000ms;
constexpr Clock::Duration kPollInterval = 20ms;

}  // namespace

std::string DemoMouse::start() const {
    if (!answers(socketPath)) {
        const std::filesystem::path daemon = paths.programFolder() / "orvane-emud";
        std::vector<std::string> arguments = {"--socket", socketPath};
        // The mouse's memory is kept beside the user's profiles; without a
        // data folder it lasts as long as the daemon.
        const std::filesystem::path stateFolder = paths.softwareFolder();
        if (!stateFolder.empty()) {
            std::error_code ignored;
            std::filesystem::create_directories(stateFolder, ignored);
            arguments.insert(arguments.end(),
                             {"--state", (stateFolder / "simulated-mouse.json").string()});
        }
        if (!shell.startProgram(daemon, arguments)) {
            return "The simulated mouse \"" + daemon.string() + "\" could not be started.";
        }
        const Clock::TimePoint giveUp = clock.now() + kStartWait;
        while (!answers(socketPath)) {
            if (clock.now() > giveUp) {
                return "The simulated mouse did not answer on \"" + socketPath + "\".";
            }
            clock.sleepFor(kPollInterval);
        }
    }
    selectEmulatorForProcess(socketPath);
    return {};
}

DemoMouse demoMouseOfThisProcess(Shell& shell, Clock& clock, const AppPaths& paths) {
    return DemoMouse{shell, clock, paths, defaultEmulatorSocket(), emulatorAnswers};
}

}  // namespace orvane
