// The combo button (menu button) and the colour button with its drop-down.
#define QTEST_QPA_MOUSE_HANDLING
#include <gmock/gmock.h>

#include <QCursor>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "RecordingSink.h"
#include "controls/CKivCbnColorButton.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "controls/CKivStatic.h"
#include "controls/KivButtonDropDown.h"

namespace orvane {
namespace {

using test::Heard;
using test::kClick;
using test::moveOnto;
using test::RecordingSink;
using testing::ElementsAre;

constexpr int kComboId = 1201;

class CKivComboButtonTest : public testing::Test {
  protected:
    void SetUp() override {
        page.move(0, 0);
        page.resize(600, 500);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        combo.setGeometry(100, 100, 120, 24);
        combo.setClock([this] { return clockMs; });
        combo.addItem(1, QStringLiteral("Rename"));
        combo.addItem(2, QStringLiteral("Save current settings"));
        combo.addItem(3, QStringLiteral("Export Profile"));
        combo.set(QStringLiteral("1"), -1, -1);
        combo.show();
    }

    void TearDown() override { combo.menu()->closeMenu(); }

    void clickCombo() {
        moveOnto(&combo, QPoint(10, 10));
        QTest::mousePress(&combo, Qt::LeftButton, {}, QPoint(10, 10));
        // A press that closes a popup is replayed to the widget under it,
        // before the release arrives.
        QCoreApplication::processEvents();
        QTest::mouseRelease(&combo, Qt::LeftButton, {}, QPoint(10, 10));
    }

    void pick(int index) {
        CKivMenu& menu = *combo.menu();
        const QPoint row = menu.items()[static_cast<std::size_t>(index)].rect.center();
        moveOnto(&menu, row);
        QTest::mouseClick(&menu, Qt::LeftButton, {}, row);
    }

    RecordingSink page;
    CKivComboButton combo{&page, kComboId};
    qint64 clockMs = 10'000;
};

TEST_F(CKivComboButtonTest, StartsWithNothingSelectedAndAcceptance) {
    CKivComboButton fresh(&page, 5);
    EXPECT_EQ(fresh.selectedItem(), -1);
    EXPECT_EQ(fresh.value(), -1);
    EXPECT_TRUE(fresh.acceptance());
}

TEST_F(CKivComboButtonTest, ClickOpensTheMenuBelowAtTheWiderOfButtonAndConfiguredWidth) {
    clickCombo();
    CKivMenu& menu = *combo.menu();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.geometry().topLeft(), combo.mapToGlobal(QPoint(1, 24)));
    EXPECT_EQ(menu.width(), 118);
    menu.closeMenu();

    clockMs += 1000;
    combo.setMenuWidth(200);
    combo.setDropUp(true);
    clickCombo();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.width(), 198);
    EXPECT_EQ(menu.geometry().bottomLeft() + QPoint(0, 1), combo.mapToGlobal(QPoint(1, 0)));
}

TEST_F(CKivComboButtonTest, NearTheScreensEdgesTheMenuOpensOnTheButtonsOtherSide) {
    // A window dragged to the bottom-right corner of the screen: below the
    // button there is no room, nor to its right.
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();
    const QPoint screenEnd(room.left() + room.width(), room.top() + room.height());
    page.move(page.pos() + screenEnd - combo.mapToGlobal(QPoint(120, 24)));
    QCoreApplication::processEvents();
    ASSERT_EQ(combo.mapToGlobal(QPoint(120, 24)), screenEnd);
    combo.setMenuWidth(200);
    clickCombo();
    CKivMenu& menu = *combo.menu();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.geometry().bottom() + 1, combo.mapToGlobal(QPoint(0, 0)).y());
    EXPECT_EQ(menu.geometry().right() + 1, combo.mapToGlobal(QPoint(119, 0)).x());
    EXPECT_TRUE(room.contains(menu.geometry()));
}

