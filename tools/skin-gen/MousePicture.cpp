#include "MousePicture.h"

#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>

#include "Paint.h"

namespace orvane::skingen {

namespace {

namespace sl = layout::singles;
namespace lp = layout::lightingpage;

// All shapes are in the picture's own pixels (270 x 369); the wheel's centre
// line is x = 130.
constexpr qreal kMid = 130;

QPainterPath bodyPath() {
    QPainterPath b;
    b.moveTo(kMid, 22);
    b.cubicTo(182, 22, 208, 50, 214, 110);
    b.cubicTo(220, 170, 236, 230, 234, 275);
    b.cubicTo(232, 330, 190, 356, kMid, 356);
    b.cubicTo(70, 356, 28, 330, 26, 275);
    b.cubicTo(24, 230, 40, 170, 46, 110);
    b.cubicTo(52, 50, 78, 22, kMid, 22);
    b.closeSubpath();
    return b;
}

// The two main buttons end where the palm rest begins.
QPainterPath buttonSplitPath() {
    QPainterPath s;
    s.moveTo(kMid, 24);
    s.lineTo(kMid, 78);
    s.moveTo(kMid, 146);
    s.lineTo(kMid, 194);
    s.moveTo(48, 176);
    s.cubicTo(90, 196, 170, 196, 212, 176);
    return s;
}

QRectF zone(layout::Rect r) {
    return QRectF(r.x, r.y, r.w, r.h);
}

void drawBody(QPainter& p) {
    const QPainterPath body = bodyPath();
    // Drop shadow.
    p.save();
    p.translate(0, 6);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawPath(body);
    p.restore();

    QLinearGradient shell(40, 20, 230, 356);
    shell.setColorAt(0, QColor(70, 75, 83));
    shell.setColorAt(0.45, QColor(40, 43, 48));
    shell.setColorAt(1, QColor(22, 24, 27));
    p.setPen(QPen(QColor(96, 103, 112), 1.5));
    p.setBrush(shell);
    p.drawPath(body);

    // A sheen on the left flank.
    QRadialGradient sheen(QPointF(92, 120), 120);
    sheen.setColorAt(0, QColor(255, 255, 255, 34));
    sheen.setColorAt(1, QColor(255, 255, 255, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(sheen);
    p.drawPath(body);

    // Side grips in a deeper shade.
    QPainterPath grips;
    grips.moveTo(30, 215);
    grips.cubicTo(42, 250, 44, 290, 40, 320);
    grips.cubicTo(30, 300, 26, 260, 30, 215);
    grips.moveTo(230, 215);
    grips.cubicTo(218, 250, 216, 290, 220, 320);
    grips.cubicTo(230, 300, 234, 260, 230, 215);
    p.setBrush(QColor(16, 17, 20, 200));
    p.drawPath(grips);

    QPen split(QColor(12, 13, 15), 2.2);
    split.setCapStyle(Qt::RoundCap);
    p.setPen(split);
    p.setBrush(Qt::NoBrush);
    p.drawPath(buttonSplitPath());
    p.setPen(QPen(QColor(255, 255, 255, 26), 1));
    p.drawPath(buttonSplitPath().translated(1, 1));

    // Side buttons (forward, back) on the left flank.
    p.setPen(QPen(QColor(12, 13, 15), 1.2));
    p.setBrush(QColor(58, 62, 69));
    p.drawRoundedRect(QRectF(31, 150, 9, 34), 4, 4);
    p.drawRoundedRect(QRectF(33, 188, 9, 34), 4, 4);
    p.drawRoundedRect(QRectF(220, 150, 9, 34), 4, 4);
    p.drawRoundedRect(QRectF(218, 188, 9, 34), 4, 4);
    // The two buttons behind the wheel.
    p.drawRoundedRect(QRectF(kMid - 8, 150, 16, 12), 3, 3);
    p.drawRoundedRect(QRectF(kMid - 8, 166, 16, 12), 3, 3);

    // Bezels around the lit windows: the wheel slot and the logo.
    const QRectF wheel = zone(lp::kPreviewWheelZone);
    p.setPen(QPen(QColor(10, 11, 13), 3));
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(wheel.adjusted(-3, -3, 3, 3), 6, 6);
    p.setPen(QPen(QColor(120, 128, 138), 1));
    p.drawRoundedRect(wheel.adjusted(-5, -5, 5, 5), 7, 7);
    const QRectF logo = zone(lp::kPreviewLogoZone);
    p.setPen(QPen(QColor(10, 11, 13), 3));
    p.drawRoundedRect(logo.adjusted(-3, -3, 3, 3), 5, 5);
    p.setPen(QPen(QColor(120, 128, 138), 1));
    p.drawRoundedRect(logo.adjusted(-5, -5, 5, 5), 6, 6);

    // Cable strain relief at the nose.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(30, 32, 36));
    p.drawRoundedRect(QRectF(kMid - 7, 8, 14, 16), 4, 4);
    p.setBrush(QColor(50, 54, 60));
    p.drawRect(QRectF(kMid - 3, 0, 6, 9));
}

// Wheel ribs and logo mark, in a faint grey, so an unlit zone still reads.
void drawZoneDetail(QPainter& p) {
    const QRectF wheel = zone(lp::kPreviewWheelZone);
    const QRectF logo = zone(lp::kPreviewLogoZone);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 255));
    for (qreal y = wheel.top() + 4; y < wheel.bottom() - 3; y += 6) {
        p.drawRect(QRectF(wheel.left(), y, wheel.width(), 1));
    }
    QPainterPath mark;
    mark.moveTo(logo.left() + 4, logo.top() + 6);
    mark.lineTo(logo.center().x(), logo.bottom() - 5);
    mark.lineTo(logo.right() - 4, logo.top() + 6);
    p.setPen(QPen(Qt::white, 3));
    p.setBrush(Qt::NoBrush);
    p.drawPath(mark);
}

}  // namespace

QImage mousePicture() {
    QImage image(sl::kMousePicture.w, sl::kMousePicture.h, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    smooth(p);
    drawBody(p);
    // The lit zones are windows through the picture: the preview paints the
    // zone colours under it.
    p.setCompositionMode(QPainter::CompositionMode_Clear);
    p.fillRect(zone(lp::kPreviewWheelZone), Qt::transparent);
    p.fillRect(zone(lp::kPreviewLogoZone), Qt::transparent);
    p.end();
    return image;
}

void drawMouseDiagram(QPainter& p, const QRectF& area) {
    p.save();
    smooth(p);
    const qreal scale =
        std::min(area.width() / sl::kMousePicture.w, area.height() / sl::kMousePicture.h);
    p.translate(area.center().x() - sl::kMousePicture.w * scale / 2, area.top());
    p.scale(scale, scale);
    drawBody(p);
    // Unlit windows: a dark glass with faint ribs.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(18, 20, 23));
    p.drawRect(zone(lp::kPreviewWheelZone));
    p.drawRect(zone(lp::kPreviewLogoZone));
    p.setOpacity(0.08);
    drawZoneDetail(p);
    p.setOpacity(1);
    // Badges at the buttons, numbered as the rows of the button list.
    const QPointF badges[9] = {{82, 80},         {178, 80},  {kMid, 111},
                               {18, 167},        {20, 205},  {kMid + 30, 150},
                               {kMid + 30, 176}, {244, 167}, {244, 205}};
    for (int i = 0; i < 9; ++i) {
        const QRectF r(badges[i].x() - 10, badges[i].y() - 10, 20, 20);
        p.setPen(QPen(color(palette::kGraphite), 2));
        p.setBrush(color(palette::kAccent));
        p.drawEllipse(r);
        drawText(p, r.toRect(), QString::number(i + 1), 12, color(palette::kGraphite),
                 Qt::AlignCenter, true);
    }
    p.restore();
}

void drawSmallMouse(QPainter& p, const QPointF& centre, qreal height) {
    p.save();
    smooth(p);
    const qreal scale = height / sl::kMousePicture.h;
    p.translate(centre.x() - kMid * scale, centre.y() - height / 2);
    p.scale(scale, scale);
    drawBody(p);
    p.setPen(Qt::NoPen);
    p.setBrush(color(palette::kAccent));
    p.drawRect(zone(lp::kPreviewWheelZone));
    p.drawRect(zone(lp::kPreviewLogoZone));
    p.restore();
}

}  // namespace orvane::skingen
