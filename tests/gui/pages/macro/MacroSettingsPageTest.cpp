// The Macro Settings page driven through its real list, step editor, menus,
// boxes and buttons; keys come from the fake keyboard hook, ticks from the
// fake clock.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <fstream>

#include "controls/CKivButton.h"
#include "controls/CKivCheckBox.h"
#include "controls/CKivEdit.h"
#include "controls/CKivMenu.h"
#include "controls/CKivScrollCtrl.h"
#include "controls/CPopDlg.h"
#include "macros/MacroCollection.h"
#include "macros/MacroFile.h"
#include "pages/macro/CKivListBox.h"
#include "pages/macro/CKivMacroCtrl.h"
#include "pages/macro/CMacroSettingsDlg.h"
#include "pages/macro/MacroMemoryGauge.h"
#include "platform/FakeClock.h"
#include "platform/FakeKeyboardHook.h"
#include "profile/FileIO.h"
#include "skins/SkinCache.h"
#include "skins/SkinFaces.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

using namespace std::chrono_literals;
using Page = CMacroSettingsDlg;
using Editor = CKivMacroCtrl;
using testing::ElementsAre;
using testing::HasSubstr;

constexpr int kKeyA = 65;
constexpr int kKeyB = 66;
constexpr int kEnter = 13;

// What a step of the shown macro holds, for comparing.
struct Step {
    int type, code, state;
    std::uint32_t delay;
    friend bool operator==(const Step&, const Step&) = default;
};

void PrintTo(const Step& s, std::ostream* out) {
    *out << "{" << s.type << ", " << s.code << ", " << s.state << ", " << s.delay << "}";
}

class MacroPage : public testing::Test {
  protected:
    void SetUp() override {
        loadSkinSheetsFrom(QStringLiteral(ORVANE_TEST_SKIN_FOLDER));
        services.keyboardHook = &hook;
        services.clock = &clock;
        open();
    }

