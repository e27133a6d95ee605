#include "platform/linux/kde/KdePointerSettings.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/TempDir.h"

namespace orvane {
namespace {

// No running session hears of the test's changes: the session bus is one
// that nobody serves, which the backend must take in its stride.
const int noSessionBus =
    ::setenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=/nonexistent/orvane-no-bus", 1);

std::string read(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

void write(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

class KdePointerSettingsTest : public testing::Test {
  protected:
    std::filesystem::path file(const char* name) const { return config / name; }

    test::TempDir config;
    KdePointerSettings settings{config.path()};
};

TEST_F(KdePointerSettingsTest, OwnedKeysChangeAndEveryOtherByteStays) {
    write(file("kdeglobals"),
          "# kept as written\n[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\n"
          "DoubleClickInterval=400\nWheelScrollLines[de]=7\n  AnimationDurationFactor = 0.5\n\n"
          "[KDE][Sub]\nWheelScrollLines=9\n\n[Paths]\nTrash[$e]=$HOME/.local/share/Trash\n");
    write(file("kcminputrc"),
          "[$Version]\nupdate_info=kcminputrc.upd:1\n\n[Mouse]\ncursorTheme=breeze_cursors\n"
          "XLbInptPointerAcceleration[$e]=0.2\n[Keyboard]\nNumLock=2");

    ASSERT_TRUE(settings.setDoubleClickTime(700));
    ASSERT_TRUE(settings.setWheelScrollLines(5));
    ASSERT_TRUE(settings.setPointerSpeed(15));
    ASSERT_TRUE(settings.setAcceleration({0, 0, 0}));

    EXPECT_EQ(read(file("kdeglobals")),
              "# kept as written\n[General]\nColorScheme=Breeze\n\n[KDE]\nSingleClick=false\n"
              "DoubleClickInterval=700\nWheelScrollLines[de]=7\n  AnimationDurationFactor = 0.5\n"
              "WheelScrollLines=5\n\n"
              "[KDE][Sub]\nWheelScrollLines=9\n\n[Paths]\nTrash[$e]=$HOME/.local/share/Trash\n");
    EXPECT_EQ(read(file("kcminputrc")),
              "[$Version]\nupdate_info=kcminputrc.upd:1\n\n[Mouse]\ncursorTheme=breeze_cursors\n"
              "XLbInptPointerAcceleration=0.5\nXLbInptAccelProfileFlat=true\n[Keyboard]\n"
              "NumLock=2");
}

TEST_F(KdePointerSettingsTest, MissingFolderAndFilesAreCreatedInTheDesktopsUnits) {
    KdePointerSettings fresh(config / "new" / "config");
    ASSERT_TRUE(fresh.setDoubleClickTime(500));
    ASSERT_TRUE(fresh.setAcceleration({4, 10, 2}));
    const std::pair<int, const char*> speeds[] = {
        {1, "-1"}, {4, "-0.666666666666667"}, {10, "0"}, {12, "0.2"}, {20, "1"}, {21, "1"}};
    for (const auto& [speed, expected] : speeds) {
        ASSERT_TRUE(fresh.setPointerSpeed(speed));
        EXPECT_EQ(read(config / "new/config/kcminputrc"),
                  std::string("[Mouse]\nXLbInptAccelProfileFlat=false\n") +
                      "XLbInptPointerAcceleration=" + expected + "\n");
    }
    EXPECT_EQ(read(config / "new/config/kdeglobals"), "[KDE]\nDoubleClickInterval=500\n");
}

TEST_F(KdePointerSettingsTest, ImmutableEntriesAndPageScrollAreRefusedAndLeftAlone) {
    const std::string locked = "[KDE][$i]\nDoubleClickInterval=400\n";
    write(file("kdeglobals"), locked);
    const std::string lockedKey = "[Mouse]\nXLbInptAccelProfileFlat[$i]=true\n";
    write(file("kcminputrc"), lockedKey);

    EXPECT_FALSE(settings.setDoubleClickTime(700));
    EXPECT_FALSE(settings.setWheelScrollLines(PointerSettings::kWheelPageScroll));
    EXPECT_FALSE(settings.setAcceleration({12, 0, 1}));
    EXPECT_EQ(read(file("kdeglobals")), locked);
    EXPECT_EQ(read(file("kcminputrc")), lockedKey);

    EXPECT_TRUE(settings.setPointerSpeed(10));
    write(file("kcminputrc"), "[$i]\n[Mouse]\n");
    EXPECT_FALSE(settings.setPointerSpeed(12));
    EXPECT_EQ(read(file("kcminputrc")), "[$i]\n[Mouse]\n");
}

// The write runs in a child process that, when the tests run as root, gives
// up root first: root would write into the locked folder all the same.
TEST_F(KdePointerSettingsTest, UnwritableFolderRefusesAndKeepsTheOldFile) {
    const std::string old = "[KDE]\nDoubleClickInterval=400\n";
    write(file("kdeglobals"), old);
    ::chmod(config.path().c_str(), 0555);
    const pid_t child = ::fork();
    if (child == 0) {
        const bool dropped = ::geteuid() != 0 || (::setgid(65534) == 0 && ::setuid(65534) == 0);
        ::_exit(!dropped ? 2 : settings.setDoubleClickTime(700) ? 1 : 0);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    EXPECT_EQ(read(file("kdeglobals")), old);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(config.path()), {}), 1);
}

}  // namespace
}  // namespace orvane
