#include "buttons/KeyNames.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace orvane {

namespace {

struct NamedKey {
    std::uint8_t code;
    std::string_view name;
};

// Sorted by code for the binary search. The trailing blanks of "UP ARROW "
// and "Volume Up " are part of the names users have always seen.
constexpr auto kNamedKeys = std::to_array<NamedKey>({
    {1, "Left Button"},
    {2, "Right Button"},
    {4, "Middle Button"},
    {8, "BACK"},
    {9, "TAB"},
    {12, "CLEAR"},
    {13, "ENTER"},
    {19, "PAUSE"},
    {20, "CAPS LOCK"},
    {27, "ESC"},
    {32, "SPACE"},
    {33, "PAGE UP"},
    {34, "PAGE DOWN"},
    {35, "END"},
    {36, "HOME"},
    {37, "LEFT ARROW"},
    {38, "UP ARROW "},
    {39, "RIGHT ARROW"},
    {40, "DOWN ARROW"},
    {41, "SELECT"},
    {42, "PRINT"},
    {43, "EXECUTE"},
    {44, "PRINT SCREEN"},
    {45, "INS"},
    {46, "DEL"},
    {47, "HELP"},
    {91, "Left Window"},
    {92, "Right Window"},
    {93, "Application"},
    {106, "*"},
    {107, "+"},
    {109, "-"},
    {110, "."},
    {111, "/"},
    {144, "NUM LOCK"},
    {145, "SCROLL LOCK"},
    {160, "Left SHIFT"},
    {161, "Right SHIFT"},
    {162, "Left CONTROL"},
    {163, "Right CONTROL"},
    {164, "Left ALT"},
    {165, "Right ALT"},
    {166, "Browser Back"},
    {167, "Browser Forward"},
    {168, "Browser Refresh"},
    {174, "Volume Down"},
    {175, "Volume Up "},
    {186, ";"},
    {187, "+"},
    {188, ","},
    {189, "-"},
    {190, "."},
    {191, "/"},
    {192, "`"},
    {219, "["},
    {220, "\\"},
    {221, "]"},
    {222, "'"},
    {255, "Fn"},
});

constexpr bool sortedByCode() {
    for (std::size_t i = 1; i < kNamedKeys.size(); ++i) {
        if (kNamedKeys[i - 1].code >= kNamedKeys[i].code) {
            return false;
        }
    }
    return true;
}
static_assert(sortedByCode());

}  // namespace

std::string GetKeyName(std::uint8_t code) {
    // The keypad digits 96-105 carry the same names as the top-row digits.
    if (code >= 48 && code <= 57) {
        return std::string(1, static_cast<char>('0' + (code - 48)));
    }
    if (code >= 96 && code <= 105) {
        return std::string(1, static_cast<char>('0' + (code - 96)));
    }
    if (code >= 65 && code <= 90) {
        return std::string(1, static_cast<char>(code));
    }
    if (code >= 112 && code <= 135) {
        return "F" + std::to_string(code - 111);
    }
    const auto* found = std::lower_bound(
        kNamedKeys.begin(), kNamedKeys.end(), code,
        [](const NamedKey& key, std::uint8_t wanted) { return key.code < wanted; });
    if (found != kNamedKeys.end() && found->code == code) {
        return std::string(found->name);
    }
    return {};
}

}  // namespace orvane
