#include <gmock/gmock.h>

#include <QTest>

#include "RecordingSink.h"
#include "controls/CKivProgressCtrl.h"
#include "controls/CKivScrollCtrl.h"

namespace orvane {
namespace {

using test::RecordingSink;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Pair;

constexpr int kId = 9;

QImage solid(int w, int h, QColor colour) {
    QImage picture(w, h, QImage::Format_ARGB32);
    picture.fill(colour);
    return picture;
}

const QColor kBack(200, 0, 0);
const QColor kFill(0, 200, 0);

TEST(CKivProgressCtrl, HorizontalFillCoversTheLeftShareOfTheWidth) {
    CKivProgressCtrl bar;
    bar.resize(100, 20);
    bar.setImages(solid(100, 20, kBack), solid(100, 20, kFill));
    bar.setRange(0, 10);
    bar.setPosition(3);
    const QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixelColor(0, 10), kFill);
    EXPECT_EQ(shot.pixelColor(29, 10), kFill);
    EXPECT_EQ(shot.pixelColor(30, 10), kBack);
    EXPECT_EQ(shot.pixelColor(99, 10), kBack);
}

TEST(CKivProgressCtrl, VerticalFillRisesFromTheBottom) {
    CKivProgressCtrl bar;
    bar.resize(20, 100);
    bar.setOrientation(Qt::Vertical);
    bar.setImages(solid(20, 100, kBack), solid(20, 100, kFill));
    bar.setRange(10, 20);
    bar.setPosition(14);
    const QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 99), kFill);
    EXPECT_EQ(shot.pixelColor(10, 60), kFill);
    EXPECT_EQ(shot.pixelColor(10, 59), kBack);
    EXPECT_EQ(shot.pixelColor(10, 0), kBack);
}

TEST(CKivProgressCtrl, FillUsesTheMatchingShareOfASmallerPicture) {
    CKivProgressCtrl bar;
    bar.resize(100, 10);
    QImage fill(10, 1, QImage::Format_ARGB32);
    for (int x = 0; x < 10; ++x) {
        fill.setPixelColor(x, 0, x < 5 ? kFill : QColor(0, 0, 200));
    }
    bar.setImages(solid(1, 1, kBack), fill);
    bar.setPosition(50);
    const QImage shot = bar.grab().toImage();
    EXPECT_EQ(shot.pixelColor(45, 5), kFill);
    EXPECT_EQ(shot.pixelColor(55, 5), kBack);
}

TEST(CKivProgressCtrl, PositionIsClampedAndAnEmptyRangeShowsNoFill) {
    CKivProgressCtrl bar;
    bar.resize(100, 20);
    bar.setRange(0, 10);
    bar.setPosition(99);
    EXPECT_EQ(bar.position(), 10);
    EXPECT_EQ(bar.fillRect(), QRect(0, 0, 100, 20));
    bar.setRange(5, 5);
    EXPECT_EQ(bar.position(), 5);
    EXPECT_TRUE(bar.fillRect().isEmpty());
    bar.setImages(solid(100, 20, kBack), solid(100, 20, kFill));
    EXPECT_EQ(bar.grab().toImage().pixelColor(50, 10), kBack);
}

// A vertical bar 20 wide and 240 high: arrows 0..19 and 220..239, track
// 20..219, thumb 40 long, so 160 pixels of free length for 0..100.
struct ScrollFixture : testing::Test {
    ScrollFixture() {
        bar = new CKivScrollCtrl(&page, kId);
        CKivScrollCtrl::Images images;
        images.track = solid(20, 20, kBack);
        images.thumb = solid(20, 40, kFill);
        bar->setImages(images);
        bar->setGeometry(0, 0, 20, 240);
        page.heard.clear();
    }
    RecordingSink page;
    CKivScrollCtrl* bar = nullptr;
};

TEST_F(ScrollFixture, ArrowsGoToTheEndsAndNotify) {
    bar->setPosition(50);
    page.heard.clear();
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, 230));
    EXPECT_EQ(bar->position(), 100);
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(10, 5));
    EXPECT_EQ(bar->position(), 0);
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 100), Pair(kId, 0)));
}

TEST_F(ScrollFixture, SetPositionClampsAndMovesTheThumbAlongTheFreeLength) {
    bar->setPosition(-5);
    EXPECT_EQ(bar->thumbRect(), QRect(0, 20, 20, 40));
    bar->setPosition(25);
    EXPECT_EQ(bar->thumbRect(), QRect(0, 60, 20, 40));
    bar->setPosition(250);
    EXPECT_EQ(bar->position(), 100);
    EXPECT_EQ(bar->thumbRect(), QRect(0, 180, 20, 40));
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 0), Pair(kId, 25), Pair(kId, 100)));

    const QImage shot = bar->grab().toImage();
    EXPECT_EQ(shot.pixelColor(10, 179), kBack);
    EXPECT_EQ(shot.pixelColor(10, 180), kFill);
}

TEST_F(ScrollFixture, PressOnTheTrackCentresTheThumbThenDragsIt) {
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(10, 140));  // thumb top 120: 60 %
    EXPECT_EQ(bar->position(), 63);
    QTest::mouseMove(bar, QPoint(10, 180));
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(10, 180));
    EXPECT_EQ(bar->position(), 88);
    EXPECT_THAT(page.heard, ElementsAre(Pair(kId, 63), Pair(kId, 88)));
}

TEST_F(ScrollFixture, DraggingTheThumbKeepsTheGrabPoint) {
    bar->setPosition(0);
    page.heard.clear();
    QTest::mousePress(bar, Qt::LeftButton, {}, QPoint(10, 25));
    EXPECT_THAT(page.heard, IsEmpty());
    QTest::mouseMove(bar, QPoint(10, 65));  // 40 pixels down
    QTest::mouseRelease(bar, Qt::LeftButton, {}, QPoint(10, 65));
    EXPECT_EQ(bar->position(), 25);
}

TEST_F(ScrollFixture, NewRangeBringsThePositionInsideSilently) {
    bar->setPosition(80);
    page.heard.clear();
    bar->setRange(0, 40);
    EXPECT_EQ(bar->position(), 40);
    EXPECT_THAT(page.heard, IsEmpty());
    bar->setRange(10, 3);
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(bar->thumbRect().top(), 20);
}

}  // namespace
}  // namespace orvane
