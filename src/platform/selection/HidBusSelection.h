#pragma once

#include <memory>
#include <string>

#include "platform/HidBus.h"

namespace orvane {

// The HID backend a process uses, chosen by ORVANE_HID: "hidapi" (the
// default, the machine's hidraw devices) or "emulator[:SOCKET]" (the
// simulated mouse served by orvane-emud).
struct HidBusSelection {
    std::unique_ptr<HidBus> bus;  // null when the selection names no backend
    std::string description;      // "hidapi", "emulator at /run/user/1000/orvane-emu.sock"
    std::string error;            // why `bus` is null
};

// `selection` is the value of ORVANE_HID; null or empty picks the default.
HidBusSelection selectHidBus(const char* selection);

// selectHidBus(getenv("ORVANE_HID")).
HidBusSelection selectHidBusFromEnvironment();

// Makes ORVANE_HID name the simulated mouse at `socketPath` for this process
// and every program it starts, the device-control library included.
void selectEmulatorForProcess(const std::string& socketPath);

// Frees what the backends keep for the whole process (hidapi's state).
void releaseHidBackends();

}  // namespace orvane
