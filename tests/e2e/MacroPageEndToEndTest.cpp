#include "e2e/ApplicationDesktop.h"

namespace orvane::test {
namespace {

// Where the pages' controls sit in the main window's client area.
constexpr int kPageTop = 88;
constexpr int kPageButtonsY = 29 + 9;
constexpr int kMacroPageButtonX = 641 + 64;
constexpr int kMousePageButtonX = 176 + 63;
constexpr int kNewMacroX = 91 + 41;
constexpr int kNewMacroY = kPageTop + 341 + 13;
constexpr int kRecordDelayX = 614 + 9;
constexpr int kRecordDelayY = kPageTop + 124 + 10;
constexpr int kRecordButtonX = 614 + 42;
constexpr int kRecordButtonY = kPageTop + 204 + 16;
// Pictures the test watches, away from where the pointer is at the time, so
// that a control lit up under the pointer is not taken for the answer: the
// macro list, the steps of the macro, and the "Record Hold" box, which is
// greyed out while a recording runs.
struct Area {
    int x, y, width, height;
};
constexpr Area kMacroList{98, kPageTop + 129, 200, 198};
constexpr Area kMacroSteps{368, kPageTop + 129, 199, 197};
constexpr Area kRecordHoldBox{614, kPageTop + 154, 20, 20};
// Button 4's function button, and the "Assign record macro" row of its menu,
// whose submenu's first row lies level with it to the right.
constexpr int kButtonFourX = 104 + 60;
constexpr int kButtonFourY = kPageTop + 77 + 3 * 30 + 11;
constexpr int kMacroRowY = kButtonFourY + 11 + 4 + 4 * 20 + 10;

struct Step {
    int type, usage, state;
    std::uint32_t delay;
};

// The steps of button 4's macro as the slot's image holds them.
std::vector<Step> macroOfButtonFour(const std::vector<std::uint8_t>& image) {
    const std::size_t entry = kButtonTableOffset + kButtonEntrySize * kButtonEntryOfButton[3];
    std::vector<Step> steps;
    if (image.size() < kDeviceImageSize || image[entry] != 0x03) {
        return steps;
    }
    const std::size_t area = image[entry + 2] | (image[entry + 3] << 8);
    const std::size_t count = image[entry + 4] | (image[entry + 5] << 8);
    for (std::size_t i = 0; i < count && area + 7 * (i + 1) <= image.size(); ++i) {
        const std::uint8_t* event = image.data() + area + 7 * i;
        steps.push_back(
            {event[0], event[1] | (event[2] << 8), event[3],
             static_cast<std::uint32_t>(event[4] | (event[5] << 8) | (event[6] << 16))});
    }
    return steps;
}

// Keys typed into another place of the desktop become a macro on the page;
// picked for button 4 from the Mouse Settings page's real menu, they reach
// the mouse with Apply as the keys' usages and the delays between them.
TEST_F(Application, MacroRecordedFromTheDesktopReachesButtonFourOfTheMouse) {
    auto application = startApplication();
    ASSERT_TRUE(waitFor([] { return !visibleWindow().empty(); })) << application->err;
    const std::string window = visibleWindow();

    // Clicks and keys that go to the program reach it in order; only the
    // keys it hears through the desktop's keyboard hook can overtake them,
    // so the test waits where those must find the recorder listening.
    const auto changes = [&](const Area& area, const std::function<void()>& action) {
        return waitForChange(window, area.x, area.y, area.width, area.height, action);
    };
    ASSERT_TRUE(
        changes(kMacroList, [&] { clickInWindow(window, kMacroPageButtonX, kPageButtonsY); }));
    ASSERT_TRUE(changes(kMacroList, [&] { clickInWindow(window, kNewMacroX, kNewMacroY); }));
    // Keys go to the window under the pointer: there is no window manager.
    ASSERT_TRUE(changes(kMacroList, [] {
        xdo({"type", "Combo"});
        xdo({"key", "Return"});
    }));
    clickInWindow(window, kRecordDelayX, kRecordDelayY);
    ASSERT_TRUE(
        changes(kRecordHoldBox, [&] { clickInWindow(window, kRecordButtonX, kRecordButtonY); }));

    // Typed over the bare desktop, away from the program's window; each key
    // is seen on the page before the next.
    xdo({"mousemove", "1200", "100"});
    ASSERT_TRUE(changes(kMacroSteps, [] { xdo({"key", "a"}); }));
    std::this_thread::sleep_for(400ms);
    ASSERT_TRUE(changes(kMacroSteps, [] { xdo({"key", "b"}); }));
    clickInWindow(window, kRecordButtonX, kRecordButtonY);  // "Stop Record"

    clickInWindow(window, kMousePageButtonX, kPageButtonsY);
    std::this_thread::sleep_for(300ms);
    const auto pickCombo = [&] {
        dismissMessages();
        clickInWindow(window, kButtonFourX, kButtonFourY);
        std::this_thread::sleep_for(300ms);
        const auto [left, top] = windowOrigin(window);
        xdo({"mousemove", std::to_string(left + 150), std::to_string(top + kMacroRowY)});
        std::this_thread::sleep_for(300ms);
        xdo({"mousemove", std::to_string(left + 340), std::to_string(top + kMacroRowY)});
        std::this_thread::sleep_for(200ms);
        xdo({"click", "1"});
        std::this_thread::sleep_for(200ms);
    };
    ASSERT_TRUE(applyUntil(
        window,
        [](const MouseProfile& now) {
            return now.buttons[3].function == 14 && now.buttonMacros[3].events.size() == 4;
        },
        pickCombo))
        << describe() << "\n"
        << application->err;

    MouseProfile saved;
    ASSERT_TRUE(loadProfile(profileFile(0), saved));
    EXPECT_EQ(saved.buttonMacros[3].name, u"Combo");
    const std::vector<Step> steps = macroOfButtonFour(slotImage(0));
    ASSERT_EQ(steps.size(), 4u);
    const int expected[4][3] = {{1, 0x04, 0}, {1, 0x04, 1}, {1, 0x05, 0}, {1, 0x05, 1}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(steps[i].type, expected[i][0]) << i;
        EXPECT_EQ(steps[i].usage, expected[i][1]) << i;
        EXPECT_EQ(steps[i].state, expected[i][2]) << i;
        EXPECT_EQ(steps[i].delay, saved.buttonMacros[3].events[i].delay) << i;
    }
    // The pause between the two keys was recorded.
    EXPECT_GE(steps[2].delay, 300u);
    EXPECT_LT(steps[2].delay, 5000u);
    EXPECT_TRUE(fs::exists(home.path() / "data/Veltrac/ORVANE7000/Macros/Combo.macro"));
}

}  // namespace
}  // namespace orvane::test
