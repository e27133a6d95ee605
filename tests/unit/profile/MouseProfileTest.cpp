#include "profile/MouseProfile.h"

#include <gtest/gtest.h>

namespace orvane {
namespace {

ButtonMacro sampleMacro(std::uint32_t id) {
    return {u"Combo", id, {{1, 65, 0, 10}, {1, 65, 1, 20}}};
}

TEST(MouseProfile, NewRecordHoldsTheDefaults) {
    const MouseProfile profile;
    EXPECT_EQ(profile.name, u"profile");
    EXPECT_EQ(profile.buttons[7].function, 3);
    EXPECT_EQ(profile.buttons[8].defaultFunction, 4);
    for (std::size_t i = 0; i < kButtonCount; ++i) {
        EXPECT_EQ(profile.buttons[i].buttonIndex, i);
        EXPECT_TRUE(profile.buttonMacros[i].name.empty());
        EXPECT_TRUE(profile.buttonMacros[i].events.empty());
    }
    EXPECT_EQ(profile.dpiLevels[4], (DpiLevel{19000, 19000}));
}

TEST(MouseProfile, ResetKeepsMacrosPathAndReservedFieldsButRestoresButtons) {
    MouseProfile profile;
    profile.filePath = "/data/Default3.profile";
    profile.name = u"Work";
    profile.slotIndex = 2;
    profile.reserved1 = 11;
    profile.reserved2 = 22;
    profile.reserved3 = 33;
    profile.pollingInterval = 8;
    profile.zoneColor4 = 0x123456;
    profile.buttons[7] = {7, 14, 20, 3};
    profile.buttonMacros[7] = sampleMacro(20);

    resetToDefaults(profile);

    EXPECT_EQ(profile.name, u"profile");
    EXPECT_EQ(profile.slotIndex, 0);
    EXPECT_EQ(profile.filePath, "/data/Default3.profile");
    EXPECT_EQ(profile.reserved1, 11U);
    EXPECT_EQ(profile.reserved2, 22U);
    EXPECT_EQ(profile.reserved3, 33);
    EXPECT_EQ(profile.pollingInterval, 1);
    EXPECT_EQ(profile.zoneColor4, 0xFFFF00U);
    EXPECT_EQ(profile.buttons, MouseProfile::defaultButtons());
    EXPECT_EQ(profile.buttonMacros[7], sampleMacro(20));
}

TEST(MouseProfile, AssignMacroWithoutAMacroFallsBackToTheDefaultFunction) {
    MouseProfile profile;
    profile.buttons[7].function = 14;
    profile.buttons[7].parameter = 99;
    profile.buttonMacros[7] = sampleMacro(42);

    assignMacro(profile, profile.buttons[7], std::nullopt);

    EXPECT_EQ(profile.buttons[7].function, 3);
    EXPECT_EQ(profile.buttons[7].parameter, 0);
    EXPECT_EQ(profile.buttonMacros[7], sampleMacro(42));  // the old copy stays
}

TEST(MouseProfile, AssignMacroReplacesTheCopyOnlyForAMacroButton) {
    MouseProfile profile;
    profile.buttons[2] = {2, 14, 30, 2};
    assignMacro(profile, profile.buttons[2], sampleMacro(30));
    EXPECT_EQ(profile.buttonMacros[2], sampleMacro(30));

    profile.buttons[3].function = 13;  // a key: a found macro changes nothing
    assignMacro(profile, profile.buttons[3], sampleMacro(31));
    EXPECT_EQ(profile.buttonMacros[3], ButtonMacro{});
    EXPECT_EQ(profile.buttons[3].function, 13);
}

TEST(MouseProfile, ButtonIndexFromADamagedFileNeverReachesPastTheNineMacros) {
    MouseProfile profile;
    profile.buttonMacros[0] = sampleMacro(16);
    ButtonAssignment stray{9, 14, 16, 0};
    EXPECT_EQ(buttonMacroName(profile, stray), u"");
    EXPECT_EQ(buttonMacroFor(profile, stray), nullptr);
    assignMacro(profile, stray, sampleMacro(16));  // must not write anywhere
    EXPECT_EQ(buttonMacroName(profile, profile.buttons[0]), u"Combo");
}

}  // namespace
}  // namespace orvane
