#pragma once

// What the end-to-end tests share: a private desktop (X server, tray,
// simulated mouse, data folders) and the ways a user reaches the program on it.

#include <gmock/gmock.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <optional>
#include <thread>

#include "e2e/XScreenShot.h"
#include "profile/ProfileFile.h"
#include "protocol/image/DeviceImage.h"
#include "support/ChildProcess.h"
#include "support/PrivateXServer.h"
#include "support/TempDir.h"

namespace orvane::test {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

inline const std::string kBin = ORVANE_BIN_DIR;
inline constexpr const char* kTrayer = "/usr/bin/trayer";
inline constexpr const char* kXdotool = "/usr/bin/xdotool";
inline constexpr const char* kWindowTitle = "^ORVANE PRO Software$";

inline bool waitFor(const std::function<bool()>& done, std::chrono::milliseconds patience = 15s) {
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

inline Finished run(std::vector<std::string> words) {
    Program program(std::move(words));
    Finished result;
    if (program.started()) {
        result.status = program.exitStatus();
        result.out = program.out;
    }
    return result;
}

inline std::vector<std::uint8_t> fromHex(const std::string& hex) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2) {
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    }
    return bytes;
}

// The real OrvaneConfig on a desktop of its own: X server, tray, simulated mouse and data folders,
// so the test meets neither the user's session nor a running copy of the program.
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
        // The single-instance socket lives in the runtime folder; the
        // temporary folder goes there too, so nothing of a run lands in /tmp.
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

    // Does `action` and waits until the picture of the window's area (client
    // coordinates) has changed and settled: under a sanitizer the program
    // can take a second to answer. False if nothing changed.
    static bool waitForChange(const std::string& window, int x, int y, int width, int height,
                              const std::function<void()>& action) {
        const auto [left, top] = windowOrigin(window);
        const auto picture = [&] {
            const std::optional<ScreenShot> shot = grabScreen(left + x, top + y, width, height);
            return shot ? shot->rgb : std::vector<std::uint8_t>{};
        };
        const std::vector<std::uint8_t> before = picture();
        action();
        // Settled: the same picture three times in a row.
        std::vector<std::uint8_t> last = before;
        int same = 0;
        return waitFor([&] {
            std::vector<std::uint8_t> now = picture();
            same = now == last ? same + 1 : 0;
            last = std::move(now);
            return last != before && same >= 2;
        });
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

}  // namespace orvane::test
