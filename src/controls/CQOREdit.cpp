#include "controls/CQOREdit.h"

#include <QLineEdit>
#include <QWheelEvent>
#include <algorithm>

namespace orvane {

namespace {

constexpr int kNotch = 120;

}  // namespace

CQOREdit::CQOREdit(QWidget* parent, int controlId)
    : CKivEdit(parent, controlId, 15, Qt::white, Qt::black) {
    lineEdit()->installEventFilter(this);
}

void CQOREdit::setTextHidden(bool hidden) {
    textHidden = hidden;
    lineEdit()->setEchoMode(hidden ? QLineEdit::NoEcho : QLineEdit::Normal);
}

void CQOREdit::setRange(int minimum, int maximum) {
    minValue = minimum;
    maxValue = std::max(minimum, maximum);
}

void CQOREdit::wheelEvent(QWheelEvent* event) {
    turnWheel(event);
}

bool CQOREdit::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lineEdit() && event->type() == QEvent::Wheel) {
        turnWheel(static_cast<QWheelEvent*>(event));
        return true;
    }
    return CKivEdit::eventFilter(watched, event);
}

void CQOREdit::turnWheel(QWheelEvent* event) {
    event->accept();
    pendingDelta += event->angleDelta().y();
    const int notches = pendingDelta / kNotch;
    if (notches == 0) {
        return;
    }
    pendingDelta -= notches * kNotch;

    // A text that is no number (empty, half typed) counts as the minimum, so
    // that the wheel always lands on a value of the range.
    bool ok = false;
    qint64 value = text().trimmed().toLongLong(&ok);
    if (!ok) {
        value = minValue;
    }
    for (int i = 0; i < std::abs(notches); ++i) {
        value += notches > 0 ? wheelStep : -qint64{wheelStep};
        value = std::clamp<qint64>(value, minValue, maxValue);
    }
    setText(QString::number(value));
}

}  // namespace orvane
