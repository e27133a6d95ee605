#include "controls/KivButtonBase.h"

#include <QEnterEvent>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "skins/SkinPalette.h"

namespace orvane {

KivButtonBase::KivButtonBase(QWidget* parent, int controlId) : CKivWidget(parent, controlId) {
    // Moves without a button held are needed to notice the pointer arriving on
    // platforms that report no enter event before the first move.
    setMouseTracking(true);
}

void KivButtonBase::keyPressEvent(QKeyEvent* event) {
    if (event->key() != Qt::Key_Space || event->isAutoRepeat()) {
        CKivWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    clicked();
}

void KivButtonBase::paintFocusMark(QPainter& painter) const {
    if (!hasFocus() || !focusFromKeyboard) {
        return;
    }
    painter.save();
    painter.setPen(
        QPen(QColor(palette::kAccent.r, palette::kAccent.g, palette::kAccent.b), 1, Qt::DotLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
    painter.restore();
}

void KivButtonBase::focusInEvent(QFocusEvent* event) {
    focusFromKeyboard =
        event->reason() == Qt::TabFocusReason || event->reason() == Qt::BacktabFocusReason;
    update();
    CKivWidget::focusInEvent(event);
}

void KivButtonBase::focusOutEvent(QFocusEvent* event) {
    focusFromKeyboard = false;
    update();
    CKivWidget::focusOutEvent(event);
}

void KivButtonBase::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        CKivWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    pressed = true;
    visualState = Down;
    update();
    leftPressed();
}

void KivButtonBase::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        CKivWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const bool overButton = pressed && rect().contains(event->position().toPoint());
    if (overButton) {
        // The owner may disable, hide or even delete the control while it
        // handles the click.
        QPointer<KivButtonBase> self(this);
        clicked();
        if (self.isNull()) {
            return;
        }
    }
    pressed = false;
    visualState = Normal;
    update();
}

void KivButtonBase::mouseMoveEvent(QMouseEvent* event) {
    // While the left button is held the control keeps the mouse, so leaving
    // and coming back are only visible as moves.
    const bool inside = rect().contains(event->position().toPoint());
    if (inside && !tracking) {
        startHover(event->buttons().testFlag(Qt::LeftButton));
    } else if (!inside && tracking) {
        endHover();
    }
    CKivWidget::mouseMoveEvent(event);
}

void KivButtonBase::enterEvent(QEnterEvent* event) {
    if (!tracking) {
        startHover(event->buttons().testFlag(Qt::LeftButton));
    }
    CKivWidget::enterEvent(event);
}

void KivButtonBase::leaveEvent(QEvent* event) {
    if (tracking) {
        endHover();
    }
    CKivWidget::leaveEvent(event);
}

void KivButtonBase::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        if (!isEnabled()) {
            pressed = false;
            tracking = false;
            visualState = Normal;
        }
        update();
    }
    CKivWidget::changeEvent(event);
}

void KivButtonBase::startHover(bool leftHeld) {
    tracking = true;
    pressed = leftHeld;
    visualState = Over;
    update();
    hoverEntered();
}

void KivButtonBase::endHover() {
    pressed = false;
    visualState = Normal;
    tracking = false;
    update();
}

}  // namespace orvane
