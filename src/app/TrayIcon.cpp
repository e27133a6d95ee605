#include "app/TrayIcon.h"

#include <QCursor>
#include <QPixmap>

#include "app/AppTexts.h"
#include "controls/CKivMenu.h"
#include "platform/linux/session/AutostartEntry.h"
#include "skins/AppIcon.h"

namespace orvane {

namespace {

constexpr int kTrayMenuWidth = 130;

}  // namespace

QIcon applicationIcon() {
    // Up to the sizes task bars and trays draw. The window manager is sent
    // every size the icon has, as one property at the window's creation: a
    // 128 and a 256-pixel picture would make it five times as large and cost
    // several milliseconds of the start. Larger views (menus, launchers) take
    // the installed theme icons.
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(drawApplicationIcon(size)));
    }
    return icon;
}

TrayIcon::TrayIcon(const QIcon& picture, QObject* parent) : QObject(parent), icon(picture) {
    icon.setToolTip(QString::fromLatin1(texts::kTrayTooltip));
    connect(&icon, &QSystemTrayIcon::activated, this, &TrayIcon::activated);
}

TrayIcon::~TrayIcon() {
    icon.hide();
}

void TrayIcon::show() {
    icon.show();
}

void TrayIcon::activated(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
        case QSystemTrayIcon::Trigger:
        case QSystemTrayIcon::DoubleClick:
            emit showRequested();
            break;
        case QSystemTrayIcon::Context:
            openMenu(QCursor::pos());
            break;
        default:
            break;
    }
}

void TrayIcon::openMenu(const QPoint& cursor) {
    if (!trayMenu) {
        trayMenu = std::make_unique<CKivMenu>(kTrayMenuId, this, kTrayMenuWidth);
    }
    // Built at each opening: the autostart mark follows the file, which the
    // desktop's own settings may have changed meanwhile.
    trayMenu->clearItems();
    trayMenu->addItem(kConfigMouseItem, QString::fromLatin1(texts::kTrayConfigMouse));
    if (autostart != nullptr) {
        trayMenu->addItem(kAutostartItem,
                          QString::fromUtf8(autostart->enabled() ? texts::kTrayAutostartOn
                                                                 : texts::kTrayAutostartOff));
    }
    trayMenu->addItem(kExitItem, QString::fromLatin1(texts::kTrayExit));
    trayMenu->fitToItems(kTrayMenuWidth);
    trayMenu->popup(cursor, CKivMenu::Anchor::BottomRight);
}

void TrayIcon::toggleAutostart() {
    std::string error;
    if (!autostart->setEnabled(!autostart->enabled(), error)) {
        emit failed(
            QString::fromLatin1(texts::kAutostartFailed).arg(QString::fromStdString(error)));
    }
}

void TrayIcon::controlNotified(int id, int value) {
    if (id != kTrayMenuId) {
        return;  // the menu's visibility reports: nothing to raise here
    }
    if (value == kConfigMouseItem) {
        emit showRequested();
    } else if (value == kExitItem) {
        emit exitRequested();
    } else if (value == kAutostartItem && autostart != nullptr) {
        toggleAutostart();
    }
}

}  // namespace orvane
