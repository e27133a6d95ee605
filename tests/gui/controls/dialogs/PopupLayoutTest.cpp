#include <gtest/gtest.h>

#include <QWidget>
#include <string>

#include "DialogSkinFolder.h"
#include "controls/CKivButton.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "skins/SkinLayout.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

namespace popup = layout::popup;
using test::dialogPixel;
using test::dialogSkin;
using test::sheetIndexOf;

struct VariantCase {
    int variant;
    const char* skinSet;
    bool showsTime;
    bool showsImage;
};

void PrintTo(const VariantCase& c, std::ostream* out) {
    *out << c.variant << " " << c.skinSet;
}

class PopupVariant : public testing::TestWithParam<VariantCase> {
  protected:
    void SetUp() override { ASSERT_EQ(dialogSkin().failures, 0); }
    int sheet(const char* state) const {
        return sheetIndexOf(std::string(GetParam().skinSet) + "_" + state + ".bmp");
    }
};

TEST_P(PopupVariant, BackgroundIsItsOwnNormalSheet) {
    CPopDlg dialog(GetParam().variant);
    EXPECT_EQ(dialog.size(), QSize(popup::kSize.w, popup::kSize.h));
    EXPECT_EQ(dialog.background().pixel(7, 9), dialogPixel(sheet("Normal"), 7, 9));
    EXPECT_EQ(dialogSkin().failures, 0);
}

TEST_P(PopupVariant, ButtonsSitAtTheirRectanglesWithTheirOwnFaces) {
    CPopDlg dialog(GetParam().variant);
    const popup::PopupButtons rects = popup::popupButtons(GetParam().variant);
    struct Placed {
        CKivButton* button;
        layout::Rect rect;
    };
    std::vector<Placed> shown = {{dialog.okButton(), rects.ok},
                                 {dialog.closeButton(), rects.close}};
    if (rects.hasCancel) {
        shown.push_back({dialog.cancelButton(), rects.cancel});
    }
    for (const Placed& placed : shown) {
        SCOPED_TRACE(placed.button->controlId());
        const layout::Rect& r = placed.rect;
        EXPECT_FALSE(placed.button->isHidden());
        EXPECT_EQ(placed.button->geometry(), QRect(r.x, r.y, r.w, r.h));
        EXPECT_EQ(placed.button->normalImage().pixel(0, 0), dialogPixel(sheet("Normal"), r.x, r.y));
        EXPECT_EQ(placed.button->overImage().pixel(0, 0), dialogPixel(sheet("Over"), r.x, r.y));
        EXPECT_EQ(placed.button->downImage().pixel(1, 1),
                  dialogPixel(sheet("Down"), r.x + 1, r.y + 1));
    }
    EXPECT_EQ(dialog.cancelButton()->isHidden(), !rects.hasCancel);
    EXPECT_EQ(dialogSkin().failures, 0);
}

TEST_P(PopupVariant, ShowsOnlyItsOwnFields) {
    CPopDlg dialog(GetParam().variant);
    EXPECT_EQ(!dialog.timeField()->isHidden(), GetParam().showsTime);
    EXPECT_EQ(!dialog.imageField()->isHidden(), GetParam().showsImage);
}

INSTANTIATE_TEST_SUITE_P(
    EveryVariant, PopupVariant,
    testing::Values(VariantCase{popup::kLeftClickWarn, "LeftClickWarn", false, false},
                    VariantCase{popup::kDeleteMacro, "DeleteMacro", false, false},
                    VariantCase{popup::kSurfaceAnalysisStart, "SensorSQAT1", false, false},
                    VariantCase{popup::kSurfaceAnalysisRun, "SensorSQAT2", true, true},
                    VariantCase{popup::kSurfaceAnalysisDone, "SensorSQAT3", false, false},
                    VariantCase{popup::kResetWarn, "ResetWarn", false, false},
                    VariantCase{popup::kUpdateWarn, "UpdateWarn", false, false},
                    VariantCase{popup::kAssignKey, "AssignKey", true, false}),
    [](const testing::TestParamInfo<VariantCase>& info) {
        return test::caseName(info.param.skinSet);
    });

TEST(PopupFields, CountdownAndKeyNameFieldsSitAtTheirRectangles) {
    ASSERT_EQ(dialogSkin().failures, 0);
    CPopDlg countdown(popup::kSurfaceAnalysisRun);
    const auto& t = popup::kAnalysisTimeField;
    const auto& i = popup::kImageField;
    EXPECT_EQ(countdown.timeField()->geometry(), QRect(t.x, t.y, t.w, t.h));
    EXPECT_EQ(countdown.timeField()->text(), QStringLiteral("10"));
    EXPECT_EQ(countdown.imageField()->geometry(), QRect(i.x, i.y, i.w, i.h));

    CPopDlg assign(popup::kAssignKey);
    const auto& k = popup::kAssignKeyTimeField;
    EXPECT_EQ(assign.timeField()->geometry(), QRect(k.x, k.y, k.w, k.h));
    EXPECT_EQ(assign.timeField()->textFont().pixelSize(), 14);
    EXPECT_TRUE(assign.timeField()->text().isEmpty());
}

TEST(PopupFields, DisabledCountdownOkLooksGreyedNotLikeItsResting) {
    ASSERT_EQ(dialogSkin().failures, 0);
    CPopDlg dialog(popup::kSurfaceAnalysisRun);
    CKivButton* ok = dialog.okButton();
    EXPECT_FALSE(ok->isEnabled());
    ASSERT_FALSE(ok->disabledImage().isNull());
    EXPECT_EQ(ok->currentImage(), &ok->disabledImage());
    const QRgb grey = ok->disabledImage().pixel(3, 3);
    EXPECT_EQ(qRed(grey), qGreen(grey));
    EXPECT_EQ(qGreen(grey), qBlue(grey));
}

TEST(PopupPlacement, OpensFramelessModalAndCentredOnItsParent) {
    ASSERT_EQ(dialogSkin().failures, 0);
    QWidget parent;
    // Small enough to lie on the offscreen screen, which Qt keeps the dialog on.
    parent.setGeometry(60, 40, 600, 400);
    parent.show();
    CPopDlg dialog(popup::kResetWarn, &parent);
    dialog.show();
    EXPECT_TRUE(dialog.isModal());
    EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_LE((dialog.geometry().center() - parent.geometry().center()).manhattanLength(), 2);
}

}  // namespace
}  // namespace orvane