TEST_F(CKivComboButtonTest, ClickingTheButtonWhileItsMenuIsOpenClosesItWithoutReopening) {
    clickCombo();
    ASSERT_TRUE(combo.menu()->isVisible());
    clockMs += 50;
    clickCombo();
    EXPECT_FALSE(combo.menu()->isVisible());

    clockMs += 1000;
    clickCombo();
    EXPECT_TRUE(combo.menu()->isVisible());
}

TEST_F(CKivComboButtonTest, PressThatJustDismissedTheMenuDoesNotReopenIt) {
    // Where the platform hands the dismissing press on to the widget under the
    // pointer, the button sees a whole click right after the menu went.
    clickCombo();
    clockMs += 30;
    combo.menu()->closeMenu();
    clockMs += CKivComboButton::kReopenGuardMs;
    clickCombo();
    EXPECT_FALSE(combo.menu()->isVisible());

    clockMs += CKivComboButton::kReopenGuardMs + 1;
    clickCombo();
    EXPECT_TRUE(combo.menu()->isVisible());
}

TEST_F(CKivComboButtonTest, PickedItemReachesTheParentFirstThenBecomesTheCaption) {
    QString captionWhileNotified;
    page.onNotified = [&](int id, int) {
        if (id == kComboId) {
            captionWhileNotified = combo.caption();
        }
    };
    clickCombo();
    pick(2);

    EXPECT_EQ(captionWhileNotified, QStringLiteral("1"));
    EXPECT_EQ(combo.caption(), QStringLiteral("Export Profile"));
    EXPECT_EQ(combo.selectedItem(), 3);
    EXPECT_EQ(page.heard.back(), (Heard{kComboId, 3}));
    // The menu's visibility reports went on to the page, the pair before the pick.
    EXPECT_EQ(page.count({kMenuVisibilityId, 1}), 1);
    EXPECT_EQ(page.count({kMenuVisibilityId, 0}), 1);
}

TEST_F(CKivComboButtonTest, ParentThatClearsTheAcceptanceKeepsTheOldCaption) {
    combo.set(QStringLiteral("Left click"), 1, 0x01);
    page.onNotified = [&](int id, int) {
        if (id == kComboId) {
            combo.clearAcceptance();
        }
    };
    clickCombo();
    pick(1);

    EXPECT_EQ(combo.caption(), QStringLiteral("Left click"));
    EXPECT_EQ(combo.selectedItem(), 1);
    EXPECT_EQ(combo.value(), 0x01);
    EXPECT_TRUE(combo.acceptance());

    page.onNotified = nullptr;
    clockMs += 1000;
    clickCombo();
    pick(1);
    EXPECT_EQ(combo.caption(), QStringLiteral("Save current settings"));

    // Cleared ahead of time, the flag refuses the next pick once.
    combo.clearAcceptance();
    for (int round = 0; round < 2; ++round) {
        clockMs += 1000;
        clickCombo();
        pick(0);
    }
    EXPECT_EQ(combo.caption(), QStringLiteral("Rename"));
    EXPECT_EQ(page.count({kComboId, 1}), 2);
}

TEST_F(CKivComboButtonTest, PickInASubmenuShowsThatItemsText) {
    ASSERT_TRUE(combo.addItem(3, 17, QStringLiteral("Macro A")));
    clickCombo();
    CKivMenu& menu = *combo.menu();
    moveOnto(&menu, menu.items()[2].rect.center());
    CKivMenu* sub = menu.submenu(3);
    ASSERT_TRUE(sub != nullptr && sub->isVisible());
    const QPoint row = sub->items()[0].rect.center();
    moveOnto(sub, row);
    QTest::mouseClick(sub, Qt::LeftButton, {}, row);

    EXPECT_EQ(combo.caption(), QStringLiteral("Macro A"));
    EXPECT_EQ(combo.selectedItem(), 17);
    EXPECT_EQ(page.heard.back(), (Heard{kComboId, 17}));
}

TEST_F(CKivComboButtonTest, HoverSendsNothingThatCouldPassForAPick) {
    moveOnto(&page, QPoint(500, 400));
    moveOnto(&combo, QPoint(30, 10));
    EXPECT_TRUE(combo.isHovered());
    EXPECT_TRUE(page.heard.empty());
}

