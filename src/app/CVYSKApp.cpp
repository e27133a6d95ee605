#include "app/CVYSKApp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <QTimer>

#include "app/AppTexts.h"
#include "app/CVYSKDlg.h"
#include "app/DemoMouse.h"
#include "app/DeviceLibrary.h"
#include "device/DeviceLink.h"
#include "platform/AppPaths.h"
#include "platform/Clock.h"
#include "platform/HidBusSelection.h"
#include "platform/qt/LocalSocketSingleInstance.h"

namespace orvane {

namespace {

void warnOnce(const QString& text) {
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(texts::kMessageCaption), text,
                    QMessageBox::Ok);
    box.exec();
}

}  // namespace

int CVYSKApp::run(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(texts::kWindowTitle));
    QApplication::setOrganizationName(QStringLiteral("Veltrac"));
    QApplication::setApplicationVersion(QString::fromLatin1(texts::kVersionText));
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

    if (options.isSet(demo)) {
        const QString problem = startDemoMouse(QApplication::applicationDirPath());
        if (!problem.isEmpty()) {
            warnOnce(problem);
        }
    }

    HidBusSelection selection = selectHidBusFromEnvironment();
    if (!selection.bus) {
        warnOnce(QString::fromStdString(selection.error));
        selection = selectHidBus("hidapi");
    }
    SteadyClock clock;
    DeviceLink link(*selection.bus, clock);
    DeviceLibrary library;

    const AppPaths paths = AppPaths::ofThisProcess();
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

    CVYSKDlg window(setup, {});
    instance.setOnShowRequested([&window] { window.showMainWindow(); });
    // exit(), not quit(): quit() first asks every window to close, and the
    // main window only hides on a close, which would cancel the quit.
    QObject::connect(
        &window, &CVYSKDlg::exitRequested, &application, [] { QCoreApplication::exit(0); },
        Qt::QueuedConnection);
    window.initialise();
    if (!options.isSet(hidden)) {
        window.show();
    }
    return application.exec();
}

}  // namespace orvane
