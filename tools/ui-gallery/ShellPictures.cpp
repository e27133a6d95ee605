// The shell around the pages: the profile bar after each menu pick, the tray
// menu with the panel along the top and along the bottom edge, the question
// export asks before it replaces a file, and the message for a mouse that is
// plugged in but may not be opened.
#include <QApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include "Gallery.h"
#include "Pictures.h"
#include "Stage.h"
#include "app/CVYSKDlg.h"
#include "app/MainWindowServices.h"
#include "app/TrayIcon.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"
#include "controls/CPopDlg.h"
#include "device/DeviceLink.h"
#include "emulator/VirtualHidBus.h"
#include "platform/FakeClock.h"
#include "platform/linux/session/AutostartEntry.h"

namespace orvane::gallery {

namespace {

// The profile bar with a little of the page buttons above it.
constexpr QRect kProfileBar(270, 52, 480, 40);
constexpr int kPanelHeight = 28;

void profileBarAfterEachPick(Gallery& gallery) {
    QTemporaryDir folder;
    FakeClock clock;
    emulator::VirtualHidBus bus{clock};
    DeviceLink link{bus, clock};
    MainWindowSetup setup;
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
    services.rename = [](QWidget*, int) { return std::optional<QString>(); };
    services.chooseExportFile = [](QWidget*, const QString&, const QString&) { return QString(); };
    services.chooseImportFile = [](QWidget*, const QString&) { return QString(); };
    services.trayAvailable = [] { return true; };

    CVYSKDlg window(setup, services);
    bool followed = false;
    QObject::connect(&window, &CVYSKDlg::mouseFollowed, [&followed] { followed = true; });
    window.initialise();
    window.move(0, 0);
    window.show();
    // The bar is out of use until the first reading of the mouse is done.
    QElapsedTimer waited;
    waited.start();
    while (!followed && waited.elapsed() < 5000) {
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
    }
    if (!followed) {
        gallery.problem(QStringLiteral("the main window never finished reading the mouse"));
    }
    settle();

    CKivComboButton& button = *window.menuButton(1);
    qint64 now = 0;
    button.setClock([&now] { return now += 1000; });
    const char* const items[] = {"rename", "save", "export", "import", "disable"};
    for (int item = CVYSKDlg::kRename; item <= CVYSKDlg::kDisableEnable; ++item) {
        clickLeft(button);
        CKivMenu& menu = *button.menu();
        const QRect row = menu.items()[static_cast<std::size_t>(item - 1)].rect;
        moveTo(menu, row.center());
        const QPoint at = row.center();
        QMouseEvent release(QEvent::MouseButtonRelease, at, menu.mapToGlobal(at), Qt::LeftButton,
                            Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(&menu, &release);
        settle();
        const QImage whole = composeOnScreen(window, {});
        gallery.save(QStringLiteral("windows/shell-profile-bar-after-%1.png")
                         .arg(QLatin1String(items[item - 1])),
                     whole.copy(kProfileBar),
                     QStringLiteral("Profile bar after \"%1\" in the menu of profile 2")
                         .arg(menu.items()[static_cast<std::size_t>(item - 1)].text));
    }
}

// The screen as a user sees it: the panel, the menu where it opened, and a
// cross where the pointer was.
QImage screenWithMenu(const QRect& screen, bool panelOnTop, CKivMenu& menu, QPoint cursor) {
    QImage picture(screen.size(), QImage::Format_RGB32);
    picture.fill(QColor(52, 58, 66));
    QPainter painter(&picture);
    const QRect panel(0, panelOnTop ? 0 : screen.height() - kPanelHeight, screen.width(),
                      kPanelHeight);
    painter.fillRect(panel, QColor(24, 24, 28));
    painter.drawImage(menu.geometry().topLeft() - screen.topLeft(), menu.grab().toImage());
    const QPoint c = cursor - screen.topLeft();
    painter.setPen(QPen(Qt::yellow, 2));
    painter.drawLine(c - QPoint(8, 0), c + QPoint(8, 0));
    painter.drawLine(c - QPoint(0, 8), c + QPoint(0, 8));
    return picture;
}

void trayMenuAtBothEdges(Gallery& gallery) {
    TrayIcon tray(applicationIcon());
    // Switched on, so that the picture shows the item's mark.
    QTemporaryDir folder;
    const AutostartEntry autostart(
        std::filesystem::path(folder.path().toStdString()) / "autostart.desktop", "ORVANE",
        "OrvaneConfig --hidden", "icon");
    std::string error;
    if (!autostart.setEnabled(true, error)) {
        gallery.problem(QString::fromStdString(error));
    }
    tray.setAutostartEntry(&autostart);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const struct {
        bool top;
        const char* name;
        const char* caption;
    } edges[] = {
        {true, "top", "Tray menu, panel along the top edge: opens below the pointer"},
        {false, "bottom", "Tray menu, panel along the bottom edge: opens above the pointer"},
    };
    for (const auto& edge : edges) {
        const int y = edge.top ? screen.top() + kPanelHeight / 2
                               : screen.top() + screen.height() - kPanelHeight / 2;
        const QPoint cursor(screen.left() + screen.width() - 40, y);
        tray.openMenu(cursor);
        settle();
        gallery.save(QStringLiteral("windows/shell-tray-menu-%1.png").arg(QLatin1String(edge.name)),
                     screenWithMenu(screen, edge.top, *tray.menu(), cursor),
                     QString::fromLatin1(edge.caption));
        tray.menu()->closeMenu();
        settle();
    }
}

void exportOverwriteQuestion(Gallery& gallery) {
    const MainWindowServices services = withDefaultServices({});
    QImage shown;
    QTimer::singleShot(200, [&shown] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            shown = box->grab().toImage();
            box->close();
        }
    });
    const bool replace =
        services.confirmOverwrite(nullptr, QStringLiteral("/home/user/mine.txt.profile"));
    if (shown.isNull() || replace) {
        gallery.problem(QStringLiteral("the overwrite question was not shown as expected"));
        return;
    }
    gallery.save(QStringLiteral("windows/shell-export-overwrite-question.png"), shown,
                 QStringLiteral("Export, before it replaces the file it will really write"));
}

void mouseNotReadableMessage(Gallery& gallery) {
    QImage shown;
    QTimer::singleShot(200, [&shown] {
        if (QWidget* box = QApplication::activeModalWidget()) {
            shown = box->grab().toImage();
            box->close();
        }
    });
    CPopDlg::showWarning(nullptr, CPopDlg::mouseMissingText("/dev/hidraw3"));
    if (shown.isNull()) {
        gallery.problem(QStringLiteral("the not-readable message was not shown"));
        return;
    }
    gallery.save(QStringLiteral("windows/shell-mouse-not-readable.png"), shown,
                 QStringLiteral("Apply with the mouse plugged in but not readable by the user: "
                                "what is wrong and how to fix it, instead of \"not found\""));
}

}  // namespace

void shellPictures(Gallery& gallery) {
    profileBarAfterEachPick(gallery);
    trayMenuAtBothEdges(gallery);
    exportOverwriteQuestion(gallery);
    mouseNotReadableMessage(gallery);
}

}  // namespace orvane::gallery
