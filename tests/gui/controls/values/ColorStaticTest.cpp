#include <gmock/gmock.h>

#include <QTest>

#include "RecordingSink.h"
#include "controls/CQorColorStatic.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

using test::RecordingSink;
using testing::Each;
using testing::Pair;
using testing::SizeIs;

constexpr int kId = 3;

struct SnapCase {
    QColor read;
    QColor picked;
};

struct ColourSnapping : testing::TestWithParam<SnapCase> {};

TEST_P(ColourSnapping, NearPureColoursBecomePure) {
    EXPECT_EQ(CQorColorStatic::snapColor(GetParam().read), GetParam().picked);
}

INSTANTIATE_TEST_SUITE_P(Table, ColourSnapping,
                         testing::Values(SnapCase{QColor(251, 253, 253), QColor(255, 255, 255)},
                                         SnapCase{QColor(250, 253, 253), QColor(250, 253, 253)},
                                         SnapCase{QColor(252, 8, 40), QColor(255, 0, 0)},
                                         SnapCase{QColor(252, 9, 40), QColor(252, 9, 40)},
                                         SnapCase{QColor(5, 5, 5), QColor(0, 0, 0)},
                                         SnapCase{QColor(5, 6, 5), QColor(5, 6, 5)},
                                         SnapCase{QColor(38, 6, 253), QColor(0, 0, 255)},
                                         SnapCase{QColor(38, 6, 252), QColor(38, 6, 252)},
                                         SnapCase{QColor(27, 253, 35), QColor(0, 255, 0)},
                                         SnapCase{QColor(27, 252, 35), QColor(27, 252, 35)},
                                         SnapCase{QColor(120, 40, 200), QColor(120, 40, 200)}),
                         [](const testing::TestParamInfo<SnapCase>& info) {
                             const QColor& c = info.param.read;
                             return test::caseName("Read", c.red(), c.green(), c.blue());
                         });

struct ColourField : testing::Test {
    ColourField() {
        field = new CQorColorStatic(&page, kId);
        field->setGeometry(0, 0, 141, 101);
        page.heard.clear();
    }
    RecordingSink page;
    CQorColorStatic* field = nullptr;
};

TEST_F(ColourField, CornersAreWhiteBaseAndBlack) {
    const QImage& colours = field->field();
    EXPECT_EQ(colours.pixelColor(0, 0), QColor(255, 255, 255));
    EXPECT_EQ(colours.pixelColor(140, 0), QColor(0, 255, 255));
    EXPECT_EQ(colours.pixelColor(0, 100), QColor(0, 0, 0));
    EXPECT_EQ(colours.pixelColor(140, 100), QColor(0, 0, 0));
    // Half way along the top: half white, half base; on the right edge half
    // way down: half the base colour.
    EXPECT_EQ(colours.pixelColor(70, 0), QColor(128, 255, 255));
    EXPECT_EQ(colours.pixelColor(140, 50), QColor(0, 128, 128));
}

TEST_F(ColourField, StartsPickingNearTheBaseColour) {
    EXPECT_EQ(field->pickPoint(), QPoint(138, 1));
    const QColor picked = field->pickedColor();
    EXPECT_LE(picked.red(), 8);
    EXPECT_GE(picked.green(), 250);
}

TEST_F(ColourField, PressDragAndReleaseMoveThePickAndNotify) {
    field->setBaseColor(QColor(255, 0, 0));
    QTest::mousePress(field, Qt::LeftButton, {}, QPoint(1, 0));
    EXPECT_EQ(field->pickedColor(), QColor(255, 255, 255));
    QTest::mouseMove(field, QPoint(139, 1));
    EXPECT_EQ(field->pickedColor(), QColor(255, 0, 0)) << "snapped to pure red";
    QTest::mouseRelease(field, Qt::LeftButton, {}, QPoint(70, 99));
    EXPECT_EQ(field->pickPoint(), QPoint(70, 99));
    EXPECT_EQ(field->pickedColor(), QColor(0, 0, 0));
    EXPECT_THAT(page.heard, SizeIs(3));
    EXPECT_THAT(page.heard, Each(Pair(kId, 0)));
}

TEST_F(ColourField, MovingWithoutTheButtonPicksNothing) {
    QTest::mouseMove(field, QPoint(30, 30));
    EXPECT_EQ(field->pickPoint(), QPoint(138, 1));
    EXPECT_TRUE(page.heard.empty());
}

TEST_F(ColourField, MarkerStaysInsideTheField) {
    field->setPickPoint(QPoint(140, 0));
    EXPECT_EQ(field->markerRect(), QRect(133, 0, 8, 8));
    const QImage shot = field->grab().toImage();
    EXPECT_EQ(shot.pixelColor(133, 0), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(140, 7), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(134, 1), QColor(37, 37, 37));
    EXPECT_EQ(shot.pixelColor(139, 6), QColor(37, 37, 37));

    field->setPickPoint(QPoint(50, 50));
    EXPECT_EQ(field->markerRect(), QRect(46, 46, 8, 8));
}

TEST_F(ColourField, PickFollowsTheBaseColourAndSize) {
    field->setPickPoint(QPoint(140, 0));
    field->setBaseColor(QColor(0, 0, 255));
    EXPECT_EQ(field->pickedColor(), QColor(0, 0, 255));
    field->resize(60, 40);
    EXPECT_EQ(field->pickedColor(), QColor(0, 0, 255)) << "pick outside is read at the edge";
}

}  // namespace
}  // namespace orvane