TEST_F(CKivComboButtonTest, SetReplacesCaptionSelectionAndValue) {
    combo.set(QStringLiteral("Key A"), 14, 0x41);
    EXPECT_EQ(combo.caption(), QStringLiteral("Key A"));
    EXPECT_EQ(combo.selectedItem(), 14);
    EXPECT_EQ(combo.value(), 0x41);
}

// ---- colour button ----

constexpr int kColourId = 1500;

class CKivCbnColorButtonTest : public testing::Test {
  protected:
    void SetUp() override {
        page.resize(600, 500);
        page.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page));
        button.setGeometry(50, 60, 40, 20);
        button.setClock([this] { return clockMs; });
        QImage picture(QSize(150, 90), QImage::Format_ARGB32);
        picture.fill(Qt::darkGray);
        button.dropDown()->setPicture(picture);
        button.show();
    }

    void TearDown() override { button.hideDropDown(); }

    void clickButton() {
        moveOnto(&button, QPoint(5, 5));
        QTest::mousePress(&button, Qt::LeftButton, {}, QPoint(5, 5));
        // A press that closes a popup is replayed to the widget under it,
        // before the release arrives.
        QCoreApplication::processEvents();
        QTest::mouseRelease(&button, Qt::LeftButton, {}, QPoint(5, 5));
    }

    RecordingSink page;
    CKivCbnColorButton button{&page, kColourId};
    qint64 clockMs = 5'000;
};

TEST_F(CKivCbnColorButtonTest, ClickShowsTheDropDownBelowAtItsPictureSizeAndClickAgainHidesIt) {
    clickButton();
    KivButtonDropDown& dropDown = *button.dropDown();
    ASSERT_TRUE(dropDown.isVisible());
    EXPECT_EQ(dropDown.geometry(), QRect(button.mapToGlobal(QPoint(0, 20)), QSize(150, 90)));

    clockMs += 40;
    clickButton();
    EXPECT_FALSE(dropDown.isVisible());

    // The press that sent it away, handed on to the button, opens nothing.
    clockMs += 1000;
    clickButton();
    ASSERT_TRUE(dropDown.isVisible());
    clockMs += 30;
    dropDown.hide();
    clockMs += 50;
    clickButton();
    EXPECT_FALSE(dropDown.isVisible());

    clockMs += 1000;
    clickButton();
    EXPECT_TRUE(dropDown.isVisible());
    EXPECT_EQ(page.heard.front(), (Heard{kColourId, kClick}));
}

TEST_F(CKivCbnColorButtonTest, WhatTheDropDownReportsBecomesTheButtonsValue) {
    CKivStatic swatch(button.dropDown(), 77);
    swatch.setGeometry(10, 10, 30, 30);
    clickButton();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(button.dropDown()));
    QTest::mouseDClick(&swatch, Qt::LeftButton, {}, QPoint(5, 5));
    button.dropDown()->report(0x00FF8000);

    EXPECT_EQ(button.value(), 0x00FF8000);
    EXPECT_EQ(page.count({kColourId, 1}), 1);
    EXPECT_EQ(page.heard.back(), (Heard{kColourId, 0x00FF8000}));
}

TEST_F(CKivCbnColorButtonTest, IdleCheckHidesTheDropDownOnlyWhenThePointerIsAway) {
    clickButton();
    KivButtonDropDown& dropDown = *button.dropDown();
    ASSERT_TRUE(dropDown.isVisible());
    QCursor::setPos(dropDown.geometry().center());
    dropDown.hideIfPointerAway();
    EXPECT_TRUE(dropDown.isVisible());
    QCursor::setPos(button.mapToGlobal(QPoint(3, 3)));
    dropDown.hideIfPointerAway();
    EXPECT_TRUE(dropDown.isVisible());

    QCursor::setPos(QPoint(590, 490));
    dropDown.hideIfPointerAway();
    EXPECT_FALSE(dropDown.isVisible());
}

}  // namespace
}  // namespace orvane
