#include <gmock/gmock.h>

#include "e2e/ApplicationDesktop.h"
#include "e2e/XPointerControl.h"

namespace orvane::test {
namespace {

TEST_F(Application, RunsOnceAppliesFollowsTheMouseAndExitsFromTheTray) {
    auto application = startApplication();
    ASSERT_TRUE(waitFor([] { return !visibleWindow().empty(); })) << application->err;
    std::string window = visibleWindow();

    // A second start shows the running window and ends without one of its own.
    clickInWindow(window, 1003 + 8, 5 + 8);  // the close button hides the window
    ASSERT_TRUE(waitFor([] { return visibleWindow().empty(); }));
    const Finished second = run({kBin + "/OrvaneConfig"});
    EXPECT_EQ(second.status, 0);
    ASSERT_TRUE(waitFor([] { return !visibleWindow().empty(); }));
    EXPECT_EQ(visibleWindow(), window);

    // Apply writes profile 1 into slot 0 and makes it the active slot.
    ASSERT_TRUE(applyUntil(window, [](const MouseProfile&) { return true; })) << describe();
    EXPECT_EQ(dismissMessages(), 0);
    for (int slot = 0; slot < 5; ++slot) {
        EXPECT_TRUE(fs::is_regular_file(profileFile(slot))) << slot;
    }

    // Unplugged and plugged in again, the mouse is followed; its resolution
    // button reaches the current profile and the next Apply carries it.
    ASSERT_EQ(emu({"unplug"}).status, 0);
    ASSERT_EQ(emu({"plug"}).status, 0);
    // Until the program has found the mouse again, a press goes unheard.
    int messages = 0;
    ASSERT_TRUE(applyUntil(
        window, [](const MouseProfile& saved) { return saved.activeDpiLevel == 4; },
        [&] {
            messages += dismissMessages();
            emu({"press-dpi-button", "4"});
        }))
        << describe() << "; message boxes answered: " << messages << "\n"
        << application->err;
    EXPECT_EQ(slotImage(0)[50], 4);

    const int lateMessages = dismissMessages();
    // "Exit" in the tray menu ends the program. The icon is the program's
    // other visible window, embedded in the tray.
    const auto visibleWindowsOfTheProgram = [] {
        std::vector<std::string> windows;
        const std::string found =
            xdo({"search", "--onlyvisible", "--classname", "OrvaneConfig"}).out;
        for (std::size_t at = 0; at < found.size();) {
            const std::size_t end = found.find('\n', at);
            windows.push_back(found.substr(at, end - at));
            at = end == std::string::npos ? found.size() : end + 1;
        }
        return windows;
    };
    std::string icon;
    ASSERT_TRUE(waitFor([&] {
        for (const std::string& candidate : visibleWindowsOfTheProgram()) {
            if (candidate != window) {
                icon = candidate;
            }
        }
        return !icon.empty();
    })) << "no tray icon";
    const auto [iconLeft, iconTop] = windowOrigin(icon);
    const int iconX = iconLeft + 8;
    const int iconY = iconTop + 12;
    xdo({"mousemove", std::to_string(iconX), std::to_string(iconY)});
    xdo({"click", "3"});
    ASSERT_TRUE(waitFor([&] { return visibleWindowsOfTheProgram().size() >= 3; }))
        << "the tray menu did not open";
    // The menu's bottom-right corner is at the cursor; "Exit" is its last row.
    // A user's hand takes a moment between the two clicks; so does this one,
    // so that the menu has its grab of the pointer before the click comes.
    std::this_thread::sleep_for(300ms);
    xdo({"mousemove", std::to_string(iconX - 60), std::to_string(iconY - 13)});
    std::this_thread::sleep_for(200ms);
    xdo({"click", "1"});
    EXPECT_EQ(application->exitStatusWithin(10s), 0)
        << "message boxes answered before the tray menu: " << lateMessages << "\n"
        << application->err;
}

// A profile file set apart from the defaults on every control of the Mouse
// Settings page goes through the page into the mouse unchanged; a function
// picked with the pointer from the real menu reaches the slot's button entry.
TEST_F(Application, MouseSettingsPageCarriesTheFileAndAMenuPickIntoTheMouse) {
    MouseProfile record;
    record.name = u"Profile1";
    record.buttons[2].function = 13;  // single key "A"
    record.buttons[2].parameter = 65;
    record.buttons[4].function = 9;  // profile switch up
    record.buttons[7].function = 5;  // dpi up
    record.pollingInterval = 2;
    record.doubleClickSetting = 400;
    record.scrollLines = 5;
    record.accelerationEnabled = 1;
    record.accelerationLevel = 2;
    ASSERT_TRUE(saveProfile(profileFile(0), record));

    auto application = startApplication();
    ASSERT_TRUE(waitFor([] { return !visibleWindow().empty(); })) << application->err;
    const std::string window = visibleWindow();
    ASSERT_TRUE(applyUntil(window, [](const MouseProfile&) { return true; })) << describe();
    MouseProfile saved;
    ASSERT_TRUE(loadProfile(profileFile(0), saved));
    for (std::size_t i = 0; i < record.buttons.size(); ++i) {
        EXPECT_EQ(saved.buttons[i].function, record.buttons[i].function) << i;
    }
    EXPECT_EQ(saved.buttons[2].parameter, 65);
    EXPECT_EQ(saved.pollingInterval, 2);
    EXPECT_EQ(saved.doubleClickSetting, 400);
    EXPECT_EQ(saved.scrollLines, 5);
    EXPECT_EQ(saved.accelerationEnabled, 1u);
    // The file has no place for the level: it comes back as 1.
    EXPECT_EQ(saved.accelerationLevel, 1);

    // The desktop holds the record's pointer values: the device's own speed
    // (pointer speed 6), doubled beyond 12 units a report (acceleration on at
    // level 1, the file having no place for the level).
    const std::optional<PointerControl> control = readPointerControl();
    ASSERT_TRUE(control.has_value());
    EXPECT_EQ(control->numerator, 2);
    EXPECT_EQ(control->denominator, 1);
    EXPECT_EQ(control->threshold, 12);

    // Button 3's menu: "DPI", then "Dpi up" in its submenu, with the pointer.
    constexpr int kPageTop = 88;
    constexpr int kButtonThreeX = 104 + 60;
    constexpr int kButtonThreeY = kPageTop + 77 + 2 * 30 + 11;
    constexpr int kDpiRowY = kButtonThreeY + 11 + 4 + 2 * 20 + 10;
    const auto pickDpiUp = [&] {
        dismissMessages();
        clickInWindow(window, kButtonThreeX, kButtonThreeY);
        std::this_thread::sleep_for(300ms);
        const auto [left, top] = windowOrigin(window);
        xdo({"mousemove", std::to_string(left + 150), std::to_string(top + kDpiRowY)});
        std::this_thread::sleep_for(300ms);
        xdo({"mousemove", std::to_string(left + 340), std::to_string(top + kDpiRowY)});
        std::this_thread::sleep_for(200ms);
        xdo({"click", "1"});
        std::this_thread::sleep_for(200ms);
    };
    ASSERT_TRUE(applyUntil(
        window, [](const MouseProfile& now) { return now.buttons[2].function == 5; }, pickDpiUp))
        << describe() << "\n"
        << application->err;
    // Button 3's entry in the slot: a resolution step up.
    const std::vector<std::uint8_t> image = slotImage(0);
    const std::size_t entry = kButtonTableOffset + kButtonEntrySize * kButtonEntryOfButton[2];
    EXPECT_EQ(image[entry], 0x09);
    EXPECT_EQ(image[entry + 1], 0xF0);
}

}  // namespace
}  // namespace orvane::test
