// The whole road of a firmware update: OrvaneConfig offers it for an old
// mouse, the user confirms, the update program writes the image through the
// library, and the Support page shows the new version once the mouse is back.
#include "ApplicationDesktop.h"
#include "XScreenShot.h"

namespace orvane::test {
namespace {

constexpr const char* kUpdateFolder = "ORVANE PRO firmware update software";
constexpr const char* kUpdater = "ORVANE PRO firmware updater";
constexpr const char* kUpdaterTitle = "^ORVANE PRO firmware updater$";
// Main-window and pop-up coordinates, as the layout places them.
constexpr int kSupportPageButtonX = 781 + 35;
constexpr int kSupportPageButtonY = 29 + 9;
constexpr int kPageTop = 88;
constexpr int kFirmVersionX = 360;
constexpr int kFirmVersionY = 148;
constexpr int kFirmVersionW = 80;
constexpr int kFirmVersionH = 18;
constexpr int kPopupWidth = 410;
constexpr int kPopupOkX = 269 + 29;
constexpr int kPopupOkY = 156 + 13;
constexpr int kUpdateNowX = 300 + 62;
constexpr int kUpdateNowY = 262 + 15;
constexpr int kUpdaterCloseX = 432 + 42;
constexpr int kUpdaterCloseY = 262 + 15;

class SupportPageApplication : public Application {
  protected:
    // A program folder of the test's own: OrvaneConfig, the library and the
    // skins as the build made them, and an update folder whose Config.ini
    // and image bring firmware 1.01.
    void makeProgramFolder() {
        fs::create_directories(programs / kUpdateFolder);
        fs::copy_file(kBin + "/OrvaneConfig", programs / "OrvaneConfig");
        fs::create_symlink(kBin + "/libOrvane_pro_dll.so", programs / "libOrvane_pro_dll.so");
        fs::create_directory_symlink(kBin + "/ORVANE_Pro_Skins", programs / "ORVANE_Pro_Skins");
        fs::copy_file(kBin + "/" + kUpdateFolder + "/" + kUpdater,
                      programs / kUpdateFolder / kUpdater);
        ASSERT_EQ(run({kBin + "/orvane-firmware-image", (programs / kUpdateFolder).string(),
                       "0x0101", "8"})
                      .status,
                  0);
    }

    // The visible window of the program whose width is `width`, or empty.
    static std::string windowOfWidth(const std::string& name, int width) {
        const std::string found = xdo({"search", "--onlyvisible", "--name", name}).out;
        for (std::size_t at = 0; at < found.size();) {
            const std::size_t end = found.find('\n', at);
            const std::string id = found.substr(at, end - at);
            at = end == std::string::npos ? found.size() : end + 1;
            const std::string shown = xdo({"getwindowgeometry", "--shell", id}).out;
            if (shown.find("WIDTH=" + std::to_string(width) + "\n") != std::string::npos) {
                return id;
            }
        }
        return {};
    }

    std::vector<std::uint8_t> firmVersionPixels(const std::string& window) {
        const auto [left, top] = windowOrigin(window);
        const auto shot = grabScreen(left + kFirmVersionX, top + kPageTop + kFirmVersionY,
                                     kFirmVersionW, kFirmVersionH);
        return shot ? shot->rgb : std::vector<std::uint8_t>{};
    }

    // The field's pixels once they have stopped changing.
    std::vector<std::uint8_t> settledPixels(const std::string& window) {
        std::vector<std::uint8_t> last = firmVersionPixels(window);
        for (int i = 0; i < 20; ++i) {
            std::this_thread::sleep_for(250ms);
            std::vector<std::uint8_t> now = firmVersionPixels(window);
            if (now == last) {
                return now;
            }
            last = std::move(now);
        }
        return last;
    }

    fs::path programs = home.path() / "programs";
};

TEST_F(SupportPageApplication, ConfirmedOfferUpdatesTheMouseAndThePageShowsItsNewVersion) {
    makeProgramFolder();
    ASSERT_EQ(emu({"set-firmware", "1.00"}).status, 0);

    Program application({(programs / "OrvaneConfig").string()});
    ASSERT_TRUE(waitFor([] { return !visibleWindow().empty(); })) << application.err;
    const std::string window = visibleWindow();

    // The offer, over the main window; OK starts the update program.
    std::string offer;
    ASSERT_TRUE(waitFor([&] { return !(offer = windowOfWidth(".*", kPopupWidth)).empty(); }, 30s))
        << application.err;
    clickInWindow(offer, kPopupOkX, kPopupOkY);
    ASSERT_TRUE(waitFor([&] { return windowOfWidth(".*", kPopupWidth).empty(); }));
    clickInWindow(window, kSupportPageButtonX, kSupportPageButtonY);

    std::string updater;
    ASSERT_TRUE(waitFor(
        [&] {
            const std::string found = xdo({"search", "--onlyvisible", "--name", kUpdaterTitle}).out;
            updater = found.substr(0, found.find('\n'));
            return !updater.empty();
        },
        30s));
    // Out of the way of the page's version field: there is no window
    // manager to place it.
    xdo({"windowmove", updater, "0", "480"});
    ASSERT_TRUE(waitFor([&] { return windowOrigin(updater).second == 480; }));
    const std::vector<std::uint8_t> oldVersion = settledPixels(window);
    clickInWindow(updater, kUpdateNowX, kUpdateNowY);

    // While the update program has the mouse, the application lets go of
    // it and shows no version.
    std::vector<std::uint8_t> dashes;
    ASSERT_TRUE(waitFor(
        [&] {
            dashes = settledPixels(window);
            return !dashes.empty() && dashes != oldVersion;
        },
        30s));
    ASSERT_TRUE(waitFor([&] { return mouseState().value("firmwareVersion", 0) == 0x0101; }, 60s))
        << mouseState().dump();
    // Back in application mode, read afresh by the application once the
    // update program has let go of the mouse.
    std::vector<std::uint8_t> newVersion;
    ASSERT_TRUE(waitFor(
        [&] {
            newVersion = settledPixels(window);
            return newVersion != oldVersion && newVersion != dashes;
        },
        30s))
        << application.err;
    EXPECT_TRUE(mouseState().value("plugged", false));
    clickInWindow(updater, kUpdaterCloseX, kUpdaterCloseY);
    EXPECT_TRUE(waitFor([] {
        return xdo({"search", "--onlyvisible", "--name", kUpdaterTitle}).out.empty();
    }));

    // What was shown meanwhile was the missing mouse's text indeed.
    ASSERT_EQ(emu({"unplug"}).status, 0);
    EXPECT_TRUE(waitFor([&] { return settledPixels(window) == dashes; }, 30s));
}

}  // namespace
}  // namespace orvane::test
