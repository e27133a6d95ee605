#include "platform/selection/HidBusSelection.h"

#include <cstdlib>

#include "platform/linux/hidapi/HidapiBus.h"
#include "platform/virtual/EmulatorHidBus.h"

namespace orvane {

HidBusSelection selectHidBus(const char* selection) {
    const std::string text = selection != nullptr ? selection : "";
    HidBusSelection result;
    if (text.empty() || text == "hidapi") {
        result.bus = std::make_unique<HidapiBus>();
        result.description = "hidapi";
    } else if (text == "emulator" || text.rfind("emulator:", 0) == 0) {
        const std::string socket = emulatorSocketFromSelection(text);
        result.bus = std::make_unique<EmulatorHidBus>(socket);
        result.description = "emulator at " + socket;
    } else {
        result.error =
            "ORVANE_HID=" + text + " names no HID backend; use \"hidapi\" or \"emulator[:SOCKET]\"";
    }
    return result;
}

HidBusSelection selectHidBusFromEnvironment() {
    return selectHidBus(std::getenv("ORVANE_HID"));
}

void selectEmulatorForProcess(const std::string& socketPath) {
    const std::string value = "emulator:" + socketPath;
    setenv("ORVANE_HID", value.c_str(), 1);
}

void releaseHidBackends() {
    HidapiBus::releaseLibrary();
}

}  // namespace orvane
