// The shell around the pages as a user meets it: the profile menus, what
// arrives from and goes to files, closing the window with and without a
// notification area, the tray menu's place and the messages of start-up
// and Apply.
#include <gmock/gmock.h>

#include <QGuiApplication>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTest>
#include <fstream>
#include <sstream>

#include "app/AppTexts.h"
#include "app/DeviceLibrary.h"
#include "app/TrayIcon.h"
#include "buttons/ButtonFunction.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "gui/app/MainWindowHarness.h"
#include "profile/ProfileFile.h"
#include "protocol/image/DeviceImage.h"

namespace orvane::test {
namespace {

using emulator::VirtualMouse;
using testing::ElementsAre;
using testing::IsEmpty;

std::string fileText(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

class MainWindowShell : public testing::Test, public MainWindowHarness {};

TEST_F(MainWindowShell, ProfileOneStaysEnabledHoweverADisabledRecordArrives) {
    MouseProfile disabled;
    disabled.enabled = 0;
    disabled.name = u"Off";
    ASSERT_TRUE(saveProfile(setup.profilesFolder / "Default1.profile", disabled));
    chosenFile = QString::fromStdString((folder.path() / "off.profile").string());
    ASSERT_TRUE(saveProfile(chosenFile.toStdString(), disabled));

    CVYSKDlg& window = open();
    EXPECT_EQ(window.profileSet().record(0).enabled, 1u);  // its own file at start

    window.profileMenu(0, CVYSKDlg::kImport);
    EXPECT_EQ(window.profileSet().record(0).name, u"Off");
    EXPECT_EQ(window.profileSet().record(0).enabled, 1u);
    EXPECT_TRUE(window.profileButton(0)->isEnabled());
    // Another profile takes the file's state as it is.
    window.profileMenu(2, CVYSKDlg::kImport);
    EXPECT_EQ(window.profileSet().record(2).enabled, 0u);

    apply();
    MouseProfile saved;
    ASSERT_TRUE(loadProfile(setup.profilesFolder / "Default1.profile", saved));
    EXPECT_EQ(saved.enabled, 1u);
    EXPECT_EQ(onMouse([](VirtualMouse& m) { return m.slotImage(0); })[kEnabledOffset], 1);
}

TEST_F(MainWindowShell, EveryProfileMenuPickLeavesTheMenuButtonsFace) {
    CVYSKDlg& window = open();
    CKivComboButton& button = *window.menuButton(1);
    // Each click far enough from the last that the reopen guard stays out of it.
    qint64 now = 0;
    button.setClock([&now] { return now += 1000; });
    const QImage before = button.grab().toImage();

    for (int item = CVYSKDlg::kRename; item <= CVYSKDlg::kDisableEnable; ++item) {
        QTest::mouseClick(&button, Qt::LeftButton);
        CKivMenu& menu = *button.menu();
        ASSERT_TRUE(menu.isVisible()) << item;
        const QPoint row = menu.items()[static_cast<std::size_t>(item - 1)].rect.center();
        QTest::mouseClick(&menu, Qt::LeftButton, {}, row);
        ASSERT_FALSE(menu.isVisible()) << item;

        EXPECT_EQ(button.caption(), QString()) << item;
        EXPECT_EQ(button.grab().toImage(), before) << item;
    }
    // The picks themselves happened: the last one disabled Profile 2.
    EXPECT_EQ(window.profileSet().record(1).enabled, 0u);
}

TEST_F(MainWindowShell, ExportAsksBeforeReplacingTheFileItReallyWrites) {
    CVYSKDlg& window = open();
    const auto written = folder.path() / "mine.txt.profile";
    std::ofstream(written) << "keep me";
    chosenFile = QString::fromStdString((folder.path() / "mine.txt").string());

    overwriteAnswer = false;
    window.profileMenu(0, CVYSKDlg::kExport);
    EXPECT_THAT(overwriteQuestions, ElementsAre(QString::fromStdString(written.string())));
    EXPECT_EQ(fileText(written), "keep me");

    overwriteAnswer = true;
    window.profileMenu(0, CVYSKDlg::kExport);
    MouseProfile exported;
    EXPECT_TRUE(loadProfile(written, exported));

    // The dialog itself asked about a name that is written as typed, and a
    // new file needs no question.
    overwriteQuestions.clear();
    chosenFile = QString::fromStdString((folder.path() / "mine.txt.profile").string());
    window.profileMenu(0, CVYSKDlg::kExport);
    chosenFile = QString::fromStdString((folder.path() / "fresh").string());
    window.profileMenu(0, CVYSKDlg::kExport);
    EXPECT_THAT(overwriteQuestions, IsEmpty());
    EXPECT_TRUE(std::filesystem::is_regular_file(folder.path() / "fresh.profile"));
}

TEST_F(MainWindowShell, WithoutANotificationAreaCloseMinimisesAndTheDesktopsCloseQuits) {
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        GTEST_SKIP() << "this platform shows tray icons";
    }
    services.trayAvailable = nullptr;  // the platform's own answer
    setup.withTrayIcon = true;
    CVYSKDlg& window = open();
    QSignalSpy exits(&window, &CVYSKDlg::exitRequested);

    QTest::mouseClick(window.childAt(1003 + 8, 5 + 8), Qt::LeftButton);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_EQ(exits.count(), 0);
    window.showMainWindow();
    EXPECT_FALSE(window.isMinimized());

    window.close();  // the desktop's close: task bar, Alt+F4
    EXPECT_EQ(exits.count(), 1);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_EQ(exits.count(), 2);
}

TEST_F(MainWindowShell, WithANotificationAreaCloseHidesAndNothingButExitQuits) {
    CVYSKDlg& window = open();
    QSignalSpy exits(&window, &CVYSKDlg::exitRequested);
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    QTest::mouseClick(window.childAt(1003 + 8, 5 + 8), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    window.showMainWindow();
    window.close();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(exits.count(), 0);
}

TEST_F(MainWindowShell, StartUpWarningsWaitForTheWindowAndAreShownOverIt) {
    DeviceLibrary missing(nullptr, QStringLiteral("Orvane_no_such_library"));
    setup.library = &missing;
    window = std::make_unique<CVYSKDlg>(setup, services);
    window->warnWhenShown(QStringLiteral("no simulated mouse answers"));
    window->initialise();
    QCoreApplication::processEvents();
    EXPECT_THAT(messages, IsEmpty());

    window->show();
    ASSERT_TRUE(QTest::qWaitFor([this] { return messages.size() == 2; }, 2000));
    EXPECT_EQ(messages[0], QStringLiteral("no simulated mouse answers"));
    EXPECT_TRUE(messages[1].contains(QStringLiteral("Orvane_no_such_library")));
    EXPECT_THAT(warnedOverAVisibleWindow, ElementsAre(true, true));
    QTest::qWait(50);
    EXPECT_EQ(messages.size(), 2);  // once, not at every show
    window->hide();
    window->show();
    QTest::qWait(50);
    EXPECT_EQ(messages.size(), 2);
}

TEST_F(MainWindowShell, ApplyNamesEachMacroStepWhoseDelayTheMouseCannotHold) {
    CVYSKDlg& window = open();
    MouseProfile& record = window.profileSet().currentRecord();
    ButtonAssignment& button = record.buttons[2];
    button.function = static_cast<std::uint8_t>(ButtonFunction::Macro);
    button.parameter = 7;
    assignMacro(record, button,
                ButtonMacro{u"Wait",
                            7,
                            {{1, 65, 0, 10},
                             {1, 65, 1, 16'777'216},
                             {1, 66, 0, 16'777'215},
                             {1, 66, 1, 20'000'000}}});
    apply();

    ASSERT_EQ(messages.size(), 2) << messages.join('\n').toStdString();
    EXPECT_EQ(messages[0], QString::fromLatin1(texts::kMacroDelayCut)
                               .arg(3)
                               .arg(2)
                               .arg(16'777'216)
                               .arg(16'777'215)
                               .arg(0));
    EXPECT_TRUE(
        messages[1].startsWith(QStringLiteral("Step 4 of the macro of button 3 waits 20000000")));
    EXPECT_TRUE(messages[1].contains(QStringLiteral("waits 3222784 ms there")));
}

// The tray menu with a panel along the top edge and along the bottom edge:
// on the screen either way, its corner at the cursor.
TEST(TrayMenu, OpensOnTheScreenBesideTheCursorWhereverThePanelIs) {
    TrayIcon tray(applicationIcon());
    const QRect room = QGuiApplication::primaryScreen()->availableGeometry();

    const QPoint atTop(room.left() + room.width() - 10, room.top() + 3);
    tray.openMenu(atTop);
    CKivMenu& menu = *tray.menu();
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.geometry().topRight() + QPoint(1, 0), atTop);
    EXPECT_TRUE(room.contains(menu.geometry()));
    menu.closeMenu();

    const QPoint atBottom(room.left() + room.width() - 10, room.top() + room.height() - 3);
    tray.openMenu(atBottom);
    ASSERT_TRUE(menu.isVisible());
    EXPECT_EQ(menu.geometry().bottomRight() + QPoint(1, 1), atBottom);
    EXPECT_TRUE(room.contains(menu.geometry()));
    menu.closeMenu();
}

}  // namespace
}  // namespace orvane::test
