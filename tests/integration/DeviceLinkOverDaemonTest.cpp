// The application's link and commands against the simulated mouse served by
// orvane-emud in another process, read back with orvane-emu: the road one
// Apply takes, through the real socket and the real programs.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include "device/DeviceCommands.h"
#include "emulator/MouseStateJson.h"
#include "platform/linux/hidapi/HidapiBus.h"
#include "platform/virtual/EmulatorHidBus.h"
#include "protocol/DeviceIds.h"
#include "support/ChildProcess.h"
#include "support/KernelMouse.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using test::Program;
using test::TempDir;

// The slot image as the simulated mouse's state shows it.
std::string hex(const DeviceImage& image) {
    return emulator::toHex(image.bytes);
}

MouseProfile profileForSlot(std::uint8_t slot) {
    MouseProfile profile;
    profile.slotIndex = slot;
    profile.name = u"Over the wire";
    profile.pollingInterval = 2;
    profile.lightingBrightness = 3;
    profile.lightingZoneFlags = 0x1F;
    profile.zoneColor1 = 0x3366CC;
    profile.dpiLevels[0].x = 1200;
    profile.buttons[2] = {2, 13, 65, 2};
    profile.buttons[8] = {8, 14, 40, 4};
    profile.buttonMacros[8] = {u"combo", 40, {{1, 162, 0, 10}, {1, 67, 0, 20}, {1, 67, 1, 5}}};
    return profile;
}

class DeviceLinkOverDaemon : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(daemon.started());
        ASSERT_TRUE(daemon.outputShows("serving on")) << daemon.err;
        ASSERT_TRUE(test::waitUntil([this] { return !bus->enumerate().empty(); }));
    }

    static std::unique_ptr<HidBus> busFor(const std::string& socket) {
        if (test::mouseInKernel()) {
            return std::make_unique<HidapiBus>();
        }
        return std::make_unique<EmulatorHidBus>(socket);
    }

    nlohmann::json dump(std::uint8_t slot) {
        Program tool({ORVANE_EMU_PATH, "--socket", socket, "dump", "--slot", std::to_string(slot)});
        EXPECT_EQ(tool.exitStatus(), 0) << tool.err;
        return nlohmann::json::parse(tool.out);
    }

    int tool(std::vector<std::string> words) {
        words.insert(words.begin(), {ORVANE_EMU_PATH, "--socket", socket});
        Program program(words);
        return program.exitStatus();
    }

    TempDir dir;
    std::string socket = (dir / "emu.sock").string();
    Program daemon{test::daemonCommand(ORVANE_EMUD_PATH, socket)};
    std::unique_ptr<HidBus> bus = busFor(socket);
    DeviceLink link{*bus, systemClock()};
};

TEST_F(DeviceLinkOverDaemon, AppliedProfileLandsInItsSlotByteForByte) {
    ASSERT_EQ(link.openDevice(), 1);
    // The release number comes from the USB device's descriptor; a device
    // the kernel holds without a USB parent has none to give.
    if (!test::mouseInKernel()) {
        EXPECT_EQ(link.versionNumber(), 0x0105);
        EXPECT_EQ(firmwareVersionText(link), "1.05");
    }

    const DeviceImage image = buildDeviceImage(profileForSlot(3));
    ASSERT_EQ(uploadImage(link, image), kCommandDone);
    ASSERT_EQ(selectProfile(link, 3), kCommandDone);

    const nlohmann::json state = dump(3);
    EXPECT_EQ(state["activeSlot"], 3);
    ASSERT_EQ(state["slots"].size(), 1U);
    EXPECT_EQ(state["slots"][0]["image"], hex(image));
    EXPECT_EQ(state["slots"][0]["name"], "Over the wire");
}

TEST_F(DeviceLinkOverDaemon, MouseUnpluggedDuringTheUploadIsReportedNeverPassedOffAsDone) {
    ASSERT_EQ(link.openDevice(), 1);
    const nlohmann::json before = dump(1);
    // The first half's request goes through; the mouse vanishes on its reply.
    ASSERT_EQ(tool({"fault", "unplug-after", "1"}), 0);
    EXPECT_EQ(uploadImage(link, buildDeviceImage(profileForSlot(1))), kReplyUnreadable);

    ASSERT_EQ(tool({"plug"}), 0);
    ASSERT_EQ(link.closeDevice(), 1);
    // A kernel lists a device that was plugged in only once it has set it
    // up; the application opens it on the arrival that follows.
    ASSERT_TRUE(test::waitUntil([this] { return link.openDevice() == 1; }));
    EXPECT_EQ(selectProfile(link, 1), kCommandDone);
    // The half that arrived is in the slot; the rest is as it was.
    const std::string image = dump(1)["slots"][0]["image"];
    const std::string expected = hex(buildDeviceImage(profileForSlot(1)));
    EXPECT_EQ(image.substr(0, 2048), expected.substr(0, 2048));
    EXPECT_EQ(image.substr(2048), before["slots"][0]["image"].get<std::string>().substr(2048));
}

}  // namespace
}  // namespace orvane
