#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <chrono>
#include <vector>

#include "DialogSkinFolder.h"
#include "controls/CKivButton.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "device/DeviceLink.h"
#include "pages/sensor/SurfaceAnalysisStarter.h"
#include "platform/FakeClock.h"
#include "skins/SkinLayout.h"
#include "support/CaseName.h"
#include "support/ScriptedHid.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
namespace popup = layout::popup;
using test::dialogSkin;

class PopupTest : public testing::Test {
  protected:
    void SetUp() override { ASSERT_EQ(dialogSkin().failures, 0); }
    void prepare(CPopDlg& dialog) {
        dialog.setPictureFolder(dialogSkin().path() + QLatin1Char('/'));
        dialog.setMessageBox([this](QWidget*, const QString& text) { messages.push_back(text); });
    }
    std::vector<QString> messages;
};

// How the user answers a question pop-up.
enum class Answer { OkButton, CancelButton, CloseButton, EnterKey, EscapeKey };

struct AnswerCase {
    int variant;
    Answer answer;
    int result;
};

void answer(CPopDlg& dialog, Answer how) {
    switch (how) {
        case Answer::OkButton:
            QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
            break;
        case Answer::CancelButton:
            QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
            break;
        case Answer::CloseButton:
            QTest::mouseClick(dialog.closeButton(), Qt::LeftButton);
            break;
        case Answer::EnterKey:
            QTest::keyClick(&dialog, Qt::Key_Return);
            break;
        case Answer::EscapeKey:
            QTest::keyClick(&dialog, Qt::Key_Escape);
            break;
    }
}

class QuestionAnswer : public PopupTest, public testing::WithParamInterface<AnswerCase> {};

TEST_P(QuestionAnswer, ClosesWithTheAnswersResult) {
    CPopDlg dialog(GetParam().variant);
    prepare(dialog);
    dialog.show();
    answer(dialog, GetParam().answer);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), GetParam().result);
}

std::string answerCaseName(const testing::TestParamInfo<AnswerCase>& info) {
    static const char* const kAnswers[] = {"OkButton", "CancelButton", "CloseButton", "EnterKey",
                                           "EscapeKey"};
    return test::caseName("Variant", info.param.variant,
                          kAnswers[static_cast<int>(info.param.answer)]);
}

INSTANTIATE_TEST_SUITE_P(
    SimpleQuestions, QuestionAnswer,
    testing::Values(AnswerCase{popup::kLeftClickWarn, Answer::OkButton, 1},
                    AnswerCase{popup::kDeleteMacro, Answer::EnterKey, 1},
                    AnswerCase{popup::kResetWarn, Answer::CancelButton, 2},
                    AnswerCase{popup::kUpdateWarn, Answer::CloseButton, 2},
                    AnswerCase{popup::kUpdateWarn, Answer::EscapeKey, 2},
                    AnswerCase{popup::kSurfaceAnalysisDone, Answer::EnterKey, 1},
                    AnswerCase{popup::kSurfaceAnalysisDone, Answer::CloseButton, 2},
                    AnswerCase{popup::kSurfaceAnalysisRun, Answer::CancelButton, 2},
                    AnswerCase{popup::kSurfaceAnalysisStart, Answer::EscapeKey, 2}),
    answerCaseName);

TEST_F(PopupTest, CountdownRunsFromTenToZeroCyclingThePicturesThenOpensTheResult) {
    CPopDlg dialog(popup::kSurfaceAnalysisRun);
    prepare(dialog);
    dialog.setCountdownTiming(40ms, 20ms);
    std::vector<int> opened;
    dialog.setChildRunner([&](CPopDlg& child) {
        opened.push_back(child.variant());
        EXPECT_EQ(child.parentWidget(), &dialog);
        return CPopDlg::kResultOk;
    });
    dialog.show();
    ASSERT_EQ(dialog.imageField()->pictures().size(), 3);
    EXPECT_EQ(dialog.imageField()->pictures()[1].image().pixel(5, 5),
              test::countdownPictureColour(1).rgb());
    EXPECT_EQ(dialog.imageField()->currentPicture(), 0);

    for (int n = 9; n >= 0; --n) {
        SCOPED_TRACE(n);
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return dialog.timeField()->text() == QString::number(n); }, 2000));
        // The count before this step was n + 1.
        EXPECT_EQ(dialog.imageField()->currentPicture(), (11 - (n + 1)) % 3);
        EXPECT_TRUE(opened.empty());
        EXPECT_EQ(dialog.okButton()->isEnabled(), n == 0);
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return !opened.empty(); }, 2000));
    EXPECT_EQ(opened, std::vector<int>{popup::kSurfaceAnalysisDone});
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), CPopDlg::kResultOk);
}

