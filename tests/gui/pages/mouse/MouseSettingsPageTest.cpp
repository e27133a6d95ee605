// The Mouse Settings page driven through its real controls: menus opened and
// picked with the mouse, boxes and sliders clicked, records loaded and stored.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QTest>

#include "buttons/ButtonFunction.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "controls/CKivSliderCtrl3D.h"
#include "controls/CPopDlg.h"
#include "macros/MacroCollection.h"
#include "pages/mouse/CMouseSettingsDlg.h"
#include "platform/FakeKeyboardHook.h"
#include "platform/FakePointerSettings.h"
#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"

namespace orvane {
namespace {

using Page = CMouseSettingsDlg;
constexpr int kKeyA = 65;
constexpr int kKeyWithoutName = 3;

// What the user does in a pop-up the page opens.
enum class Answer { Ok, Cancel };

class MouseSettingsPage : public testing::Test {
  protected:
    void SetUp() override {
        loadSkinSheetsFrom(QStringLiteral(ORVANE_TEST_SKIN_FOLDER));
        macros.addMacro(16, u"Fire");
        macros.addMacro(17, u"Reload");
        services.macros = &macros;
        services.keyboardHook = &hook;
        services.pointerSettings = &desktop;
        page = std::make_unique<Page>(services, nullptr);
        page->setPopupRunner([this](CPopDlg& popup) { return answer(popup); });
        // The menus refuse to reopen at once after closing (a click on the
        // button that closed them); the test's clock moves on a second at
        // each look.
        for (int i = 0; i < Page::kButtonCount; ++i) {
            page->functionButton(i)->setClock([this] { return clockMs += 1000; });
        }
        page->move(0, 0);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }

    int answer(CPopDlg& popup) {
        popups.push_back(popup.variant());
        if (popup.variant() == layout::popup::kAssignKey) {
            popup.show();
            QCoreApplication::processEvents();
            if (keyToPress) {
                hook.press(*keyToPress);
                hook.release(*keyToPress);
            }
            QTest::mouseClick(popupAnswer == Answer::Ok ? popup.okButton() : popup.cancelButton(),
                              Qt::LeftButton);
            return popup.result();
        }
        return CPopDlg::kResultOk;
    }

    static QPoint rowCentre(const CKivMenu& menu, int id) {
        for (const MenuItem& item : menu.items()) {
            if (item.id == id) {
                return item.rect.center();
            }
        }
        ADD_FAILURE() << "no menu item " << id;
        return {};
    }

    // Opens button `button`'s menu and picks `id`, from the submenu under
    // `parent` when one is given, as a user does with the mouse.
    void pick(int button, int id, std::optional<int> parent = std::nullopt) {
        CKivComboButton* combo = page->functionButton(button);
        QTest::mouseClick(combo, Qt::LeftButton);
        CKivMenu* menu = combo->menu();
        ASSERT_TRUE(menu->isVisible());
        CKivMenu* from = menu;
        if (parent) {
            const QPoint header = rowCentre(*menu, *parent);
            QTest::mouseMove(menu, header + QPoint(1, 1));
            QTest::mouseMove(menu, header);
            from = menu->submenu(*parent);
            ASSERT_NE(from, nullptr);
            ASSERT_TRUE(from->isVisible());
        }
        const QPoint row = rowCentre(*from, id);
        QTest::mouseMove(from, row + QPoint(1, 1));
        QTest::mouseMove(from, row);
        QTest::mouseClick(from, Qt::LeftButton, {}, row);
        QCoreApplication::processEvents();
    }

    void pickDefault(int button, ButtonFunction function) {
        pick(button, static_cast<int>(function), Page::kDefaultCommandsItem);
    }

    MouseProfile stored() {
        MouseProfile record;
        page->storeToProfile(record);
        return record;
    }

