// The skinned pop-up menu: building, layout, anchoring, picking, submenus and
// the visibility reports that bracket every close.
#define QTEST_QPA_MOUSE_HANDLING
#include <gmock/gmock.h>

#include <QFontMetrics>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "RecordingSink.h"
#include "controls/CKivMenu.h"
#include "controls/KivFont.h"

namespace orvane {
namespace {

using test::Heard;
using test::moveOnto;
using test::RecordingSink;
using testing::ElementsAre;
using testing::IsEmpty;

constexpr int kMenuId = 40;

int rowHeight() {
    return QFontMetrics(kivFont(15)).height();
}

QPoint rowCentre(const CKivMenu& menu, int index) {
    return menu.items()[static_cast<std::size_t>(index)].rect.center();
}

class CKivMenuTest : public testing::Test {
  protected:
    void SetUp() override {
        page.move(0, 0);
        page.resize(600, 500);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        menu.addItem(1, QStringLiteral("Rename"));
        menu.addItem(2, QStringLiteral("Save current settings"));
        menu.addItem(3, QStringLiteral("Export Profile"));
    }

    void TearDown() override { menu.closeMenu(); }

    void openAt(QPoint point, CKivMenu::Anchor anchor = CKivMenu::Anchor::TopLeft) {
        menu.popup(point, anchor);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&menu));
    }

    RecordingSink page;
    CKivMenu menu{kMenuId, &page, 160};
};

TEST_F(CKivMenuTest, AddingAnIdTwiceKeepsTheFirstText) {
    EXPECT_FALSE(menu.addItem(2, QStringLiteral("Other")));
    ASSERT_EQ(menu.items().size(), 3u);
    EXPECT_EQ(menu.items()[1].text, QStringLiteral("Save current settings"));
}

TEST_F(CKivMenuTest, IsEightTallerThanItsRowsAndLeavesRoomForTheArrow) {
    const int h = rowHeight();
    EXPECT_EQ(menu.size(), QSize(160, 3 * h + 8));
    EXPECT_EQ(menu.items()[2].rect, QRect(QPoint(1, 4 + 2 * h), QPoint(160 - 16, 4 + 3 * h - 1)));
    EXPECT_EQ(menu.itemAt(QPoint(158, 4 + h)), 1);
    EXPECT_EQ(menu.itemAt(QPoint(20, 2)), -1);
}

TEST_F(CKivMenuTest, FixedItemHeightOverridesTheFontsHeight) {
    menu.setItemHeight(20);
    EXPECT_EQ(menu.height(), 3 * 20 + 8);
    EXPECT_EQ(menu.items()[1].rect.top(), 24);
}

struct AnchorCase {
    const char* name;
    CKivMenu::Anchor anchor;
    bool fromBottom;
    bool fromRight;
};

class CKivMenuAnchor : public CKivMenuTest, public testing::WithParamInterface<AnchorCase> {};

TEST_P(CKivMenuAnchor, PutsTheGivenCornerOnThePoint) {
    const AnchorCase& c = GetParam();
    openAt(QPoint(300, 250), c.anchor);
    const int h = 3 * rowHeight() + 8;
    const QPoint expected(c.fromRight ? 300 - 160 : 300, c.fromBottom ? 250 - h : 250);
    EXPECT_EQ(menu.geometry().topLeft(), expected);
    EXPECT_EQ(menu.hoveredIndex(), -1);
}

INSTANTIATE_TEST_SUITE_P(
    Anchors, CKivMenuAnchor,
    testing::Values(AnchorCase{"TopLeft", CKivMenu::Anchor::TopLeft, false, false},
                    AnchorCase{"BottomLeft", CKivMenu::Anchor::BottomLeft, true, false},
                    AnchorCase{"BottomRight", CKivMenu::Anchor::BottomRight, true, true}),
    [](const testing::TestParamInfo<AnchorCase>& info) { return std::string(info.param.name); });

// A menu opened right at a corner of the screen, with any anchor, ends up
// inside the screen with its own corner in that one: turned to the side
// where there is room, not pushed off.
struct CornerCase {
    const char* name;
    bool right;
    bool bottom;
    CKivMenu::Anchor anchor;
};

void PrintTo(const CornerCase& c, std::ostream* os) {
    *os << c.name;
}

class CKivMenuAtScreenCorner : public CKivMenuTest,
                               public testing::WithParamInterface<CornerCase> {};

TEST_P(CKivMenuAtScreenCorner, StaysOnTheScreenWithItsCornerInTheScreens) {
    const CornerCase& c = GetParam();
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint corner(c.right ? room.left() + room.width() : room.left(),
                        c.bottom ? room.top() + room.height() : room.top());
    openAt(corner, c.anchor);

    const QSize size = menu.size();
    const QPoint expected(c.right ? corner.x() - size.width() : corner.x(),
                          c.bottom ? corner.y() - size.height() : corner.y());
    EXPECT_EQ(menu.geometry(), QRect(expected, size));
    EXPECT_TRUE(room.contains(menu.geometry())) << c.name;
}

