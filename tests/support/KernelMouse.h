#pragma once

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace orvane::test {

// The vm tier sets ORVANE_TEST_HID=uhid: the daemon then puts the simulated
// mouse into the kernel (--uhid) and the code under test reaches it through
// the machine's HID stack, the default backend, instead of the daemon's
// socket. The same tests check both roads.
inline bool mouseInKernel() {
    const char* selection = std::getenv("ORVANE_TEST_HID");
    return selection != nullptr && std::string(selection) == "uhid";
}

// The daemon's command line for a test: in the foreground, on `socket`,
// and in the kernel when the tier asks for it.
inline std::vector<std::string> daemonCommand(const std::string& daemon,
                                              const std::string& socket) {
    std::vector<std::string> words = {daemon, "--foreground", "--socket", socket};
    if (mouseInKernel()) {
        words.push_back("--uhid");
    }
    return words;
}

// The kernel creates devices and udev sets them up after the daemon is
// ready: polls `ready` for up to ten seconds.
template <typename Ready>
bool waitUntil(Ready ready) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!ready()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return true;
}

}  // namespace orvane::test
