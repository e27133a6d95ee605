#include "app/CVYSKApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QStringList>
#include <QTimer>

#include "app/AppTexts.h"
#include "app/CVYSKDlg.h"
#include "app/DemoMouse.h"
#include "app/DeviceLibrary.h"
#include "device/DeviceLink.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/desktop/PointerSettingsSelection.h"
#include "platform/linux/lockfile/FileUpdateLock.h"
#include "platform/linux/session/AutostartEntry.h"
#include "platform/linux/x11/X11KeyboardHook.h"
#include "platform/qt/LocalSocketSingleInstance.h"
#include "platform/qt/QtShell.h"
#include "platform/selection/HidBusSelection.h"
#include "skins/SkinCache.h"
#include "skins/SkinFolder.h"
#include "version/Version.h"

namespace orvane {

int CVYSKApp::run(int argc, char** argv) {
    // Decoding the first window's backgrounds takes as long as a good part of
    // Qt's own start; done beside it, the window shows that much sooner.
    prefetchMainWindowSheets(
        skinFolderFor(QString::fromStdString(currentProgramFolder().string())));
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(texts::kWindowTitle));
    QApplication::setOrganizationName(QStringLiteral("Veltrac"));
    QApplication::setApplicationVersion(QString::fromLatin1(kSoftwareVersionText));
    // The window hides instead of closing; only "Exit" ends the program.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Configures the ORVANE PRO gaming mouse."));
    options.addHelpOption();
    options.addVersionOption();
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Use the simulated mouse (starts orvane-emud when none runs)."));
    const QCommandLineOption hidden(QStringLiteral("hidden"),
                                    QStringLiteral("Start in the notification area only."));
    options.addOption(demo);
    options.addOption(hidden);
    options.process(application);

    // Before anything else: a second copy only asks the first to show itself.
    LocalSocketSingleInstance instance;
    if (!instance.tryBecomePrimary()) {
        return 0;
    }

    SteadyClock clock;
    QtShell shell;
    const AppPaths paths = AppPaths::ofThisProcess();
    // Told once the main window is on the screen, over it.
    QStringList startupProblems;
    if (options.isSet(demo)) {
        const std::string problem = demoMouseOfThisProcess(shell, clock, paths).start();
        if (!problem.empty()) {
            startupProblems << QString::fromStdString(problem);
        }
    }

    HidBusSelection selection = selectHidBusFromEnvironment();
    if (!selection.bus) {
        startupProblems << QString::fromStdString(selection.error);
        selection = selectHidBus("hidapi");
    }
    DeviceLink link(*selection.bus, clock);
    // While the firmware-update program has the mouse, nothing of ours may
    // reach it: not a reading, not an Apply, not the surface analysis.
    FileUpdateLock updateLock(FileUpdateLock::defaultFile());
    link.setAccessGate([&updateLock] { return !updateLock.heldElsewhere(); });
    DeviceLibrary library;
    // Global keys reach the key capture and the recorder on the UI thread.
    // Without an X server (a Wayland session without XWayland) there is no
    // hook, and the pages that need one say so when asked.
    std::string hookError;
    const std::unique_ptr<KeyboardHook> keyboardHook = X11KeyboardHook::create(
        [&application](std::function<void()> work) {
            QMetaObject::invokeMethod(&application, std::move(work), Qt::QueuedConnection);
        },
        std::string(), hookError);

    // The desktop's own pointer settings (GNOME, KDE Plasma, or the X
    // server's); without one the Mouse Settings page says so after Apply.
    std::string pointerWhy;
    const std::unique_ptr<PointerSettings> pointerSettings =
        createPointerSettingsForThisProcess(pointerWhy);

    MainWindowSetup setup;
    setup.profilesFolder = paths.profilesFolder();
    setup.macroFolder = paths.macroFolder();
    // Export and import start in "Profiles" beside the program where there
    // is one (a portable install), else in the user's own profile folder.
    const std::filesystem::path beside = paths.programFolder() / "Profiles";
    std::error_code error;
    setup.exchangeFolder =
        std::filesystem::is_directory(beside, error) ? beside : paths.profilesFolder();
    setup.link = &link;
    setup.bus = selection.bus.get();
    setup.clock = &clock;
    setup.library = &library;
    setup.updateLock = &updateLock;
    setup.pageServices.keyboardHook = keyboardHook.get();
    setup.pageServices.shell = &shell;
    setup.pageServices.pointerSettings = pointerSettings.get();
    setup.pageServices.paths = &paths;
    // Started at log-in in the tray, so that the mouse's events are followed
    // from then on.
    const AutostartEntry autostart(
        AutostartEntry::fileFor(AppPaths::thisProcessEnvironment(), kDesktopId),
        texts::kWindowTitle,
        desktopExecQuoted(QCoreApplication::applicationFilePath().toStdString()) + " --hidden",
        kDesktopId);
    setup.autostart = &autostart;

    CVYSKDlg window(setup, {});
    instance.setOnShowRequested([&window] { window.showMainWindow(); });
    // exit(), not quit(): quit() first asks every window to close, and the
    // main window only hides on a close, which would cancel the quit.
    QObject::connect(
        &window, &CVYSKDlg::exitRequested, &application, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    for (const QString& problem : startupProblems) {
        window.warnWhenShown(problem);
    }
    window.initialise(options.isSet(hidden) ? CVYSKDlg::ServiceStart::Now
                                            : CVYSKDlg::ServiceStart::AfterFirstPaint);
    if (!options.isSet(hidden)) {
        window.show();
    } else {
        // In the tray the first page is not drawn for a while, perhaps all
        // day; its background is decoded when it is.
        forgetPrefetchedSheets();
        if (!window.hasNotificationArea()) {
            // Hidden with no tray to call it back from, it could only be killed.
            window.showMinimized();
        }
    }
    return application.exec();
}

}  // namespace orvane