INSTANTIATE_TEST_SUITE_P(
    EveryCornerAndAnchor, CKivMenuAtScreenCorner,
    testing::Values(
        CornerCase{"TopLeftCornerTopLeftAnchor", false, false, CKivMenu::Anchor::TopLeft},
        CornerCase{"TopLeftCornerBottomLeftAnchor", false, false, CKivMenu::Anchor::BottomLeft},
        CornerCase{"TopLeftCornerBottomRightAnchor", false, false, CKivMenu::Anchor::BottomRight},
        CornerCase{"TopRightCornerTopLeftAnchor", true, false, CKivMenu::Anchor::TopLeft},
        CornerCase{"TopRightCornerBottomLeftAnchor", true, false, CKivMenu::Anchor::BottomLeft},
        CornerCase{"TopRightCornerBottomRightAnchor", true, false, CKivMenu::Anchor::BottomRight},
        CornerCase{"BottomLeftCornerTopLeftAnchor", false, true, CKivMenu::Anchor::TopLeft},
        CornerCase{"BottomLeftCornerBottomLeftAnchor", false, true, CKivMenu::Anchor::BottomLeft},
        CornerCase{"BottomLeftCornerBottomRightAnchor", false, true, CKivMenu::Anchor::BottomRight},
        CornerCase{"BottomRightCornerTopLeftAnchor", true, true, CKivMenu::Anchor::TopLeft},
        CornerCase{"BottomRightCornerBottomLeftAnchor", true, true, CKivMenu::Anchor::BottomLeft},
        CornerCase{"BottomRightCornerBottomRightAnchor", true, true,
                   CKivMenu::Anchor::BottomRight}),
    [](const testing::TestParamInfo<CornerCase>& info) { return std::string(info.param.name); });

TEST_F(CKivMenuTest, FlipsToTheOtherSideGivenAndIsPushedInsideWhenNeitherFits) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const int h = menu.height();
    // Dropping from a button at the bottom edge: above the button instead.
    const int buttonTop = room.bottom() - 20;
    menu.popup(QPoint(100, buttonTop + 16), CKivMenu::Anchor::TopLeft, QPoint(130, buttonTop));
    EXPECT_EQ(menu.geometry().topLeft(), QPoint(100, buttonTop - h));

    // Taller than the room on either side of the point: kept on the screen.
    menu.closeMenu();
    menu.setItemHeight(room.height() / 4);
    menu.popup(QPoint(100, room.center().y()));
    EXPECT_TRUE(room.contains(menu.geometry()));
}

TEST_F(CKivMenuTest, ReleaseOnAnItemClosesTheMenuThenReportsTheItem) {
    openAt(QPoint(100, 100));
    moveOnto(&menu, rowCentre(menu, 1));
    EXPECT_EQ(menu.hoveredIndex(), 1);
    QTest::mouseClick(&menu, Qt::LeftButton, {}, rowCentre(menu, 1));

    EXPECT_FALSE(menu.isVisible());
    EXPECT_THAT(page.heard, ElementsAre(Heard{kMenuVisibilityId, 1}, Heard{kMenuVisibilityId, 0},
                                        Heard{kMenuId, 2}));
}

TEST_F(CKivMenuTest, DisabledItemIsNotPicked) {
    menu.setItemEnabled(3, false);
    openAt(QPoint(100, 100));
    QTest::mouseClick(&menu, Qt::LeftButton, {}, rowCentre(menu, 2));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_THAT(page.heard, IsEmpty());
}

TEST_F(CKivMenuTest, PressOnTheFrameOutsideEveryRowClosesTheMenu) {
    openAt(QPoint(100, 100));
    QTest::mouseClick(&menu, Qt::LeftButton, {}, QPoint(50, 1));
    EXPECT_FALSE(menu.isVisible());
    EXPECT_THAT(page.heard, ElementsAre(Heard{kMenuVisibilityId, 1}, Heard{kMenuVisibilityId, 0}));
}

TEST_F(CKivMenuTest, ClosingByQtStillReportsBothVisibilityNotifications) {
    openAt(QPoint(100, 100));
    menu.close();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_THAT(page.heard, ElementsAre(Heard{kMenuVisibilityId, 1}, Heard{kMenuVisibilityId, 0}));
}

TEST_F(CKivMenuTest, MenuWithoutItemsStaysHidden) {
    CKivMenu empty(kMenuId, &page, 100);
    empty.popup(QPoint(10, 10));
    EXPECT_FALSE(empty.isVisible());
    EXPECT_THAT(page.heard, IsEmpty());
}

class CKivSubmenuTest : public CKivMenuTest {
  protected:
    void SetUp() override {
        CKivMenuTest::SetUp();
        ASSERT_TRUE(menu.addItem(3, 31, QStringLiteral("To file")));
        ASSERT_TRUE(menu.addItem(3, 32, QStringLiteral("To device")));
        sub = menu.submenu(3);
        ASSERT_NE(sub, nullptr);
    }

    void openSubmenu() {
        openAt(QPoint(100, 100));
        moveOnto(&menu, rowCentre(menu, 2));
        ASSERT_TRUE(sub->isVisible());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(sub));
    }

    CKivMenu* sub = nullptr;
};

