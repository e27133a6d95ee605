// The firmware-update program in its command-line mode against the simulated
// mouse: the reports a whole update gives, the images it refuses before the
// mouse hears of them, and the faults of a real update, after which the
// mouse can still be brought back to work.
#include <gtest/gtest.h>

#include <cstdlib>
#include <nlohmann/json.hpp>
#include <sstream>

#include "support/ChildProcess.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using test::Program;
using test::TempDir;

struct Report {
    int status;
    int value;
};

std::vector<Report> reportsIn(const std::string& out) {
    std::vector<Report> reports;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        Report report{};
        if (words >> report.status >> report.value) {
            reports.push_back(report);
        }
    }
    return reports;
}

class FirmwareUpdater : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(daemon.started());
        ASSERT_TRUE(daemon.outputShows("serving on")) << daemon.err;
        ::setenv("ORVANE_HID", ("emulator:" + socket).c_str(), 1);
        // The update's claim on the mouse lives in the runtime folder: one
        // of our own, so that parallel tests do not see each other's.
        ::setenv("XDG_RUNTIME_DIR", dir.path().c_str(), 1);
        ASSERT_EQ(emu({"set-firmware", "1.00"}), 0);
    }
    void TearDown() override {
        ::unsetenv("ORVANE_HID");
        ::unsetenv("XDG_RUNTIME_DIR");
    }

    int emu(std::vector<std::string> words) {
        words.insert(words.begin(), {ORVANE_EMU_PATH, "--socket", socket});
        Program program(words);
        return program.exitStatus();
    }
    nlohmann::json state() {
        Program dump({ORVANE_EMU_PATH, "--socket", socket, "dump"});
        EXPECT_EQ(dump.exitStatus(), 0);
        return nlohmann::json::parse(dump.out, nullptr, false);
    }
    int firmwareVersion() { return state().value("firmwareVersion", -1); }

    // An image for the mouse: firmware 1.01 in `blocks` blocks.
    std::string image(int blocks, const std::string& name = "fw.bin") {
        Program make({ORVANE_FIRMWARE_IMAGE_PATH, (dir / name).string() + ".d", "0x0101",
                      std::to_string(blocks)});
        EXPECT_EQ(make.exitStatus(), 0) << make.err;
        return (dir / (name + ".d") / "firmware.bin").string();
    }

    struct Run {
        int status;
        std::string out;
        std::string err;
    };
    Run update(const std::string& file) {
        Program program({ORVANE_FIRMWARE_UPDATER_PATH, "--cli", file});
        const int status = program.exitStatus();
        return {status, program.out, program.err};
    }

    // The mouse answers its own commands again, in application mode.
    void expectWorkingMouse() {
        const nlohmann::json now = state();
        EXPECT_TRUE(now.value("plugged", false));
        ASSERT_EQ(emu({"press-dpi-button", "3"}), 0);
    }

    TempDir dir;
    std::string socket = (dir / "emu.sock").string();
    Program daemon{{ORVANE_EMUD_PATH, "--foreground", "--socket", socket}};
};

TEST_F(FirmwareUpdater, FourBlocksReportEveryStepAndTheNewVersion) {
    const Run run = update(image(4));
    ASSERT_EQ(run.status, 0) << run.out << run.err;
    std::vector<std::pair<int, int>> seen;
    for (const Report& report : reportsIn(run.out)) {
        seen.emplace_back(report.status, report.value);
    }
    const std::vector<std::pair<int, int>> expected = {
        {1, 1}, {1, 3}, {1, 4}, {1, 4}, {1, 29}, {1, 54}, {1, 79}, {1, 100}, {96, 101}};
    EXPECT_EQ(seen, expected) << run.out;
    EXPECT_NE(run.out.find("firmware 1.01"), std::string::npos);
    EXPECT_EQ(firmwareVersion(), 0x0101);
    expectWorkingMouse();
}

TEST_F(FirmwareUpdater, ImagesThatDoNotFitAreRefusedBeforeTheMouseHearsOfThem) {
    test::writeBytes(dir / "empty.bin", {});
    std::vector<std::uint8_t> untagged(2048, 0x5A);
    test::writeBytes(dir / "untagged.bin", untagged);
    std::vector<std::uint8_t> huge(100 * 1024 + 1, 0);
    const std::uint8_t tag[] = {'O', 'V', 'F', 'W', 0x01, 0x01};
    std::copy(std::begin(tag), std::end(tag), huge.begin());
    test::writeBytes(dir / "huge.bin", huge);

    const struct {
        const char* file;
        const char* why;
    } cases[] = {{"empty.bin", "is empty"},
                 {"untagged.bin", "not a firmware for the ORVANE PRO mouse"},
                 {"huge.bin", "holds 102401 bytes"},
                 {"missing.bin", "cannot be read"}};
    for (const auto& c : cases) {
        const Run run = update((dir / c.file).string());
        EXPECT_EQ(run.status, 1) << c.file;
        EXPECT_NE(run.err.find(c.why), std::string::npos) << c.file << ": " << run.err;
        EXPECT_TRUE(run.out.empty()) << c.file << ": " << run.out;
    }
    const nlohmann::json now = state();
    EXPECT_EQ(now.value("firmwareVersion", -1), 0x0100);
    expectWorkingMouse();
}

TEST_F(FirmwareUpdater, ARefusedSwitchLeavesTheMouseAsItWas) {
    ASSERT_EQ(emu({"fault", "set-fail", "1", "31"}), 0);
    const Run run = update(image(4));
    EXPECT_EQ(run.status, 1);
    const std::vector<Report> reports = reportsIn(run.out);
    ASSERT_FALSE(reports.empty());
    EXPECT_EQ(reports.back().status, 81);
    EXPECT_NE(run.out.find("Unplug it, plug it back in"), std::string::npos);
    EXPECT_EQ(firmwareVersion(), 0x0100);
    expectWorkingMouse();
}

TEST_F(FirmwareUpdater, AFailedBlockOrAPulledMouseIsMendedByUpdatingAgain) {
    const std::string file = image(24);
    {
        // A block write that keeps failing, once writing has begun.
        Program program({ORVANE_FIRMWARE_UPDATER_PATH, "--cli", file});
        ASSERT_TRUE(program.outputShows("\n1 4 ")) << program.out << program.err;
        ASSERT_EQ(emu({"fault", "set-fail", "1000", "31"}), 0);
        EXPECT_EQ(program.exitStatus(), 1);
        const std::vector<Report> reports = reportsIn(program.out);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back().status, 84) << program.out;
        EXPECT_NE(program.out.find("press \"Try again\""), std::string::npos);
    }
    ASSERT_EQ(emu({"fault", "clear"}), 0);
    {
        // The mouse pulled out in the middle of writing.
        ASSERT_EQ(emu({"fault", "unplug-after", "8"}), 0);
        const Run run = update(file);
        EXPECT_EQ(run.status, 1);
        const std::vector<Report> reports = reportsIn(run.out);
        ASSERT_FALSE(reports.empty());
        EXPECT_EQ(reports.back().status, 84) << run.out;
        EXPECT_NE(run.out.find("plug it back in"), std::string::npos);
    }
    ASSERT_EQ(emu({"fault", "clear"}), 0);
    ASSERT_EQ(emu({"plug"}), 0);
    // Picked up in the boot loader, where the failures left the mouse.
    const Run again = update(file);
    ASSERT_EQ(again.status, 0) << again.out << again.err;
    EXPECT_EQ(reportsIn(again.out).back().status, 96);
    EXPECT_EQ(firmwareVersion(), 0x0101);
    expectWorkingMouse();
}

}  // namespace
}  // namespace orvane
