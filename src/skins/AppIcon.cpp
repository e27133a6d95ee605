#include "skins/AppIcon.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "skins/SkinPalette.h"

namespace orvane {

namespace {

QColor toColor(palette::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

}  // namespace

QImage drawApplicationIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
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
    return image;
}

}  // namespace orvane
