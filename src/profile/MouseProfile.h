#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

inline constexpr std::size_t kButtonCount = 9;
inline constexpr std::size_t kDpiLevelCount = 5;
inline constexpr std::size_t kProfileSlotCount = 5;

// One recorded step of a button's macro copy.
struct CMacroEvent {
    std::uint8_t type = 0;    // 1 key, 16 mouse button, 17 wheel
    std::uint16_t code = 0;   // virtual-key or mouse code
    std::uint8_t state = 0;   // 0 pressed, 1 released
    std::uint32_t delay = 0;  // milliseconds

    friend bool operator==(const CMacroEvent&, const CMacroEvent&) = default;
};

// The deep copy of a macro that belongs to one button of a profile.
struct ButtonMacro {
    std::u16string name;
    std::uint32_t id = 0;
    std::vector<CMacroEvent> events;

    friend bool operator==(const ButtonMacro&, const ButtonMacro&) = default;
};

struct ButtonAssignment {
    std::uint8_t buttonIndex = 0;
    std::uint8_t function = 0;         // a ButtonFunction value
    std::uint16_t parameter = 0;       // key code for SingleKey, macro id for Macro
    std::uint8_t defaultFunction = 0;  // not persisted; the fall-back of a lost macro

    friend bool operator==(const ButtonAssignment&, const ButtonAssignment&) = default;
};

struct DpiLevel {
    std::uint16_t x = 0;
    std::uint16_t y = 0;

    friend bool operator==(const DpiLevel&, const DpiLevel&) = default;
};

// One of the mouse's five on-board profiles, as the pages edit it and as the
// files and the device image hold it. A new record holds the defaults.
struct MouseProfile {
    std::filesystem::path filePath;
    std::uint32_t enabled = 1;
    std::u16string name = u"profile";
    std::uint8_t slotIndex = 0;
    std::uint16_t reservedWord = 179;
    std::uint16_t pollingInterval = 1;
    std::int16_t doubleClickSetting = 800;
    std::int16_t scrollLines = 2;
    std::uint32_t scrollByLines = 1;
    std::uint32_t scrollByPage = 0;
    std::uint32_t accelerationEnabled = 0;
    std::int16_t accelerationLevel = 1;
    std::uint8_t dpiLevelCount = 5;
    std::uint8_t activeDpiLevel = 2;
    std::uint32_t dpiLevelAttribute = 0;
    std::uint32_t sensorAttribute = 0;
    std::array<DpiLevel, kDpiLevelCount> dpiLevels = {DpiLevel{400, 400}, DpiLevel{800, 800},
                                                      DpiLevel{1600, 1600}, DpiLevel{3200, 3200},
                                                      DpiLevel{19000, 19000}};
    std::uint8_t pointerSpeed = 6;
    std::uint32_t liftOffDistance = 1;
    std::uint16_t surfaceQualityLevel = 0;
    std::uint32_t reserved1 = 0;
    std::uint32_t reserved2 = 0;
    std::uint8_t reserved3 = 0;
    std::uint32_t angleSnapping = 0;
    std::uint32_t rippleControl = 0;
    std::uint32_t lightingBrightness = 5;
    std::uint32_t lightingZoneFlags = 0x10;
    std::uint32_t lightingEffect = 1;
    std::uint32_t zoneColor1 = 0xFFFF00;
    std::uint32_t zoneColor2 = 0xFFFF00;
    std::uint32_t zoneColor3 = 0xFFFF00;
    std::uint32_t zoneColor4 = 0xFFFF00;
    std::uint32_t pickerColor = 255;
    std::array<ButtonAssignment, kButtonCount> buttons = defaultButtons();
    std::array<ButtonMacro, kButtonCount> buttonMacros{};

    // Buttons 0 to 6 start with the functions 0 to 6; buttons 7 and 8 are a
    // second forward/back pair.
    static constexpr std::array<ButtonAssignment, kButtonCount> defaultButtons() {
        constexpr std::array<std::uint8_t, kButtonCount> functions = {0, 1, 2, 3, 4, 5, 6, 3, 4};
        std::array<ButtonAssignment, kButtonCount> result{};
        for (std::size_t i = 0; i < kButtonCount; ++i) {
            result[i] = {static_cast<std::uint8_t>(i), functions[i], 0, functions[i]};
        }
        return result;
    }

    friend bool operator==(const MouseProfile&, const MouseProfile&) = default;
};

// "Reset to Default": every field back to its default and the name to
// "profile", except the file path, the button macros and the reserved fields,
// which keep their values; the slot index becomes 0 (the caller restores it).
void resetToDefaults(MouseProfile& profile);

// Called after a page set `function` and `parameter` of one of the record's
// buttons. `macro` is the copy of the macro the macro list holds under the
// parameter, or none. Without a macro the button falls back to its default
// function with parameter 0; with one, a Macro button's copy is replaced.
void assignMacro(MouseProfile& profile, ButtonAssignment& assignment,
                 std::optional<ButtonMacro> macro);

// The name of the macro copy behind a button; empty for a button index past 8.
std::u16string buttonMacroName(const MouseProfile& profile, const ButtonAssignment& assignment);

// The macro copy at a button's index, or none for an index past 8 (a file
// may carry any index).
const ButtonMacro* buttonMacroFor(const MouseProfile& profile, const ButtonAssignment& assignment);

}  // namespace orvane
