#include "controls/CKivScrollCtrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace orvane {

CKivScrollCtrl::CKivScrollCtrl(QWidget* parent, int controlId) : CKivWidget(parent, controlId) {
    setMouseTracking(true);
}

void CKivScrollCtrl::setImages(const Images& images) {
    pictures = images;
    update();
}

void CKivScrollCtrl::setRange(int minimum, int maximum) {
    minValue = minimum;
    maxValue = std::max(minimum, maximum);
    pos = std::clamp(pos, minValue, maxValue);
    update();
}

void CKivScrollCtrl::setPosition(int position) {
    pos = std::clamp(position, minValue, maxValue);
    update();
    notifyOwner(pos);
}

void CKivScrollCtrl::setOrientation(Qt::Orientation orientation) {
    direction = orientation;
    update();
}

int CKivScrollCtrl::thickness() const {
    return direction == Qt::Vertical ? width() : height();
}

int CKivScrollCtrl::length() const {
    return direction == Qt::Vertical ? height() : width();
}

int CKivScrollCtrl::arrowLength() const {
    return std::max(0, std::min(thickness(), length() / 2));
}

int CKivScrollCtrl::thumbLength() const {
    int extent = thickness();
    if (!pictures.thumb.isNull()) {
        extent = direction == Qt::Vertical ? pictures.thumb.height() : pictures.thumb.width();
    }
    const int track = length() - 2 * arrowLength();
    return std::clamp(extent, 0, std::max(0, track));
}

int CKivScrollCtrl::along(QPoint point) const {
    return direction == Qt::Vertical ? point.y() : point.x();
}

QRect CKivScrollCtrl::axisRect(int start, int extent) const {
    return direction == Qt::Vertical ? QRect(0, start, width(), extent)
                                     : QRect(start, 0, extent, height());
}

QRect CKivScrollCtrl::firstArrowRect() const {
    return axisRect(0, arrowLength());
}

QRect CKivScrollCtrl::secondArrowRect() const {
    return axisRect(length() - arrowLength(), arrowLength());
}

QRect CKivScrollCtrl::trackRect() const {
    return axisRect(arrowLength(), length() - 2 * arrowLength());
}

QRect CKivScrollCtrl::thumbRect() const {
    const int track = length() - 2 * arrowLength();
    const int thumb = thumbLength();
    const int freeLength = track - thumb;
    int offset = 0;
    if (freeLength > 0 && maxValue > minValue) {
        offset = static_cast<int>(qint64{pos - minValue} * freeLength / (maxValue - minValue));
    }
    return axisRect(arrowLength() + offset, thumb);
}

CKivScrollCtrl::Part CKivScrollCtrl::partAt(QPoint point) const {
    if (!rect().contains(point)) {
        return Part::None;
    }
    if (firstArrowRect().contains(point)) {
        return Part::FirstArrow;
    }
    if (secondArrowRect().contains(point)) {
        return Part::SecondArrow;
    }
    if (thumbRect().contains(point)) {
        return Part::Thumb;
    }
    return trackRect().contains(point) ? Part::Track : Part::None;
}

int CKivScrollCtrl::positionForThumbAt(int leadingEdge) const {
    const int freeLength = length() - 2 * arrowLength() - thumbLength();
    if (freeLength <= 0 || maxValue <= minValue) {
        return minValue;
    }
    const qint64 offset = std::clamp<qint64>(leadingEdge - arrowLength(), 0, freeLength);
    const qint64 span = qint64{maxValue} - minValue;
    // Nearest position, so that a thumb dropped where it was drawn stays put.
    return static_cast<int>(minValue + (2 * offset * span + freeLength) / (2 * freeLength));
}

void CKivScrollCtrl::dragTo(QPoint point) {
    const int next = positionForThumbAt(along(point) - grabOffset);
    if (next != pos) {
        setPosition(next);
    }
}

void CKivScrollCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    const QPoint point = event->position().toPoint();
    switch (partAt(point)) {
        case Part::Thumb:
            dragging = true;
            grabOffset = along(point) - along(thumbRect().topLeft());
            break;
        case Part::Track:
            // The thumb jumps under the pointer, centred, and can be dragged on.
            dragging = true;
            grabOffset = thumbLength() / 2;
            dragTo(point);
            break;
        default:
            break;
    }
}

void CKivScrollCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    if (dragging && (event->buttons() & Qt::LeftButton)) {
        dragTo(point);
    }
    const Part now = partAt(point);
    if (now != hovered) {
        hovered = now;
        update();
    }
}

void CKivScrollCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    dragging = false;
    switch (partAt(event->position().toPoint())) {
        case Part::FirstArrow:
            setPosition(minValue);
            break;
        case Part::SecondArrow:
            setPosition(maxValue);
            break;
        default:
            update();
            break;
    }
}

void CKivScrollCtrl::leaveEvent(QEvent* event) {
    CKivWidget::leaveEvent(event);
    hovered = Part::None;
    update();
}

void CKivScrollCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    auto draw = [&painter](const QRect& target, const QImage& normal, const QImage& over,
                           bool lit) {
        const QImage& picture = (lit && !over.isNull()) ? over : normal;
        if (!picture.isNull() && !target.isEmpty()) {
            painter.drawImage(target, picture);
        }
    };
    draw(trackRect(), pictures.track, QImage(), false);
    draw(firstArrowRect(), pictures.firstArrow, pictures.firstArrowOver,
         hovered == Part::FirstArrow);
    draw(secondArrowRect(), pictures.secondArrow, pictures.secondArrowOver,
         hovered == Part::SecondArrow);
    draw(thumbRect(), pictures.thumb, pictures.thumbOver, dragging || hovered == Part::Thumb);
}

}  // namespace orvane
