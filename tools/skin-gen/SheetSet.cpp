#include "SheetSet.h"

#include <QFontMetrics>
#include <QPainterPath>

#include "Paint.h"

namespace orvane::skingen {

namespace {

using layout::kStateDisable;
using layout::kStateDown;
using layout::kStateOver;

QColor textColour(int state) {
    if (state == kStateDisable) {
        return color(palette::kCaptionDisabled);
    }
    if (state == kStateDown) {
        return color(palette::kAccent);
    }
    return color(state == kStateOver ? palette::kCaptionHover : palette::kCaption);
}

QColor rimColour(int state) {
    switch (state) {
        case kStateOver:
            return lighter(color(palette::kPanelEdge), 25);
        case kStateDown:
            return color(palette::kAccent);
        case kStateDisable:
            return color(palette::kPanelEdge).darker(120);
        default:
            return color(palette::kPanelEdge).lighter(115);
    }
}

QColor faceColour(int state) {
    switch (state) {
        case kStateOver:
            return color(palette::kFaceHover);
        case kStateDisable:
            return color(palette::kDisabledFace);
        default:
            return color(palette::kFace);
    }
}

void drawTab(QPainter& p, const QRectF& r, const QString& text, int state) {
    drawText(p, r.toRect(), text, 13, textColour(state), Qt::AlignCenter, true);
    if (state == kStateDown || state == kStateOver) {
        p.setPen(Qt::NoPen);
        p.setBrush(state == kStateDown ? color(palette::kAccent)
                                       : color(palette::kCaptionHover, 70));
        p.drawRoundedRect(QRectF(r.left() + 8, r.bottom() - 2, r.width() - 16, 2), 1, 1);
    }
}

void drawButton(QPainter& p, const QRectF& r, const QString& text, int state, int pixelSize) {
    const qreal radius = std::min(4.0, r.height() / 3);
    if (state == kStateDown) {
        drawFace(p, r, radius, color(palette::kAccent), lighter(color(palette::kAccent), 30));
        drawText(p, r.toRect(), text, pixelSize, color(palette::kGraphite), Qt::AlignCenter, true);
        return;
    }
    drawFace(p, r, radius, faceColour(state), rimColour(state));
    drawText(p, r.toRect(), text, pixelSize, textColour(state), Qt::AlignCenter, true);
}

void drawPill(QPainter& p, const QRectF& r, int state) {
    const QColor fill = state == kStateDown
                            ? mix(color(palette::kFace), color(palette::kAccent), 0.12)
                            : faceColour(state);
    drawFace(p, r, r.height() / 2, fill, rimColour(state));
}

void drawCombo(QPainter& p, const QRectF& r, int state) {
    drawWell(p, r, 3, rimColour(state));
    if (r.width() > 40) {
        const QRectF arrow(r.right() - r.height(), r.top(), r.height(), r.height());
        p.fillRect(QRectF(arrow.left(), r.top() + 4, 1, r.height() - 8),
                   color(palette::kPanelEdge));
        drawChevron(p, arrow, textColour(state == kStateDown ? kStateDown : kStateOver), 3.5);
    }
}

void drawCheckBox(QPainter& p, const QRectF& area, int state) {
    const qreal side = std::min(area.width(), area.height()) - 2;
    const QRectF r(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    if (state == kStateDown) {
        drawFace(p, r, 3, color(palette::kAccent), lighter(color(palette::kAccent), 30));
        QPen pen(color(palette::kGraphite), 2.0);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        p.setPen(pen);
        QPainterPath tick;
        tick.moveTo(r.left() + side * 0.25, r.top() + side * 0.52);
        tick.lineTo(r.left() + side * 0.43, r.top() + side * 0.70);
        tick.lineTo(r.left() + side * 0.76, r.top() + side * 0.32);
        p.setBrush(Qt::NoBrush);
        p.drawPath(tick);
        return;
    }
    drawWell(p, r, 3, rimColour(state).lighter(state == kStateDisable ? 100 : 125));
}

void drawToggle(QPainter& p, const QRectF& area, int state) {
    const qreal h = std::min(area.height() - 4, area.width() / 2);
    const QRectF r(area.left() + 1, area.center().y() - h / 2, area.width() - 2, h);
    const bool on = state == kStateDown;
    const QColor track = on                       ? color(palette::kAccent)
                         : state == kStateDisable ? color(palette::kDisabledFace)
                         : state == kStateOver    ? lighter(color(palette::kTrack), 10)
                                                  : color(palette::kTrack);
    drawFace(p, r, h / 2, track, on ? lighter(track, 30) : rimColour(state));
    const qreal knob = h - 4;
    const QRectF k(on ? r.right() - 2 - knob : r.left() + 2, r.top() + 2, knob, knob);
    const QColor knobColour = state == kStateDisable ? color(palette::kCaptionDisabled)
                              : on                   ? QColor(250, 250, 250)
                                                     : color(palette::kCaption);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawEllipse(k.translated(0, 1));
    p.setBrush(knobColour);
    p.drawEllipse(k);
}

void drawRadio(QPainter& p, const QRectF& area, int state) {
    const qreal side = std::min(area.width(), area.height()) - 3;
    const QRectF r(area.center().x() - side / 2, area.center().y() - side / 2, side, side);
    drawWell(p, r, side / 2,
             state == kStateDown ? color(palette::kAccent) : rimColour(state).lighter(125));
    p.setPen(Qt::NoPen);
    if (state == kStateDown) {
        p.setBrush(color(palette::kAccent));
        p.drawEllipse(r.adjusted(4, 4, -4, -4));
    } else if (state == kStateOver) {
        p.setBrush(color(palette::kCaption, 90));
        p.drawEllipse(r.adjusted(5, 5, -5, -5));
    }
}

void drawSliderTrack(QPainter& p, const QRectF& r, int state) {
    const qreal thumbHalf = layout::singles::kSliderThumb.w / 2.0;
    const QRectF track(r.left() + thumbHalf - 2, r.center().y() - 2, r.width() - 2 * thumbHalf + 4,
                       4);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 90));
    p.drawRoundedRect(track.adjusted(-1, -1, 1, 1), 3, 3);
    QLinearGradient g(track.topLeft(), track.topRight());
    if (state == kStateDown) {
        g.setColorAt(0, color(palette::kAccent).darker(160));
        g.setColorAt(1, color(palette::kAccent));
    } else {
        const QColor c = state == kStateDisable ? color(palette::kDisabledFace)
                         : state == kStateOver  ? lighter(color(palette::kTrack), 15)
                                                : color(palette::kTrack);
        g.setColorAt(0, c);
        g.setColorAt(1, c);
    }
    p.setBrush(g);
    p.drawRoundedRect(track, 2, 2);
}

void drawClose(QPainter& p, const QRectF& r, int state) {
    if (state == kStateOver || state == kStateDown) {
        p.setPen(Qt::NoPen);
        p.setBrush(state == kStateDown ? color(palette::kAccent, 60) : QColor(255, 255, 255, 28));
        p.drawRoundedRect(r.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    }
    const qreal s = std::min(r.width(), r.height()) * 0.22;
    QPen pen(textColour(state), 1.6);
    pen.setCapStyle(Qt::RoundCap);
    p.setPen(pen);
    const QPointF c = r.center();
    p.drawLine(QPointF(c.x() - s, c.y() - s), QPointF(c.x() + s, c.y() + s));
    p.drawLine(QPointF(c.x() - s, c.y() + s), QPointF(c.x() + s, c.y() - s));
}

void drawQualityBars(QPainter& p, const QRectF& r, int state) {
    constexpr int kBars = 10;
    const qreal gap = 3;
    const qreal w = (r.width() - 8 - gap * (kBars - 1)) / kBars;
    const qreal base = r.bottom() - 4;
    const qreal top = r.top() + 6;
    p.setPen(Qt::NoPen);
    for (int i = 0; i < kBars; ++i) {
        const qreal h = (base - top) * (i + 1) / kBars;
        const QRectF bar(r.left() + 4 + i * (w + gap), base - h, w, h);
        if (state == kStateDown) {
            const QColor low(236, 90, 70);
            const QColor mid = color(palette::kWarning);
            const QColor high = color(palette::kAccent);
            const qreal t = i / qreal(kBars - 1);
            p.setBrush(t < 0.5 ? mix(low, mid, t * 2) : mix(mid, high, (t - 0.5) * 2));
        } else {
            p.setBrush(state == kStateDisable ? color(palette::kDisabledFace)
                                              : color(palette::kTrack));
        }
        p.drawRoundedRect(bar, 1.5, 1.5);
    }
}

// Each line of the text gets an equal share of the height, in the largest
// size up to 12 pixels that fits the width.
void drawLabelLines(QPainter& p, layout::Rect r, const QString& text, int state) {
    const QStringList lines = text.split('\n');
    const int rowHeight = r.h / int(lines.size());
    const QColor colour =
        state == kStateDisable ? color(palette::kCaptionDisabled) : color(palette::kLabel);
    for (int i = 0; i < lines.size(); ++i) {
        int size = 12;
        while (size > 8 && QFontMetrics(font(size)).horizontalAdvance(lines[i]) > r.w) {
            --size;
        }
        drawText(p, QRect(r.x, r.y + i * rowHeight, r.w, rowHeight), lines[i], size, colour);
    }
}

}  // namespace

void drawControl(QPainter& p, const Control& c, int state) {
    const QRectF r = toRectF(c.rect);
    p.save();
    smooth(p);
    p.setClipRect(toRect(c.rect));
    switch (c.face) {
        case Face::Tab:
            drawTab(p, r, c.text, state);
            break;
        case Face::Pill:
            drawPill(p, r, state);
            break;
        case Face::MenuChevron:
            drawChevron(p, r, textColour(state), std::min(3.0, r.width() / 2 - 0.5));
            break;
        case Face::Button:
            drawButton(p, r, c.text, state, 12);
            break;
        case Face::SmallButton:
            drawButton(p, r, c.text, state, 10);
            break;
        case Face::Combo:
            drawCombo(p, r, state);
            break;
        case Face::CheckBox:
            drawCheckBox(p, r, state);
            break;
        case Face::Toggle:
            drawToggle(p, r, state);
            break;
        case Face::Radio:
            drawRadio(p, r, state);
            break;
        case Face::Slider:
            drawSliderTrack(p, r, state);
            break;
        case Face::Edit:
            drawWell(p, r, 3, rimColour(state));
            break;
        case Face::Label:
            drawLabelLines(p, c.rect, c.text, state);
            break;
        case Face::Close:
            drawClose(p, r, state);
            break;
        case Face::QualityBars:
            drawQualityBars(p, r, state);
            break;
    }
    p.restore();
}

QImage renderSheet(const SheetSet& set, int state) {
    QImage image(set.size.w, set.size.h, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    smooth(p);
    set.background(p);
    for (const Control& c : set.controls) {
        if (state >= 0) {
            drawControl(p, c, state);
        } else if (c.inBackground) {
            drawControl(p, c, layout::kStateNormal);
        }
    }
    return image;
}

}  // namespace orvane::skingen
