#include "app/DemoMouse.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/AppPaths.h"
#include "platform/FakeClock.h"
#include "platform/FakeShell.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;

// ORVANE_HID as the test found it, put back afterwards: the demo mouse
// changes the process's environment on purpose.
class DemoMouseTest : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* value = std::getenv("ORVANE_HID")) {
            saved = value;
        }
        unsetenv("ORVANE_HID");
        paths.dataHome = folder.path() / "data";
        paths.programDir = folder.path() / "bin";
    }
    void TearDown() override {
        if (saved) {
            setenv("ORVANE_HID", saved->c_str(), 1);
        } else {
            unsetenv("ORVANE_HID");
        }
    }

    DemoMouse demo() {
        return DemoMouse{shell, clock, paths, "/run/test/emu.sock",
                         [this](const std::string& socket) {
                             asked.push_back(socket);
                             return answering;
                         }};
    }

    static std::string selected() {
        const char* value = std::getenv("ORVANE_HID");
        return value != nullptr ? value : "";
    }

    test::TempDir folder;
    AppPaths paths;
    FakeShell shell;
    FakeClock clock;
    bool answering = false;
    std::vector<std::string> asked;
    std::optional<std::string> saved;
};

TEST_F(DemoMouseTest, AMouseThatAnswersIsUsedWithoutStartingAnother) {
    answering = true;
    EXPECT_EQ(demo().start(), "");
    EXPECT_TRUE(shell.started.empty());
    EXPECT_EQ(selected(), "emulator:/run/test/emu.sock");
}

TEST_F(DemoMouseTest, StartsTheDaemonBesideTheProgramWithTheUsersStateFile) {
    shell.onStart = [this](const FakeShell::Start&) {
        answering = true;
        return true;
    };
    EXPECT_EQ(demo().start(), "");
    ASSERT_EQ(shell.started.size(), 1U);
    EXPECT_EQ(shell.started[0].program, folder.path() / "bin" / "orvane-emud");
    const std::filesystem::path state =
        folder.path() / "data" / "Veltrac" / "ORVANE PRO Software" / "simulated-mouse.json";
    EXPECT_EQ(
        shell.started[0].arguments,
        (std::vector<std::string>{"--socket", "/run/test/emu.sock", "--state", state.string()}));
    EXPECT_TRUE(std::filesystem::is_directory(state.parent_path()));
    EXPECT_EQ(selected(), "emulator:/run/test/emu.sock");
}

TEST_F(DemoMouseTest, WithoutADataFolderTheMouseKeepsItsMemoryOnlyWhileItRuns) {
    paths.dataHome.clear();
    shell.onStart = [this](const FakeShell::Start&) {
        answering = true;
        return true;
    };
    EXPECT_EQ(demo().start(), "");
    ASSERT_EQ(shell.started.size(), 1U);
    EXPECT_EQ(shell.started[0].arguments,
              (std::vector<std::string>{"--socket", "/run/test/emu.sock"}));
}

TEST_F(DemoMouseTest, ADaemonThatCannotStartIsNamedAndNothingIsSelected) {
    shell.accepts = false;
    const std::string problem = demo().start();
    EXPECT_EQ(problem, "The simulated mouse \"" + (folder.path() / "bin" / "orvane-emud").string() +
                           "\" could not be started.");
    EXPECT_EQ(clock.totalSlept(), 0ms);
    EXPECT_EQ(selected(), "");
}

TEST_F(DemoMouseTest, ADaemonThatNeverAnswersIsGivenFiveSecondsThenReported) {
    const std::string problem = demo().start();
    EXPECT_EQ(problem, "The simulated mouse did not answer on \"/run/test/emu.sock\".");
    EXPECT_GE(clock.totalSlept(), 5000ms);
    EXPECT_LE(clock.totalSlept(), 5040ms);
    EXPECT_EQ(selected(), "");
}

}  // namespace
}  // namespace orvane
