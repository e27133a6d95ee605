// Push button, check box, text field and image dialog, driven through the
// platform's event path as a user would drive them.
#define QTEST_QPA_MOUSE_HANDLING
#include <gmock/gmock.h>

#include <QTest>

#include "RecordingSink.h"
#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivImageDialog.h"
#include "controls/CKivStatic.h"

namespace orvane {
namespace {

using test::Heard;
using test::kClick;
using test::moveOnto;
using test::RecordingSink;
using testing::ElementsAre;

const QColor kNormalFill(10, 10, 60);
const QColor kOverFill(10, 60, 10);
const QColor kDownFill(60, 10, 10);
const QColor kDisabledFill(40, 40, 40);
const QColor kGrey(120, 120, 120);
const QColor kAccent(50, 235, 165);
const QColor kWhite(255, 255, 255);
const QColor kPlainCaption(210, 210, 210);

QImage filled(const QColor& color, QSize size = {120, 30}) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

// The colour of the pixel that differs most from the picture under it: with a
// caption of full strokes that is a pixel wholly inside a stroke.
QColor strongestInk(const QImage& image, const QColor& background) {
    QColor best = background;
    int bestDistance = -1;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            const int distance = std::abs(c.red() - background.red()) +
                                 std::abs(c.green() - background.green()) +
                                 std::abs(c.blue() - background.blue());
            if (distance > bestDistance) {
                bestDistance = distance;
                best = c;
            }
        }
    }
    return best;
}

bool near(const QColor& a, const QColor& b, int tolerance = 12) {
    return std::abs(a.red() - b.red()) <= tolerance &&
           std::abs(a.green() - b.green()) <= tolerance &&
           std::abs(a.blue() - b.blue()) <= tolerance;
}

std::string describe(const QColor& c) {
    return "(" + std::to_string(c.red()) + "," + std::to_string(c.green()) + "," +
           std::to_string(c.blue()) + ")";
}

class ButtonFixture : public testing::Test {
  protected:
    void SetUp() override {
        page.move(50, 50);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
    }

    // The far right of the button, where a left-aligned caption never reaches.
    static QColor pictureColour(QWidget& widget) {
        return widget.grab().toImage().pixelColor(widget.width() - 3, 2);
    }

    RecordingSink page;
};

// ---- which picture and which caption colour ----

struct LookCase {
    const char* name;
    bool enabled;
    bool latched;
    bool hovered;
    bool withDisabledPicture;
    QColor picture;
    QColor caption;
};

class ButtonLook : public ButtonFixture, public testing::WithParamInterface<LookCase> {};

TEST_P(ButtonLook, DrawsThePictureAndCaptionColourOfItsState) {
    const LookCase& c = GetParam();
    CKivButton button(&page, 7);
    button.setGeometry(10, 10, 120, 30);
    button.setImages(filled(kNormalFill), filled(kOverFill), filled(kDownFill),
                     c.withDisabledPicture ? filled(kDisabledFill) : QImage());
    button.setCaption(QStringLiteral("HHHH"));
    button.show();
    button.setLatched(c.latched);
    if (c.hovered) {
        moveOnto(&button, QPoint(100, 15));
        ASSERT_TRUE(button.isHovered());
    }
    button.setEnabled(c.enabled);

    EXPECT_EQ(pictureColour(button), c.picture);
    const QColor ink = strongestInk(button.grab().toImage(), c.picture);
    EXPECT_TRUE(near(ink, c.caption)) << "caption drawn in " << describe(ink);
}

INSTANTIATE_TEST_SUITE_P(
    CKivButton, ButtonLook,
    testing::Values(LookCase{"Idle", true, false, false, true, kNormalFill, kPlainCaption},
                    LookCase{"Hovered", true, false, true, true, kOverFill, kWhite},
                    LookCase{"LatchedIdle", true, true, false, true, kDownFill, kAccent},
                    LookCase{"LatchedKeepsDownPictureAndAccentUnderPointer", true, true, true, true,
                             kDownFill, kAccent},
                    LookCase{"LatchedDisabledDrawsDisabledPictureAndGreyCaption", false, true,
                             false, true, kDisabledFill, kGrey},
                    LookCase{"DisabledWithoutDisabledPictureFallsBackToLatchedLook", false, true,
                             false, false, kDownFill, kGrey}),
    [](const testing::TestParamInfo<LookCase>& info) { return std::string(info.param.name); });

using CKivButtonMouse = ButtonFixture;

TEST_F(CKivButtonMouse, PressAndReleaseOverTheButtonClicksOnce) {
    CKivButton button(&page, 7);
    button.setGeometry(10, 10, 120, 30);
    button.show();
    moveOnto(&button, QPoint(20, 15));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 15));
    EXPECT_EQ(button.state(), KivButtonBase::Down);
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(22, 16));

    EXPECT_EQ(page.count({7, kClick}), 1);
    EXPECT_EQ(button.state(), KivButtonBase::Normal);
}

TEST_F(CKivButtonMouse, ReleaseAfterDraggingOutsideDoesNotClick) {
    CKivButton button(&page, 7);
    button.setGeometry(10, 10, 120, 30);
    button.show();
    moveOnto(&button, QPoint(20, 15));
    QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(20, 15));
    QTest::mouseMove(&button, QPoint(200, 150));
    QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(200, 150));

    EXPECT_EQ(page.count({7, kClick}), 0);
    EXPECT_EQ(button.state(), KivButtonBase::Normal);
}

