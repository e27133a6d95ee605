#include "e2e/ApplicationDesktop.h"
#include "e2e/XScreenShot.h"

namespace orvane::test {
namespace {

// Where the Sensor Performance page and its level buttons sit in the main
// window's client area.
constexpr int kPageTop = 88;
constexpr int kSensorPageButtonX = 316 + 85;
constexpr int kSensorPageButtonY = 29 + 9;
constexpr int kMousePageButtonX = 176 + 63;
constexpr int kLevelButtonX[5] = {297, 389, 482, 574, 666};
constexpr int kLevelButtonY = 153;
constexpr int kLevelButtonWidth = 36;
constexpr int kLevelButtonHeight = 16;

class SensorPageApplication : public Application {
  protected:
    // The level buttons whose face is mostly the marked look: the sheet
    // draws the marked level on a bright green pill, the others on grey.
    std::vector<int> markedLevels(const std::string& window) {
        const auto [left, top] = windowOrigin(window);
        std::vector<int> marked;
        for (int level = 1; level <= 5; ++level) {
            const std::optional<ScreenShot> shot =
                grabScreen(left + kLevelButtonX[level - 1], top + kPageTop + kLevelButtonY,
                           kLevelButtonWidth, kLevelButtonHeight);
            if (!shot) {
                continue;
            }
            std::size_t green = 0;
            for (std::size_t i = 0; i + 2 < shot->rgb.size(); i += 3) {
                const int r = shot->rgb[i];
                const int g = shot->rgb[i + 1];
                const int b = shot->rgb[i + 2];
                if (g > 150 && g > r + 60 && g > b + 20) {
                    ++green;
                }
            }
            if (green * 3 > shot->rgb.size() / 3) {
                marked.push_back(level);
            }
        }
        return marked;
    }

    void saveWindowShot(const std::string& window, const std::string& name) {
        const auto [left, top] = windowOrigin(window);
        if (const std::optional<ScreenShot> shot = grabScreen(left, top, 1024, 576)) {
            shot->save(fs::current_path() / name);
        }
    }
};

void keepLightingOf(const MouseProfile& from, MouseProfile& to) {
    to.lightingBrightness = from.lightingBrightness;
    to.lightingZoneFlags = from.lightingZoneFlags;
    to.lightingEffect = from.lightingEffect;
    to.zoneColor1 = from.zoneColor1;
    to.zoneColor2 = from.zoneColor2;
    to.zoneColor3 = from.zoneColor3;
    to.zoneColor4 = from.zoneColor4;
    to.pickerColor = from.pickerColor;
}

// A profile file with three levels, the second active and every sensor toggle
// on goes through the page into the mouse unchanged; the mouse's own
// resolution button then marks its level on the page, and the next Apply
// carries that level.
TEST_F(SensorPageApplication, CarriesTheFileIntoTheMouseAndFollowsTheResolutionButton) {
    MouseProfile record;
    record.name = u"Profile1";
    record.dpiLevelCount = 3;
    record.dpiLevels[0].x = 450;
    record.dpiLevels[1].x = 1250;
    record.dpiLevels[2].x = 3000;
    // Levels beyond the count reach the mouse as 0.
    record.dpiLevels[3].x = 0;
    record.dpiLevels[4].x = 0;
    record.activeDpiLevel = 2;
    record.liftOffDistance = 2;
    record.angleSnapping = 0;
    record.rippleControl = 0;
    record.pointerSpeed = 9;
    record.surfaceQualityLevel = 6;
    ASSERT_TRUE(saveProfile(profileFile(0), record));

    auto application = startApplication();
    ASSERT_TRUE(waitFor([] { return !visibleWindow().empty(); })) << application->err;
    const std::string window = visibleWindow();
    ASSERT_TRUE(applyUntil(window, [](const MouseProfile&) { return true; })) << describe();

    MouseProfile saved;
    ASSERT_TRUE(loadProfile(profileFile(0), saved));
    // The Color Settings page brings a record's lighting into its own form
    // (the solid-colour mode lights both zones in the picker's colour); the
    // sensor part must reach the mouse exactly as the file holds it.
    keepLightingOf(saved, record);
    const auto expected = buildDeviceImage(record).bytes;
    EXPECT_EQ(slotImage(0), std::vector<std::uint8_t>(expected.begin(), expected.end()));
    EXPECT_EQ(saved.dpiLevelCount, 3);
    EXPECT_EQ(saved.activeDpiLevel, 2);
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(saved.dpiLevels[i].x, record.dpiLevels[i].x) << i;
    }
    EXPECT_EQ(saved.liftOffDistance, 2u);
    EXPECT_EQ(saved.angleSnapping, 0u);
    EXPECT_EQ(saved.rippleControl, 0u);
    EXPECT_EQ(saved.pointerSpeed, 9);
    EXPECT_EQ(saved.surfaceQualityLevel, 6);

    clickInWindow(window, kSensorPageButtonX, kSensorPageButtonY);
    ASSERT_TRUE(waitFor([&] { return markedLevels(window) == std::vector<int>{2}; }))
        << "the page does not show level 2 as the active one";

    // The press is heard once the program has its event capture running.
    ASSERT_TRUE(waitFor(
        [&] {
            emu({"press-dpi-button", "3"});
            return waitFor([&] { return markedLevels(window) == std::vector<int>{3}; }, 1s);
        },
        30s))
        << application->err;
    saveWindowShot(window, "sensor-page-level-3-from-the-mouse.ppm");

    ASSERT_TRUE(applyUntil(window, [](const MouseProfile& now) { return now.activeDpiLevel == 3; }))
        << describe() << "\n"
        << application->err;
    record.activeDpiLevel = 3;
    const auto afterPress = buildDeviceImage(record).bytes;
    EXPECT_EQ(slotImage(0), std::vector<std::uint8_t>(afterPress.begin(), afterPress.end()));
    EXPECT_EQ(dismissMessages(), 0);

    // Pressed while another page is shown, the level is marked all the same.
    clickInWindow(window, kMousePageButtonX, kSensorPageButtonY);
    ASSERT_TRUE(waitFor([&] { return markedLevels(window).empty(); }));
    emu({"press-dpi-button", "1"});
    std::this_thread::sleep_for(500ms);
    clickInWindow(window, kSensorPageButtonX, kSensorPageButtonY);
    EXPECT_TRUE(waitFor([&] { return markedLevels(window) == std::vector<int>{1}; }))
        << application->err;
}

}  // namespace
}  // namespace orvane::test
