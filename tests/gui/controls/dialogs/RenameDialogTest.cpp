#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTest>

#include "DialogSkinFolder.h"
#include "controls/CKivButton.h"
#include "controls/CKivEdit.h"
#include "controls/CRenameDlg.h"
#include "skins/SkinLayout.h"

namespace orvane {
namespace {

namespace rename = layout::rename;
using test::dialogPixel;
using test::dialogSkin;
using test::sheetIndexOf;

class RenameDialog : public testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(skin.failures, 0);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
    }
    QLineEdit* editor() const { return dialog.nameField()->lineEdit(); }
    // The field is cut back by its own timer; waits for that, not for a time.
    bool fieldBecomes(const QString& text) {
        return QTest::qWaitFor([&] { return dialog.nameField()->text() == text; }, 2000);
    }

    // First: the dialog below takes its pictures from the skin when it is made.
    test::DialogSkinFolder& skin = dialogSkin();
    CRenameDlg dialog{3};
};

TEST_F(RenameDialog, TypedNameIsCutToSevenCharactersWithTheCaretAtTheEnd) {
    EXPECT_EQ(QApplication::focusWidget(), editor());
    QTest::keyClicks(editor(), QStringLiteral("ProfileNumber1"));
    ASSERT_TRUE(fieldBecomes(QStringLiteral("Profile")));
    EXPECT_EQ(editor()->cursorPosition(), 7);
    QTest::mouseClick(dialog.okButton(), Qt::LeftButton);
    EXPECT_EQ(dialog.result(), CRenameDlg::kResultOk);
    EXPECT_EQ(dialog.name(), QStringLiteral("Profile"));
}

TEST_F(RenameDialog, OkBeforeTheFieldIsCutKeepsFifteenCharacters) {
    dialog.nameField()->setText(QStringLiteral("ABCDEFGHIJKLMNOPQRS"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(dialog.result(), CRenameDlg::kResultOk);
    EXPECT_EQ(dialog.name(), QStringLiteral("ABCDEFGHIJKLMNO"));
}

TEST_F(RenameDialog, EmptyNameIsAcceptedAsItComes) {
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), CRenameDlg::kResultOk);
    EXPECT_TRUE(dialog.name().isEmpty());
}

TEST_F(RenameDialog, EscapeCancelAndCloseGiveTwoAndNoName) {
    QTest::keyClicks(editor(), QStringLiteral("Work"));
    QTest::keyClick(editor(), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), CRenameDlg::kResultCancel);
    EXPECT_TRUE(dialog.name().isEmpty());
    EXPECT_FALSE(dialog.isVisible());

    for (bool close : {false, true}) {
        CRenameDlg other(1, nullptr, QStringLiteral("Old"));
        other.show();
        QTest::mouseClick(close ? other.closeButton() : other.cancelButton(), Qt::LeftButton);
        EXPECT_EQ(other.result(), CRenameDlg::kResultCancel);
        EXPECT_TRUE(other.name().isEmpty());
    }
}

TEST_F(RenameDialog, PressOutsideTheFieldTakesItsFocus) {
    ASSERT_TRUE(editor()->hasFocus());
    QTest::mouseClick(&dialog, Qt::LeftButton, {}, QPoint(30, 120));
    EXPECT_FALSE(editor()->hasFocus());
    QTest::mouseClick(dialog.nameField(), Qt::LeftButton);
    EXPECT_TRUE(editor()->hasFocus());
}

TEST_F(RenameDialog, ControlsSitOnTheirPiecesOfTheSheet) {
    const int normal = sheetIndexOf("ReName_Normal.bmp");
    EXPECT_EQ(dialog.size(), QSize(rename::kSize.w, rename::kSize.h));
    EXPECT_EQ(dialog.background().pixel(2, 3), dialogPixel(normal, 2, 3));
    const auto& f = rename::kNameField;
    EXPECT_EQ(dialog.nameField()->geometry(), QRect(f.x, f.y, f.w, f.h));
    EXPECT_EQ(dialog.nameField()->background().size(), QSize(f.w, f.h));
    EXPECT_EQ(dialog.nameField()->background().pixel(4, 5), dialogPixel(normal, f.x + 4, f.y + 5));
    const struct {
        CKivButton* button;
        layout::Rect rect;
    } buttons[] = {{dialog.okButton(), rename::kOkButton},
                   {dialog.cancelButton(), rename::kCancelButton},
                   {dialog.closeButton(), rename::kCloseButton}};
    for (const auto& [button, r] : buttons) {
        EXPECT_EQ(button->geometry(), QRect(r.x, r.y, r.w, r.h));
        EXPECT_EQ(button->normalImage().pixel(0, 0), dialogPixel(normal, r.x, r.y));
        EXPECT_EQ(button->overImage().pixel(0, 0),
                  dialogPixel(sheetIndexOf("ReName_Over.bmp"), r.x, r.y));
    }
    EXPECT_EQ(dialog.slot(), 3);
}

TEST_F(RenameDialog, InitialNameIsOfferedForEditing) {
    CRenameDlg other(2, nullptr, QStringLiteral("Game"));
    EXPECT_EQ(other.nameField()->text(), QStringLiteral("Game"));
    other.show();
    QTest::keyClick(other.nameField()->lineEdit(), Qt::Key_Enter);
    EXPECT_EQ(other.name(), QStringLiteral("Game"));
}

}  // namespace
}  // namespace orvane
