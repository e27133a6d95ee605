#include "controls/HxDrawHelper.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>

#include "skins/SkinPalette.h"

namespace orvane {

namespace {

QColor toColor(palette::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

}  // namespace

HxDrawHelper::HxDrawHelper(const QPalette& palette) : colours(palette) {}

HxDrawHelper::~HxDrawHelper() = default;

QPalette HxDrawHelper::defaultPalette() {
    const QColor face = toColor(palette::kPanel);
    const QColor window = toColor(palette::kGraphite);
    const QColor text = toColor(palette::kCaption);
    QPalette colours;
    colours.setColor(QPalette::Button, face);
    colours.setColor(QPalette::Light, QColor(78, 85, 94));
    colours.setColor(QPalette::Midlight, toColor(palette::kPanelEdge));
    colours.setColor(QPalette::Mid, toColor(palette::kPanelEdge));
    colours.setColor(QPalette::Dark, QColor(12, 13, 15));
    colours.setColor(QPalette::Shadow, QColor(0, 0, 0));
    colours.setColor(QPalette::Window, window);
    colours.setColor(QPalette::WindowText, text);
    colours.setColor(QPalette::Base, window);
    colours.setColor(QPalette::Text, text);
    colours.setColor(QPalette::ButtonText, text);
    return colours;
}

void HxDrawHelper::drawFrameAround(QPainter& painter, const QRect& rect, int style) const {
    drawFrame(painter, rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1, style);
}

void HxDrawHelper::drawFrame(QPainter& painter, int left, int top, int right, int bottom,
                             int style) const {
    const int width = right - left;
    const int height = bottom - top;
    if (width <= 0 || height <= 0) {
        return;
    }
    const QColor shadow = colours.color(QPalette::Dark);
    const QColor highlight = colours.color(QPalette::Light);
    const QColor topLeft = (style & kSunken) != 0 ? shadow : highlight;
    const QColor bottomRight = (style & kSunken) != 0 ? highlight : shadow;

    // Filled one-pixel strips rather than lines: exact pixels whatever the
    // painter's render hints.
    painter.fillRect(left, top, width, 1, topLeft);
    painter.fillRect(left, top, 1, height, topLeft);
    painter.fillRect(left, bottom - 1, width, 1, bottomRight);
    painter.fillRect(right - 1, top, 1, height, bottomRight);

    if ((style & kInnerBlack) != 0 && width > 2 && height > 2) {
        const QColor black(0, 0, 0);
        painter.fillRect(left + 1, top + 1, width - 2, 1, black);
        painter.fillRect(left + 1, top + 1, 1, height - 2, black);
        painter.fillRect(left + 1, bottom - 2, width - 2, 1, black);
        painter.fillRect(right - 2, top + 1, 1, height - 2, black);
    }
}

void HxDrawHelper::drawTriangle(QPainter& painter, QPoint tip, int direction, int size,
                                QColor outline, QColor fill) const {
    if (size < 1) {
        return;
    }
    // Unit vector towards the tip for each direction.
    static constexpr double kDiagonal = 0.70710678118654752;
    double dx = 0;
    double dy = 0;
    switch (direction) {
        case kLeft:
            dx = -1;
            break;
        case kUp:
            dy = -1;
            break;
        case kRight:
            dx = 1;
            break;
        case kDown:
            dy = 1;
            break;
        case kUpLeft:
            dx = -kDiagonal;
            dy = -kDiagonal;
            break;
        case kUpRight:
            dx = kDiagonal;
            dy = -kDiagonal;
            break;
        case kDownRight:
            dx = kDiagonal;
            dy = kDiagonal;
            break;
        case kDownLeft:
            dx = -kDiagonal;
            dy = kDiagonal;
            break;
        default:
            return;
    }
    const double reach = size - 1;
    // Pixel centres, so that a one-pixel outline covers whole pixels.
    const QPointF apex(tip.x() + 0.5, tip.y() + 0.5);
    const QPointF baseCentre = apex - QPointF(dx, dy) * reach;
    const QPointF across(-dy * reach, dx * reach);
    const QPolygonF triangle({apex, baseCentre + across, baseCentre - across});

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(QPen(outline, 1));
    painter.setBrush(fill);
    painter.drawPolygon(triangle);
    painter.restore();
}

}  // namespace orvane
