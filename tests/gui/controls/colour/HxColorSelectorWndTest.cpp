#include "controls/HxColorSelectorWnd.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ColourTestSupport.h"
#include "controls/HxColorSliderWnd.h"
#include "controls/HxColorWellWnd.h"

namespace orvane {
namespace {

using test::Heard;
using test::Journal;
using test::ListeningPage;

constexpr int kSelectorId = 1201;
constexpr int kSliderId = 1202;
constexpr int kWellId = 1203;

// Records the selector's reports before handling them as usual.
class RecordingSlider : public HxColorSliderWnd {
  public:
    RecordingSlider(QWidget* parent, Journal* journal)
        : HxColorSliderWnd(parent, QRect(150, 0, 40, 149), kSliderId), journal(journal) {}
    long colorChanged(const HxColorChange& change) override {
        journal->push_back({"slider", change.sender, change.controlId, change.value});
        return HxColorSliderWnd::colorChanged(change);
    }

  private:
    Journal* journal;
};

class RecordingWell : public HxColorWellWnd {
  public:
    RecordingWell(QWidget* parent, Journal* journal)
        : HxColorWellWnd(parent, QRect(0, 200, 30, 30), kWellId), journal(journal) {}
    long colorChanged(const HxColorChange& change) override {
        journal->push_back({"well", change.sender, change.controlId, change.value});
        return HxColorWellWnd::colorChanged(change);
    }

  private:
    Journal* journal;
};

// The picker as the lighting page builds it: a 143 x 140 selector, its slider
// and a hidden well, linked and in hue mode.
class HxColorSelectorWndTest : public testing::Test {
  protected:
    HxColorSelectorWndTest() {
        well.hide();
        selector.link(&slider, &well);
        slider.link(&selector);
        well.link(&selector, nullptr);
        selector.setHueMode();
        slider.setHueMode();
        selector.setFocus();
        journal.clear();
    }

    std::vector<std::string> receivers() const {
        std::vector<std::string> names;
        for (const Heard& heard : journal) {
            names.push_back(heard.receiver);
        }
        return names;
    }

    // Centre of the plane's pixel for saturation and value in thousandths.
    QPoint planePoint(int x, int y) const {
        const QRect plane = selector.planeRect();
        return {plane.x() + plane.width() * x / 1000,
                plane.y() + plane.height() - plane.height() * y / 1000};
    }

