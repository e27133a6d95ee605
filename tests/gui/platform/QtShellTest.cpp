#include "platform/qt/QtShell.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/TempDir.h"

namespace orvane {
namespace {

TEST(QtShell, StartsAProgramWithItsArgumentsAndDoesNotWaitForIt) {
    test::TempDir folder;
    const std::filesystem::path marker = folder.path() / "started";
    QtShell shell;
    // The program waits before it leaves its mark: a shell that waited for
    // it would find the mark on return.
    ASSERT_TRUE(shell.startProgram(
        "/bin/sh", {"-c", "sleep 0.3; echo \"$0\" > \"$1\"", "argument one", marker.string()}));
    EXPECT_FALSE(std::filesystem::exists(marker));
    QElapsedTimer waited;
    waited.start();
    while (!std::filesystem::exists(marker) && waited.elapsed() < 10000) {
        QTest::qWait(20);
    }
    QTest::qWait(50);
    std::ifstream file(marker);
    std::string line;
    std::getline(file, line);
    EXPECT_EQ(line, "argument one");
}

TEST(QtShell, AProgramThatDoesNotExistIsRefused) {
    test::TempDir folder;
    QtShell shell;
    EXPECT_FALSE(shell.startProgram(folder.path() / "no-such-program", {}));
}

}  // namespace
}  // namespace orvane
