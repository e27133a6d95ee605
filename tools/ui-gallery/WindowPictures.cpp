#include <QApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTimer>
#include <optional>

#include "Gallery.h"
#include "Pictures.h"
#include "Stage.h"
#include "app/CVYSKDlg.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivEdit.h"
#include "controls/CKivMenu.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "controls/CRenameDlg.h"
#include "device/DeviceLink.h"
#include "emulator/VirtualHidBus.h"
#include "pages/mouse/CMouseSettingsDlg.h"
#include "platform/FakeClock.h"
#include "platform/FakeKeyboardHook.h"
#include "platform/FakePointerSettings.h"

namespace orvane::gallery {

namespace {

namespace popup = layout::popup;

constexpr int kWaitMs = 5000;

// Runs the event loop until `done` holds or the time is up; answers `done`.
template <typename Condition>
bool waitFor(Condition done) {
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.start(kWaitMs);
    while (!done() && deadline.isActive()) {
        loop.processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    return done();
}

// A main window on a throw-away data folder and the in-process simulated
// mouse; every question it would ask is answered without a dialog.
class MainWindowRig {
  public:
    explicit MainWindowRig(Gallery& gallery, PointerSettings* desktop = nullptr) {
        MainWindowSetup setup;
        setup.pageServices.pointerSettings = desktop;
        const std::filesystem::path root = folder.path().toStdString();
        setup.profilesFolder = root / "Profiles";
        setup.macroFolder = root / "Macros";
        setup.exchangeFolder = root;
        setup.link = &link;
        setup.bus = &bus;
        setup.clock = &clock;
        setup.withTrayIcon = false;

        MainWindowServices services;
        services.warn = [&gallery](QWidget*, const QString& text) {
            gallery.problem(QStringLiteral("main window warned: %1").arg(text));
        };
        services.popup = [](QWidget*, int) { return CPopDlg::kResultCancel; };
        services.rename = [this](QWidget*, int) { return renameAnswer; };
        services.chooseExportFile = [](QWidget*, const QString&, const QString&) {
            return QString();
        };
        services.chooseImportFile = [](QWidget*, const QString&) { return QString(); };

        window = std::make_unique<CVYSKDlg>(setup, services);
        bool followed = false;
        QObject::connect(window.get(), &CVYSKDlg::mouseFollowed, [&followed] { followed = true; });
        window->initialise();
        window->move(0, 0);
        window->show();
        if (!waitFor([&followed] { return followed; })) {
            gallery.problem(QStringLiteral("the main window never finished reading the mouse"));
        }
    }

    ~MainWindowRig() { window->waitForApplies(); }

    CVYSKDlg& dialog() { return *window; }

    void rename(std::size_t slot, const QString& name) {
        renameAnswer = name;
        window->profileMenu(slot, CVYSKDlg::kRename);
        renameAnswer.reset();
    }

  private:
    QTemporaryDir folder;
    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    std::optional<QString> renameAnswer;
    std::unique_ptr<CVYSKDlg> window;
};

void mainWindowPages(Gallery& gallery) {
    const struct {
        PageKind kind;
        const char* name;
        const char* caption;
    } pages[] = {
        {PageKind::MouseSettings, "mouse", "Main window, \"Mouse Settings\" page"},
        {PageKind::SensorPerformance, "sensor", "Main window, \"Sensor Performance\" page"},
        {PageKind::ColorSettings, "color", "Main window, \"Color Settings\" page"},
        {PageKind::MacroSettings, "macro", "Main window, \"Macro Settings\" page"},
        {PageKind::Support, "support", "Main window, \"Support\" page"},
    };
    MainWindowRig rig(gallery);
    for (const auto& page : pages) {
        rig.dialog().switchPage(page.kind);
        gallery.save(QStringLiteral("windows/main-%1-page.png").arg(QLatin1String(page.name)),
                     composeOnScreen(rig.dialog(), {}), QString::fromLatin1(page.caption));
    }
}

void mainWindowProfiles(Gallery& gallery) {
    MainWindowRig rig(gallery);
    CVYSKDlg& window = rig.dialog();

    CKivComboButton& menuButton = *window.menuButton(1);
    clickLeft(menuButton);
    gallery.save(QStringLiteral("windows/main-profile-menu-open.png"),
                 composeOnScreen(window, {menuButton.menu()}),
                 QStringLiteral("Main window, menu of profile 2 open"));
    menuButton.menu()->closeMenu();
    settle();

    window.profileMenu(1, CVYSKDlg::kDisableEnable);
    rig.rename(2, QStringLiteral("Sniper"));
    gallery.save(QStringLiteral("windows/main-profile2-disabled-profile3-renamed.png"),
                 composeOnScreen(window, {}),
                 QStringLiteral("Main window, profile 2 disabled, profile 3 renamed \"Sniper\""));
}

void mouseSettingsPage(Gallery& gallery) {
    // A desktop without wheel lines, as GNOME is, and two macros to offer.
    FakePointerSettings desktop;
    desktop.refused.wheelScrollLines = true;
    MainWindowRig rig(gallery, &desktop);
    CVYSKDlg& window = rig.dialog();
    window.macroCollection().addMacro(16, u"Reload burst");
    window.macroCollection().addMacro(17, u"Grenade");
    window.switchPage(PageKind::SensorPerformance);
    window.switchPage(PageKind::MouseSettings);
    auto& page = dynamic_cast<CMouseSettingsDlg&>(*window.page(PageKind::MouseSettings));

    CKivComboButton& button = *page.functionButton(2);
    clickLeft(button);
    CKivMenu& menu = *button.menu();
    for (int header : {CMouseSettingsDlg::kProfileItem, CMouseSettingsDlg::kMacroItem}) {
        for (const MenuItem& item : menu.items()) {
            if (item.id == header) {
                moveTo(menu, item.rect.center());
            }
        }
        settle();
        const QString name = header == CMouseSettingsDlg::kProfileItem ? QStringLiteral("profile")
                                                                       : QStringLiteral("macro");
        gallery.save(
            QStringLiteral("windows/mouse-page-menu-%1-submenu.png").arg(name),
            composeOnScreen(window, {&menu, menu.submenu(header)}),
            QStringLiteral("Mouse Settings page, button 3's menu with the %1 submenu").arg(name));
    }
    menu.closeMenu();
    settle();

    window.startApply();
    window.waitForApplies();
    settle();
    gallery.save(QStringLiteral("windows/mouse-page-after-apply-without-wheel-lines.png"),
                 composeOnScreen(window, {}),
                 QStringLiteral("Mouse Settings page after an Apply on a desktop without wheel "
                                "lines"));
}

// ----- pop-ups -----

struct PopupShot {
    int variant;
    const char* name;
    const char* caption;
    // What happens once the pop-up is on the screen, before the picture.
    std::function<bool(CPopDlg&, FakeKeyboardHook&)> prepare;
};

void popups(Gallery& gallery, const QString& skinFolder) {
    const auto countdownAt = [](const char* shown) {
        return [shown](CPopDlg& dialog, FakeKeyboardHook&) {
            return waitFor([&] { return dialog.timeField()->text() == QLatin1String(shown); });
        };
    };
    const PopupShot shots[] = {
        {popup::kLeftClickWarn, "167-left-click-warn", "Pop-up 167: left click warning", {}},
        {popup::kDeleteMacro, "171-delete-macro", "Pop-up 171: delete macro", {}},
        {popup::kSurfaceAnalysisStart,
         "175-surface-analysis-start",
         "Pop-up 175: surface analysis question",
         {}},
        {popup::kSurfaceAnalysisRun, "179-surface-analysis-10s",
         "Pop-up 179: surface analysis running, 10 seconds left", countdownAt("10")},
        {popup::kSurfaceAnalysisRun, "179-surface-analysis-4s",
         "Pop-up 179: surface analysis running, 4 seconds left", countdownAt("4")},
        {popup::kSurfaceAnalysisDone,
         "185-surface-analysis-done",
         "Pop-up 185: surface analysis done",
         {}},
        {popup::kResetWarn, "188-reset-warn", "Pop-up 188: reset warning", {}},
        {popup::kUpdateWarn, "192-update-warn", "Pop-up 192: update warning", {}},
        {popup::kAssignKey, "196-assign-key-empty", "Pop-up 196: assign key, nothing pressed", {}},
        {popup::kAssignKey, "196-assign-key-A", "Pop-up 196: assign key, \"A\" captured",
         [](CPopDlg& dialog, FakeKeyboardHook& hook) {
             hook.press('A');
             hook.release('A');
             settle();
             return dialog.capturedKey() == 'A';
         }},
    };
    // Fast enough to reach 4 seconds left in a moment, slow enough that no
    // two ticks fall between two looks at the field.
    constexpr std::chrono::milliseconds kFastTick{40};
    constexpr std::chrono::milliseconds kLongPause{60000};
    for (const PopupShot& shot : shots) {
        FakeKeyboardHook hook;
        CPopDlg dialog(shot.variant);
        dialog.setPictureFolder(skinFolder);
        dialog.setKeyboardHook(&hook);
        dialog.setCountdownTiming(kFastTick, kLongPause);
        dialog.setMessageBox([&gallery, &shot](QWidget*, const QString& text) {
            gallery.problem(QStringLiteral("pop-up %1 said: %2").arg(shot.variant).arg(text));
        });
        dialog.show();
        settle();
        if (shot.prepare && !shot.prepare(dialog, hook)) {
            gallery.problem(QStringLiteral("pop-up %1: could not reach the state of %2")
                                .arg(shot.variant)
                                .arg(QLatin1String(shot.name)));
        }
        gallery.save(QStringLiteral("windows/popup-%1.png").arg(QLatin1String(shot.name)),
                     composeOnScreen(dialog, {}), QString::fromLatin1(shot.caption));
        dialog.done(CPopDlg::kResultCancel);
    }
}

void typeKeys(QWidget& target, const QString& text) {
    for (const QChar letter : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(&target, &press);
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(letter));
        QApplication::sendEvent(&target, &release);
    }
    settle();
}

void renameDialog(Gallery& gallery) {
    CRenameDlg dialog(3);
    dialog.show();
    settle();
    gallery.save(QStringLiteral("windows/rename-empty.png"), composeOnScreen(dialog, {}),
                 QStringLiteral("Rename dialog for profile 3, as opened"));
    dialog.nameField()->lineEdit()->setFocus();
    typeKeys(*dialog.nameField()->lineEdit(), QStringLiteral("Sniper"));
    gallery.save(QStringLiteral("windows/rename-typed.png"), composeOnScreen(dialog, {}),
                 QStringLiteral("Rename dialog with \"Sniper\" typed"));
    dialog.reject();
}

}  // namespace

void windowPictures(Gallery& gallery, const QString& skinFolder) {
    mainWindowPages(gallery);
    mainWindowProfiles(gallery);
    mouseSettingsPage(gallery);
    popups(gallery, skinFolder);
    renameDialog(gallery);
}

}  // namespace orvane::gallery
