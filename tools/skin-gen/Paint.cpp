#include "Paint.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

namespace orvane::skingen {

QColor color(palette::Rgb rgb, int alpha) {
    return QColor(rgb.r, rgb.g, rgb.b, alpha);
}

QRectF toRectF(layout::Rect r) {
    return QRectF(r.x, r.y, r.w, r.h);
}
QRect toRect(layout::Rect r) {
    return QRect(r.x, r.y, r.w, r.h);
}

QFont font(int pixelSize, bool bold) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setPixelSize(pixelSize);
    f.setBold(bold);
    // Hinting depends on the screen; the files must not.
    f.setHintingPreference(QFont::PreferNoHinting);
    return f;
}

void smooth(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

QColor lighter(const QColor& c, int percent) {
    return mix(c, QColor(255, 255, 255, c.alpha()), percent / 100.0);
}

QColor mix(const QColor& a, const QColor& b, qreal t) {
    return QColor::fromRgbF(
        a.redF() + (b.redF() - a.redF()) * t, a.greenF() + (b.greenF() - a.greenF()) * t,
        a.blueF() + (b.blueF() - a.blueF()) * t, a.alphaF() + (b.alphaF() - a.alphaF()) * t);
}

void fillWindow(QPainter& p, const QRect& area) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, lighter(color(palette::kGraphite), 3));
    g.setColorAt(1, color(palette::kGraphite));
    p.fillRect(area, g);
}

void fillBand(QPainter& p, const QRect& area, bool lineOnTop) {
    QLinearGradient g(area.topLeft(), area.bottomLeft());
    g.setColorAt(0, lighter(color(palette::kBand), 2));
    g.setColorAt(1, color(palette::kBand));
    p.fillRect(area, g);
    p.fillRect(QRect(area.left(), lineOnTop ? area.top() : area.bottom(), area.width(), 1),
               color(palette::kPanelEdge));
}

void drawPanel(QPainter& p, const QRect& area, const QString& title) {
    p.save();
    smooth(p);
    const QRectF r = QRectF(area).adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, lighter(color(palette::kPanel), 2));
    g.setColorAt(1, color(palette::kPanel));
    p.setPen(QPen(color(palette::kPanelEdge), 1));
    p.setBrush(g);
    p.drawRoundedRect(r, 6, 6);
    if (!title.isEmpty()) {
        p.setPen(Qt::NoPen);
        p.setBrush(color(palette::kAccent));
        p.drawRoundedRect(QRectF(area.left() + 12, area.top() + 11, 3, 12), 1.5, 1.5);
        drawText(p, QRect(area.left() + 22, area.top() + 8, area.width() - 30, 18), title.toUpper(),
                 12, color(palette::kCaptionHover), Qt::AlignLeft | Qt::AlignVCenter, true);
    }
    p.restore();
}

namespace {
QStringList* collectedTexts = nullptr;
}  // namespace

void collectTexts(QStringList* into) {
    collectedTexts = into;
}

void drawText(QPainter& p, const QRect& area, const QString& text, int pixelSize,
              const QColor& colour, int flags, bool bold) {
    if (collectedTexts != nullptr) {
        collectedTexts->append(text);
    }
    p.save();
    p.setFont(font(pixelSize, bold));
    p.setPen(colour);
    p.drawText(area, flags, text);
    p.restore();
}

void drawHint(QPainter& p, const QRect& area, const QString& text, int flags) {
    drawText(p, area, text, 11, color(palette::kCaptionDisabled), flags);
}

void drawFace(QPainter& p, const QRectF& area, qreal radius, const QColor& fill,
              const QColor& rim) {
    p.save();
    smooth(p);
    const QRectF r = area.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, lighter(fill, 8));
    g.setColorAt(1, fill.darker(112));
    p.setPen(QPen(rim, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void drawWell(QPainter& p, const QRectF& area, qreal radius, const QColor& rim) {
    p.save();
    smooth(p);
    const QRectF r = area.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient g(r.topLeft(), r.bottomLeft());
    g.setColorAt(0, color(palette::kField).darker(115));
    g.setColorAt(1, color(palette::kField));
    p.setPen(QPen(rim, 1));
    p.setBrush(g);
    p.drawRoundedRect(r, radius, radius);
    p.restore();
}

void drawChevron(QPainter& p, const QRectF& area, const QColor& colour, qreal size) {
    p.save();
    smooth(p);
    const QPointF c = area.center();
    QPen pen(colour, 1.6);
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(c.x() - size, c.y() - size / 2);
    path.lineTo(c.x(), c.y() + size / 2);
    path.lineTo(c.x() + size, c.y() - size / 2);
    p.drawPath(path);
    p.restore();
}

}  // namespace orvane::skingen
