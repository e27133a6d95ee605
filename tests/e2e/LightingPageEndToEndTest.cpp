// The Color Settings page between a profile file and the mouse, on a private
// desktop with the real program and the simulated mouse.
#include "e2e/ApplicationDesktop.h"

namespace orvane::test {
namespace {

// A file in select mode with only the logo lit, breathing at half
// brightness and two zone colours apart from each other and from the picked
// colour goes through the page into the slot byte for byte; a zone box
// ticked with the pointer reaches the mouse on the next Apply.
TEST_F(Application, ColorSettingsPageCarriesALogoOnlyBreathingFileIntoTheMouse) {
    MouseProfile record;
    record.name = u"Profile1";
    record.lightingZoneFlags = 0x28;
    record.lightingEffect = 4;
    record.lightingBrightness = 3;
    record.zoneColor1 = 0x3040A0;
    record.zoneColor4 = 0x10C020;
    record.pickerColor = 0x0080FF;
    ASSERT_TRUE(saveProfile(profileFile(0), record));

    auto application = startApplication();
    ASSERT_TRUE(waitFor([] { return !visibleWindow().empty(); })) << application->err;
    const std::string window = visibleWindow();
    // The Color Settings page is shown, so that its preview animates while
    // the pages are collected.
    clickInWindow(window, 562, 38);
    ASSERT_TRUE(applyUntil(window, [](const MouseProfile&) { return true; })) << describe();

    MouseProfile saved;
    ASSERT_TRUE(loadProfile(profileFile(0), saved));
    EXPECT_EQ(saved.lightingZoneFlags, 0x28u);
    EXPECT_EQ(saved.lightingEffect, 4u);
    EXPECT_EQ(saved.lightingBrightness, 3u);
    EXPECT_EQ(saved.zoneColor1, 0x3040A0u);
    EXPECT_EQ(saved.zoneColor4, 0x10C020u);
    EXPECT_EQ(saved.pickerColor, 0x0080FFu);

    const auto expected = buildDeviceImage(record).bytes;
    const std::vector<std::uint8_t> image = slotImage(0);
    ASSERT_EQ(image, std::vector<std::uint8_t>(expected.begin(), expected.end()));
    // The wheel is dark, the logo at half its colour, both breathing.
    EXPECT_EQ(image[23], 0);
    EXPECT_EQ(image[27], 0x20 / 2);
    EXPECT_EQ(image[28], 0xC0 / 2);
    EXPECT_EQ(image[30], 4);
    EXPECT_EQ(image[32], 50);

    // "Scroll Wheel" ticked with the pointer lights the wheel in its own
    // colour as well.
    constexpr int kPageTop = 88;
    const auto tickScrollWheel = [&] {
        dismissMessages();
        clickInWindow(window, 250 + 9, kPageTop + 337 + 10);
    };
    bool ticked = false;
    ASSERT_TRUE(applyUntil(
        window, [](const MouseProfile& now) { return now.lightingZoneFlags == 0x29; },
        [&] {
            if (!ticked) {
                tickScrollWheel();
                ticked = true;
            }
        }))
        << describe() << "\n"
        << application->err;
    const std::vector<std::uint8_t> lit = slotImage(0);
    EXPECT_EQ(lit[23], 0xA0 / 2);
    EXPECT_EQ(lit[24], 0x40 / 2);
    EXPECT_EQ(lit[25], 0x30 / 2);
    EXPECT_EQ(lit[28], 0xC0 / 2);
}

}  // namespace
}  // namespace orvane::test