    void open() {
        page = std::make_unique<Page>(services, nullptr);
        page->setPopupRunner([this](CPopDlg& popup) {
            popups.push_back(popup.variant());
            return popupAnswer;
        });
        page->setMessageBox([this](QWidget*, const QString& text) { messages << text; });
        page->move(0, 0);
        page->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(page.get()));
    }

    CKivListBox& list() { return *page->macroList(); }
    Editor& editor() { return *page->stepEditor(); }
    CMacro* shown() { return editor().currentMacro(); }

    // "New Macro", the name typed, Enter.
    void createMacro(const QString& name) {
        QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);
        ASSERT_TRUE(list().isNamingOpen());
        QLineEdit* field = list().nameEditor()->lineEdit();
        QTest::keyClicks(field, name);
        QTest::keyClick(field, Qt::Key_Return);
    }

    std::vector<Step> steps() {
        std::vector<Step> result;
        if (shown() != nullptr) {
            for (const CEventItem& e : shown()->events) {
                result.push_back({e.type, e.code, e.state, e.delay});
            }
        }
        return result;
    }

    int selectedStep() {
        for (std::size_t i = 0; shown() != nullptr && i < shown()->events.size(); ++i) {
            if (shown()->events[i].selected != 0) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    QStringList names() {
        QStringList result;
        for (const CBoxItem& row : list().rows()) {
            result << row.name;
        }
        return result;
    }

    void clickRow(int index) {
        QTest::mouseClick(&list(), Qt::LeftButton, {}, list().rowGeometry(index).center());
    }

    void clickStep(int index) {
        QTest::mouseClick(&editor(), Qt::LeftButton, {}, editor().rowGeometry(index).center());
    }

    void type(int key) {
        hook.press(key);
        hook.release(key);
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

    // Right-clicks the editor and picks `path` through the submenus.
    void pick(std::vector<int> path) {
        QTest::mouseClick(&editor(), Qt::RightButton, {}, QPoint(40, 10));
        CKivMenu* menu = editor().contextMenu();
        ASSERT_TRUE(menu->isVisible());
        for (std::size_t i = 0; i + 1 < path.size(); ++i) {
            const QPoint header = rowCentre(*menu, path[i]);
            QTest::mouseMove(menu, header + QPoint(1, 1));
            QTest::mouseMove(menu, header);
            menu = menu->submenu(path[i]);
            ASSERT_NE(menu, nullptr);
            ASSERT_TRUE(menu->isVisible());
        }
        const QPoint row = rowCentre(*menu, path.back());
        QTest::mouseMove(menu, row + QPoint(1, 1));
        QTest::mouseMove(menu, row);
        QTest::mouseClick(menu, Qt::LeftButton, {}, row);
        QCoreApplication::processEvents();
    }

    // A macro of `count` key presses, selected.
    void macroOfPresses(const QString& name, int count) {
        createMacro(name);
        for (int i = 0; i < count; ++i) {
            shown()->addEvent(kKeyEvent, static_cast<std::uint16_t>(kKeyA + i % 26), kPressed, 10,
                              kAppendEvent);
        }
        editor().stepsReplaced();
    }

    FakeKeyboardHook hook;
    FakeClock clock;
    PageServices services;
    std::unique_ptr<Page> page;
    std::vector<int> popups;
    int popupAnswer = CPopDlg::kResultOk;
    QStringList messages;
};

// ----- the name list -----

TEST_F(MacroPage, TypedNamesBecomeUniqueMacrosWithIdsFromSixteen) {
    createMacro(QStringLiteral("Macro"));
    createMacro(QStringLiteral("Macro"));
    createMacro(QStringLiteral("Macro(1)"));
    createMacro(QStringLiteral("macro"));
    EXPECT_EQ(names(), QStringList({"Macro", "Macro(1)", "Macro(2)", "macro"}));
    std::vector<int> ids;
    for (const auto& macro : page->macroCollection().macros()) {
        ids.push_back(macro->id);
    }
    EXPECT_THAT(ids, ElementsAre(16, 17, 18, 19));
    // The last typed one is made at once, selected and shown.
    EXPECT_EQ(list().selectedRow()->id, 19);
    EXPECT_EQ(shown()->name, u"macro");
    EXPECT_FALSE(list().isNamingOpen());

    // Enter on an empty field makes nothing.
    QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);
    QTest::keyClick(list().nameEditor()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(list().rows().size(), 4u);
    EXPECT_EQ(page->macroCollection().macros().size(), 4u);
}

TEST_F(MacroPage, OnlyEnterAClickInTheListOrNewMacroFinishTheName) {
    QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);
    QTest::keyClicks(list().nameEditor()->lineEdit(), QStringLiteral("Burst"));
    QTest::mouseClick(page.get(), Qt::LeftButton, {}, QPoint(500, 400));
    QTest::mouseClick(&editor(), Qt::LeftButton, {}, QPoint(40, 10));
    EXPECT_TRUE(list().isNamingOpen());
    EXPECT_EQ(list().nameEditor()->text(), QStringLiteral("Burst"));

    QTest::mouseClick(&list(), Qt::LeftButton, {}, QPoint(100, 150));
    EXPECT_EQ(names(), QStringList({"Burst"}));

    QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);
    QTest::keyClicks(list().nameEditor()->lineEdit(), QStringLiteral("Spray"));
    QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);
    EXPECT_EQ(names(), QStringList({"Burst", "Spray"}));
    EXPECT_FALSE(list().isNamingOpen());
}

