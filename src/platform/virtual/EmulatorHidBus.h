#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "platform/HidBus.h"

namespace orvane {

// The `virtual` HID backend: the simulated mouse that orvane-emud serves on
// its Unix socket.
//
// Every open device has a connection of its own, so devices used on
// different threads never wait for each other; enumerate() connects for the
// one question. watch() keeps a connection with a reader thread that calls
// the callback. The daemon going away is the mouse going away: open devices
// fail with DeviceNotConnected, and watchers get a removal for every
// interface they knew, then arrivals once a daemon answers again.
class EmulatorHidBus final : public HidBus {
  public:
    struct Timing {
        // Granted on top of the daemon's own waits (a read's time-out, its
        // reply time-out for transfers that never complete) before a silent
        // daemon is given up.
        std::chrono::milliseconds replyAllowance{15000};
        // How often a watcher tries to reach a daemon that is not there.
        std::chrono::milliseconds reconnectInterval{500};
    };

    explicit EmulatorHidBus(std::string socketPath);
    EmulatorHidBus(std::string socketPath, Timing timing);

    // Empty when no daemon answers.
    std::vector<HidDeviceInfo> enumerate() override;
    // DeviceNotConnected when no daemon answers or the interface is gone.
    std::unique_ptr<HidDevice> open(const std::string& path, HidError& error) override;
    // Never null: without a daemon the watcher waits for one.
    std::unique_ptr<HidHotplugSubscription> watch(HotplugCallback callback) override;

    const std::string& socketPath() const { return path; }

  private:
    std::string path;
    Timing timing;
};

// $XDG_RUNTIME_DIR/orvane-emu.sock, or /tmp/orvane-emu-<uid>.sock on a
// session without a runtime folder.
std::string defaultEmulatorSocket();

// Whether an orvane-emud of this user answers on `socketPath`.
bool emulatorAnswers(const std::string& socketPath);

// The bus that ORVANE_HID=emulator[:SOCKET] selects: the socket named after
// the colon, else the daemon's default socket.
std::string emulatorSocketFromSelection(const std::string& selection);

}  // namespace orvane
