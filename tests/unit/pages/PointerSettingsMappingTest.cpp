#include "pages/mouse/PointerSettingsMapping.h"

#include <gtest/gtest.h>

#include "platform/FakePointerSettings.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

struct SpeedCase {
    std::uint8_t pointerSpeed;
    int desktopSpeed;
};

class PointerSpeed : public testing::TestWithParam<SpeedCase> {};

TEST_P(PointerSpeed, MapsTheSensorPagesScaleOntoTheDesktops) {
    MouseProfile profile;
    profile.pointerSpeed = GetParam().pointerSpeed;
    EXPECT_EQ(pointerRequestFor(profile).speed, GetParam().desktopSpeed);
}

// 1 and 2 both give 2; the default 6 is the desktop's neutral 10; 11 is the
// fastest, 20; values a file may carry past the scale stay on it.
INSTANTIATE_TEST_SUITE_P(Scale, PointerSpeed,
                         testing::Values(SpeedCase{0, 1}, SpeedCase{1, 2}, SpeedCase{2, 2},
                                         SpeedCase{6, 10}, SpeedCase{11, 20}, SpeedCase{200, 20}),
                         [](const testing::TestParamInfo<SpeedCase>& info) {
                             return test::caseName("Speed", info.param.pointerSpeed);
                         });

TEST(PointerRequest, DoubleClickRunsAgainstTheSliderAndTheWheelFollowsTheRecordsChoice) {
    MouseProfile profile;
    profile.doubleClickSetting = 200;
    EXPECT_EQ(pointerRequestFor(profile).doubleClickMs, 1400);
    profile.doubleClickSetting = 1400;
    EXPECT_EQ(pointerRequestFor(profile).doubleClickMs, 200);

    profile.scrollByLines = 1;
    profile.scrollLines = 4;
    EXPECT_EQ(pointerRequestFor(profile).wheelLines, 4);
    profile.scrollByLines = 0;
    profile.scrollByPage = 1;
    EXPECT_EQ(pointerRequestFor(profile).wheelLines, PointerSettings::kWheelPageScroll);
    profile.scrollByPage = 0;
    EXPECT_EQ(pointerRequestFor(profile).wheelLines, std::nullopt);
}

TEST(PointerRequest, EachAccelerationLevelIsStrongerThanTheOneBefore) {
    EXPECT_EQ(accelerationValues(false, 3), (std::array<int, 3>{0, 0, 0}));
    const auto one = accelerationValues(true, 1);
    const auto two = accelerationValues(true, 2);
    const auto three = accelerationValues(true, 3);
    // A lower first threshold doubles more moves; level 3 adds the second step.
    EXPECT_LT(two[0], one[0]);
    EXPECT_LT(three[0], two[0]);
    EXPECT_GT(three[2], two[2]);
    EXPECT_GT(three[1], three[0]);
    // A level a file may carry past the scale stays on it.
    EXPECT_EQ(accelerationValues(true, 0), one);
    EXPECT_EQ(accelerationValues(true, 9), three);
}

TEST(ApplyPointerSettings, SetsWhatTheDesktopTakesAndNamesTheRest) {
    MouseProfile profile;
    profile.scrollByLines = 0;
    profile.scrollByPage = 0;
    profile.accelerationEnabled = 1;
    profile.accelerationLevel = 2;
    FakePointerSettings desktop;
    desktop.refused.doubleClickTime = true;
    desktop.refused.acceleration = true;
    const PointerSettingsOutcome notSet = applyPointerSettings(profile, desktop);
    EXPECT_EQ(notSet, (PointerSettingsOutcome{"double-click time", "pointer acceleration"}));
    EXPECT_EQ(desktop.pointerSpeed, 10);
    // The record leaves the wheel alone: nothing was asked of the desktop.
    EXPECT_EQ(desktop.wheelScrollLines, std::nullopt);
}

}  // namespace
}  // namespace orvane
