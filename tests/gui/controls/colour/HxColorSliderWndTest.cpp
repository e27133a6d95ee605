#include "controls/HxColorSliderWnd.h"

#include <gtest/gtest.h>

#include <QTest>

#include "ColourTestSupport.h"
#include "controls/HxColorSelectorWnd.h"

namespace orvane {
namespace {

using test::Journal;
using test::ListeningPage;

constexpr int kSelectorId = 1301;
constexpr int kSliderId = 1302;
constexpr QColor kSliderBackground(0x12, 0x13, 0x15);

// Counts the slider's reports before handling them as usual.
class CountingSelector : public HxColorSelectorWnd {
  public:
    explicit CountingSelector(QWidget* parent)
        : HxColorSelectorWnd(parent, QRect(0, 0, 143, 140), kSelectorId) {}
    long colorChanged(const HxColorChange& change) override {
        ++reports;
        lastValue = change.value;
        return HxColorSelectorWnd::colorChanged(change);
    }
    int reports = 0;
    std::uint32_t lastValue = 0;
};

class HxColorSliderWndTest : public testing::Test {
  protected:
    HxColorSliderWndTest() {
        selector.link(&slider, nullptr);
        slider.link(&selector);
        selector.setHueMode();
        slider.setHueMode();
        selector.setColor(makeColorRef(0, 255, 0));  // hue 1200, position 2399
        selector.reports = 0;
        journal.clear();
    }

    Journal journal;
    ListeningPage page{&journal};
    CountingSelector selector{&page};
    HxColorSliderWnd slider{&page, QRect(148, 0, 40, 149), kSliderId};
};

TEST_F(HxColorSliderWndTest, FollowsTheSelectorWithoutReportingBack) {
    EXPECT_EQ(slider.position(), 2399);
    EXPECT_EQ(slider.selectorX(), 1000);
    EXPECT_EQ(slider.selectorY(), 1000);
    selector.setColor(makeColorRef(255, 128, 0));
    EXPECT_EQ(slider.position(), 3599 - 302);
    EXPECT_EQ(selector.reports, 0);
    // Only the selector's own report reached the page.
    EXPECT_EQ(journal.size(), 1u);
}

struct SliderKeyCase {
    const char* name;
    Qt::Key key;
    int position;
};

class SliderKeys : public HxColorSliderWndTest,
                   public testing::WithParamInterface<SliderKeyCase> {};

TEST_P(SliderKeys, MoveThePositionAndSetTheSelectorsHue) {
    QTest::keyClick(&slider, GetParam().key);
    EXPECT_EQ(slider.position(), GetParam().position);
    EXPECT_EQ(selector.reports, 1);
    EXPECT_EQ(selector.lastValue, static_cast<std::uint32_t>(GetParam().position));
    EXPECT_EQ(selector.hue(), 3599 - GetParam().position);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SliderKeys,
    testing::Values(SliderKeyCase{"HomeGivesHue3599", Qt::Key_Home, 0},
                    SliderKeyCase{"EndGivesHueZero", Qt::Key_End, 3599},
                    SliderKeyCase{"UpRaisesHueOneDegree", Qt::Key_Up, 2389},
                    SliderKeyCase{"LeftRaisesHueOneDegree", Qt::Key_Left, 2389},
                    SliderKeyCase{"DownLowersHueOneDegree", Qt::Key_Down, 2409},
                    SliderKeyCase{"RightLowersHueOneDegree", Qt::Key_Right, 2409},
                    SliderKeyCase{"PageUpTenDegreesUp", Qt::Key_PageUp, 2299},
                    SliderKeyCase{"PageDownTenDegreesDown", Qt::Key_PageDown, 2499}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(HxColorSliderWndTest, KeysStopAtTheEndsWithoutReporting) {
    QTest::keyClick(&slider, Qt::Key_End);
    selector.reports = 0;
    QTest::keyClick(&slider, Qt::Key_Down);
    QTest::keyClick(&slider, Qt::Key_PageDown);
    EXPECT_EQ(slider.position(), 3599);
    QTest::keyClick(&slider, Qt::Key_Home);
    QTest::keyClick(&slider, Qt::Key_PageUp);
    EXPECT_EQ(slider.position(), 0);
    EXPECT_EQ(selector.reports, 1);
}

TEST_F(HxColorSliderWndTest, DragMapsTheRowToAPositionRoundedHalfUp) {
    const QRect bar = slider.barRect();
    ASSERT_EQ(bar, QRect(11, 7, 17, 134));
    // 67 rows down the 134-row bar is exactly half of 3599: 1799.5 rounds up.
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(20, 7 + 67));
    EXPECT_TRUE(slider.isDragging());
    EXPECT_EQ(slider.position(), 1800);
    EXPECT_EQ(selector.hue(), 1799);
    // One row down: 26.86 rounds to 27.
    QTest::mouseMove(&slider, QPoint(20, 8));
    EXPECT_EQ(slider.position(), 27);
    // Above the bar the row is held at its top.
    QTest::mouseMove(&slider, QPoint(20, -40));
    EXPECT_EQ(slider.position(), 0);
    selector.reports = 0;
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(20, -40));
    EXPECT_FALSE(slider.isDragging());
    EXPECT_EQ(selector.reports, 1);
    EXPECT_EQ(selector.hue(), 3599);
}

TEST_F(HxColorSliderWndTest, KeysAreIgnoredWhileDragging) {
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(20, 74));
    QTest::keyClick(&slider, Qt::Key_Home);
    EXPECT_EQ(slider.position(), 1800);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(20, 74));
}

