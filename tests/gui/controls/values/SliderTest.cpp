#include <gmock/gmock.h>

#include <QApplication>
#include <QMouseEvent>
#include <QTest>

#include "RecordingSink.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CKivSliderCtrlVer.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

using test::RecordingSink;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Pair;

constexpr int kId = 41;
constexpr int kThumbWidth = 20;

QImage solid(int w, int h, QColor colour) {
    QImage picture(w, h, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture;
}

// A slider whose free length equals its span, so that one pixel is one unit
// and the pointer for a raw value is easy to name.
struct SliderFixture : testing::Test {
    CKivSliderCtrl3D* make(int minimum, int maximum, int step, int thumbs = 1) {
        auto* slider = new CKivSliderCtrl3D(&page, kId);
        CKivSliderCtrl3D::Images images;
        images.thumb = solid(kThumbWidth, 20, Qt::white);
        slider->setImages(images);
        slider->setGeometry(0, 0, kThumbWidth + (maximum - minimum), 24);
        slider->setRange(minimum, maximum);
        slider->setStep(step);
        slider->setThumbCount(thumbs);
        page.heard.clear();
        return slider;
    }

    static QPoint pointerForRaw(const CKivSliderCtrl3D& slider, int raw) {
        return QPoint(kThumbWidth / 2 + (raw - slider.minimum()), 12);
    }

    RecordingSink page;
};

struct SnapCase {
    int minimum;
    int maximum;
    int step;
    int raw;
    int reported;
};

struct SliderSnapping : SliderFixture, testing::WithParamInterface<SnapCase> {};

TEST_P(SliderSnapping, DraggedThumbSnapsToMultiplesOfTheStepCountedFromZero) {
    const SnapCase c = GetParam();
    CKivSliderCtrl3D* slider = make(c.minimum, c.maximum, c.step);
    slider->setValue(c.maximum);
    page.heard.clear();

    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(kThumbWidth / 2 + 3, 12));
    QTest::mouseMove(slider, pointerForRaw(*slider, c.raw));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, pointerForRaw(*slider, c.raw));

    EXPECT_EQ(slider->value(), c.reported);
    ASSERT_FALSE(page.heard.empty());
    EXPECT_EQ(page.heard.back(), std::make_pair(kId, c.reported + 65536));
}

INSTANTIATE_TEST_SUITE_P(
    Table, SliderSnapping,
    testing::Values(SnapCase{200, 1400, 200, 730, 800},  // remainder 130 > 100: up
                    SnapCase{200, 1400, 200, 690, 600},  // remainder 90: down
                    SnapCase{200, 1400, 200, 700, 600},  // exactly half: down
                    SnapCase{1, 101, 2, 2, 2},           // multiples of 2 from 0, not from 1
                    SnapCase{1, 101, 2, 1, 1},           // the multiple below would leave the range
                    SnapCase{0, 11, 4, 11, 11},          // so would the one above
                    SnapCase{50, 19000, 50, 1274, 1250}, SnapCase{50, 19000, 50, 1276, 1300}),
    [](const testing::TestParamInfo<SnapCase>& info) {
        const SnapCase& c = info.param;
        return test::caseName("From", c.minimum, "To", c.maximum, "Step", c.step, "Raw", c.raw);
    });

TEST_F(SliderFixture, FirstThumbAt800ArrivesAs66336) {
    CKivSliderCtrl3D* slider = make(200, 1400, 200);
    QTest::mousePress(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 800));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 800));
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 66336)));
}

TEST_F(SliderFixture, PressTakesTheNearestThumbAndReportsItsNumber) {
    CKivSliderCtrl3D* slider = make(0, 1000, 1, 3);
    slider->setThumbValue(1, 100);
    slider->setThumbValue(2, 500);
    slider->setThumbValue(3, 900);
    page.heard.clear();

    QTest::mousePress(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 620));
    QTest::mouseMove(slider, pointerForRaw(*slider, 640));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 640));

    EXPECT_EQ(slider->thumbValue(1), 100);
    EXPECT_EQ(slider->thumbValue(2), 640);
    EXPECT_EQ(slider->thumbValue(3), 900);
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 620 + 2 * 65536), Pair(kId, 640 + 2 * 65536)));
}

TEST_F(SliderFixture, DraggingWithoutAChangeStaysSilent) {
    CKivSliderCtrl3D* slider = make(0, 100, 10);
    slider->setValue(50);
    page.heard.clear();
    QTest::mousePress(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 52));
    QTest::mouseMove(slider, pointerForRaw(*slider, 48));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 48));
    EXPECT_THAT(page.heard, IsEmpty());
}

TEST_F(SliderFixture, DisabledSliderIgnoresTheMouse) {
    CKivSliderCtrl3D* slider = make(1, 3, 1);
    slider->setEnabled(false);
    EXPECT_EQ(slider->state(), CKivSliderCtrl3D::Disabled);

    QTest::mousePress(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 3));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, pointerForRaw(*slider, 3));

    EXPECT_EQ(slider->value(), 1);
    EXPECT_THAT(page.heard, IsEmpty());
    slider->setEnabled(true);
    EXPECT_EQ(slider->state(), CKivSliderCtrl3D::Normal);
}

