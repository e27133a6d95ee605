#include "SinglePictures.h"

#include <QConicalGradient>
#include <QLinearGradient>
#include <QPainterPath>

#include <cmath>
#include <numbers>

#include "MousePicture.h"
#include "Paint.h"

namespace orvane::skingen {

namespace {

namespace sl = layout::singles;
namespace sb = layout::scrollbar;

QImage blank(layout::Size size, bool alpha) {
    QImage image(size.w, size.h, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    image.fill(alpha ? QColor(Qt::transparent) : color(palette::kGraphite));
    return image;
}

QColor hue(qreal h) {
    return QColor::fromHsvF(std::fmod(h, 1.0), 1.0, 1.0);
}

QImage sliderThumb(const QColor& fill, const QColor& grip) {
    QImage image = blank(sl::kSliderThumb, true);
    QPainter p(&image);
    smooth(p);
    const QRectF r(1, 1, sl::kSliderThumb.w - 2, sl::kSliderThumb.h - 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 110));
    p.drawRoundedRect(r.translated(0, 1), 4, 4);
    drawFace(p, r, 4, fill, fill.darker(140));
    p.setPen(QPen(grip, 1));
    for (int i = -1; i <= 1; ++i) {
        const qreal y = r.center().y() + i * 3;
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3, y));
    }
    return image;
}

