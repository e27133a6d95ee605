#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "buttons/KeyNames.h"
#include "platform/linux/x11/X11KeyMap.h"

namespace orvane {
namespace {

struct KeyCase {
    const char* name;
    std::uint32_t keysym;
    int virtualKey;
};

class X11KeyMapKey : public ::testing::TestWithParam<KeyCase> {};

TEST_P(X11KeyMapKey, GivesTheVirtualKeyOfTheKey) {
    EXPECT_EQ(virtualKeyOfKeysym(GetParam().keysym), GetParam().virtualKey);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, X11KeyMapKey,
    ::testing::Values(
        KeyCase{"LowerA", XK_a, 65}, KeyCase{"LowerZ", XK_z, 90}, KeyCase{"UpperQ", XK_Q, 81},
        KeyCase{"Digit0", XK_0, 48}, KeyCase{"Digit9", XK_9, 57}, KeyCase{"F1", XK_F1, 112},
        KeyCase{"F12", XK_F12, 123}, KeyCase{"F24", XK_F24, 135}, KeyCase{"Return", XK_Return, 13},
        KeyCase{"KeypadEnter", XK_KP_Enter, 13}, KeyCase{"Escape", XK_Escape, 27},
        KeyCase{"Space", XK_space, 32}, KeyCase{"Tab", XK_Tab, 9},
        KeyCase{"BackSpace", XK_BackSpace, 8}, KeyCase{"Left", XK_Left, 37},
        KeyCase{"Down", XK_Down, 40}, KeyCase{"PageUp", XK_Prior, 33},
        KeyCase{"PageDown", XK_Next, 34}, KeyCase{"ShiftLeft", XK_Shift_L, 160},
        KeyCase{"ShiftRight", XK_Shift_R, 161}, KeyCase{"ControlLeft", XK_Control_L, 162},
        KeyCase{"ControlRight", XK_Control_R, 163}, KeyCase{"AltLeft", XK_Alt_L, 164},
        KeyCase{"AltRight", XK_Alt_R, 165}, KeyCase{"AltGr", XK_ISO_Level3_Shift, 165},
        KeyCase{"WindowsLeft", XK_Super_L, 91}, KeyCase{"WindowsRight", XK_Super_R, 92},
        KeyCase{"Menu", XK_Menu, 93}, KeyCase{"Keypad0", XK_KP_0, 96},
        KeyCase{"Keypad9", XK_KP_9, 105}, KeyCase{"KeypadDivide", XK_KP_Divide, 111},
        KeyCase{"KeypadEndWithoutNumLock", XK_KP_End, 35}, KeyCase{"Semicolon", XK_semicolon, 186},
        KeyCase{"Apostrophe", XK_apostrophe, 222}, KeyCase{"IsoLess", XK_less, 226},
        KeyCase{"Mute", XF86XK_AudioMute, 173}, KeyCase{"BrowserBack", XF86XK_Back, 166},
        KeyCase{"HomePage", XF86XK_HomePage, 172}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(X11KeyMap, UnknownKeysymsHaveNoKey) {
    for (const std::uint32_t keysym :
         {std::uint32_t{0}, std::uint32_t{XK_adiaeresis}, std::uint32_t{XK_Cyrillic_a},
          std::uint32_t{XK_Hyper_L}, std::uint32_t{0x1FFFFFFF}}) {
        EXPECT_EQ(virtualKeyOfKeysym(keysym), 0) << std::hex << keysym;
    }
}

// Each keysym can stand for one key only, and a key that has two sides keeps
// them apart: no keysym of a left key ever gives the right key's code.
TEST(X11KeyMap, EachKeysymAppearsOnceAndSidesStayApart) {
    std::set<std::uint32_t> seen;
    std::map<int, std::set<std::uint32_t>> keysymsOfKey;
    for (const KeysymVirtualKey& entry : keysymVirtualKeys()) {
        EXPECT_TRUE(seen.insert(entry.keysym).second) << std::hex << entry.keysym;
        keysymsOfKey[entry.virtualKey].insert(entry.keysym);
    }
    EXPECT_EQ(keysymsOfKey[160], std::set<std::uint32_t>{XK_Shift_L});
    EXPECT_EQ(keysymsOfKey[161], std::set<std::uint32_t>{XK_Shift_R});
    EXPECT_EQ(keysymsOfKey[162], std::set<std::uint32_t>{XK_Control_L});
    EXPECT_EQ(keysymsOfKey[163], std::set<std::uint32_t>{XK_Control_R});
    EXPECT_EQ(keysymsOfKey[164], std::set<std::uint32_t>{XK_Alt_L});
    EXPECT_EQ(keysymsOfKey[91], std::set<std::uint32_t>{XK_Super_L});
    EXPECT_EQ(keysymsOfKey[92], std::set<std::uint32_t>{XK_Super_R});
    // The table reports sides, never the generic Shift, Control and Alt codes.
    EXPECT_EQ(keysymsOfKey.count(16) + keysymsOfKey.count(17) + keysymsOfKey.count(18), 0U);
}

// The pages show a key by its name; keys we report but cannot name would
// appear blank there. Media and launch keys have no names yet.
TEST(X11KeyMap, KeysOfTheMainKeyboardHaveNames) {
    const std::set<int> unnamed{95,  108, 169, 170, 171, 172, 173, 176,
                                177, 178, 179, 180, 181, 182, 183, 226};
    for (const KeysymVirtualKey& entry : keysymVirtualKeys()) {
        if (unnamed.count(entry.virtualKey) == 0) {
            EXPECT_FALSE(GetKeyName(static_cast<std::uint8_t>(entry.virtualKey)).empty())
                << entry.virtualKey;
        }
    }
}

struct LevelCase {
    const char* name;
    std::uint32_t level0;
    std::uint32_t level1;
    bool numLock;
    std::uint32_t expected;
};

class X11KeyMapLevel : public ::testing::TestWithParam<LevelCase> {};

TEST_P(X11KeyMapLevel, NamesTheKeyByTheRightLevel) {
    const LevelCase& c = GetParam();
    EXPECT_EQ(keysymForKey(c.level0, c.level1, c.numLock), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, X11KeyMapLevel,
    ::testing::Values(
        LevelCase{"ShiftedLetterStaysUnshifted", XK_a, XK_A, true, XK_a},
        LevelCase{"ShiftedDigitStaysDigit", XK_1, XK_exclam, true, XK_1},
        LevelCase{"KeypadWithNumLockIsDigit", XK_KP_End, XK_KP_1, true, XK_KP_1},
        LevelCase{"KeypadWithoutNumLockIsCursorKey", XK_KP_End, XK_KP_1, false, XK_KP_End},
        LevelCase{"KeypadDeleteWithNumLockIsDecimal", XK_KP_Delete, XK_KP_Decimal, true,
                  XK_KP_Decimal},
        LevelCase{"KeypadOperatorIgnoresNumLock", XK_KP_Divide, XK_KP_Divide, true, XK_KP_Divide},
        LevelCase{"KeypadEnterIgnoresNumLock", XK_KP_Enter, XK_KP_Enter, true, XK_KP_Enter}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace orvane
