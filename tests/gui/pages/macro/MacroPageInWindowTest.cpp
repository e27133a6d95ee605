// The Macro Settings page inside the main window: it holds the macros the
// window saves on Apply and the Mouse Settings page offers, and a deletion
// reaches the buttons that played the macro.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>

#include "controls/CKivComboButton.h"
#include "controls/CKivEdit.h"
#include "controls/CKivMenu.h"
#include "controls/CPopDlg.h"
#include "gui/app/MainWindowHarness.h"
#include "macros/MacroFile.h"
#include "pages/macro/CKivListBox.h"
#include "pages/macro/CKivMacroCtrl.h"
#include "pages/macro/CMacroSettingsDlg.h"
#include "pages/macro/MacroMemoryGauge.h"
#include "pages/mouse/CMouseSettingsDlg.h"
#include "platform/FakeKeyboardHook.h"
#include "profile/FileIO.h"

namespace orvane::test {
namespace {

using emulator::VirtualMouse;

constexpr int kKeyA = 65;
constexpr int kButtonFour = 3;

class MacroPageInWindow : public testing::Test, public MainWindowHarness {
  protected:
    void SetUp() override {
        services.createPage = nullptr;  // the page factory's pages
        setup.pageServices.keyboardHook = &hook;
    }

    CMacroSettingsDlg& macroPage() {
        return dynamic_cast<CMacroSettingsDlg&>(*window->page(PageKind::MacroSettings));
    }
    CMouseSettingsDlg& mousePage() {
        return dynamic_cast<CMouseSettingsDlg&>(*window->page(PageKind::MouseSettings));
    }

    void recordMacro(const QString& name) {
        window->switchPage(PageKind::MacroSettings);
        macroPage().newMacro();
        QLineEdit* field = macroPage().macroList()->nameEditor()->lineEdit();
        QTest::keyClicks(field, name);
        QTest::keyClick(field, Qt::Key_Return);
        macroPage().startRecording(true);
        hook.press(kKeyA);
        hook.release(kKeyA);
        macroPage().stopRecording();
    }

    // Button 4 plays the macro with this id, picked on the Mouse Settings page.
    void assignToButtonFour(int id) {
        window->switchPage(PageKind::MouseSettings);
        mousePage().controlNotified(CMouseSettingsDlg::kFunctionButtonId + kButtonFour, id);
    }

    FakeKeyboardHook hook;
};

TEST_F(MacroPageInWindow, MacroFilesAreListedAndOfferedFromTheStart) {
    MacroCollection earlier;
    earlier.macroFolder = setup.macroFolder;
    earlier.addMacro(21, u"Stored").addEvent(kKeyEvent, kKeyA, kPressed, 3, kAppendEvent);
    ASSERT_TRUE(earlier.saveMacroFiles());

    CVYSKDlg& window = open();
    EXPECT_EQ(&window.macroCollection(), &macroPage().macroCollection());
    ASSERT_EQ(macroPage().macroList()->rows().size(), 1u);
    EXPECT_EQ(macroPage().stepEditor()->currentMacro()->events.size(), 1u);
    // Offered before any page switch rebuilt the menus.
    const MenuItem* item = mousePage().functionButton(0)->menu()->findItem(21);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text, QStringLiteral("Stored"));
}

TEST_F(MacroPageInWindow, ApplyWritesTheRecordedMacroToFileAndMouse) {
    CVYSKDlg& window = open();
    recordMacro(QStringLiteral("Tap"));
    assignToButtonFour(16);
    window.switchPage(PageKind::MacroSettings);
    EXPECT_EQ(macroPage().memoryGauge()->slotsText(), QStringLiteral("3 of 178 slots"));
    apply();

    DataStream file;
    ASSERT_TRUE(readWholeFile(setup.macroFolder / "Tap.macro", file));
    CMacro saved;
    ASSERT_TRUE(readMacro(file, saved));
    EXPECT_EQ(saved.events.size(), 2u);
    const auto image = onMouse([](VirtualMouse& m) { return m.slotImage(0); });
    const std::size_t entry = kButtonTableOffset + kButtonEntrySize * kButtonEntryOfButton[3];
    EXPECT_EQ(image[entry], 0x03);
    const std::size_t area = image[entry + 2] | (image[entry + 3] << 8);
    EXPECT_EQ(image[entry + 4], 2);
    EXPECT_EQ(image[area + 1], 0x04);  // the usage of A
}

TEST_F(MacroPageInWindow, DeletingAMacroSendsItsButtonsBackToTheirOwnFunctions) {
    CVYSKDlg& window = open();
    recordMacro(QStringLiteral("Gone"));
    assignToButtonFour(16);
    window.switchPage(PageKind::MacroSettings);
    EXPECT_EQ(window.profileSet().currentRecord().buttons[kButtonFour].function, 14);

    macroPage().setPopupRunner([](CPopDlg&) { return CPopDlg::kResultOk; });
    macroPage().deleteMacro();

    const ButtonAssignment& button = window.profileSet().currentRecord().buttons[kButtonFour];
    EXPECT_EQ(button.function, 3);
    EXPECT_EQ(button.parameter, 0);
    EXPECT_EQ(mousePage().functionButton(kButtonFour)->caption(), QStringLiteral("Forward"));
    EXPECT_EQ(mousePage().functionButton(kButtonFour)->menu()->findItem(16), nullptr);
}

}  // namespace
}  // namespace orvane::test