QImage colourSliderThumb() {
    QImage image = blank(sl::kColorSliderThumb, true);
    QPainter p(&image);
    smooth(p);
    const qreal h = sl::kColorSliderThumb.h;
    const qreal w = sl::kColorSliderThumb.w;
    p.setPen(QPen(QColor(20, 20, 20), 1));
    p.setBrush(Qt::white);
    QPainterPath left, right;
    left.moveTo(0.5, 0.5);
    left.lineTo(5, h / 2);
    left.lineTo(0.5, h - 0.5);
    left.closeSubpath();
    right.moveTo(w - 0.5, 0.5);
    right.lineTo(w - 5, h / 2);
    right.lineTo(w - 0.5, h - 0.5);
    right.closeSubpath();
    p.drawPath(left);
    p.drawPath(right);
    p.setPen(QPen(Qt::white, 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(6.5, 1.5, w - 13, h - 3));
    return image;
}

QImage colourPalette() {
    QImage image = blank(sl::kColorPalette, true);
    QPainter p(&image);
    smooth(p);
    QLinearGradient g(0, 0, 0, sl::kColorPalette.h);
    for (int i = 0; i <= 6; ++i) {
        g.setColorAt(i / 6.0, hue(1.0 - i / 6.0 + (i == 0 ? -0.0001 : 0)));
    }
    p.setPen(QPen(color(palette::kPanelEdge), 1));
    p.setBrush(g);
    p.drawRoundedRect(QRectF(0.5, 0.5, sl::kColorPalette.w - 1, sl::kColorPalette.h - 1), 3, 3);
    return image;
}

QImage colourPanel() {
    QImage image = blank(sl::kColorPanel, false);
    QPainter p(&image);
    smooth(p);
    p.fillRect(image.rect(), color(palette::kBand));
    p.setPen(color(palette::kAccent));
    p.setBrush(Qt::NoBrush);
    p.drawRect(image.rect().adjusted(0, 0, -1, -1));
    const qreal cell = 22;
    const qreal gap =
        (sl::kColorPanel.w - sl::kColorPanelColumns * cell) / (sl::kColorPanelColumns + 1);
    const qreal vgap = (sl::kColorPanel.h - sl::kColorPanelRows * cell) / (sl::kColorPanelRows + 1);
    for (int row = 0; row < sl::kColorPanelRows; ++row) {
        for (int col = 0; col < sl::kColorPanelColumns; ++col) {
            QColor c;
            if (row == sl::kColorPanelRows - 1) {
                const int v = 255 * col / (sl::kColorPanelColumns - 1);
                c = QColor(v, v, v);
            } else {
                c = QColor::fromHsvF(col / qreal(sl::kColorPanelColumns), row == 1 ? 0.55 : 1.0,
                                     row == 2 ? 0.6 : 1.0);
            }
            const QRectF r(gap + col * (cell + gap), vgap + row * (cell + vgap), cell, cell);
            p.setPen(QPen(QColor(0, 0, 0, 160), 1));
            p.setBrush(c);
            p.drawRoundedRect(r, 3, 3);
        }
    }
    return image;
}

// The track, then the sheets that hold the arrows and the thumb.
QImage scrollTrack() {
    QImage image = blank(sb::kSheet, false);
    QPainter p(&image);
    smooth(p);
    p.fillRect(image.rect(), color(palette::kField));
    p.setPen(Qt::NoPen);
    p.setBrush(color(palette::kPanel));
    p.drawRoundedRect(QRectF(4, 2, sb::kSheet.w - 8, sb::kSheet.h - 4), 3, 3);
    return image;
}

QImage scrollParts(bool over) {
    QImage image = scrollTrack();
    QPainter p(&image);
    smooth(p);
    const QColor c = over ? color(palette::kAccent) : color(palette::kCaption);
    for (const layout::Rect& r : {sb::kUpArrow, sb::kDownArrow}) {
        p.fillRect(toRect(r), color(palette::kField));
        QPainterPath tri;
        const QRectF a = toRectF(r).adjusted(3, 4, -3, -4);
        if (r.y == sb::kUpArrow.y) {
            tri.moveTo(a.left(), a.bottom());
            tri.lineTo(a.center().x(), a.top());
            tri.lineTo(a.right(), a.bottom());
        } else {
            tri.moveTo(a.left(), a.top());
            tri.lineTo(a.center().x(), a.bottom());
            tri.lineTo(a.right(), a.top());
        }
        tri.closeSubpath();
        p.setPen(Qt::NoPen);
        p.setBrush(c);
        p.drawPath(tri);
    }
    p.fillRect(toRect(sb::kThumb), color(palette::kField));
    drawFace(p, toRectF(sb::kThumb).adjusted(2, 1, -2, -1), 3,
             over ? color(palette::kAccent).darker(130) : color(palette::kFaceHover),
             over ? color(palette::kAccent) : color(palette::kPanelEdge).lighter(130));
    return image;
}

// Quality level 0..10 as an arc gauge with its percentage.
QImage surfacePicture(int level) {
    const layout::Size size = layout::sensorpage::kSurfacePictureSize;
    QImage image = blank(size, false);
    QPainter p(&image);
    smooth(p);
    p.fillRect(image.rect(), color(palette::kField));
    const QRectF arc(size.w / 2.0 - 46, 12, 92, 92);
    const int start = 210 * 16;
    const int span = -240 * 16;
    QPen track(color(palette::kTrack), 8);
    track.setCapStyle(Qt::RoundCap);
    p.setPen(track);
    p.drawArc(arc, start, span);
    if (level > 0) {
        QConicalGradient g(arc.center(), 215);
        // The gradient turns anticlockwise from its angle, the arc clockwise.
        // Its start lies a little before the arc's, so the round cap at the
        // low end is red too.
        g.setColorAt(0, color(palette::kAccent));
        g.setColorAt(0.45, color(palette::kAccent));
        g.setColorAt(0.72, color(palette::kWarning));
        g.setColorAt(0.96, QColor(236, 90, 70));
        g.setColorAt(1, QColor(236, 90, 70));
        QPen fill(QBrush(g), 8);
        fill.setCapStyle(Qt::RoundCap);
        p.setPen(fill);
        p.drawArc(arc, start, span * level / 10);
    }
    drawText(p, QRect(0, 34, size.w, 26), QStringLiteral("%1%").arg(level * 10), 20,
             color(palette::kCaptionHover), Qt::AlignCenter, true);
    const char* verdict = level >= 8   ? "Excellent"
                          : level >= 5 ? "Good"
                          : level >= 1 ? "Poor"
                                       : "No data";
    drawText(p, QRect(0, 60, size.w, 16), QString::fromLatin1(verdict), 11,
             color(palette::kCaptionDisabled), Qt::AlignCenter);
    return image;
}

// Frame k of the "move the mouse" animation: the mouse on its way round a circle.
QImage moveMouseFrame(int k) {
    QImage image = blank(sl::kMoveMouseFrame, false);
    QPainter p(&image);
    smooth(p);
    p.fillRect(image.rect(), color(palette::kField));
    const QPointF centre(sl::kMoveMouseFrame.w / 2.0, 48);
    const qreal rx = 62;
    const qreal ry = 20;
    QPen path(color(palette::kTrack), 1.5, Qt::DashLine);
    p.setPen(path);
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, rx, ry);
    const qreal angle = -std::numbers::pi / 2 + k * 2 * std::numbers::pi / 3;
    // The trail behind the mouse, fading out.
    for (int i = 1; i <= 8; ++i) {
        const qreal a = angle - i * 0.12;
        p.setPen(Qt::NoPen);
        p.setBrush(color(palette::kAccent, 200 - i * 22));
        p.drawEllipse(QPointF(centre.x() + rx * std::cos(a), centre.y() + ry * std::sin(a)), 3, 3);
    }
    const QPointF at(centre.x() + rx * std::cos(angle), centre.y() + ry * std::sin(angle));
    drawSmallMouse(p, at, 40);
    // An arrow ahead of the mouse, along the circle.
    const qreal ahead = angle + 0.55;
    const QPointF tip(centre.x() + rx * std::cos(ahead), centre.y() + ry * std::sin(ahead));
    const QPointF dir(-rx * std::sin(ahead), ry * std::cos(ahead));
    const qreal len = std::hypot(dir.x(), dir.y());
    const QPointF u(dir.x() / len, dir.y() / len);
    const QPointF n(-u.y(), u.x());
    QPainterPath head;
    head.moveTo(tip + u * 6);
    head.lineTo(tip - u * 4 + n * 5);
    head.lineTo(tip - u * 4 - n * 5);
    head.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(color(palette::kAccent));
    p.drawPath(head);
    drawText(p, QRect(0, 92, sl::kMoveMouseFrame.w, 16), QStringLiteral("Keep moving the mouse"),
             10, color(palette::kCaptionDisabled), Qt::AlignCenter);
    return image;
}

}  // namespace