TEST_F(PopupTest, EnterDoesNotCutTheCountdownShort) {
    CPopDlg dialog(popup::kSurfaceAnalysisRun);
    prepare(dialog);
    dialog.setCountdownTiming(1h, 1h);
    int opened = 0;
    dialog.setChildRunner([&](CPopDlg&) { return ++opened; });
    dialog.show();
    QTest::keyClick(&dialog, Qt::Key_Return);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(PopupTest, CancelInTheFinalPauseDoesNotOpenTheResult) {
    CPopDlg dialog(popup::kSurfaceAnalysisRun);
    prepare(dialog);
    // A final pause long enough for a slow (sanitized, loaded) run to see
    // the "0" before the pause ends.
    dialog.setCountdownTiming(1ms, 1000ms);
    int opened = 0;
    dialog.setChildRunner([&](CPopDlg&) { return ++opened; });
    dialog.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dialog.timeField()->text() == "0"; }, 5000));
    QTest::mouseClick(dialog.cancelButton(), Qt::LeftButton);
    QTest::qWait(1200);
    EXPECT_EQ(opened, 0);
    EXPECT_EQ(dialog.result(), CPopDlg::kResultCancel);
}

// The whole analysis as the sensor page runs it: the question, the
// countdown that opens the result by itself, and the result pop-up.
struct ChainCase {
    const char* name;
    bool closeResult;
    int expected;
};

class AnalysisChain : public PopupTest, public testing::WithParamInterface<ChainCase> {};

TEST_P(AnalysisChain, EveryPopupClosesWithTheResultPopupsAnswer) {
    CPopDlg question(popup::kSurfaceAnalysisStart);
    prepare(question);
    question.setCountdownTiming(1ms, 1ms);
    int starts = 0;
    question.setAnalysisStarter([&] {
        ++starts;
        return true;
    });
    std::vector<int> opened;
    std::vector<int> results;
    std::vector<QWidget*> parents;
    question.setChildRunner([&](CPopDlg& child) {
        opened.push_back(child.variant());
        parents.push_back(child.parentWidget());
        if (child.variant() == popup::kSurfaceAnalysisDone) {
            CKivButton* button = GetParam().closeResult ? child.closeButton() : child.okButton();
            QTimer::singleShot(0, button, [button] { QTest::mouseClick(button, Qt::LeftButton); });
        }
        const int result = child.exec();
        results.push_back(result);
        return result;
    });
    question.show();
    QTest::mouseClick(question.okButton(), Qt::LeftButton);

    EXPECT_EQ(starts, 1);
    ASSERT_EQ(opened, (std::vector<int>{popup::kSurfaceAnalysisRun, popup::kSurfaceAnalysisDone}));
    EXPECT_EQ(parents[0], &question);
    // The result pop-up comes first: it closes inside the countdown's OK.
    EXPECT_EQ(results, (std::vector<int>{GetParam().expected, GetParam().expected}));
    EXPECT_EQ(question.result(), GetParam().expected);
    EXPECT_FALSE(question.isVisible());
    EXPECT_TRUE(messages.empty());
}

INSTANTIATE_TEST_SUITE_P(ResultPopup, AnalysisChain,
                         testing::Values(ChainCase{"Ok", false, 1}, ChainCase{"Close", true, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopupTest, QuestionWithoutMouseSaysSoAndStaysOpen) {
    CPopDlg question(popup::kSurfaceAnalysisStart);
    prepare(question);
    question.setAnalysisStarter([] { return false; });
    int opened = 0;
    question.setChildRunner([&](CPopDlg&) { return ++opened; });
    question.show();
    QTest::mouseClick(question.okButton(), Qt::LeftButton);
    EXPECT_EQ(messages, std::vector<QString>{"ORVANE Pro mouse not found !"});
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(question.isVisible());
}

TEST_F(PopupTest, QuestionOnALinkWithoutMouseLeavesItDisconnected) {
    test::ScriptedHidBus bus;
    FakeClock clock;
    DeviceLink link(bus, clock);
    CPopDlg question(popup::kSurfaceAnalysisStart);
    prepare(question);
    question.setAnalysisStarter(surfaceAnalysisStarter(link));
    int opened = 0;
    question.setChildRunner([&](CPopDlg&) { return ++opened; });
    question.show();
    QTest::keyClick(&question, Qt::Key_Return);
    EXPECT_EQ(messages, std::vector<QString>{"ORVANE Pro mouse not found !"});
    EXPECT_FALSE(link.connected());
    EXPECT_EQ(opened, 0);
    EXPECT_TRUE(question.isVisible());
}

}  // namespace
}  // namespace orvane