    MacroCollection macros;
    FakeKeyboardHook hook;
    FakePointerSettings desktop;
    PageServices services;
    std::unique_ptr<Page> page;
    std::vector<int> popups;
    Answer popupAnswer = Answer::Ok;
    std::optional<int> keyToPress;
    qint64 clockMs = 0;
};

TEST_F(MouseSettingsPage, StartsWithTheDefaultFunctionsAndSettings) {
    const char* captions[] = {"Left click", "Right click", "Scroll click", "Forward", "Back",
                              "Dpi up",     "Dpi down",    "Forward",      "Back"};
    for (int i = 0; i < Page::kButtonCount; ++i) {
        EXPECT_EQ(page->functionButton(i)->caption(), QString::fromLatin1(captions[i])) << i;
    }
    EXPECT_TRUE(page->reportRateBox(3)->isTicked());
    EXPECT_EQ(page->doubleClickSlider()->value(), 800);
    EXPECT_EQ(page->scrollSpeedSlider()->value(), 1);
    EXPECT_FALSE(page->accelerationSlider()->isEnabled());
    EXPECT_FALSE(page->enableBox()->isTicked());
}

TEST_F(MouseSettingsPage, MenusOfferTheWheelExceptOnButtonSevenAndAreWideEnoughToRead) {
    const CKivMenu* defaults = page->functionButton(0)->menu()->submenu(Page::kDefaultCommandsItem);
    EXPECT_NE(defaults->findItem(11), nullptr);
    EXPECT_EQ(defaults->findItem(5), nullptr);
    const CKivMenu* seventh = page->functionButton(7)->menu()->submenu(Page::kDefaultCommandsItem);
    EXPECT_EQ(seventh->findItem(11), nullptr);
    EXPECT_EQ(seventh->findItem(5)->text, QStringLiteral("Dpi up"));

    const CKivMenu* menu = page->functionButton(2)->menu();
    EXPECT_EQ(page->functionButton(2)->menuWidth(), 200);
    const CKivMenu* profile = menu->submenu(Page::kProfileItem);
    EXPECT_GE(profile->menuWidth(), 145);
    for (const char* text : {"Profile switch roll", "Profile switch down"}) {
        EXPECT_GE(profile->menuWidth(), profile->widthToShow(QString::fromLatin1(text)));
    }
    EXPECT_GE(menu->submenu(Page::kDpiItem)->menuWidth(), 100);
    const CKivMenu* macroMenu = menu->submenu(Page::kMacroItem);
    ASSERT_EQ(macroMenu->items().size(), 2u);
    EXPECT_EQ(macroMenu->items()[1].text, QStringLiteral("Reload"));
}

TEST_F(MouseSettingsPage, TheLastLeftClickIsKeptWithAWarningUntilAnotherButtonHasIt) {
    pickDefault(0, ButtonFunction::RightClick);
    EXPECT_EQ(popups, std::vector<int>{layout::popup::kLeftClickWarn});
    EXPECT_EQ(page->functionButton(0)->caption(), QStringLiteral("Left click"));
    EXPECT_EQ(page->functionButton(0)->selectedItem(), 0);

    // Single key on the only left click: the warning again, not the capture.
    pick(0, Page::kSingleKeyItem);
    EXPECT_EQ(popups,
              (std::vector<int>{layout::popup::kLeftClickWarn, layout::popup::kLeftClickWarn}));

    pickDefault(1, ButtonFunction::LeftClick);
    pickDefault(0, ButtonFunction::RightClick);
    EXPECT_EQ(popups.size(), 2u);
    EXPECT_EQ(page->functionButton(0)->caption(), QStringLiteral("Right click"));
    EXPECT_EQ(stored().buttons[0].function, 1);
    EXPECT_EQ(stored().buttons[1].function, 0);
}

TEST_F(MouseSettingsPage, KeyCaptureGivesTheButtonTheKeyOrLeavesItAsItWas) {
    // A recording listens meanwhile; the capture must not end its hold.
    std::vector<int> recorded;
    KeyboardSubscription recording =
        hook.subscribe([&](const KeyEvent& event) { recorded.push_back(event.virtualKey); });
    keyToPress = kKeyA;
    pick(4, Page::kSingleKeyItem);
    EXPECT_EQ(popups, std::vector<int>{layout::popup::kAssignKey});
    EXPECT_EQ(page->functionButton(4)->caption(), QStringLiteral("A"));
    MouseProfile record = stored();
    EXPECT_EQ(record.buttons[4].function, 13);
    EXPECT_EQ(record.buttons[4].parameter, kKeyA);

    popupAnswer = Answer::Cancel;
    pick(3, Page::kSingleKeyItem);
    EXPECT_EQ(page->functionButton(3)->caption(), QStringLiteral("Forward"));
    EXPECT_EQ(stored().buttons[3].function, 3);

    // A key without a display name: an empty caption, still a single key.
    popupAnswer = Answer::Ok;
    keyToPress = kKeyWithoutName;
    pick(3, Page::kSingleKeyItem);
    EXPECT_EQ(page->functionButton(3)->caption(), QString());
    record = stored();
    EXPECT_EQ(record.buttons[3].function, 13);
    EXPECT_EQ(record.buttons[3].parameter, kKeyWithoutName);
    // The capture's own subscription is gone with the pop-up; the
    // recording's stays and heard every key.
    EXPECT_EQ(hook.subscriptionCount(), 1u);
    EXPECT_TRUE(hook.isListening());
    EXPECT_EQ(recorded.size(), 6u);  // three captures, a press and a release each
}

TEST_F(MouseSettingsPage, AMacroPickStoresACopyAndADeletedMacroFallsBackAndIsTold) {
    pick(2, 17, Page::kMacroItem);
    EXPECT_EQ(page->functionButton(2)->caption(), QStringLiteral("Reload"));
    MouseProfile record;
    record.name = u"Work";
    page->storeToProfile(record);
    EXPECT_EQ(record.buttons[2].function, 14);
    EXPECT_EQ(record.buttons[2].parameter, 17);
    EXPECT_EQ(buttonMacroName(record, record.buttons[2]), u"Reload");

    macros.removeMacro(17);
    page->storeToProfile(record);
    EXPECT_EQ(record.buttons[2].function, 2);
    EXPECT_EQ(record.buttons[2].parameter, 0);
    EXPECT_EQ(page->noteText(), QString());  // told when the page is next shown

    page->loadFromProfile(record);
    EXPECT_EQ(page->functionButton(2)->caption(), QStringLiteral("Scroll click"));
    EXPECT_EQ(page->functionButton(2)->menu()->findItem(17), nullptr);
    EXPECT_THAT(page->noteText().toStdString(),
                testing::HasSubstr("Work: button 3 lost its macro"));
    // Told once.
    page->refreshMacroMenus();
    EXPECT_EQ(page->noteText(), QString());
}

TEST_F(MouseSettingsPage, TheMacroHeaderOfAnEmptyListIsNoFunction) {
    macros.removeMacro(16);
    macros.removeMacro(17);
    page->refreshMacroMenus();
    pick(5, Page::kMacroItem);
    EXPECT_EQ(page->functionButton(5)->caption(), QStringLiteral("Dpi up"));
    EXPECT_EQ(stored().buttons[5].function, 5);
}

TEST_F(MouseSettingsPage, FunctionsTheMenuDoesNotOfferKeepWhatTheButtonShowed) {
    MouseProfile record;
    record.buttons[7].function = 11;  // the wheel, which button 7's menu lacks
    record.buttons[8].function = 32;
    record.buttons[6].function = 253;  // a submenu header, no function
    page->loadFromProfile(record);
    EXPECT_EQ(page->functionButton(7)->caption(), QStringLiteral("Forward"));
    EXPECT_EQ(page->functionButton(8)->caption(), QStringLiteral("Back"));
    EXPECT_EQ(page->functionButton(6)->caption(), QStringLiteral("Dpi down"));
    const MouseProfile back = stored();
    EXPECT_EQ(back.buttons[7].function, 3);
    EXPECT_EQ(back.buttons[8].function, 4);
    EXPECT_EQ(back.buttons[6].function, 6);
}

TEST_F(MouseSettingsPage, ReportRateBoxesActAsOneGroup) {
    QTest::mouseClick(page->reportRateBox(1), Qt::LeftButton);
    for (int k = 0; k < 4; ++k) {
        EXPECT_EQ(page->reportRateBox(k)->isTicked(), k == 1) << k;
    }
    QTest::mouseClick(page->reportRateBox(1), Qt::LeftButton);
    EXPECT_TRUE(page->reportRateBox(1)->isTicked());
    EXPECT_EQ(stored().pollingInterval, 4);

    MouseProfile odd;
    odd.pollingInterval = 3;
    page->loadFromProfile(odd);
    for (int k = 0; k < 4; ++k) {
        EXPECT_FALSE(page->reportRateBox(k)->isTicked()) << k;
    }
    page->storeToProfile(odd);
    EXPECT_EQ(odd.pollingInterval, 3);
}

TEST_F(MouseSettingsPage, UncheckingEnableSetsLevelOneAndDisablesTheSlider) {
    MouseProfile record;
    record.accelerationEnabled = 1;
    record.accelerationLevel = 3;
    record.doubleClickSetting = 1400;
    record.scrollLines = 9;  // clamped to the slider's 6
    page->loadFromProfile(record);
    EXPECT_TRUE(page->accelerationSlider()->isEnabled());
    EXPECT_EQ(page->accelerationSlider()->value(), 3);
    EXPECT_EQ(page->scrollSpeedSlider()->value(), 6);

    QTest::mouseClick(page->enableBox(), Qt::LeftButton);
    EXPECT_FALSE(page->accelerationSlider()->isEnabled());
    const MouseProfile back = stored();
    EXPECT_EQ(back.accelerationEnabled, 0u);
    EXPECT_EQ(back.accelerationLevel, 1);
    EXPECT_EQ(back.doubleClickSetting, 1400);

    QTest::mouseClick(page->enableBox(), Qt::LeftButton);
    EXPECT_TRUE(page->accelerationSlider()->isEnabled());
}

TEST_F(MouseSettingsPage, ApplyingTellsOnThePageWhatTheDesktopCouldNotTake) {
    desktop.refused.wheelScrollLines = true;
    MouseProfile record;
    record.doubleClickSetting = 200;
    page->applyPointerSettings(record);
    EXPECT_EQ(desktop.doubleClickTime, 1400);
    EXPECT_EQ(page->noteText(),
              QStringLiteral("This desktop has no place for the wheel scroll lines."));

    desktop.refused = {};
    page->applyPointerSettings(record);
    EXPECT_EQ(page->noteText(), QString());

    PageServices without = services;
    without.pointerSettings = nullptr;
    Page bare(without, nullptr);
    bare.applyPointerSettings(record);
    EXPECT_THAT(bare.noteText().toStdString(), testing::HasSubstr("cannot be set"));
}

TEST_F(MouseSettingsPage, MenuVisibilityReportsGoOnToTheWindowAbove) {
    struct Window : CKivImageDialog {
        Window() : CKivImageDialog(nullptr, Qt::Widget) {}
        void controlNotified(int id, int value) override { heard.emplace_back(id, value); }
        std::vector<std::pair<int, int>> heard;
    } window;
    Page child(services, &window);
    child.controlNotified(kMenuVisibilityId, 1);
    child.controlNotified(kMenuVisibilityId, 0);
    EXPECT_EQ(window.heard,
              (std::vector<std::pair<int, int>>{{kMenuVisibilityId, 1}, {kMenuVisibilityId, 0}}));
}

}  // namespace
}  // namespace orvane
