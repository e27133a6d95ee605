#include "macros/CEventItem.h"

#include <array>
#include <string_view>

namespace orvane {

namespace {

struct Label {
    std::uint16_t code;
    std::string_view pressed;
    std::string_view released;
};

constexpr std::array<Label, 7> kLabels = {{
    {kLeftButtonCode, "Left button Down", "Left button Up"},
    {kRightButtonCode, "Right button Down", "Right button Up"},
    {kMiddleButtonCode, "Middle button Down", "Middle button Up"},
    {kForwardButtonCode, "Forward button Down", "Forward button Up"},
    {kBackButtonCode, "Back button Down", "Back button Up"},
    {kWheelUpCode, "Scroll wheel Up", "Scroll wheel Up"},
    {kWheelDownCode, "Scroll wheel Down", "Scroll wheel Down"},
}};

}  // namespace

std::string eventLabel(std::uint16_t code, std::uint8_t state) {
    for (const Label& label : kLabels) {
        if (label.code != code) {
            continue;
        }
        // The wheel has no release; its label ignores the state altogether.
        if (code == kWheelUpCode || code == kWheelDownCode) {
            return std::string(label.pressed);
        }
        if (state == kPressed) {
            return std::string(label.pressed);
        }
        if (state == kReleased) {
            return std::string(label.released);
        }
        return {};
    }
    return {};
}

}  // namespace orvane
