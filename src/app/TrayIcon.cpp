#include "app/TrayIcon.h"

#include <QCursor>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include "app/AppTexts.h"
#include "controls/CKivMenu.h"
#include "skins/SkinPalette.h"

namespace orvane {

namespace {

constexpr int kTrayMenuWidth = 130;

QColor toColor(palette::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

QPixmap drawIcon(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    painter.setPen(Qt::NoPen);
    painter.setBrush(toColor(palette::kGraphite));
    painter.drawRoundedRect(QRectF(0, 0, s, s), s * 0.22, s * 0.22);
    // A mouse seen from above: body, the split between the buttons, the wheel.
    QPainterPath body;
    body.addRoundedRect(QRectF(s * 0.30, s * 0.14, s * 0.40, s * 0.72), s * 0.20, s * 0.20);
    painter.setPen(QPen(toColor(palette::kAccent), std::max(1.0, s * 0.06)));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(body);
    painter.drawLine(QPointF(s * 0.5, s * 0.16), QPointF(s * 0.5, s * 0.40));
    painter.setBrush(toColor(palette::kAccent));
    painter.setPen(Qt::NoPen);
    painter.drawRoundedRect(QRectF(s * 0.46, s * 0.24, s * 0.08, s * 0.12), s * 0.04, s * 0.04);
    return pixmap;
}

}  // namespace

QIcon applicationIcon() {
    QIcon icon;
    for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
        icon.addPixmap(drawIcon(size));
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
        trayMenu->addItem(kConfigMouseItem, QString::fromLatin1(texts::kTrayConfigMouse));
        trayMenu->addItem(kExitItem, QString::fromLatin1(texts::kTrayExit));
    }
    trayMenu->popup(cursor, CKivMenu::Anchor::BottomRight);
}

void TrayIcon::controlNotified(int id, int value) {
    if (id != kTrayMenuId) {
        return;  // the menu's visibility reports: nothing to raise here
    }
    if (value == kConfigMouseItem) {
        emit showRequested();
    } else if (value == kExitItem) {
        emit exitRequested();
    }
}

}  // namespace orvane