TEST_F(MacroPage, DeletingAsksFirstSelectsANeighbourAndFreesTheId) {
    for (const char* name : {"One", "Two", "Three"}) {
        createMacro(QString::fromLatin1(name));
    }
    popupAnswer = CPopDlg::kResultCancel;
    QTest::mouseClick(page->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(popups, std::vector<int>{layout::popup::kDeleteMacro});
    EXPECT_EQ(list().rows().size(), 3u);

    popupAnswer = CPopDlg::kResultOk;
    QTest::mouseClick(page->deleteButton(), Qt::LeftButton);  // the last of three
    EXPECT_EQ(names(), QStringList({"One", "Two"}));
    EXPECT_EQ(list().selectedRow()->name, QStringLiteral("Two"));
    EXPECT_EQ(shown()->name, u"Two");
    EXPECT_EQ(page->macroCollection().findMacro(18), nullptr);
    createMacro(QStringLiteral("Four"));
    EXPECT_EQ(list().selectedRow()->id, 18);

    clickRow(0);
    QTest::mouseClick(page->deleteButton(), Qt::LeftButton);  // the first: its successor
    EXPECT_EQ(list().selectedRow()->name, QStringLiteral("Two"));
    QTest::mouseClick(page->deleteButton(), Qt::LeftButton);
    QTest::mouseClick(page->deleteButton(), Qt::LeftButton);
    EXPECT_TRUE(list().rows().empty());
    EXPECT_EQ(shown(), nullptr);
    EXPECT_TRUE(page->macroCollection().macros().empty());
}

TEST_F(MacroPage, AListLongerThanItsWindowScrollsAndKeepsTheNewestInView) {
    for (int i = 0; i < 14; ++i) {
        createMacro(QStringLiteral("Macro %1").arg(i));
    }
    CKivScrollCtrl& bar = *list().scrollBar();
    EXPECT_TRUE(bar.isVisible());
    const int shownRows = list().visibleRows();
    EXPECT_EQ(list().topRow(), 14 - shownRows);
    EXPECT_EQ(list().rowAt(list().rowGeometry(13).center()), 13);

    QTest::mouseClick(&bar, Qt::LeftButton, {}, bar.firstArrowRect().center());
    EXPECT_EQ(list().topRow(), 0);
    clickRow(2);
    EXPECT_EQ(shown()->name, u"Macro 2");

    // The new name's field opens where the new row goes, in view.
    QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);
    EXPECT_EQ(list().topRow(), 15 - shownRows);
    EXPECT_EQ(list().nameEditor()->geometry().top(), list().rowGeometry(14).top());
    EXPECT_LE(list().nameEditor()->geometry().right(), bar.x());
}

// ----- the step editor -----

TEST_F(MacroPage, ClickUnderLeftButtonInsertsDownAndUpAfterTheSelectedStep) {
    createMacro(QStringLiteral("Clicks"));
    for (int key : {kKeyA, kKeyB, kEnter}) {
        shown()->addEvent(kKeyEvent, static_cast<std::uint16_t>(key), kPressed, 5, kAppendEvent);
    }
    clickStep(1);
    pick({Editor::kInsertMouseEvent, Editor::kLeftButton, Editor::kLeftButton + 3});
    EXPECT_THAT(steps(), ElementsAre(Step{1, kKeyA, 0, 5}, Step{1, kKeyB, 0, 5}, Step{16, 1, 0, 0},
                                     Step{16, 1, 1, 0}, Step{1, kEnter, 0, 5}));
    EXPECT_EQ(selectedStep(), 3);

    pick({Editor::kInsertMouseEvent, Editor::kScrollWheel, Editor::kWheelDown});
    pick({Editor::kInsertMouseEvent, Editor::kBackButton, Editor::kBackButton + 2});
    EXPECT_EQ(steps()[4], (Step{17, 152, 0, 0}));
    EXPECT_EQ(steps()[5], (Step{16, 166, 1, 0}));

    pick({Editor::kDeleteStep});
    EXPECT_EQ(steps().size(), 6u);
    EXPECT_EQ(selectedStep(), 5);
}

