#include "controls/HxDrawHelper.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace orvane {
namespace {

const QColor kPaper(128, 128, 128);

QImage paper() {
    QImage image(24, 24, QImage::Format_RGB32);
    image.fill(kPaper);
    return image;
}

struct FrameCase {
    const char* name;
    int style;
    QPalette::ColorRole topLeft;
    QPalette::ColorRole bottomRight;
    bool innerBlack;
};

class HxDrawHelperFrame : public testing::TestWithParam<FrameCase> {};

TEST_P(HxDrawHelperFrame, DrawsItsEdgesOnTheOutermostPixels) {
    const HxDrawHelper helper;
    QImage image = paper();
    {
        QPainter painter(&image);
        helper.drawFrame(painter, 2, 3, 20, 21, GetParam().style);
    }
    const QColor topLeft = helper.palette().color(GetParam().topLeft);
    const QColor bottomRight = helper.palette().color(GetParam().bottomRight);
    EXPECT_EQ(image.pixelColor(2, 10), topLeft);
    EXPECT_EQ(image.pixelColor(10, 3), topLeft);
    EXPECT_EQ(image.pixelColor(19, 10), bottomRight);
    EXPECT_EQ(image.pixelColor(10, 20), bottomRight);
    EXPECT_EQ(image.pixelColor(1, 10), kPaper);
    EXPECT_EQ(image.pixelColor(20, 10), kPaper);
    const QColor inner = GetParam().innerBlack ? QColor(0, 0, 0) : kPaper;
    EXPECT_EQ(image.pixelColor(3, 10), inner);
    EXPECT_EQ(image.pixelColor(18, 10), inner);
    EXPECT_EQ(image.pixelColor(10, 19), inner);
    EXPECT_EQ(image.pixelColor(10, 10), kPaper);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HxDrawHelperFrame,
    testing::Values(FrameCase{"SunkenWithBlack", 6, QPalette::Dark, QPalette::Light, true},
                    FrameCase{"Sunken", 2, QPalette::Dark, QPalette::Light, false},
                    FrameCase{"Raised", 0, QPalette::Light, QPalette::Dark, false},
                    FrameCase{"RaisedWithBlack", 4, QPalette::Light, QPalette::Dark, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HxDrawHelper, FrameAroundARectangleUsesItsOuterPixels) {
    const HxDrawHelper helper;
    QImage byRect = paper();
    QImage byCoordinates = paper();
    {
        QPainter painter(&byRect);
        helper.drawFrameAround(painter, QRect(4, 5, 10, 8), 6);
    }
    {
        QPainter painter(&byCoordinates);
        helper.drawFrame(painter, 4, 5, 14, 13, 6);
    }
    EXPECT_EQ(byRect, byCoordinates);
}

// The box of pixels that a marker changed.
QRect touched(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y) != kPaper) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

struct TriangleCase {
    const char* name;
    int direction;
    QRect box;  // for tip (12, 12) and size 6
};

class HxDrawHelperTriangle : public testing::TestWithParam<TriangleCase> {};

TEST_P(HxDrawHelperTriangle, HasItsTipAtThePointAndABaseOfTwiceSizeLessOne) {
    const HxDrawHelper helper;
    QImage image = paper();
    {
        QPainter painter(&image);
        helper.drawTriangle(painter, QPoint(12, 12), GetParam().direction, 6, Qt::white, Qt::black);
    }
    EXPECT_EQ(touched(image), GetParam().box);
    // The body is filled.
    const QPoint inside = GetParam().box.center();
    EXPECT_LT(image.pixelColor(inside).red(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Table, HxDrawHelperTriangle,
    testing::Values(TriangleCase{"Left", HxDrawHelper::kLeft, QRect(12, 7, 6, 11)},
                    TriangleCase{"Up", HxDrawHelper::kUp, QRect(7, 12, 11, 6)},
                    TriangleCase{"Right", HxDrawHelper::kRight, QRect(7, 7, 6, 11)},
                    TriangleCase{"Down", HxDrawHelper::kDown, QRect(7, 7, 11, 6)}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(HxDrawHelper, DiagonalMarkerPointsIntoItsCorner) {
    const HxDrawHelper helper;
    QImage image = paper();
    {
        QPainter painter(&image);
        helper.drawTriangle(painter, QPoint(12, 12), HxDrawHelper::kUpLeft, 6, Qt::white,
                            Qt::black);
    }
    const QRect box = touched(image);
    ASSERT_FALSE(box.isEmpty());
    // Tip at the top-left of what was drawn, body below and to the right.
    EXPECT_GE(box.left(), 11);
    EXPECT_GE(box.top(), 11);
    EXPECT_GT(box.right(), 14);
    EXPECT_GT(box.bottom(), 14);
}

TEST(HxDrawHelper, UnknownDirectionDrawsNothing) {
    const HxDrawHelper helper;
    QImage image = paper();
    {
        QPainter painter(&image);
        helper.drawTriangle(painter, QPoint(12, 12), 0, 6, Qt::white, Qt::black);
        helper.drawTriangle(painter, QPoint(12, 12), 9, 6, Qt::white, Qt::black);
    }
    EXPECT_TRUE(touched(image).isEmpty());
}

}  // namespace
}  // namespace orvane
