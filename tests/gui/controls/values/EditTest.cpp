#include <gmock/gmock.h>

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QTest>
#include <QWheelEvent>

#include "RecordingSink.h"
#include "controls/CKivEdit.h"
#include "controls/CQOREdit.h"

namespace orvane {
namespace {

using test::RecordingSink;
using testing::Each;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Pair;
using testing::SizeIs;

constexpr int kId = 77;

struct EditFixture : testing::Test {
    EditFixture() {
        edit = new CKivEdit(&page, kId);
        edit->setGeometry(10, 10, 80, 20);
        page.show();
        edit->setFocus();
        page.heard.clear();
    }
    RecordingSink page;
    CKivEdit* edit = nullptr;
};

TEST_F(EditFixture, HexFilterDropsLettersBeyondFAndKeepsTheRest) {
    edit->setHexFilter(true);
    QTest::keyClicks(edit->lineEdit(), "0aF9gZ-x# z");
    EXPECT_EQ(edit->text(), "0aF9-# ");
}

TEST_F(EditFixture, EveryRealChangeNotifies102AndARefusedLetterNothing) {
    edit->setHexFilter(true);
    QTest::keyClicks(edit->lineEdit(), "ab");
    QTest::keyClick(edit->lineEdit(), Qt::Key_G);
    QTest::keyClick(edit->lineEdit(), Qt::Key_Backspace);
    edit->setText("12");
    EXPECT_EQ(edit->text(), "12");
    EXPECT_THAT(page.heard, SizeIs(4));
    EXPECT_THAT(page.heard, Each(Pair(kId, 102)));
}

TEST_F(EditFixture, PastedTextLosesOnlyTheRefusedLetters) {
    QGuiApplication::clipboard()->setText("#ff80zz; Hello 12");
    if (QGuiApplication::clipboard()->text() != "#ff80zz; Hello 12") {
        GTEST_SKIP() << "no clipboard on this platform";
    }
    edit->setHexFilter(true);
    edit->setText("A");
    edit->lineEdit()->end(false);
    edit->lineEdit()->paste();
    EXPECT_EQ(edit->text(), "A#ff80; e 12");
    EXPECT_EQ(edit->lineEdit()->cursorPosition(), edit->text().size());
}

TEST_F(EditFixture, WithoutTheFilterEveryLetterIsTyped) {
    QTest::keyClicks(edit->lineEdit(), "Zoom");
    EXPECT_EQ(edit->text(), "Zoom");
    edit->setHexFilter(true);
    edit->setHexFilter(false);
    QTest::keyClicks(edit->lineEdit(), "g");
    EXPECT_EQ(edit->text(), "Zoomg");
}

TEST_F(EditFixture, PlainLookIsABlackFieldInAGreyFrame) {
    const QImage shot = edit->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(150, 150, 150));
    EXPECT_EQ(shot.pixelColor(79, 19), QColor(150, 150, 150));
    EXPECT_EQ(shot.pixelColor(40, 10), QColor(Qt::black));
}

TEST_F(EditFixture, BackgroundPictureReplacesThePlainLook) {
    QImage picture(8, 4, QImage::Format_RGB32);
    picture.fill(QColor(10, 80, 200));
    edit->setBackground(picture);
    const QImage shot = edit->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(10, 80, 200));
    EXPECT_EQ(shot.pixelColor(70, 15), QColor(10, 80, 200));
}

TEST_F(EditFixture, TextIsWhiteAndTheSelectionSurvivesLosingTheFocus) {
    edit->setText("88888");
    edit->lineEdit()->selectAll();
    const QPalette colours = edit->lineEdit()->palette();
    EXPECT_EQ(colours.color(QPalette::Active, QPalette::Text), QColor(Qt::white));
    EXPECT_EQ(colours.color(QPalette::Inactive, QPalette::Highlight),
              colours.color(QPalette::Active, QPalette::Highlight));
    EXPECT_EQ(edit->font().pixelSize(), 14);
}

TEST_F(EditFixture, ChangedFontReachesTheTyping) {
    QFont larger = edit->font();
    larger.setPixelSize(16);
    edit->setFont(larger);
    EXPECT_EQ(edit->lineEdit()->font().pixelSize(), 16);
}

struct WheelEdit : testing::Test {
    WheelEdit() {
        edit = new CQOREdit(&page, kId);
        edit->setGeometry(0, 0, 46, 22);
        edit->setRange(50, 19000);
        edit->setWheelStep(50);
        page.heard.clear();
    }
    void turn(int notches, int deltaPerEvent = 120) {
        for (int i = 0; i < std::abs(notches) * 120 / deltaPerEvent; ++i) {
            const int delta = notches > 0 ? deltaPerEvent : -deltaPerEvent;
            QWheelEvent wheel(QPointF(5, 5), edit->mapToGlobal(QPointF(5, 5)), QPoint(),
                              QPoint(0, delta), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                              false);
            // Through the line editor inside, as a real wheel turn arrives.
            QApplication::sendEvent(edit->lineEdit(), &wheel);
        }
    }
    RecordingSink page;
    CQOREdit* edit = nullptr;
};

TEST_F(WheelEdit, NotchesStepTheValueAndStopAtTheMaximum) {
    edit->setText("18900");
    page.heard.clear();
    turn(1);
    EXPECT_EQ(edit->text(), "18950");
    turn(3);
    EXPECT_EQ(edit->text(), "19000");
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 102), Pair(kId, 102)));
}

TEST_F(WheelEdit, NotchesDownStopAtTheMinimum) {
    edit->setText("120");
    turn(-1);
    EXPECT_EQ(edit->text(), "70");
    turn(-1);
    EXPECT_EQ(edit->text(), "50");
}

TEST_F(WheelEdit, FractionsOfANotchAddUp) {
    edit->setText("400");
    turn(1, 40);
    EXPECT_EQ(edit->text(), "450");
}

TEST_F(WheelEdit, TextThatIsNoNumberCountsAsTheMinimum) {
    edit->setText("abc");
    turn(1);
    EXPECT_EQ(edit->text(), "100");
    edit->setText("");
    turn(-1);
    EXPECT_EQ(edit->text(), "50");
}

TEST_F(WheelEdit, HiddenTextKeepsItsValue) {
    edit->setText("800");
    edit->setTextHidden(true);
    EXPECT_EQ(edit->lineEdit()->displayText(), "");
    EXPECT_EQ(edit->text(), "800");
    EXPECT_EQ(edit->font().pixelSize(), 15);
}

TEST_F(WheelEdit, PlainLookIsAWhiteFieldInABlackFrame) {
    const QImage shot = edit->grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(23, 11), QColor(Qt::white));
}

}  // namespace
}  // namespace orvane
