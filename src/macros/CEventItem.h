#pragma once

#include <cstdint>
#include <string>

#include "macros/MacroRect.h"

namespace orvane {

// Values of CEventItem::type.
inline constexpr std::uint8_t kKeyEvent = 0x01;
inline constexpr std::uint8_t kMouseButtonEvent = 0x10;
inline constexpr std::uint8_t kWheelEvent = 0x11;

// Mouse codes carried in CEventItem::code. They are the virtual-key numbers
// of the buttons and of the browser back and forward keys; the wheel takes
// two numbers no key uses.
inline constexpr std::uint16_t kLeftButtonCode = 1;
inline constexpr std::uint16_t kRightButtonCode = 2;
inline constexpr std::uint16_t kMiddleButtonCode = 4;
inline constexpr std::uint16_t kWheelUpCode = 151;
inline constexpr std::uint16_t kWheelDownCode = 152;
inline constexpr std::uint16_t kBackButtonCode = 166;
inline constexpr std::uint16_t kForwardButtonCode = 167;

// Values of CEventItem::state.
inline constexpr std::uint8_t kPressed = 0;
inline constexpr std::uint8_t kReleased = 1;

// One step of a macro, drawn as one row of the event editor. The order of
// its fields in a file is MacroFile's.
struct CEventItem {
    MacroRect rowRect;
    std::int32_t selected = 0;  // any value but 0 counts as selected
    std::uint32_t id = 0;
    std::uint8_t type = 0;
    std::uint16_t code = 0;
    std::uint8_t state = 0;
    std::uint32_t delay = 0;  // milliseconds

    friend bool operator==(const CEventItem&, const CEventItem&) = default;
};

// The text of a mouse step's row. It depends on the code and the state only,
// so a key whose code matches a mouse code gets the same label. Empty for
// every other code (the editor then shows the key's name).
std::string eventLabel(std::uint16_t code, std::uint8_t state);

}  // namespace orvane
