#include <gmock/gmock.h>
#include <sys/stat.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "e2e/XPointerControl.h"
#include "profile/ProfileFile.h"
#include "protocol/image/DeviceImage.h"
#include "support/ChildProcess.h"
#include "support/PrivateXServer.h"
#include "support/TempDir.h"

namespace orvane::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const std::string kBin = ORVANE_BIN_DIR;
constexpr const char* kTrayer = "/usr/bin/trayer";
constexpr const char* kXdotool = "/usr/bin/xdotool";
constexpr const char* kWindowTitle = "^ORVANE PRO Software$";

bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds patience = 15s) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

struct Finished {
    int status = -1;
    std::string out;
};

Finished run(std::vector<std::string> words) {
    Program program(std::move(words));
    Finished result;
    if (program.started()) {
        result.status = program.exitStatus();
        result.out = program.out;
    }
    return result;
}

std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// A desktop of its own: X server, tray, simulated mouse and data folders, so
// the test meets neither the user's session nor a running copy of the program.
class Application : public testing::Test {
  protected:
    void SetUp() override {
        for (const char* tool : {kXvfbProgram, kTrayer, kXdotool}) {
            if (::access(tool, X_OK) != 0) {
                GTEST_SKIP() << tool << " is needed";
            }
        }
        runtime = home.path() / "run";
        fs::create_directories(runtime);
        ::chmod(runtime.c_str(), 0700);
        socket = (runtime / "emu.sock").string();
        ::setenv("XDG_DATA_HOME", (home.path() / "data").c_str(), 1);
        ::setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
        // The single-instance socket lives in the temporary folder.
        ::setenv("TMPDIR", runtime.c_str(), 1);
        ::setenv("ORVANE_HID", ("emulator:" + socket).c_str(), 1);
        ::unsetenv("QT_QPA_PLATFORM");
        // A bare X session: the pointer settings go to the X server's own
        // control, which the test reads back.
        ::unsetenv("XDG_CURRENT_DESKTOP");
        ::setenv("XDG_SESSION_TYPE", "x11", 1);

        std::string display;
        std::string error;
        server = startPrivateXServer(display, error, "1280x800x24");
        ASSERT_NE(server, nullptr) << error;
        ::setenv("DISPLAY", display.c_str(), 1);

        // The tray along the bottom edge, so that the tray menu opens upwards
        // onto the screen.
        tray = std::make_unique<Program>(std::vector<std::string>{
            kTrayer, "--edge", "bottom", "--align", "right", "--widthtype", "pixel", "--width",
            "64", "--height", "32", "--SetDockType", "false", "--expand", "false"});
        ASSERT_TRUE(waitFor([] { return !xdo({"search", "--class", "trayer"}).out.empty(); }));

        mouse = std::make_unique<Program>(
            std::vector<std::string>{kBin + "/orvane-emud", "--socket", socket, "--foreground",
                                     "--state", (home.path() / "mouse.json").string()});
        ASSERT_TRUE(waitFor([this] { return emu({"dump"}).status == 0; }));
    }

    static Finished xdo(std::vector<std::string> words) {
        words.insert(words.begin(), kXdotool);
        return run(std::move(words));
    }

    Finished emu(std::vector<std::string> words) {
        words.insert(words.begin(), {kBin + "/orvane-emu", "--socket", socket});
        return run(std::move(words));
    }

    nlohmann::json mouseState() { return nlohmann::json::parse(emu({"dump"}).out); }

    std::vector<std::uint8_t> slotImage(int slot) {
        return fromHex(mouseState()["slots"][slot]["image"].get<std::string>());
    }

    std::unique_ptr<Program> startApplication() {
        return std::make_unique<Program>(std::vector<std::string>{kBin + "/OrvaneConfig"});
    }

    // The visible main window, or empty.
    static std::string visibleWindow() {
        const std::string found = xdo({"search", "--onlyvisible", "--name", kWindowTitle}).out;
        return found.substr(0, found.find('\n'));
    }

    // The main window's top-left corner on the screen.
    static std::pair<int, int> windowOrigin(const std::string& window) {
        const std::string shown = xdo({"getwindowgeometry", "--shell", window}).out;
        const auto value = [&](const std::string& key) {
            const std::size_t at = shown.find(key + "=");
            return at == std::string::npos ? 0 : std::stoi(shown.substr(at + key.size() + 1));
        };
        return {value("X"), value("Y")};
    }

    // Clicks at a point of the main window's client area.
    static void clickInWindow(const std::string& window, int x, int y, int button = 1) {
        const auto [left, top] = windowOrigin(window);
        xdo({"mousemove", std::to_string(left + x), std::to_string(top + y)});
        xdo({"click", std::to_string(button)});
    }

    fs::path profileFile(int slot) {
        return home.path() / "data/Veltrac/ORVANE PRO Software/Profiles" /
               ("Default" + std::to_string(slot + 1) + ".profile");
    }

    // Answers the message boxes on the screen with Enter, as a user would;
    // an Apply that meets the mouse while it is being unplugged says so.
    int dismissMessages() {
        int dismissed = 0;
        std::string found = xdo({"search", "--onlyvisible", "--name", "^VELTRAC$"}).out;
        for (std::size_t at = 0; at < found.size();) {
            const std::size_t end = found.find('\n', at);
            const std::string box = found.substr(at, end - at);
            at = end == std::string::npos ? found.size() : end + 1;
            const auto [left, top] = windowOrigin(box);
            // Keys go to the window under the pointer: there is no window manager.
            xdo({"mousemove", std::to_string(left + 20), std::to_string(top + 20)});
            xdo({"key", "Return"});
            ++dismissed;
        }
        return dismissed;
    }

    // Clicks "Apply" until the mouse holds slot 0's file as its image and
    // `also` holds: the button stays disabled while the first reading of
    // the mouse runs, and an Apply takes a moment.
    bool applyUntil(
        const std::string& window, const std::function<bool(const MouseProfile&)>& also,
        const std::function<void()>& beforeEachClick = [] {}) {
        return waitFor(
            [&] {
                beforeEachClick();
                clickInWindow(window, 948 + 29, 533 + 12);
                return waitFor(
                    [&] {
                        MouseProfile saved;
                        if (!loadProfile(profileFile(0), saved) || !also(saved)) {
                            return false;
                        }
                        const auto expected = buildDeviceImage(saved).bytes;
                        return mouseState()["activeSlot"] == 0 &&
                               slotImage(0) ==
                                   std::vector<std::uint8_t>(expected.begin(), expected.end());
                    },
                    1500ms);
            },
            30s);
    }

    // What the file and the mouse hold, for a failure message.
    std::string describe() {
        MouseProfile saved;
        const bool loaded = loadProfile(profileFile(0), saved);
        const nlohmann::json state = mouseState();
        return "profile 1 file " + std::string(loaded ? "level " : "unreadable ") +
               std::to_string(saved.activeDpiLevel) + "; mouse: active slot " +
               state["activeSlot"].dump() +
               ", slot 0 byte 50 = " + std::to_string(slotImage(0)[50]) + ", plugged " +
               state["plugged"].dump();
    }

    TempDir home;
    fs::path runtime;
    std::string socket;
    std::unique_ptr<Program> server;
    std::unique_ptr<Program> tray;
    std::unique_ptr<Program> mouse;
};

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