TEST_F(MacroPage, EditDelayTakesDigitsUpToWhatTheMouseCanWait) {
    createMacro(QStringLiteral("Waits"));
    shown()->addEvent(kKeyEvent, kKeyA, kPressed, 40, kAppendEvent);
    clickStep(0);
    pick({Editor::kEditDelay});
    ASSERT_TRUE(editor().isDelayEditOpen());
    QLineEdit* field = editor().delayEditor()->lineEdit();
    EXPECT_EQ(field->text(), QString());
    QTest::keyClicks(field, QStringLiteral("25x0"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_EQ(steps()[0].delay, 250u);
    EXPECT_FALSE(editor().isDelayEditOpen());

    pick({Editor::kInsertDelay});
    QTest::keyClick(editor().delayEditor()->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(steps()[0].delay, 250u);

    // 16 777 216 ms no longer fits the mouse's 24 bits: the last digit is refused.
    pick({Editor::kEditDelay});
    QTest::keyClicks(field, QStringLiteral("16777216"));
    EXPECT_EQ(field->text(), QStringLiteral("1677721"));
    QTest::keyClicks(field, QStringLiteral("5"));
    QTest::mouseClick(&editor(), Qt::LeftButton, {}, editor().rowGeometry(3).center());
    EXPECT_EQ(steps()[0].delay, 16777215u);
}

TEST_F(MacroPage, ALongMacroDrawsOnlyItsVisibleRowsAndScrollsToItsSelection) {
    macroOfPresses(QStringLiteral("Long"), 10000);
    page->grab();
    EXPECT_LE(editor().rowsPaintedLastTime(), editor().visibleRows() + 1);
    EXPECT_TRUE(editor().scrollBar()->isVisible());

    shown()->addEvent(kKeyEvent, kKeyB, kPressed, 0, kAppendEvent);
    EXPECT_EQ(editor().topRow(), 10001 - editor().visibleRows());
    page->grab();
    EXPECT_LE(editor().rowsPaintedLastTime(), editor().visibleRows() + 1);
    clickStep(10000);
    EXPECT_EQ(selectedStep(), 10000);
}

// ----- boxes -----

TEST_F(MacroPage, TheTwoBoxesExcludeEachOtherAndFollowTheSelectedMacro) {
    QTest::mouseClick(page->recordDelayBox(), Qt::LeftButton);
    QTest::mouseClick(page->recordHoldBox(), Qt::LeftButton);
    EXPECT_FALSE(page->recordDelayBox()->isTicked());
    EXPECT_TRUE(page->recordHoldBox()->isTicked());
    QTest::mouseClick(page->recordDelayBox(), Qt::LeftButton);
    EXPECT_FALSE(page->recordHoldBox()->isTicked());

    macroOfPresses(QStringLiteral("Presses"), 3);
    createMacro(QStringLiteral("Empty"));
    clickRow(0);
    EXPECT_TRUE(page->recordHoldBox()->isTicked());
    EXPECT_FALSE(page->recordDelayBox()->isTicked());
    clickRow(1);
    EXPECT_FALSE(page->recordHoldBox()->isTicked());
}

// ----- the recorder -----

TEST_F(MacroPage, RecordingTakesDelaysBetweenKeysAndDropsRepeats) {
    createMacro(QStringLiteral("Rec"));
    shown()->addEvent(kKeyEvent, kEnter, kPressed, 0, kAppendEvent);
    QTest::mouseClick(page->recordDelayBox(), Qt::LeftButton);
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    EXPECT_TRUE(page->isRecording());
    EXPECT_TRUE(page->stopRecordButton()->isVisible());
    EXPECT_FALSE(page->startRecordButton()->isVisible());
    EXPECT_FALSE(page->recordDelayBox()->isEnabled());
    EXPECT_TRUE(steps().empty());  // the button records the macro anew

    clock.advance(1000ms);
    hook.press(kKeyA);
    clock.advance(500ms);
    hook.press(kKeyA);  // the keyboard repeating
    clock.advance(200ms);
    hook.release(kKeyA);
    clock.advance(30ms);
    type(kKeyA);  // the same key again: press and release alternate
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    hook.press(kKeyB);

    EXPECT_THAT(steps(), ElementsAre(Step{1, kKeyA, 0, 1000}, Step{1, kKeyA, 1, 200},
                                     Step{1, kKeyA, 0, 30}, Step{1, kKeyA, 1, 0}));
    EXPECT_FALSE(page->isRecording());
    EXPECT_TRUE(page->recordDelayBox()->isEnabled());
    EXPECT_EQ(hook.subscriptionCount(), 0u);

    // Without "Record Delay" every delay is 0. The last key heard carries
    // over from one recording to the next: only the same release is dropped.
    QTest::mouseClick(page->recordDelayBox(), Qt::LeftButton);
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    clock.advance(700ms);
    hook.release(kKeyB);  // differs from the last one heard (B pressed)
    hook.release(kKeyB);
    type(kKeyA);
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    EXPECT_THAT(steps(),
                ElementsAre(Step{1, kKeyB, 1, 0}, Step{1, kKeyA, 0, 0}, Step{1, kKeyA, 1, 0}));
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    hook.release(kKeyA);
    type(kKeyB);
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    EXPECT_THAT(steps(), ElementsAre(Step{1, kKeyB, 0, 0}, Step{1, kKeyB, 1, 0}));
}

TEST_F(MacroPage, DelaysAreThePausesTheHookHeardNotWhenTheKeysArrived) {
    createMacro(QStringLiteral("Rec"));
    QTest::mouseClick(page->recordDelayBox(), Qt::LeftButton);
    const Clock::TimePoint begun = clock.now();
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);

    // A key still on its way from before the click, then keys the user
    // typed while the window was busy: they all arrive a second later.
    clock.advance(1000ms);
    hook.inject({kKeyB, true, begun - 50ms});
    hook.inject({kKeyA, false, begun + 300ms});
    hook.inject({kKeyA, true, begun + 700ms});
    hook.inject({kKeyA, true, begun + 750ms});  // a repeat still counts as heard
    hook.inject({kKeyB, false, begun + 800ms});
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);

    EXPECT_THAT(steps(), ElementsAre(Step{1, kKeyB, 1, 0}, Step{1, kKeyA, 0, 300},
                                     Step{1, kKeyA, 1, 400}, Step{1, kKeyB, 0, 50}));
}

TEST_F(MacroPage, HoldModeKeepsOnlyPressesAndMakesAHoldMacro) {
    createMacro(QStringLiteral("Hold"));
    QTest::mouseClick(page->recordHoldBox(), Qt::LeftButton);
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    type(kKeyA);
    type(kKeyB);
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    EXPECT_THAT(steps(), ElementsAre(Step{1, kKeyA, 0, 0}, Step{1, kKeyB, 0, 0}));
    EXPECT_TRUE(isHoldMacro(shown()));
}

TEST_F(MacroPage, RecordingFromTheMenuInsertsBeforeTheChosenStepAndKeepsTheRest) {
    createMacro(QStringLiteral("Insert"));
    for (int key : {kKeyA, kKeyB}) {
        shown()->addEvent(kKeyEvent, static_cast<std::uint16_t>(key), kPressed, 0, kAppendEvent);
    }
    clickStep(0);
    pick({Editor::kRecordBefore});
    EXPECT_TRUE(page->isRecording());
    EXPECT_TRUE(page->recordDelayBox()->isEnabled());
    type(kEnter);
    // A right click while recording opens no menu.
    QTest::mouseClick(&editor(), Qt::RightButton, {}, QPoint(40, 10));
    EXPECT_FALSE(editor().contextMenu()->isVisible());
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    EXPECT_THAT(steps(), ElementsAre(Step{1, kEnter, 0, 0}, Step{1, kEnter, 1, 0},
                                     Step{1, kKeyA, 0, 0}, Step{1, kKeyB, 0, 0}));
}

TEST_F(MacroPage, WhileRecordingThePageSwallowsKeysButEnterStillFinishesAnEdit) {
    QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);
    QTest::keyClicks(list().nameEditor()->lineEdit(), QStringLiteral("Typed"));
    // Starting a recording finishes the name: the macro recorded into.
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    EXPECT_EQ(names(), QStringList({"Typed"}));
    EXPECT_EQ(shown()->name, u"Typed");

    QTest::mouseClick(page->newMacroButton(), Qt::LeftButton);  // ignored while recording
    QTest::mouseClick(page->deleteButton(), Qt::LeftButton);    // likewise
    EXPECT_FALSE(list().isNamingOpen());
    EXPECT_TRUE(popups.empty());
    page->stopRecordButton()->setFocus();
    QTest::keyClick(page->stopRecordButton(), Qt::Key_Space);
    EXPECT_TRUE(page->isRecording());

    // A pop-up that listens and closes meanwhile leaves the recording its keys.
    {
        CPopDlg capture(layout::popup::kAssignKey, page.get());
        capture.setKeyboardHook(&hook);
        capture.show();
        QCoreApplication::processEvents();
        type(kKeyB);
    }
    type(kKeyA);
    EXPECT_THAT(steps(), ElementsAre(Step{1, kKeyB, 0, 0}, Step{1, kKeyB, 1, 0},
                                     Step{1, kKeyA, 0, 0}, Step{1, kKeyA, 1, 0}));
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);

    // A delay being typed when a recording starts from the menu: Enter
    // still takes it, and nothing else of the keys reaches the page.
    clickStep(0);
    pick({Editor::kEditDelay});
    QLineEdit* field = editor().delayEditor()->lineEdit();
    QTest::keyClicks(field, QStringLiteral("90"));
    pick({Editor::kRecordAfter});
    QTest::keyClicks(field, QStringLiteral("5"));
    EXPECT_EQ(field->text(), QStringLiteral("90"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(editor().isDelayEditOpen());
    EXPECT_EQ(steps()[0].delay, 90u);
    EXPECT_TRUE(page->isRecording());
}

TEST_F(MacroPage, NoMacroShownRecordsNothingAndTellsNothing) {
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    type(kKeyA);
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    EXPECT_TRUE(page->macroCollection().macros().empty());
    EXPECT_TRUE(messages.isEmpty());
}

TEST_F(MacroPage, WithoutAHookTheStartFailsAloudAndThePageSaysWhy) {
    hook.failToStart("no X11 display");
    page.reset();
    open();
    EXPECT_THAT(page->noteText().toStdString(), HasSubstr("no X11 display"));
    createMacro(QStringLiteral("Quiet"));
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    EXPECT_EQ(messages, QStringList({QStringLiteral("start hook failed!")}));
    // Left in the recording state until the user stops it.
    EXPECT_TRUE(page->isRecording());
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    EXPECT_FALSE(page->isRecording());

    services.keyboardHook = nullptr;
    page.reset();
    open();
    EXPECT_THAT(page->noteText().toStdString(), HasSubstr("not available"));
}

TEST_F(MacroPage, AHookThatGoesAwayEndsTheRecordingVisibly) {
    createMacro(QStringLiteral("Lost"));
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    type(kKeyA);
    hook.loseSource();
    EXPECT_FALSE(page->isRecording());
    EXPECT_TRUE(page->startRecordButton()->isVisible());
    EXPECT_TRUE(page->recordDelayBox()->isEnabled());
    EXPECT_THAT(page->noteText().toStdString(), HasSubstr("Recording stopped"));
    EXPECT_EQ(steps().size(), 2u);
}

// ----- the gauge -----

class MacroMemory : public MacroPage {
  protected:
    void SetUp() override {
        MacroPage::SetUp();
        page->setRecordSource([this]() -> const MouseProfile& { return record; });
    }
    void assign(int button, int id) {
        record.buttons[static_cast<std::size_t>(button)].function = 14;
        record.buttons[static_cast<std::size_t>(button)].parameter = static_cast<std::uint16_t>(id);
        page->recordChanged();
    }
    MacroMemoryGauge& gauge() { return *page->memoryGauge(); }
    MouseProfile record;
};

TEST_F(MacroMemory, CountsStepsAndTerminatorsAsTheNextApplyWritesThem) {
    EXPECT_TRUE(gauge().isVisible());
    EXPECT_EQ(gauge().slotsText(), QStringLiteral("0 of 178 slots"));
    macroOfPresses(QStringLiteral("Ten"), 10);
    assign(3, 16);
    EXPECT_EQ(gauge().slotsText(), QStringLiteral("11 of 178 slots"));
    EXPECT_FALSE(gauge().warns());

    // Recording more steps shows at once, before any Apply.
    QTest::mouseClick(page->startRecordButton(), Qt::LeftButton);
    type(kKeyA);
    QTest::mouseClick(page->stopRecordButton(), Qt::LeftButton);
    EXPECT_EQ(gauge().slotsText(), QStringLiteral("3 of 178 slots"));

    // A macro of 200 steps: the mouse plays 128.
    macroOfPresses(QStringLiteral("Long"), 200);
    assign(4, 17);
    EXPECT_EQ(gauge().slotsText(), QStringLiteral("132 of 178 slots"));
    EXPECT_EQ(gauge().warningText(),
              QStringLiteral("Button 5: only the first 128 steps will be played."));

    // Another long one no longer fits whole: named, in the warning colour.
    assign(5, 17);
    EXPECT_EQ(gauge().slotsText(), QStringLiteral("178 of 178 slots"));
    EXPECT_THAT(gauge().warningText().toStdString(),
                HasSubstr("Button 6: the memory is full, the macro will be cut short."));
    const QImage picture = gauge().grab().toImage();
    EXPECT_EQ(picture.pixelColor(gauge().barRect().left() + 2, gauge().barRect().center().y()),
              toQColor(palette::kWarning));

    // Deleting the macro lets its buttons fall back at the next Apply.
    clickRow(1);
    QTest::mouseClick(page->deleteButton(), Qt::LeftButton);
    EXPECT_EQ(gauge().slotsText(), QStringLiteral("3 of 178 slots"));
    EXPECT_FALSE(gauge().warns());
}

// ----- the files -----

TEST_F(MacroPage, MacrosAreReadOnceAndSavedWithTheirNamesAsTyped) {
    test::TempDir folder;
    page->loadMacros(folder.path());
    createMacro(QStringLiteral("Save/As"));
    shown()->addEvent(kKeyEvent, kKeyA, kPressed, 7, kAppendEvent);
    createMacro(QStringLiteral("save/as"));
    ASSERT_TRUE(page->saveMacros());
    // The file name is made safe; the name inside the file is as typed.
    DataStream file;
    ASSERT_TRUE(readWholeFile(folder.path() / "Save_As.macro", file));
    CMacro read;
    ASSERT_TRUE(readMacro(file, read));
    EXPECT_EQ(read.name, u"Save/As");
    // Two names that differ only in letter case cannot both be files on
    // every system; the second is kept as the save renamed it, and shown so.
    EXPECT_EQ(names(), QStringList({"Save/As", "save/as1"}));

    // A later load changes nothing, and least of all the steps on show.
    clickRow(0);
    page->loadMacros(folder.path());
    EXPECT_EQ(list().rows().size(), 2u);
    EXPECT_EQ(steps().size(), 1u);

    page.reset();
    open();
    page->loadMacros(folder.path());
    EXPECT_EQ(names(), QStringList({"Save/As", "save/as1"}));
    clickRow(0);
    EXPECT_THAT(steps(), ElementsAre(Step{1, kKeyA, 0, 7}));
}

}  // namespace
}  // namespace orvane
