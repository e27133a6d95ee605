#pragma once

#include <cstdint>
#include <string_view>

namespace orvane {

// The number kept in the `function` field of a ButtonAssignment.
enum class ButtonFunction : std::uint8_t {
    LeftClick = 0,
    RightClick = 1,
    ScrollClick = 2,
    Forward = 3,
    Back = 4,
    DpiUp = 5,
    DpiDown = 6,
    DpiRoll = 7,
    ProfileRoll = 8,
    ProfileUp = 9,
    ProfileDown = 10,
    ScrollUp = 11,
    ScrollDown = 12,
    SingleKey = 13,
    Macro = 14,
    Disabled = 15,
    DpiF3 = 32,
};

// The caption the mouse-settings page shows for a function with a fixed
// caption ("Left click", "Disable button", ...). Empty for SingleKey and Macro
// (they show the key's or the macro's name), for DpiF3 (no menu offers it)
// and for numbers that are no function.
std::string_view buttonFunctionCaption(std::uint8_t function);

}  // namespace orvane