TEST_F(CKivSubmenuTest, SubmenuIsNamedAfterItsItemAndOpensBesideIt) {
    EXPECT_EQ(sub->menuId(), 3);
    EXPECT_EQ(sub->menuWidth(), CKivMenu::kSubmenuWidth);
    EXPECT_TRUE(menu.items()[2].hasSubmenu);
    EXPECT_EQ(menu.findItem(32)->text, QStringLiteral("To device"));
    EXPECT_FALSE(menu.addItem(99, 33, QStringLiteral("no such parent")));

    ASSERT_NO_FATAL_FAILURE(openSubmenu());
    const QPoint itemTop = menu.mapToGlobal(QPoint(0, menu.items()[2].rect.top()));
    EXPECT_EQ(sub->geometry().topLeft(), QPoint(menu.geometry().x() + 160 - 5, itemTop.y() - 5));

    moveOnto(&menu, rowCentre(menu, 0));
    EXPECT_FALSE(sub->isVisible());
    EXPECT_TRUE(menu.isVisible());
    EXPECT_THAT(page.heard, IsEmpty());
}

TEST_F(CKivSubmenuTest, SubmenuAtTheScreensRightAndBottomEdgesOpensLeftAndUpwards) {
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    // Near the bottom right: no room for the submenu right of or below its row.
    const QPoint corner(room.left() + room.width() - 160,
                        room.top() + room.height() - menu.height() - 10);
    openAt(corner);
    moveOnto(&menu, rowCentre(menu, 2));
    ASSERT_TRUE(sub->isVisible());

    const QRect row(menu.mapToGlobal(menu.items()[2].rect.topLeft()), menu.items()[2].rect.size());
    EXPECT_EQ(sub->geometry().right() + 1, menu.geometry().left() + 5);
    EXPECT_EQ(sub->geometry().bottom() + 1, row.bottom() + 1 + 5);
    EXPECT_TRUE(room.contains(sub->geometry()));
}

TEST_F(CKivSubmenuTest, ItemWithASubmenuNeverReportsByItself) {
    ASSERT_NO_FATAL_FAILURE(openSubmenu());
    // The submenu holds the mouse now; the click lands on its parent's row.
    QTest::mouseClick(sub, Qt::LeftButton, {},
                      sub->mapFromGlobal(menu.mapToGlobal(rowCentre(menu, 2))));
    EXPECT_TRUE(menu.isVisible());
    EXPECT_THAT(page.heard, IsEmpty());
}

TEST_F(CKivSubmenuTest, PickInTheSubmenuClosesTheTreeAndReportsUnderTheParentItemsId) {
    ASSERT_NO_FATAL_FAILURE(openSubmenu());
    moveOnto(sub, rowCentre(*sub, 1));
    QTest::mouseClick(sub, Qt::LeftButton, {}, rowCentre(*sub, 1));

    EXPECT_FALSE(sub->isVisible());
    EXPECT_FALSE(menu.isVisible());
    ASSERT_FALSE(page.heard.empty());
    EXPECT_EQ(page.heard.back(), (Heard{3, 32}));
    EXPECT_EQ(page.count({kMenuVisibilityId, 1}), 2);
    EXPECT_EQ(page.count({kMenuVisibilityId, 0}), 2);
}

TEST_F(CKivSubmenuTest, PressOutsideTheTreeClosesEveryMenuOfIt) {
    ASSERT_NO_FATAL_FAILURE(openSubmenu());
    QTest::mouseClick(&page, Qt::LeftButton, {}, QPoint(550, 450));
    QCoreApplication::processEvents();

    EXPECT_FALSE(sub->isVisible());
    EXPECT_FALSE(menu.isVisible());
    EXPECT_EQ(page.count({kMenuVisibilityId, 1}), 2);
    EXPECT_EQ(page.count({kMenuVisibilityId, 0}), 2);
    EXPECT_EQ(page.heard.back(), (Heard{kMenuVisibilityId, 0}));
}

TEST_F(CKivSubmenuTest, EmptiedSubmenuNoLongerOpensAndRemovedItemTakesItAlong) {
    sub->clearItems();
    openAt(QPoint(100, 100));
    moveOnto(&menu, rowCentre(menu, 2));
    EXPECT_FALSE(sub->isVisible());
    ASSERT_TRUE(menu.addItem(3, 35, QStringLiteral("Macro 1")));
    EXPECT_EQ(menu.submenu(3), sub);

    menu.removeItem(3);
    EXPECT_EQ(menu.submenu(3), nullptr);
    EXPECT_EQ(menu.findItem(35), nullptr);
    EXPECT_EQ(menu.items().size(), 2u);
}

TEST_F(CKivSubmenuTest, DisabledItemOpensNoSubmenu) {
    menu.setItemEnabled(3, false);
    openAt(QPoint(100, 100));
    moveOnto(&menu, rowCentre(menu, 2));
    EXPECT_FALSE(sub->isVisible());
}

}  // namespace
}  // namespace orvane
