#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>
#include <vector>

#include "DialogSkinFolder.h"
#include "buttons/KeyNames.h"
#include "controls/CKivButton.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "platform/FakeKeyboardHook.h"
#include "skins/SkinLayout.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

namespace popup = layout::popup;
using test::dialogSkin;

constexpr int kEnter = 13;
constexpr int kEscape = 27;
constexpr int kSpace = 32;
constexpr int kKeyA = 65;
constexpr int kLeftShift = 160;

QString nameOf(int key) {
    return QString::fromStdString(GetKeyName(static_cast<std::uint8_t>(key)));
}

class KeyCapture : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(skin.failures, 0);
        target.set(QStringLiteral("Left click"), 0, -1);
        dialog.setTarget(&target);
        dialog.setKeyboardHook(&hook);
        dialog.setMessageBox([this](QWidget*, const QString& text) { messages.push_back(text); });
    }
    void open() {
        dialog.show();
        QCoreApplication::processEvents();
    }
    void expectTargetUnchanged() {
        EXPECT_EQ(target.caption(), QStringLiteral("Left click"));
        EXPECT_EQ(target.selectedItem(), 0);
        EXPECT_EQ(target.value(), -1);
    }

    // First: the pop-up below takes its pictures from the skin when it is made.
    test::DialogSkinFolder& skin = dialogSkin();
    FakeKeyboardHook hook;
    CKivComboButton target;
    CPopDlg dialog{popup::kAssignKey};
    std::vector<QString> messages;
};

struct KeyCase {
    int key;
    Qt::Key qtKey;
};

class CapturedKeyDoesNotAct : public KeyCapture, public testing::WithParamInterface<KeyCase> {};

TEST_P(CapturedKeyDoesNotAct, KeyIsCapturedAndThePopupStaysOpen) {
    open();
    ASSERT_TRUE(dialog.isCapturing());
    hook.press(GetParam().key);
    QTest::keyPress(&dialog, GetParam().qtKey);
    hook.release(GetParam().key);
    QTest::keyRelease(&dialog, GetParam().qtKey);
    EXPECT_EQ(dialog.capturedKey(), GetParam().key);
    EXPECT_EQ(dialog.timeField()->text(), nameOf(GetParam().key));
    EXPECT_FALSE(nameOf(GetParam().key).isEmpty());
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_TRUE(dialog.isCapturing());
}

INSTANTIATE_TEST_SUITE_P(ButtonKeys, CapturedKeyDoesNotAct,
                         testing::Values(KeyCase{kEnter, Qt::Key_Return},
                                         KeyCase{kEscape, Qt::Key_Escape},
                                         KeyCase{kSpace, Qt::Key_Space}),
                         [](const testing::TestParamInfo<KeyCase>& info) {
                             return test::caseName("VirtualKey", info.param.key);
                         });

struct SequenceCase {
    const char* name;
    std::vector<KeyEvent> events;
    int captured;
};

class KeySequence : public KeyCapture, public testing::WithParamInterface<SequenceCase> {};

TEST_P(KeySequence, LastReportedKeyIsKept) {
    open();
    for (const KeyEvent& event : GetParam().events) {
        hook.inject(event);
    }
    EXPECT_EQ(dialog.capturedKey(), GetParam().captured);
    EXPECT_EQ(dialog.timeField()->text(), nameOf(GetParam().captured));
}

INSTANTIATE_TEST_SUITE_P(
    Modifiers, KeySequence,
    testing::Values(
        SequenceCase{"ShiftThenA",
                     {{kLeftShift, false}, {kLeftShift, true}, {kKeyA, false}, {kKeyA, true}},
                     kKeyA},
        SequenceCase{"AReleasedThenShift",
                     {{kKeyA, false}, {kKeyA, true}, {kLeftShift, false}, {kLeftShift, true}},
                     kLeftShift},
        SequenceCase{"OutOfRangeCodesIgnored", {{kKeyA, false}, {0, false}, {300, true}}, kKeyA}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeyCapture, OkGivesTheTargetTheSingleKeyFunction) {
    open();
    hook.press(kKeyA);
    hook.release(kKeyA);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), CPopDlg::kResultOk);
    EXPECT_EQ(target.caption(), nameOf(kKeyA));
    EXPECT_EQ(target.selectedItem(), 13);
    EXPECT_EQ(target.value(), kKeyA);
    // The menu choice that opened the pop-up must not overwrite the key.
    EXPECT_FALSE(target.acceptance());
}

enum class Leave { Cancel, Close, OkWithoutKey };

class LeavingWithoutKey : public KeyCapture, public testing::WithParamInterface<Leave> {};

TEST_P(LeavingWithoutKey, TargetKeepsItsFunctionAndRefusesTheMenuChoice) {
    open();
    if (GetParam() == Leave::Cancel) {
        hook.press(kKeyA);
        QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    } else if (GetParam() == Leave::Close) {
        hook.press(kKeyA);
        QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
    } else {
        QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    }
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), CPopDlg::kResultCancel);
    expectTargetUnchanged();
    EXPECT_FALSE(target.acceptance());
}

std::string leaveCaseName(const testing::TestParamInfo<Leave>& info) {
    static const char* const kWays[] = {"Cancel", "Close", "OkWithoutKey"};
    return kWays[static_cast<int>(info.param)];
}

INSTANTIATE_TEST_SUITE_P(EveryWayOut, LeavingWithoutKey,
                         testing::Values(Leave::Cancel, Leave::Close, Leave::OkWithoutKey),
                         leaveCaseName);

TEST_F(KeyCapture, ClosingLeavesAnotherSubscriberListening) {
    std::vector<int> heard;
    KeyboardSubscription recorder =
        hook.subscribe([&](const KeyEvent& event) { heard.push_back(event.virtualKey); });
    open();
    EXPECT_EQ(hook.subscriptionCount(), 2u);
    QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
    EXPECT_EQ(hook.subscriptionCount(), 1u);
    EXPECT_TRUE(hook.isListening());
    hook.press(kKeyA);
    EXPECT_EQ(heard, std::vector<int>{kKeyA});
    EXPECT_EQ(dialog.capturedKey(), -1);
}

TEST_F(KeyCapture, ClosingTheOnlySubscriberStopsTheHook) {
    open();
    EXPECT_TRUE(hook.isListening());
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_FALSE(hook.isListening());
}

TEST_F(KeyCapture, HookThatCannotStartIsReportedOnceAndThePopupStaysOpen) {
    hook.failToStart("no X server");
    open();
    QCoreApplication::processEvents();
    EXPECT_EQ(messages, std::vector<QString>{"set hook failed."});
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isCapturing());
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(KeyCapture, PopupWithoutAHookReportsTheFailure) {
    dialog.setKeyboardHook(nullptr);
    open();
    EXPECT_EQ(messages, std::vector<QString>{"set hook failed."});
    EXPECT_TRUE(dialog.isVisible());
}

}  // namespace
}  // namespace orvane
