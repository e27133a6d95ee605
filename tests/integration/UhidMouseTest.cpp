// orvane-emud --uhid on this machine: the mouse in the host's own kernel
// where /dev/uhid is writable (root), a clear refusal where it is not. The
// vm tier runs the whole suite of checks in a machine of its own.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>

#include "support/ChildProcess.h"
#include "support/KernelMouse.h"
#include "support/TempDir.h"

namespace {

using orvane::test::Program;
using orvane::test::TempDir;

bool uhidWritable() {
    return ::access("/dev/uhid", W_OK) == 0;
}

TEST(UhidMouse, DaemonWithoutWriteAccessSaysWhatItNeedsAndStops) {
    if (uhidWritable()) {
        GTEST_SKIP() << "/dev/uhid is writable here; the refusal cannot be seen";
    }
    TempDir dir;
    Program daemon(
        {ORVANE_EMUD_PATH, "--foreground", "--uhid", "--socket", (dir / "emu.sock").string()});
    EXPECT_EQ(daemon.exitStatus(), 1);
    EXPECT_NE(daemon.err.find("cannot open /dev/uhid"), std::string::npos) << daemon.err;
    EXPECT_EQ(daemon.out.find("serving on"), std::string::npos) << daemon.out;
}

TEST(UhidMouse, OrvanectlFindsTheMouseInThisMachinesKernel) {
    if (!uhidWritable()) {
        GTEST_SKIP() << "/dev/uhid is not writable here (needs root and the uhid module); "
                        "ctest -L vm runs this in a virtual machine";
    }
    TempDir dir;
    Program daemon(
        {ORVANE_EMUD_PATH, "--foreground", "--uhid", "--socket", (dir / "emu.sock").string()});
    ASSERT_TRUE(daemon.outputShows("serving on")) << daemon.err;
    ::unsetenv("ORVANE_HID");
    std::string status;
    EXPECT_TRUE(orvane::test::waitUntil([&status] {
        Program tool({ORVANECTL_PATH, "status"});
        tool.exitStatus();
        status = tool.out;
        return status == "connected\n";
    })) << status;
}

}  // namespace
