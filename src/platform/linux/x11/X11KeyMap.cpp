#include "platform/linux/x11/X11KeyMap.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>

#include <algorithm>
#include <array>

namespace orvane {

namespace {

// Keys whose code follows no run.
constexpr auto kSingles = std::to_array<KeysymVirtualKey>({
    {XK_BackSpace, 8},
    {XK_Tab, 9},
    {XK_ISO_Left_Tab, 9},
    {XK_Clear, 12},
    {XK_Return, 13},
    {XK_KP_Enter, 13},
    {XK_Pause, 19},
    {XK_Caps_Lock, 20},
    {XK_Escape, 27},
    {XK_space, 32},
    {XK_Prior, 33},
    {XK_Next, 34},
    {XK_End, 35},
    {XK_Home, 36},
    {XK_Left, 37},
    {XK_Up, 38},
    {XK_Right, 39},
    {XK_Down, 40},
    {XK_Select, 41},
    {XK_Execute, 43},
    {XK_Print, 44},
    {XK_Insert, 45},
    {XK_Delete, 46},
    {XK_Help, 47},
    {XK_Super_L, 91},
    {XK_Super_R, 92},
    {XK_Menu, 93},
    {XF86XK_Sleep, 95},
    // The keypad with NumLock off reports the keys it doubles for, and its
    // middle key the code for Clear.
    {XK_KP_Prior, 33},
    {XK_KP_Next, 34},
    {XK_KP_End, 35},
    {XK_KP_Home, 36},
    {XK_KP_Left, 37},
    {XK_KP_Up, 38},
    {XK_KP_Right, 39},
    {XK_KP_Down, 40},
    {XK_KP_Begin, 12},
    {XK_KP_Insert, 45},
    {XK_KP_Delete, 46},
    {XK_KP_Multiply, 106},
    {XK_KP_Add, 107},
    {XK_KP_Separator, 108},
    {XK_KP_Subtract, 109},
    {XK_KP_Decimal, 110},
    {XK_KP_Divide, 111},
    {XK_Num_Lock, 144},
    {XK_Scroll_Lock, 145},
    {XK_Shift_L, 160},
    {XK_Shift_R, 161},
    {XK_Control_L, 162},
    {XK_Control_R, 163},
    {XK_Alt_L, 164},
    {XK_Alt_R, 165},
    // Layouts with a third level put it on the right Alt key.
    {XK_ISO_Level3_Shift, 165},
    {XF86XK_Back, 166},
    {XF86XK_Forward, 167},
    {XF86XK_Refresh, 168},
    {XF86XK_Stop, 169},
    {XF86XK_Search, 170},
    {XF86XK_Favorites, 171},
    {XF86XK_HomePage, 172},
    {XF86XK_AudioMute, 173},
    {XF86XK_AudioLowerVolume, 174},
    {XF86XK_AudioRaiseVolume, 175},
    {XF86XK_AudioNext, 176},
    {XF86XK_AudioPrev, 177},
    {XF86XK_AudioStop, 178},
    {XF86XK_AudioPlay, 179},
    {XF86XK_AudioPause, 179},
    {XF86XK_Mail, 180},
    {XF86XK_AudioMedia, 181},
    {XF86XK_MyComputer, 182},
    {XF86XK_Calculator, 183},
    {XK_semicolon, 186},
    {XK_equal, 187},
    {XK_plus, 187},
    {XK_comma, 188},
    {XK_minus, 189},
    {XK_period, 190},
    {XK_slash, 191},
    {XK_grave, 192},
    {XK_bracketleft, 219},
    {XK_backslash, 220},
    {XK_bracketright, 221},
    {XK_apostrophe, 222},
    // The extra key beside the left Shift of ISO keyboards.
    {XK_less, 226},
});

struct KeysymRun {
    std::uint32_t firstKeysym;
    int count;
    int firstVirtualKey;
};

constexpr auto kRuns = std::to_array<KeysymRun>({
    {XK_a, 26, 'A'},
    // Layouts whose unshifted letters are capitals.
    {XK_A, 26, 'A'},
    {XK_0, 10, '0'},
    {XK_KP_0, 10, 96},
    {XK_F1, 24, 112},
});

constexpr std::size_t tableSize() {
    std::size_t size = kSingles.size();
    for (const KeysymRun& run : kRuns) {
        size += static_cast<std::size_t>(run.count);
    }
    return size;
}

constexpr std::array<KeysymVirtualKey, tableSize()> buildTable() {
    std::array<KeysymVirtualKey, tableSize()> table{};
    std::size_t next = 0;
    for (const KeysymVirtualKey& single : kSingles) {
        table[next++] = single;
    }
    for (const KeysymRun& run : kRuns) {
        for (int i = 0; i < run.count; ++i) {
            table[next++] = {run.firstKeysym + static_cast<std::uint32_t>(i),
                             run.firstVirtualKey + i};
        }
    }
    std::sort(table.begin(), table.end(), [](const KeysymVirtualKey& a, const KeysymVirtualKey& b) {
        return a.keysym < b.keysym;
    });
    return table;
}

constexpr auto kTable = buildTable();

constexpr bool eachKeysymOnce() {
    for (std::size_t i = 1; i < kTable.size(); ++i) {
        if (kTable[i - 1].keysym == kTable[i].keysym) {
            return false;
        }
    }
    return true;
}
static_assert(eachKeysymOnce(), "a keysym may stand for one key only");

constexpr bool isKeypadKeysym(std::uint32_t keysym) {
    return keysym >= XK_KP_Space && keysym <= XK_KP_Equal;
}

constexpr bool isKeypadDigit(std::uint32_t keysym) {
    return (keysym >= XK_KP_0 && keysym <= XK_KP_9) || keysym == XK_KP_Decimal ||
           keysym == XK_KP_Separator;
}

}  // namespace

std::span<const KeysymVirtualKey> keysymVirtualKeys() {
    return kTable;
}

int virtualKeyOfKeysym(std::uint32_t keysym) {
    const auto* found = std::lower_bound(
        kTable.begin(), kTable.end(), keysym,
        [](const KeysymVirtualKey& entry, std::uint32_t wanted) { return entry.keysym < wanted; });
    return found != kTable.end() && found->keysym == keysym ? found->virtualKey : 0;
}

std::uint32_t keysymForKey(std::uint32_t level0, std::uint32_t level1, bool numLock) {
    if (numLock && isKeypadKeysym(level0) && isKeypadDigit(level1)) {
        return level1;
    }
    return level0;
}

}  // namespace orvane
