#include "controls/CKivProgressCtrl.h"

#include <QPainter>
#include <algorithm>

namespace orvane {

namespace {

// The covered share of a length, in whole pixels.
int share(int length, int along, int span) {
    if (span <= 0) {
        return 0;
    }
    return static_cast<int>(qint64{length} * along / span);
}

}  // namespace

CKivProgressCtrl::CKivProgressCtrl(QWidget* parent, int controlId)
    : CKivWidget(parent, controlId) {}

void CKivProgressCtrl::setImages(const QImage& background, const QImage& fill) {
    backgroundPicture = background;
    fillPicture = fill;
    update();
}

void CKivProgressCtrl::setRange(int minimum, int maximum) {
    minValue = minimum;
    maxValue = std::max(minimum, maximum);
    pos = std::clamp(pos, minValue, maxValue);
    update();
}

void CKivProgressCtrl::setPosition(int position) {
    const int clamped = std::clamp(position, minValue, maxValue);
    if (clamped != pos) {
        pos = clamped;
        update();
    }
}

void CKivProgressCtrl::setOrientation(Qt::Orientation orientation) {
    direction = orientation;
    update();
}

QRect CKivProgressCtrl::fillRect() const {
    const int span = maxValue - minValue;
    const int along = pos - minValue;
    if (direction == Qt::Horizontal) {
        return QRect(0, 0, share(width(), along, span), height());
    }
    const int covered = share(height(), along, span);
    return QRect(0, height() - covered, width(), covered);
}

void CKivProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    if (!backgroundPicture.isNull()) {
        painter.drawImage(rect(), backgroundPicture);
    }
    const QRect target = fillRect();
    if (fillPicture.isNull() || target.isEmpty()) {
        return;
    }
    // The same share of the picture as of the client area, so that a fill
    // picture of another size than the control still lines up.
    const int span = maxValue - minValue;
    const int along = pos - minValue;
    QRect source;
    if (direction == Qt::Horizontal) {
        source = QRect(0, 0, share(fillPicture.width(), along, span), fillPicture.height());
    } else {
        const int covered = share(fillPicture.height(), along, span);
        source = QRect(0, fillPicture.height() - covered, fillPicture.width(), covered);
    }
    if (!source.isEmpty()) {
        painter.drawImage(target, fillPicture, source);
    }
}

}  // namespace orvane
