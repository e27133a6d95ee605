// Where the application finds the firmware-update folder, what its
// Config.ini says, and the update's claim on the mouse between processes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>

#include "platform/UpdateFolder.h"
#include "platform/linux/lockfile/FileUpdateLock.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using test::TempDir;

TEST(UpdateFolder, BesideTheProgramElseBelowLibOrvane) {
    TempDir root;
    const auto bin = root / "bin";
    const auto installed = root / "lib" / "orvane" / kUpdateFolderName;
    std::filesystem::create_directories(bin);
    // Neither: the one beside it, so a path can still be named.
    EXPECT_EQ(updateFolderFor(bin), bin / kUpdateFolderName);
    std::filesystem::create_directories(installed);
    EXPECT_EQ(updateFolderFor(bin), installed);
    std::filesystem::create_directories(bin / kUpdateFolderName);
    EXPECT_EQ(updateFolderFor(bin), bin / kUpdateFolderName);
}

struct Config {
    const char* name;
    const char* text;  // nullptr: no file
    int version;
};

class ConfiguredVersion : public testing::TestWithParam<Config> {};

TEST_P(ConfiguredVersion, ReadsTheFirmwareSectionsVersion) {
    TempDir dir;
    const auto file = dir / "Config.ini";
    if (GetParam().text != nullptr) {
        std::ofstream(file) << GetParam().text;
    }
    EXPECT_EQ(readConfiguredFirmwareVersion(file), GetParam().version);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ConfiguredVersion,
    testing::Values(Config{"NoFile", nullptr, 1000},
                    Config{"Plain", "[Firmware]\nVersion=101\n", 101},
                    Config{"WindowsLinesAndSpaces", "[ Firmware ]\r\n  Version = 105 \r\n", 105},
                    Config{"NamesInAnyCase", "[firmware]\nVERSION=99\n", 99},
                    Config{"OtherSectionsKeyIgnored", "[Other]\nVersion=5\n[Firmware]\n", 1000},
                    Config{"NoKey", "[Firmware]\nBuild=3\n", 1000},
                    Config{"TrailingText", "[Firmware]\nVersion=102abc\n", 102},
                    Config{"NotANumber", "[Firmware]\nVersion=new\n", 0},
                    Config{"CommentsSkipped", "; Version=1\n[Firmware]\n#x\nVersion=100\n", 100}),
    [](const testing::TestParamInfo<Config>& info) { return info.param.name; });

TEST(UpdateRule, OnlyFirmwareBelow101AndBelowTheConfiguredVersion) {
    EXPECT_TRUE(firmwareUpdateDue(100, 101));
    EXPECT_FALSE(firmwareUpdateDue(100, 100));
    EXPECT_FALSE(firmwareUpdateDue(105, 200));
    EXPECT_TRUE(firmwareUpdateDue(88, kUpdateVersionWhenUnknown));
    EXPECT_FALSE(firmwareUpdateDue(101, kUpdateVersionWhenUnknown));
}

// Another process holds the claim while `check` runs here.
template <typename Check>
void whileAnotherProcessHolds(const std::filesystem::path& file, Check check) {
    int ready[2];
    int finish[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(finish), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        FileUpdateLock lock(file);
        std::string error;
        const char held = lock.acquire(error) ? 'y' : 'n';
        (void)!::write(ready[1], &held, 1);
        char done = 0;
        (void)!::read(finish[0], &done, 1);
        ::_exit(0);
    }
    char held = 0;
    ASSERT_EQ(::read(ready[0], &held, 1), 1);
    ASSERT_EQ(held, 'y');
    check();
    const char done = 'x';
    ASSERT_EQ(::write(finish[1], &done, 1), 1);
    int status = 0;
    ::waitpid(child, &status, 0);
    for (int fd : {ready[0], ready[1], finish[0], finish[1]}) {
        ::close(fd);
    }
}

TEST(FileUpdateLockTest, AskersSeeAnotherProcessesClaimAndNeverTakeIt) {
    TempDir dir;
    const auto file = dir / "update.lock";
    FileUpdateLock asker(file);
    EXPECT_FALSE(asker.heldElsewhere());  // no file yet
    whileAnotherProcessHolds(file, [&] {
        EXPECT_TRUE(asker.heldElsewhere());
        EXPECT_TRUE(asker.heldElsewhere());  // asking twice does not take it
        FileUpdateLock second(file);
        std::string error;
        EXPECT_FALSE(second.acquire(error));
        EXPECT_NE(error.find("another firmware update"), std::string::npos) << error;
    });
    // The holder ended: the claim went with it.
    EXPECT_FALSE(asker.heldElsewhere());
    std::string error;
    FileUpdateLock mine(file);
    EXPECT_TRUE(mine.acquire(error)) << error;
}

}  // namespace
}  // namespace orvane
