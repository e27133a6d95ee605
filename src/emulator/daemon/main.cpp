#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "emulator/VirtualHidBus.h"
#include "emulator/daemon/BusServer.h"
#include "emulator/daemon/InterruptibleClock.h"
#include "emulator/daemon/StateFile.h"
#include "emulator/daemon/UhidHost.h"
#include "platform/linux/uhid/UhidDevice.h"
#include "platform/virtual/BusSocket.h"

namespace {

using namespace orvane::emulator;

BusServer* gServer = nullptr;

void onStopSignal(int) {
    if (gServer != nullptr) {
        gServer->stop();
    }
}

void installSignalHandlers() {
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGHUP, &action, nullptr);
    struct sigaction ignore {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    sigaction(SIGPIPE, &ignore, nullptr);
}

// Leaves the terminal once the socket is listening, so that whoever started
// us can connect as soon as we return. Only the child comes back.
bool detach(const std::string& socketPath) {
    std::cout.flush();
    const pid_t child = ::fork();
    if (child < 0) {
        return false;
    }
    if (child > 0) {
        std::cout << "orvane-emud: serving on " << socketPath << " (pid " << child << ")\n";
        std::cout.flush();
        // The server object belongs to the child now; its destructor must
        // not remove the socket here.
        ::_exit(0);
    }
    ::setsid();
    if (::chdir("/") != 0) {
        return false;
    }
    // A pipe left open would keep a caller reading our output waiting for
    // as long as we run.
    const int null = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    if (null >= 0) {
        ::dup2(null, STDIN_FILENO);
        ::dup2(null, STDOUT_FILENO);
        ::dup2(null, STDERR_FILENO);
        ::close(null);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"Serves the simulated ORVANE PRO mouse on a Unix socket.", "orvane-emud"};
    std::string socketPath = defaultSocketPath();
    std::string statePath;
    bool unplugged = false;
    bool foreground = false;
    bool uhid = false;
    app.add_option("--socket", socketPath, "the socket to serve on")->capture_default_str();
    app.add_option("--state", statePath,
                   "file that keeps the mouse's state: loaded at start when it exists, "
                   "saved after every change and at exit");
    app.add_flag("--unplugged", unplugged, "start with the mouse unplugged");
    app.add_flag("--foreground", foreground, "stay in the foreground instead of detaching");
    app.add_flag("--uhid", uhid,
                 "also put the mouse into the kernel as a HID device (needs write access to "
                 "/dev/uhid); the control socket works as before");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;
    }

    // Both are used after the daemon has changed to the root folder.
    std::error_code ignored;
    socketPath = std::filesystem::absolute(socketPath, ignored).string();
    std::string error;
    std::optional<StateFile> state;
    if (!statePath.empty()) {
        state.emplace(std::filesystem::absolute(statePath, ignored));
    }

    // Said before anything else happens, and while the caller still
    // listens: the devices themselves are created after detaching, since
    // their threads would not survive the fork.
    if (uhid && !orvane::UhidDevice::available(error)) {
        std::cerr << "orvane-emud: --uhid: " << error << "\n";
        return 1;
    }

    InterruptibleClock clock;
    VirtualHidBus bus(clock);
    if (state && !state->load(bus, error)) {
        std::cerr << "orvane-emud: " << error << "\n";
        return 1;
    }
    bus.withMouse([unplugged](VirtualMouse& mouse) {
        if (unplugged) {
            mouse.unplug();
        } else if (!mouse.plugged()) {
            mouse.plug();
        }
    });

    BusServer::Hooks hooks;
    hooks.stopping = [&clock] { clock.interrupt(); };
    if (state) {
        hooks.changed = [&state, &bus] {
            std::string reason;
            if (!state->save(bus, reason)) {
                std::cerr << "orvane-emud: " << reason << "\n";
            }
        };
    }
    BusServer server(bus, hooks);
    gServer = &server;
    installSignalHandlers();
    if (!server.listen(socketPath, error)) {
        std::cerr << "orvane-emud: " << error << "\n";
        return 1;
    }
    if (foreground) {
        std::cout << "orvane-emud: serving on " << socketPath << std::endl;
    } else if (!detach(socketPath)) {
        std::cerr << "orvane-emud: cannot run in the background\n";
        return 1;
    }

    // Destroyed before the bus it mirrors.
    std::optional<UhidHost> kernelDevices;
    if (uhid) {
        kernelDevices.emplace(bus);
        if (!kernelDevices->start(error)) {
            std::cerr << "orvane-emud: --uhid: " << error << "\n";
            return 1;
        }
    }

    server.run();
    kernelDevices.reset();
    gServer = nullptr;
    if (state && !state->save(bus, error)) {
        std::cerr << "orvane-emud: " << error << "\n";
        return 1;
    }
    return 0;
}
