#include "platform/HidBusSelection.h"

#include <cstdlib>

#include "platform/linux/HidapiBus.h"
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

}  // namespace orvane
