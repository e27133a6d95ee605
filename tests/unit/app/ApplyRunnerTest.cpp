#include "app/ApplyRunner.h"

#include <gtest/gtest.h>

#include <condition_variable>

#include "controls/CPopDlg.h"
#include "controls/MessageTexts.h"
#include "emulator/VirtualHidBus.h"
#include "emulator/VirtualMouse.h"
#include "platform/FakeClock.h"
#include "profile/ProfileFile.h"
#include "protocol/DeviceIds.h"
#include "protocol/image/DeviceImage.h"
#include "support/ScriptedHid.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using test::TempDir;

using emulator::VirtualHidBus;
using emulator::VirtualMouse;

class ApplyRunnerTest : public testing::Test {
  protected:
    ApplyRequest request(std::size_t slot) {
        ApplyRequest made;
        for (std::size_t i = 0; i < made.records.size(); ++i) {
            made.records[i].slotIndex = static_cast<std::uint8_t>(i);
            made.records[i].name = u"P" + std::u16string(1, char16_t(u'1' + i));
            made.records[i].filePath = folder.path() / slotFileName(i);
        }
        made.slot = slot;
        return made;
    }

    TempDir folder;
    FakeClock clock;
    VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    ApplyRunner runner{link};
};

TEST_F(ApplyRunnerTest, WritesTheSlotImageSelectsItAndSavesEveryFile) {
    ApplyRequest made = request(3);
    made.records[3].pointerSpeed = 9;

    const ApplyOutcome outcome = runner.run(made);

    EXPECT_TRUE(outcome.reachedMouse());
    EXPECT_TRUE(outcome.unsavedSlots.empty());
    EXPECT_EQ(bus.withMouse([](VirtualMouse& mouse) { return mouse.activeSlot(); }), 3);
    const auto image = bus.withMouse([](VirtualMouse& mouse) { return mouse.slotImage(3); });
    EXPECT_EQ(image, buildDeviceImage(made.records[3]).bytes);
    for (std::size_t slot = 0; slot < 5; ++slot) {
        MouseProfile loaded;
        ASSERT_TRUE(loadProfile(made.records[slot].filePath, loaded)) << slot;
        EXPECT_EQ(loaded.name, made.records[slot].name);
    }
}

TEST_F(ApplyRunnerTest, WithoutAMouseTheFilesAreStillSavedAndTheRunSaysSo) {
    bus.withMouse([](VirtualMouse& mouse) { mouse.unplug(); });
    const ApplyOutcome outcome = runner.run(request(0));
    EXPECT_FALSE(outcome.mouseFound);
    EXPECT_FALSE(outcome.reachedMouse());
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Default5.profile"));
    EXPECT_FALSE(link.connected());
}

TEST_F(ApplyRunnerTest, AMouseThatMayNotBeOpenedIsNamedAndNotCalledMissing) {
    test::ScriptedHidBus locked;
    locked.addRefusing(
        {"/dev/hidraw2", kVendorId, kProductId, 0x0105, kConfigUsagePage, kConfigUsage, 0},
        HidError::AccessDenied);
    DeviceLink lockedLink(locked, clock);
    ApplyRunner lockedRunner(lockedLink);

    const ApplyOutcome outcome = lockedRunner.run(request(0));
    EXPECT_FALSE(outcome.reachedMouse());
    EXPECT_EQ(outcome.unreadablePath, "/dev/hidraw2");
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "Default1.profile"));
    // The message the window shows for it carries the fix, not "not found".
    const QString text = CPopDlg::mouseMissingText(outcome.unreadablePath);
    EXPECT_TRUE(text.contains(QStringLiteral("/dev/hidraw2")));
    EXPECT_TRUE(text.contains(QStringLiteral("udevadm control --reload-rules")));
    EXPECT_EQ(CPopDlg::mouseMissingText(""), QString::fromLatin1(texts::kMouseNotFound));
}

TEST_F(ApplyRunnerTest, AFailedUploadIsNotReportedAsSuccess) {
    ASSERT_EQ(link.openDevice(), 1);
    bus.withMouse([](VirtualMouse& mouse) {
        emulator::Fault fault;
        fault.kind = emulator::Fault::Kind::UnplugOnTransfer;
        fault.count = 0;
        mouse.addFault(fault);
    });
    const ApplyOutcome outcome = runner.run(request(1));
    EXPECT_TRUE(outcome.mouseFound);
    EXPECT_NE(outcome.uploadResult, 1);
    EXPECT_FALSE(outcome.reachedMouse());
}

TEST_F(ApplyRunnerTest, ARecordWithASlotPastTheLastIsWrittenToSlotZero) {
    ApplyRequest made = request(0);
    made.records[0].slotIndex = 7;
    made.records[0].pointerSpeed = 3;
    const ApplyOutcome outcome = runner.run(made);
    EXPECT_TRUE(outcome.reachedMouse());
    const auto image = bus.withMouse([](VirtualMouse& mouse) { return mouse.slotImage(0); });
    EXPECT_EQ(image[0], 0);
}

TEST_F(ApplyRunnerTest, ReportsMacrosThatDidNotFit) {
    ApplyRequest made = request(0);
    MouseProfile& profile = made.records[0];
    for (ButtonAssignment& button : profile.buttons) {
        ButtonMacro macro;
        macro.id = 100u + button.buttonIndex;
        macro.events.assign(128, CMacroEvent{1, 65, 0, 10});
        button.function = 14;  // a macro button
        button.parameter = static_cast<std::uint16_t>(macro.id);
        assignMacro(profile, button, macro);
    }
    const ApplyOutcome outcome = runner.run(made);
    EXPECT_FALSE(outcome.shortenedMacroButtons.empty());
}

TEST_F(ApplyRunnerTest, RunsStartedTogetherTakeTurnsAndAllReport) {
    std::mutex mutex;
    std::condition_variable changed;
    int reported = 0;
    for (std::size_t slot = 0; slot < 3; ++slot) {
        runner.start(request(slot), [&](const ApplyOutcome& outcome) {
            EXPECT_TRUE(outcome.reachedMouse());
            std::lock_guard guard(mutex);
            ++reported;
            changed.notify_all();
        });
    }
    runner.waitForAll();
    EXPECT_EQ(reported, 3);
}

}  // namespace
}  // namespace orvane
