#include "Stage.h"

#include <QApplication>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QPainter>

#include "skins/SkinCache.h"

namespace orvane::gallery {

namespace {

// Where the stages sit on the virtual screen: away from its corner, so that a
// pop-up opened upwards or to the left still lands at positive coordinates.
constexpr QPoint kStagePosition{200, 200};

void sendMouse(QWidget& widget, QEvent::Type type, QPoint local, Qt::MouseButtons held) {
    const QPointF position(local);
    QMouseEvent event(type, position, position, QPointF(widget.mapToGlobal(local)),
                      type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, held,
                      Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

QPoint centreOf(const QWidget& widget) {
    return widget.rect().center();
}

}  // namespace

Stage::Stage(int backgroundPart, const layout::Rect& focus, int margin)
    : window(std::make_unique<CKivImageDialog>()) {
    const QImage sheet = skinPart(backgroundPart, layout::kStateNormal, QRect()).toImage();
    const QRect crop = toQRect(focus).adjusted(-margin, -margin, margin, margin) & sheet.rect();
    origin = crop.topLeft();
    window->setBackground(sheet.copy(crop));
    window->move(kStagePosition);
    window->show();
}

Stage::~Stage() = default;

QRect Stage::local(const layout::Rect& rect) const {
    return toQRect(rect).translated(-origin);
}

QImage Stage::grab(const std::vector<QWidget*>& popups) const {
    return composeOnScreen(*window, popups);
}

void hover(QWidget& widget) {
    const QPointF position(centreOf(widget));
    QEnterEvent event(position, position, QPointF(widget.mapToGlobal(centreOf(widget))));
    QApplication::sendEvent(&widget, &event);
    settle();
}

void pressLeft(QWidget& widget) {
    sendMouse(widget, QEvent::MouseButtonPress, centreOf(widget), Qt::LeftButton);
    settle();
}

void releaseLeft(QWidget& widget) {
    sendMouse(widget, QEvent::MouseButtonRelease, centreOf(widget), Qt::NoButton);
    settle();
}

void clickLeft(QWidget& widget) {
    pressLeft(widget);
    releaseLeft(widget);
}

void moveTo(QWidget& widget, QPoint local) {
    sendMouse(widget, QEvent::MouseMove, local, Qt::NoButton);
    settle();
}

void settle() {
    QApplication::processEvents();
    QApplication::sendPostedEvents();
    QApplication::processEvents();
}

QImage composeOnScreen(QWidget& window, const std::vector<QWidget*>& popups) {
    settle();
    QRect area = window.geometry();
    for (const QWidget* popup : popups) {
        if (popup != nullptr && popup->isVisible()) {
            area |= popup->geometry();
        }
    }
    QImage picture(area.size(), QImage::Format_ARGB32_Premultiplied);
    // A neutral grey, so that a pop-up sticking out of its window shows.
    picture.fill(QColor(64, 64, 64));
    QPainter painter(&picture);
    painter.drawPixmap(window.geometry().topLeft() - area.topLeft(), window.grab());
    for (QWidget* popup : popups) {
        if (popup != nullptr && popup->isVisible()) {
            painter.drawPixmap(popup->geometry().topLeft() - area.topLeft(), popup->grab());
        }
    }
    return picture;
}

}  // namespace orvane::gallery
