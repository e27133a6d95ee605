#include "controls/KivButtonDropDown.h"

#include <QCursor>
#include <QPainter>

namespace orvane {

KivButtonDropDown::KivButtonDropDown(QWidget* parent) : QWidget(parent) {
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    idleCheck.setInterval(kIdleCheckMs);
    connect(&idleCheck, &QTimer::timeout, this, &KivButtonDropDown::hideIfPointerAway);
}

void KivButtonDropDown::setPicture(const QImage& picture) {
    background = picture;
    if (!background.isNull()) {
        resize(background.size());
    }
    update();
}

void KivButtonDropDown::hideIfPointerAway() {
    if (!isVisible()) {
        return;
    }
    const QPoint pointer = QCursor::pos();
    const bool onAnchor =
        anchorWidget != nullptr &&
        QRect(anchorWidget->mapToGlobal(QPoint(0, 0)), anchorWidget->size()).contains(pointer);
    if (!geometry().contains(pointer) && !onAnchor) {
        hide();
    }
}

void KivButtonDropDown::controlNotified(int id, int value) {
    if (onReport) {
        onReport(id, value);
    }
}

void KivButtonDropDown::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (!background.isNull()) {
        painter.drawImage(rect(), background);
    }
}

void KivButtonDropDown::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    idleCheck.start();
}

void KivButtonDropDown::hideEvent(QHideEvent* event) {
    idleCheck.stop();
    QWidget::hideEvent(event);
}

}  // namespace orvane