std::vector<Picture> singlePictures() {
    std::vector<Picture> pictures;
    pictures.push_back({QStringLiteral("Color_slider.png"), colourSliderThumb()});
    pictures.push_back({QStringLiteral("Slider_Normal.png"),
                        sliderThumb(QColor(222, 226, 231), QColor(150, 155, 162))});
    pictures.push_back({QStringLiteral("Slider_Disable.png"),
                        sliderThumb(QColor(92, 96, 102), QColor(70, 74, 80))});
    for (int k = 1; k <= 5; ++k) {
        // Each level's thumb lights in its own shade of the accent, so the five
        // handles of the resolution slider stay apart under the pointer.
        const QColor accent = color(palette::kAccent);
        pictures.push_back(
            {QStringLiteral("Slider%1_Over.png").arg(k),
             sliderThumb(mix(accent, Qt::white, (k - 1) * 0.1), accent.darker(170))});
    }
    pictures.push_back({QStringLiteral("ColorPanel.bmp"), colourPanel()});
    pictures.push_back({QStringLiteral("ColorPalete.png"), colourPalette()});
    pictures.push_back({QStringLiteral("Orvane.png"), mousePicture()});
    pictures.push_back({QStringLiteral("Scroll_Normal.bmp"), scrollTrack()});
    pictures.push_back({QStringLiteral("Scroll_Over.bmp"), scrollParts(true)});
    pictures.push_back({QStringLiteral("Scroll_Down.bmp"), scrollParts(false)});
    for (int level = 0; level <= 10; ++level) {
        pictures.push_back({QStringLiteral("%1.bmp").arg(level * 10), surfacePicture(level)});
    }
    for (int k = 1; k <= 3; ++k) {
        pictures.push_back({QStringLiteral("TQA2-%1.bmp").arg(k), moveMouseFrame(k - 1)});
    }
    return pictures;
}

}  // namespace orvane::skingen
