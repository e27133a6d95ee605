// orvanectl's device commands, run as a user runs them, drive the simulated
// mouse through the device-control library.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using test::Program;
using test::TempDir;

class OrvanectlDevice : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(daemon.started());
        ASSERT_TRUE(daemon.outputShows("serving on")) << daemon.err;
        // The library picks its backend when it is first used in a process.
        ::setenv("ORVANE_HID", ("emulator:" + socket).c_str(), 1);
    }
    void TearDown() override { ::unsetenv("ORVANE_HID"); }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    Run orvanectl(std::vector<std::string> words) {
        words.insert(words.begin(), ORVANECTL_PATH);
        Program program(words);
        const int status = program.exitStatus();
        return {status, program.out, program.err};
    }
    int emu(std::vector<std::string> words) {
        words.insert(words.begin(), {ORVANE_EMU_PATH, "--socket", socket});
        Program program(words);
        return program.exitStatus();
    }

    TempDir dir;
    std::string socket = (dir / "emu.sock").string();
    Program daemon{{ORVANE_EMUD_PATH, "--foreground", "--socket", socket}};
};

TEST_F(OrvanectlDevice, SettingsWrittenReadBackAsJson) {
    EXPECT_EQ(orvanectl({"status"}).out, "connected\n");
    ASSERT_EQ(orvanectl({"dpi", "set", "2", "--first", "3", "--second", "1", "400", "800"}).status,
              0);
    ASSERT_EQ(orvanectl({"polling", "set", "2", "500"}).status, 0);
    const Run read = orvanectl({"read-profile", "2"});
    ASSERT_EQ(read.status, 0) << read.err;
    const auto json = nlohmann::json::parse(read.out);
    EXPECT_EQ(json["pollingRate"], 500);
    EXPECT_EQ(json["dpi"]["first"], 3);
    EXPECT_EQ(json["dpi"]["values"][1], 800);
}

TEST_F(OrvanectlDevice, RefusalsAndAMissingMouseAreExplained) {
    const Run badRate = orvanectl({"polling", "set", "1", "300"});
    EXPECT_EQ(badRate.status, 1);
    EXPECT_NE(badRate.err.find("out of range"), std::string::npos);

    ASSERT_EQ(emu({"unplug"}), 0);
    const Run gone = orvanectl({"status"});
    EXPECT_EQ(gone.status, 1);
    EXPECT_NE(gone.err.find("not connected"), std::string::npos);
}

TEST_F(OrvanectlDevice, ButtonSetRefusesWhatTheMouseCannotHoldAndKeepsTheOldFunction) {
    ASSERT_EQ(orvanectl({"button", "set", "1", "6", "--type", "21", "--sub", "1"}).status, 0);
    const auto buttonSix = [this] {
        const Run read = orvanectl({"read-profile", "1"});
        EXPECT_EQ(read.status, 0) << read.err;
        const auto json = nlohmann::json::parse(read.out);
        return json["buttons"][5];
    };
    const auto before = buttonSix();
    ASSERT_EQ(before["type"], 21);

    for (const std::string type : {"99", "-5", "-2147483648"}) {
        const Run refused = orvanectl({"button", "set", "1", "6", "--type=" + type});
        EXPECT_EQ(refused.status, 1) << type;
        EXPECT_NE(refused.err.find("out of range"), std::string::npos) << refused.err;
    }
    // A delay of 2^24 ms would reach the mouse as no wait at all.
    const Run longWait = orvanectl({"button", "set", "1", "6", "--type", "19", "--event",
                                    "18:65:0:10", "--event", "18:65:1:16777216"});
    EXPECT_EQ(longWait.status, 2);
    EXPECT_NE(longWait.err.find("step 2 waits 16777216 ms"), std::string::npos) << longWait.err;
    EXPECT_EQ(buttonSix(), before);

    EXPECT_EQ(orvanectl({"button", "set", "1", "6", "--type", "19", "--event", "18:65:0:16777215"})
                  .status,
              0);
}

TEST_F(OrvanectlDevice, EventsPrintsTheMousesResolutionButton) {
    Program events({ORVANECTL_PATH, "events", "--count", "1", "--seconds", "10"});
    ASSERT_TRUE(events.outputShows("capturing events")) << events.err;
    ASSERT_EQ(emu({"press-dpi-button", "3"}), 0);
    EXPECT_EQ(events.exitStatus(), 0);
    EXPECT_NE(events.out.find("resolution level 3"), std::string::npos) << events.out;
}

TEST_F(OrvanectlDevice, FirmwareUpdateRunsToTheNewVersion) {
    std::vector<std::uint8_t> image(3000, 0x5A);
    const std::uint8_t tag[] = {'O', 'V', 'F', 'W', 0x10, 0x02};  // version 0x0210
    std::copy(std::begin(tag), std::end(tag), image.begin());
    test::writeBytes(dir / "fw.bin", image);

    const Run update = orvanectl({"firmware", "update", (dir / "fw.bin").string()});
    ASSERT_EQ(update.status, 0) << update.err;
    EXPECT_NE(update.out.find("100 %"), std::string::npos);
    EXPECT_NE(update.out.find("version 210"), std::string::npos) << update.out;
    EXPECT_NE(orvanectl({"version"}).out.find("firmware: 210"), std::string::npos);
}

}  // namespace
}  // namespace orvane
