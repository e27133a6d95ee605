#pragma once

#include <QColor>
#include <QFont>
#include <QPainter>
#include <QRect>
#include <QString>
#include <QStringList>

#include "skins/SkinLayout.h"
#include "skins/SkinPalette.h"

namespace orvane::skingen {

QColor color(palette::Rgb rgb, int alpha = 255);
QRectF toRectF(layout::Rect r);
QRect toRect(layout::Rect r);

// "Arial" at a pixel size; fontconfig maps it to its metric twin.
QFont font(int pixelSize, bool bold = false);

// A painter with anti-aliasing on: every shape of the skin is smoothed.
void smooth(QPainter& p);

// The window background: graphite with a faint light from the top.
void fillWindow(QPainter& p, const QRect& area);
// A darker band (title and bottom bands) with a hairline on the inner edge.
void fillBand(QPainter& p, const QRect& area, bool lineOnTop);

// A section panel; the title sits in its top-left corner behind an accent mark.
void drawPanel(QPainter& p, const QRect& area, const QString& title = {});

// While a list is given, every text drawn is added to it as well, so that
// the words baked into the pictures can be read and checked (skin-gen --texts).
void collectTexts(QStringList* into);

void drawText(QPainter& p, const QRect& area, const QString& text, int pixelSize,
              const QColor& colour, int flags = Qt::AlignLeft | Qt::AlignVCenter,
              bool bold = false);
inline void drawLabel(QPainter& p, const QRect& area, const QString& text,
                      int flags = Qt::AlignLeft | Qt::AlignVCenter) {
    drawText(p, area, text, 12, color(palette::kLabel), flags);
}
// Small grey text for hints and scale ends.
void drawHint(QPainter& p, const QRect& area, const QString& text,
              int flags = Qt::AlignLeft | Qt::AlignVCenter);

// A rounded face with a soft top-to-bottom gradient and a one-pixel rim.
void drawFace(QPainter& p, const QRectF& area, qreal radius, const QColor& fill, const QColor& rim);

// A sunken field: edit fields, lists, the surface picture's frame.
void drawWell(QPainter& p, const QRectF& area, qreal radius, const QColor& rim);

// A right-pointing (or downward) chevron centred in the area.
void drawChevron(QPainter& p, const QRectF& area, const QColor& colour, qreal size);

QColor lighter(const QColor& c, int percent);
QColor mix(const QColor& a, const QColor& b, qreal t);

}  // namespace orvane::skingen