TEST_F(CKivButtonMouse, SendsTheHoverNotificationOnceEachTimeThePointerEnters) {
    CKivButton button(&page, 7);
    button.setGeometry(10, 10, 120, 30);
    button.show();
    QTest::mouseMove(&page, QPoint(300, 200));
    QTest::mouseMove(&button, QPoint(20, 15));
    QTest::mouseMove(&button, QPoint(40, 15));
    QTest::mouseMove(&button, QPoint(60, 20));
    EXPECT_THAT(page.heard, ElementsAre(Heard{7, 0}));

    QTest::mouseMove(&page, QPoint(300, 200));
    EXPECT_FALSE(button.isHovered());
    QTest::mouseMove(&button, QPoint(20, 15));
    EXPECT_THAT(page.heard, ElementsAre(Heard{7, 0}, Heard{7, 0}));
}

// ---- check box ----

using CKivCheckBoxTest = ButtonFixture;

TEST_F(CKivCheckBoxTest, TogglesBeforeTheOwnerHearsTheClick) {
    CKivCheckBox box(&page, 12);
    box.setGeometry(10, 10, 20, 20);
    box.show();
    std::vector<bool> seenByOwner;
    page.onClicked = [&](int) { seenByOwner.push_back(box.isTicked()); };

    moveOnto(&box, QPoint(5, 5));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseClick(&box, Qt::LeftButton, {}, QPoint(5, 5));

    EXPECT_THAT(seenByOwner, ElementsAre(true, false));
    EXPECT_FALSE(box.isTicked());
}

TEST_F(CKivCheckBoxTest, ShowsTheTickedPictureWhilePressedAndStaysUntickedAfterDragOut) {
    CKivCheckBox box(&page, 12);
    box.setGeometry(10, 10, 20, 20);
    box.setImages(filled(kNormalFill, {20, 20}), filled(kOverFill, {20, 20}),
                  filled(kDownFill, {20, 20}), filled(kDisabledFill, {20, 20}));
    box.show();
    moveOnto(&box, QPoint(5, 5));
    EXPECT_EQ(pictureColour(box), kOverFill);
    QTest::mousePress(&box, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(pictureColour(box), kDownFill);
    QTest::mouseMove(&box, QPoint(150, 150));
    QTest::mouseRelease(&box, Qt::LeftButton, {}, QPoint(150, 150));

    EXPECT_FALSE(box.isTicked());
    EXPECT_EQ(page.count({12, kClick}), 0);
    EXPECT_EQ(pictureColour(box), kNormalFill);
    box.setEnabled(false);
    EXPECT_EQ(pictureColour(box), kDisabledFill);
}

// ---- text field ----

using CKivStaticTest = ButtonFixture;

TEST_F(CKivStaticTest, SetTextReplacesTheFirstTextAndShowsIt) {
    CKivStatic field(&page, 3);
    field.setText(QStringLiteral("10"));
    EXPECT_EQ(field.texts(), QStringList{QStringLiteral("10")});

    field.addText(QStringLiteral("9"));
    field.setCurrentText(1);
    EXPECT_EQ(field.text(), QStringLiteral("9"));
    field.setText(QStringLiteral("8"));

    EXPECT_EQ(field.texts(), (QStringList{QStringLiteral("8"), QStringLiteral("9")}));
    EXPECT_EQ(field.text(), QStringLiteral("8"));
    field.setCurrentText(5);
    EXPECT_TRUE(field.text().isEmpty());
}

TEST_F(CKivStaticTest, DrawsTheCurrentPictureOverItsFillAndReportsDoubleClicks) {
    CKivStatic field(&page, 3);
    field.setGeometry(10, 10, 40, 20);
    field.show();
    field.setBackgroundFill(kNormalFill);
    EXPECT_EQ(pictureColour(field), kNormalFill);
    field.setPictures({filled(kOverFill, {40, 20}), filled(kDownFill, {40, 20})});
    field.setCurrentPicture(1);
    EXPECT_EQ(pictureColour(field), kDownFill);
    field.setCurrentPicture(2);
    EXPECT_EQ(pictureColour(field), kNormalFill);

    QTest::mouseDClick(&field, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(page.count({3, 1}), 1);
}

// ---- image dialog ----

TEST(CKivImageDialog, TakesTheSizeOfItsBackgroundAndKeepsItsCorner) {
    CKivImageDialog dialog;
    dialog.setGeometry(120, 80, 50, 50);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint corner = dialog.pos();
    dialog.setBackground(filled(kOverFill, {410, 200}));

    EXPECT_EQ(dialog.size(), QSize(410, 200));
    EXPECT_EQ(dialog.pos(), corner);
    EXPECT_EQ(dialog.grab().toImage().pixelColor(405, 195), kOverFill);

    dialog.setBackground(QImage());
    EXPECT_EQ(dialog.size(), QSize(410, 200));

    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
}

TEST(CKivImageDialog, WorksAsAPageInsideAnotherWindowAndPassesMenuReportsUp) {
    RecordingSink window;
    CKivImageDialog page(&window, Qt::Widget);
    page.move(0, 88);
    page.setBackground(filled(kDownFill, {200, 100}));
    EXPECT_FALSE(page.isWindow());
    EXPECT_EQ(page.geometry(), QRect(0, 88, 200, 100));

    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QTest::keyClick(&page, Qt::Key_Escape);
    EXPECT_TRUE(page.isVisible());

    page.controlNotified(kMenuVisibilityId, 1);
    page.controlNotified(44, 5);
    EXPECT_THAT(window.heard, ElementsAre(Heard{kMenuVisibilityId, 1}));
}

}  // namespace
}  // namespace orvane
