#include "controls/CQorColorStatic.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace orvane {

namespace {

constexpr int kMarkerOuter = 8;
constexpr int kMarkerInner = 6;
const QColor kMarkerInside(37, 37, 37);

int roundedChannel(double v) {
    return std::clamp(static_cast<int>(v + 0.5), 0, 255);
}

}  // namespace

CQorColorStatic::CQorColorStatic(QWidget* parent, int controlId) : CKivWidget(parent, controlId) {}

void CQorColorStatic::setPicture(const QImage& newPicture) {
    picture = newPicture;
    update();
}

void CQorColorStatic::setBaseColor(const QColor& colour) {
    base = QColor(colour.red(), colour.green(), colour.blue());
    fieldCache = QImage();
    update();
}

void CQorColorStatic::setPickPoint(QPoint point) {
    pick = point;
    update();
}

const QImage& CQorColorStatic::field() const {
    const QSize wanted = size().expandedTo(QSize(1, 1));
    if (fieldCache.size() == wanted) {
        return fieldCache;
    }
    fieldCache = QImage(wanted, QImage::Format_RGB32);
    // Corners sit on the outer pixels, so that the top-right pixel is exactly
    // the base colour and the bottom row exactly black.
    const double spanX = std::max(1, wanted.width() - 1);
    const double spanY = std::max(1, wanted.height() - 1);
    const double br = base.red();
    const double bg = base.green();
    const double bb = base.blue();
    for (int y = 0; y < wanted.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(fieldCache.scanLine(y));
        const double t = y / spanY;
        for (int x = 0; x < wanted.width(); ++x) {
            const double u = x / spanX;
            double white = 0.0;
            double toBase = 0.0;
            if (u + t <= 1.0) {
                // Barycentric weights of white (top-left), base (top-right)
                // and black (bottom-left).
                white = 1.0 - u - t;
                toBase = u;
            } else {
                // Base (top-right), black (bottom-right and bottom-left).
                toBase = 1.0 - t;
            }
            line[x] = qRgb(roundedChannel(255.0 * white + br * toBase),
                           roundedChannel(255.0 * white + bg * toBase),
                           roundedChannel(255.0 * white + bb * toBase));
        }
    }
    return fieldCache;
}

QColor CQorColorStatic::snapColor(const QColor& colour) {
    const int r = colour.red();
    const int g = colour.green();
    const int b = colour.blue();
    if (r >= 251 && g >= 253 && b >= 253) {
        return QColor(255, 255, 255);
    }
    if (r >= 252 && g <= 8 && b <= 40) {
        return QColor(255, 0, 0);
    }
    if (r <= 5 && g <= 5 && b <= 5) {
        return QColor(0, 0, 0);
    }
    if (r <= 38 && g <= 6 && b > 252) {
        return QColor(0, 0, 255);
    }
    if (r <= 27 && g > 252 && b <= 35) {
        return QColor(0, 255, 0);
    }
    return QColor(r, g, b);
}

QColor CQorColorStatic::pickedColor() const {
    const QImage& colours = field();
    const int x = std::clamp(pick.x(), 0, colours.width() - 1);
    const int y = std::clamp(pick.y(), 0, colours.height() - 1);
    return snapColor(colours.pixelColor(x, y));
}

QRect CQorColorStatic::markerRect() const {
    const int left =
        std::clamp(pick.x() - kMarkerOuter / 2, 0, std::max(0, width() - kMarkerOuter));
    const int top =
        std::clamp(pick.y() - kMarkerOuter / 2, 0, std::max(0, height() - kMarkerOuter));
    return QRect(left, top, kMarkerOuter, kMarkerOuter);
}

void CQorColorStatic::moveFromPointer(QPoint point) {
    pick = QPoint(std::clamp(point.x(), 0, std::max(0, width() - 1)),
                  std::clamp(point.y(), 0, std::max(0, height() - 1)));
    update();
    notifyOwner(0);
}

void CQorColorStatic::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        return;
    }
    dragging = true;
    moveFromPointer(event->position().toPoint());
}

void CQorColorStatic::mouseMoveEvent(QMouseEvent* event) {
    if (dragging && (event->buttons() & Qt::LeftButton)) {
        moveFromPointer(event->position().toPoint());
    }
}

void CQorColorStatic::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !dragging) {
        return;
    }
    dragging = false;
    moveFromPointer(event->position().toPoint());
}

void CQorColorStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(0, 0, field());
    if (!picture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), picture);
    }
    const QRect outer = markerRect();
    painter.fillRect(outer, Qt::white);
    const int inset = (kMarkerOuter - kMarkerInner) / 2;
    painter.fillRect(outer.adjusted(inset, inset, -inset, -inset), kMarkerInside);
}

}  // namespace orvane