TEST_F(HxColorSliderWndTest, PressOutsideTheAreaStartsNoDrag) {
    QTest::mousePress(&slider, Qt::LeftButton, {}, QPoint(1, 74));
    EXPECT_FALSE(slider.isDragging());
    EXPECT_EQ(selector.reports, 0);
    QTest::mouseRelease(&slider, Qt::LeftButton, {}, QPoint(1, 74));
}

TEST_F(HxColorSliderWndTest, WithoutSelectorReportsToItsParent) {
    HxColorSliderWnd alone(&page, QRect(0, 0, 40, 149), 44);
    alone.setHueMode();
    QTest::keyClick(&alone, Qt::Key_Home);
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0].sender, &alone);
    EXPECT_EQ(journal[0].controlId, 44);
    EXPECT_EQ(journal[0].value, 0u);
}

TEST_F(HxColorSliderWndTest, WithoutIdentifierSendsNothing) {
    HxColorSliderWnd anonymous(&page, QRect(0, 0, 40, 149), 0);
    anonymous.setHueMode();
    anonymous.link(&selector);
    QTest::keyClick(&anonymous, Qt::Key_Home);
    EXPECT_EQ(anonymous.position(), 0);
    EXPECT_EQ(selector.reports, 0);
    EXPECT_TRUE(journal.empty());
}

// --- drawing -------------------------------------------------------------

struct RampCase {
    const char* name;
    int entry;  // counted from the bottom row
    QColor colour;
};

class SliderRamp : public HxColorSliderWndTest, public testing::WithParamInterface<RampCase> {};

TEST_P(SliderRamp, ShowsTheHueCircleRedAtTheBottom) {
    const QImage image = test::grabbed(slider);
    const QRect bar = slider.barRect();
    const int row = bar.bottom() - GetParam().entry;
    EXPECT_EQ(test::pixel(image, bar.left(), row), GetParam().colour);
    EXPECT_EQ(test::pixel(image, bar.center().x(), row), GetParam().colour);
    EXPECT_EQ(test::pixel(image, bar.right(), row), GetParam().colour);
}

// 134 entries: the runs start at 0, 22, 44, 67, 89 and 111.
INSTANTIATE_TEST_SUITE_P(Table, SliderRamp,
                         testing::Values(RampCase{"BottomRed", 0, QColor(255, 0, 0)},
                                         RampCase{"HalfwayToYellow", 11, QColor(255, 127, 0)},
                                         RampCase{"Yellow", 22, QColor(255, 255, 0)},
                                         RampCase{"Green", 44, QColor(0, 255, 0)},
                                         RampCase{"MiddleCyan", 67, QColor(0, 255, 255)},
                                         RampCase{"Blue", 89, QColor(0, 0, 255)},
                                         RampCase{"Magenta", 111, QColor(255, 0, 255)},
                                         // 255 - 22 x 255 / 23 = 12 blue left at the top.
                                         RampCase{"TopNearlyRed", 133, QColor(255, 0, 12)}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(HxColorSliderWndTest, MarkersPointAtThePositionFromBothSides) {
    slider.setFocus();
    const QImage image = test::grabbed(slider);
    const int row = slider.markerRow();
    ASSERT_EQ(row, 7 + 134 * 2399 / 3599);
    EXPECT_EQ(test::pixel(image, 0, 0), kSliderBackground);
    // Each marker reaches from the frame out to five pixels beside it.
    for (const int column : {4, 7, 31, 34}) {
        EXPECT_NE(test::pixel(image, column, row), kSliderBackground) << column;
        EXPECT_EQ(test::pixel(image, column, row - 12), kSliderBackground) << column;
    }
}

TEST_F(HxColorSliderWndTest, SunkenFrameSurroundsTheBar) {
    const QImage image = test::grabbed(slider);
    const QPalette colours = slider.palette();
    EXPECT_EQ(test::pixel(image, 9, 60), colours.color(QPalette::Dark));
    EXPECT_EQ(test::pixel(image, 10, 60), QColor(0, 0, 0));
    EXPECT_EQ(test::pixel(image, 29, 60), colours.color(QPalette::Light));
    EXPECT_EQ(test::pixel(image, 28, 60), QColor(0, 0, 0));
    EXPECT_EQ(test::pixel(image, 20, 5), colours.color(QPalette::Dark));
    EXPECT_EQ(test::pixel(image, 20, 142), colours.color(QPalette::Light));
}

TEST_F(HxColorSliderWndTest, FocusRectangleOnlyWhileFocused) {
    page.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&page));
    const auto focusPixels = [this] {
        const QImage image = test::grabbed(slider);
        int count = 0;
        for (int y = 0; y < image.height(); ++y) {
            count += test::pixel(image, 2, y) != kSliderBackground ? 1 : 0;
        }
        return count;
    };
    selector.setFocus();
    EXPECT_EQ(focusPixels(), 0);
    slider.setFocus();
    ASSERT_TRUE(slider.hasFocus());
    EXPECT_GT(focusPixels(), 20);
}

}  // namespace
}  // namespace orvane
