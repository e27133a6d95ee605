#include "controls/HxColorWellWnd.h"

#include <gtest/gtest.h>

#include "ColourTestSupport.h"
#include "controls/HxColorSelectorWnd.h"

namespace orvane {
namespace {

using test::Journal;
using test::ListeningPage;

class HxColorWellWndTest : public testing::Test {
  protected:
    HxColorWellWndTest() {
        selector.link(nullptr, &well);
        well.link(&selector, &wellPage);
        selector.setHueMode();
    }

    Journal journal;
    ListeningPage page{&journal};
    Journal wellJournal;
    ListeningPage wellPage{&wellJournal};
    HxColorSelectorWnd selector{&page, QRect(0, 0, 143, 140), 1401};
    HxColorWellWnd well{&page, QRect(150, 0, 30, 20), 1402};
};

TEST_F(HxColorWellWndTest, TakesTheSelectorsColourAndRaisesThePendingFlag) {
    EXPECT_FALSE(well.hasPendingColor());
    selector.setColor(makeColorRef(255, 128, 0));
    EXPECT_EQ(well.color(), makeColorRef(255, 128, 0));
    EXPECT_TRUE(well.hasPendingColor());
    EXPECT_EQ(well.takePendingColor(), makeColorRef(255, 128, 0));
    EXPECT_FALSE(well.hasPendingColor());
    EXPECT_EQ(well.color(), makeColorRef(255, 128, 0));
}

TEST_F(HxColorWellWndTest, TellsItsPageAtOnce) {
    selector.setColor(makeColorRef(1, 2, 3));
    ASSERT_EQ(wellJournal.size(), 1u);
    EXPECT_EQ(wellJournal[0].sender, &well);
    EXPECT_EQ(wellJournal[0].controlId, 1402);
    EXPECT_EQ(wellJournal[0].value, selector.color());
}

TEST_F(HxColorWellWndTest, ShowsItsColourInsideASunkenFrame) {
    selector.setColor(makeColorRef(0, 0, 255));
    const QImage image = test::grabbed(well);
    EXPECT_EQ(test::pixel(image, 2, 2), QColor(0, 0, 255));
    EXPECT_EQ(test::pixel(image, 27, 17), QColor(0, 0, 255));
    EXPECT_EQ(test::pixel(image, 0, 10), well.palette().color(QPalette::Dark));
    EXPECT_EQ(test::pixel(image, 1, 10), QColor(0, 0, 0));
    EXPECT_EQ(test::pixel(image, 29, 10), well.palette().color(QPalette::Light));
}

}  // namespace
}  // namespace orvane