TEST_F(SliderFixture, SettingAValueClampsWithoutSnapping) {
    CKivSliderCtrl3D* slider = make(200, 1400, 200);
    slider->setValue(730);
    slider->setValue(5000);
    slider->setValue(5000);
    slider->setThumbValue(2, 9999);
    EXPECT_EQ(slider->value(), 1400);
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 730 + 65536), Pair(kId, 1400 + 65536),
                                        Pair(kId, 1400 + 2 * 65536)));
}

TEST_F(SliderFixture, SliderWithoutFreeLengthGivesTheMinimum) {
    CKivSliderCtrl3D* slider = make(5, 9, 0);
    slider->setGeometry(0, 0, kThumbWidth, 24);
    slider->setValue(7);
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(kThumbWidth - 1, 12));
    EXPECT_EQ(slider->value(), 5);
}

TEST_F(SliderFixture, ThumbIsDrawnWhereItsValueLies) {
    CKivSliderCtrl3D* slider = make(0, 100, 1);
    slider->setValue(40);
    const QImage shot = slider->grab().toImage();
    EXPECT_EQ(shot.pixelColor(40, 12), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(40 + kThumbWidth - 1, 12), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(40 + kThumbWidth, 12), QColor(Qt::white));
    EXPECT_NE(shot.pixelColor(39, 12), QColor(Qt::white));
}

TEST_F(SliderFixture, HoveredThumbShowsItsOwnOverPicture) {
    CKivSliderCtrl3D* slider = make(0, 100, 1, 2);
    slider->setThumbValue(1, 0);
    slider->setThumbValue(2, 80);
    slider->setThumbOverImage(2, solid(kThumbWidth, 20, Qt::blue));
    QMouseEvent hover(QEvent::MouseMove, QPointF(pointerForRaw(*slider, 78)),
                      slider->mapToGlobal(QPointF(pointerForRaw(*slider, 78))), Qt::NoButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(slider, &hover);
    EXPECT_EQ(slider->state(), CKivSliderCtrl3D::Over);
    const QImage shot = slider->grab().toImage();
    EXPECT_EQ(shot.pixelColor(85, 12), QColor(Qt::blue));
    EXPECT_EQ(shot.pixelColor(5, 12), QColor(Qt::white)) << "the other thumb stays normal";
}

TEST_F(SliderFixture, DisabledSliderDrawsItsDisabledPictures) {
    CKivSliderCtrl3D* slider = make(0, 100, 1);
    CKivSliderCtrl3D::Images images;
    images.track = solid(4, 4, Qt::darkGreen);
    images.thumb = solid(kThumbWidth, 20, Qt::white);
    images.trackDisabled = solid(4, 4, Qt::gray);
    images.thumbDisabled = solid(kThumbWidth, 20, Qt::darkGray);
    slider->setImages(images);
    slider->setEnabled(false);
    const QImage shot = slider->grab().toImage();
    EXPECT_EQ(shot.pixelColor(5, 12), QColor(Qt::darkGray));
    EXPECT_EQ(shot.pixelColor(90, 12), QColor(Qt::gray));
}

// The vertical colour slider: a strip of red above green above near-white.
struct VerticalSlider : testing::Test {
    VerticalSlider() {
        slider = new CKivSliderCtrlVer(&page, kId);
        QImage strip(10, 300, QImage::Format_RGB32);
        for (int y = 0; y < 300; ++y) {
            const QColor c = y < 100   ? QColor(255, 0, 0)
                             : y < 200 ? QColor(0, 255, 0)
                                       : QColor(220, 230, 240);
            for (int x = 0; x < 10; ++x) {
                strip.setPixelColor(x, y, c);
            }
        }
        CKivSliderCtrlVer::Images images;
        images.track = strip;
        images.thumb = solid(20, 10, Qt::black);
        slider->setImages(images);
        slider->setGeometry(0, 0, 20, 310);
        slider->setRange(0, 300);
        page.heard.clear();
    }
    RecordingSink page;
    CKivSliderCtrlVer* slider = nullptr;
};

TEST_F(VerticalSlider, ValueGrowsDownwardsAndKeepsTheColourUnderThePointer) {
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(10, 55));
    EXPECT_EQ(slider->value(), 50);
    EXPECT_EQ(slider->currentColor(), QColor(255, 0, 0));
    QTest::mouseMove(slider, QPoint(10, 155));
    EXPECT_EQ(slider->value(), 150);
    EXPECT_EQ(slider->currentColor(), QColor(0, 255, 0));
    QTest::mouseMove(slider, QPoint(10, 255));
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(10, 255));
    EXPECT_EQ(slider->value(), 250);
    EXPECT_EQ(slider->currentColor(), QColor(0, 255, 0)) << "too light a colour is not kept";
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 50), Pair(kId, 150), Pair(kId, 250)));
}

}  // namespace
}  // namespace orvane