    Journal journal;
    ListeningPage page{&journal};
    HxColorSelectorWnd selector{&page, QRect(0, 0, 143, 140), kSelectorId};
    RecordingSlider slider{&page, &journal};
    RecordingWell well{&page, &journal};
};

TEST_F(HxColorSelectorWndTest, PureRedGivesFullComponentsAndPutsTheSliderAtTheBottom) {
    selector.setColor(makeColorRef(255, 0, 0));
    EXPECT_EQ(selector.hue(), 0);
    EXPECT_EQ(selector.x(), 1000);
    EXPECT_EQ(selector.y(), 1000);
    EXPECT_EQ(selector.color(), makeColorRef(255, 0, 0));
    EXPECT_EQ(slider.position(), 3599);
    EXPECT_EQ(slider.selectorX(), 1000);
    EXPECT_EQ(slider.selectorY(), 1000);
}

TEST_F(HxColorSelectorWndTest, ReportsGoToSliderThenWellThenParentWithTheColour) {
    selector.setColor(makeColorRef(255, 128, 0));
    ASSERT_EQ(receivers(), (std::vector<std::string>{"slider", "well", "page"}));
    for (const Heard& heard : journal) {
        EXPECT_EQ(heard.sender, &selector);
        EXPECT_EQ(heard.controlId, kSelectorId);
        EXPECT_EQ(heard.value, makeColorRef(255, 128, 0));
    }
    EXPECT_EQ(selector.hue(), 302);
    EXPECT_EQ(selector.color(), makeColorRef(255, 128, 0));
    EXPECT_EQ(well.color(), makeColorRef(255, 128, 0));
}

TEST_F(HxColorSelectorWndTest, SetColorWithTheHeldColourSendsNothing) {
    selector.setColor(makeColorRef(10, 200, 30));
    journal.clear();
    selector.setColor(makeColorRef(10, 200, 30));
    EXPECT_TRUE(journal.empty());
}

TEST_F(HxColorSelectorWndTest, ParentsAnswerGoesBackToTheSender) {
    Journal pageJournal;
    ListeningPage answeringPage(&pageJournal, 77);
    HxColorSelectorWnd lone(&answeringPage, QRect(0, 0, 143, 140), 5);
    lone.setHueMode();
    const HxColorChange fromSlider{nullptr, kSliderId, 3599 - 1200};
    EXPECT_EQ(lone.colorChanged(fromSlider), 77);
    EXPECT_EQ(lone.color(), makeColorRef(0, 0, 0));  // value still 0
}

TEST_F(HxColorSelectorWndTest, WindowWithoutIdentifierSendsNothing) {
    Journal lonely;
    ListeningPage quietPage(&lonely);
    HxColorSelectorWnd anonymous(&quietPage, QRect(0, 0, 143, 140), 0);
    anonymous.setHueMode();
    anonymous.setColor(makeColorRef(255, 0, 0));
    EXPECT_EQ(anonymous.color(), makeColorRef(255, 0, 0));
    EXPECT_TRUE(lonely.empty());
}

TEST_F(HxColorSelectorWndTest, ExplicitListenerTakesTheParentsPlace) {
    Journal elsewhere;
    ListeningPage other(&elsewhere);
    selector.setListener(&other);
    selector.setColor(makeColorRef(0, 0, 255));
    EXPECT_EQ(receivers(), (std::vector<std::string>{"slider", "well"}));
    ASSERT_EQ(elsewhere.size(), 1u);
    EXPECT_EQ(elsewhere[0].value, makeColorRef(0, 0, 255));
}

struct CornerCase {
    const char* name;
    Qt::Key key;
    int x;
    int y;
};

class SelectorCornerKeys : public HxColorSelectorWndTest,
                           public testing::WithParamInterface<CornerCase> {};

TEST_P(SelectorCornerKeys, PutTheMarkerIntoTheirCornerAndReport) {
    selector.setColor(makeColorRef(100, 150, 200));  // inside the plane, off every corner
    journal.clear();
    QTest::keyClick(&selector, GetParam().key);
    EXPECT_EQ(selector.x(), GetParam().x);
    EXPECT_EQ(selector.y(), GetParam().y);
    EXPECT_EQ(receivers(), (std::vector<std::string>{"slider", "well", "page"}));
}

INSTANTIATE_TEST_SUITE_P(Table, SelectorCornerKeys,
                         testing::Values(CornerCase{"PageUpTopRight", Qt::Key_PageUp, 1000, 1000},
                                         CornerCase{"PageDownBottomRight", Qt::Key_PageDown, 1000,
                                                    0},
                                         CornerCase{"EndBottomLeft", Qt::Key_End, 0, 0},
                                         CornerCase{"HomeTopLeft", Qt::Key_Home, 0, 1000}),
                         [](const auto& info) { return std::string(info.param.name); });

struct ArrowCase {
    const char* name;
    Qt::Key key;
    int dx;
    int dy;
};

class SelectorArrowKeys : public HxColorSelectorWndTest,
                          public testing::WithParamInterface<ArrowCase> {};

TEST_P(SelectorArrowKeys, MoveTheMarkerByOneUnit) {
    selector.setColor(makeColorRef(100, 150, 200));
    const int startX = selector.x();
    const int startY = selector.y();
    journal.clear();
    QTest::keyClick(&selector, GetParam().key);
    EXPECT_EQ(selector.x(), startX + GetParam().dx);
    EXPECT_EQ(selector.y(), startY + GetParam().dy);
    EXPECT_EQ(journal.size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(Table, SelectorArrowKeys,
                         testing::Values(ArrowCase{"LeftLessSaturation", Qt::Key_Left, -1, 0},
                                         ArrowCase{"RightMoreSaturation", Qt::Key_Right, 1, 0},
                                         ArrowCase{"UpMoreValue", Qt::Key_Up, 0, 1},
                                         ArrowCase{"DownLessValue", Qt::Key_Down, 0, -1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HxColorSelectorWndTest, HomeGivesWhiteAndEndGivesBlack) {
    selector.setColor(makeColorRef(0, 255, 0));
    QTest::keyClick(&selector, Qt::Key_Home);
    EXPECT_EQ(selector.color(), makeColorRef(255, 255, 255));
    QTest::keyClick(&selector, Qt::Key_End);
    EXPECT_EQ(selector.color(), makeColorRef(0, 0, 0));
}

TEST_F(HxColorSelectorWndTest, ArrowKeysStopAtTheEdgesWithoutReporting) {
    selector.setColor(makeColorRef(255, 0, 0));  // x and y at their maxima
    journal.clear();
    QTest::keyClick(&selector, Qt::Key_Right);
    QTest::keyClick(&selector, Qt::Key_Up);
    EXPECT_EQ(selector.x(), 1000);
    EXPECT_EQ(selector.y(), 1000);
    EXPECT_TRUE(journal.empty());
    QTest::keyClick(&selector, Qt::Key_End);
    journal.clear();
    QTest::keyClick(&selector, Qt::Key_Left);
    QTest::keyClick(&selector, Qt::Key_Down);
    EXPECT_EQ(selector.x(), 0);
    EXPECT_EQ(selector.y(), 0);
    EXPECT_TRUE(journal.empty());
}

TEST_F(HxColorSelectorWndTest, DragReportsTheColourUnderThePointer) {
    selector.setColor(makeColorRef(255, 0, 0));
    journal.clear();
    // (71, 70) in the 137 x 134 plane at (3, 3): x = ceil(68000 / 137) = 497,
    // y = ceil(67000 / 134) = 500.
    QTest::mousePress(&selector, Qt::LeftButton, {}, QPoint(71, 70));
    EXPECT_TRUE(selector.isDragging());
    EXPECT_EQ(selector.x(), 497);
    EXPECT_EQ(selector.y(), 500);
    ASSERT_FALSE(journal.empty());
    EXPECT_EQ(journal.back().value, makeColorRef(127, 64, 64));

    // Beyond the right edge the point is held on the plane: full saturation.
    QTest::mouseMove(&selector, QPoint(300, 70));
    EXPECT_EQ(selector.x(), 1000);
    EXPECT_EQ(journal.back().value, makeColorRef(127, 0, 0));

    journal.clear();
    QTest::mouseRelease(&selector, Qt::LeftButton, {}, QPoint(300, 70));
    EXPECT_FALSE(selector.isDragging());
    // The release reports the colour once more.
    EXPECT_EQ(receivers(), (std::vector<std::string>{"slider", "well", "page"}));
    EXPECT_EQ(journal.back().value, makeColorRef(127, 0, 0));
}

TEST_F(HxColorSelectorWndTest, PressOutsideThePlaneOnlyTakesTheFocus) {
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    slider.setFocus();
    QTest::mousePress(&selector, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(selector.hasFocus());
    EXPECT_FALSE(selector.isDragging());
    EXPECT_TRUE(journal.empty());
    QTest::mouseRelease(&selector, Qt::LeftButton, {}, QPoint(1, 1));
}

TEST_F(HxColorSelectorWndTest, MiddleButtonDragEndsOnMiddleRelease) {
    selector.setColor(makeColorRef(255, 0, 0));
    QTest::mousePress(&selector, Qt::MiddleButton, {}, QPoint(71, 70));
    EXPECT_TRUE(selector.isDragging());
    EXPECT_EQ(selector.x(), 497);
    QTest::mouseRelease(&selector, Qt::MiddleButton, {}, QPoint(71, 70));
    EXPECT_FALSE(selector.isDragging());
    const ColorRef after = selector.color();
    QTest::mouseMove(&selector, QPoint(10, 10));
    EXPECT_EQ(selector.color(), after);
}

TEST_F(HxColorSelectorWndTest, LeftDragOutlivesAMiddleRelease) {
    selector.setColor(makeColorRef(255, 0, 0));
    QTest::mousePress(&selector, Qt::LeftButton, {}, QPoint(71, 70));
    QTest::mousePress(&selector, Qt::MiddleButton, {}, QPoint(71, 70));
    QTest::mouseRelease(&selector, Qt::MiddleButton, {}, QPoint(71, 70));
    EXPECT_TRUE(selector.isDragging());
    QTest::mouseRelease(&selector, Qt::LeftButton, {}, QPoint(71, 70));
    EXPECT_FALSE(selector.isDragging());
}

TEST_F(HxColorSelectorWndTest, KeysAreIgnoredWhileDragging) {
    selector.setColor(makeColorRef(255, 0, 0));
    QTest::mousePress(&selector, Qt::LeftButton, {}, QPoint(71, 70));
    QTest::keyClick(&selector, Qt::Key_Home);
    EXPECT_EQ(selector.x(), 497);
    EXPECT_EQ(selector.y(), 500);
    QTest::mouseRelease(&selector, Qt::LeftButton, {}, QPoint(71, 70));
}

TEST_F(HxColorSelectorWndTest, SlidersPositionSetsTheHue) {
    selector.setColor(makeColorRef(255, 0, 0));
    journal.clear();
    // Position 2399 is hue 1200: green.
    selector.colorChanged({&slider, kSliderId, 2399});
    EXPECT_EQ(selector.hue(), 1200);
    EXPECT_EQ(selector.color(), makeColorRef(0, 255, 0));
    EXPECT_EQ(receivers(), (std::vector<std::string>{"slider", "well", "page"}));
    EXPECT_EQ(slider.position(), 2399);
}

TEST_F(HxColorSelectorWndTest, SliderPositionBeyondTheHueCircleIsIgnored) {
    selector.setColor(makeColorRef(0, 0, 255));
    journal.clear();
    selector.colorChanged({&slider, kSliderId, 3600});
    selector.colorChanged({&slider, kSliderId, 0xFFFFFFFFu});
    EXPECT_EQ(selector.hue(), 2400);
    EXPECT_TRUE(journal.empty());
}

// --- drawing -------------------------------------------------------------

TEST_F(HxColorSelectorWndTest, PlaneRunsFromWhiteTopLeftToTheHueTopRightAndBlackBelow) {
    selector.setColor(makeColorRef(0, 0, 255));
    const QImage image = test::grabbed(selector);
    const QRect plane = selector.planeRect();
    EXPECT_EQ(plane, QRect(3, 3, 137, 134));
    // Far from the ring at the top-right corner.
    EXPECT_EQ(test::pixel(image, plane.left(), plane.top()), QColor(255, 255, 255));
    EXPECT_EQ(test::pixel(image, plane.left(), plane.bottom()), QColor(0, 0, 0));
    EXPECT_EQ(test::pixel(image, plane.right(), plane.bottom()), QColor(0, 0, 0));
    const QColor topRight = test::pixel(image, plane.right(), plane.top() + 20);
    EXPECT_LE(topRight.red(), 4);
    EXPECT_LE(topRight.green(), 4);
    EXPECT_GE(topRight.blue(), 200);
    // A middle row is a darker grey at the left.
    const QColor middleLeft = test::pixel(image, plane.left(), plane.top() + 67);
    EXPECT_EQ(middleLeft.red(), middleLeft.blue());
    EXPECT_NEAR(middleLeft.red(), 127, 2);
}

TEST_F(HxColorSelectorWndTest, FrameSurroundsThePlane) {
    const QImage image = test::grabbed(selector);
    const QPalette colours = selector.palette();
    EXPECT_EQ(test::pixel(image, 2, 50), colours.color(QPalette::Dark));
    EXPECT_EQ(test::pixel(image, 50, 2), colours.color(QPalette::Dark));
    EXPECT_EQ(test::pixel(image, 140, 50), colours.color(QPalette::Light));
    EXPECT_EQ(test::pixel(image, 50, 137), colours.color(QPalette::Light));
    EXPECT_EQ(test::pixel(image, 0, 0), colours.color(QPalette::Button));
}

struct RingCase {
    const char* name;
    ColorRef colour;
    bool blackRing;
};

class SelectorRing : public HxColorSelectorWndTest, public testing::WithParamInterface<RingCase> {};

TEST_P(SelectorRing, ContrastsWithTheCurrentColour) {
    selector.setColor(GetParam().colour);
    const QImage image = test::grabbed(selector);
    const QPoint centre = selector.ringCentre();
    // The ring passes five pixels from its centre on each axis; check where
    // that lies inside the plane.
    const QRect plane = selector.planeRect();
    int checked = 0;
    for (const QPoint offset : {QPoint(5, 0), QPoint(-5, 0), QPoint(0, 5), QPoint(0, -5)}) {
        const QPoint onRing = centre + offset;
        if (!plane.contains(onRing)) {
            continue;
        }
        ++checked;
        const QColor ring = test::pixel(image, onRing.x(), onRing.y());
        if (GetParam().blackRing) {
            EXPECT_LE(std::max({ring.red(), ring.green(), ring.blue()}), 100)
                << ring.name().toStdString();
        } else {
            EXPECT_GE(std::min({ring.red(), ring.green(), ring.blue()}), 150)
                << ring.name().toStdString();
        }
    }
    EXPECT_GE(checked, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SelectorRing,
    testing::Values(RingCase{"WhiteGetsBlack", makeColorRef(255, 255, 255), true},
                    RingCase{"HalfBrightGetsBlack", makeColorRef(0, 128, 0), true},
                    RingCase{"DarkBlueGetsWhite", makeColorRef(0, 0, 100), false},
                    RingCase{"JustBelowHalfGetsWhite", makeColorRef(127, 20, 20), false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HxColorSelectorWndTest, RingIsClippedToThePlane) {
    selector.setColor(makeColorRef(255, 255, 255));  // ring centred on the top-left pixel
    const QImage image = test::grabbed(selector);
    // Unclipped, the ring would cross the frame's left and top lines here.
    EXPECT_EQ(test::pixel(image, 2, 8), selector.palette().color(QPalette::Dark));
    EXPECT_EQ(test::pixel(image, 8, 2), selector.palette().color(QPalette::Dark));
}

TEST_F(HxColorSelectorWndTest, ResizeRebuildsThePlane) {
    selector.resize(60, 50);
    EXPECT_EQ(selector.planeRect(), QRect(3, 3, 54, 44));
    const QImage image = test::grabbed(selector);
    EXPECT_EQ(image.size(), QSize(60, 50));
    EXPECT_EQ(test::pixel(image, 3, 46), QColor(0, 0, 0));
}

}  // namespace
}  // namespace orvane
