#include "controls/CKivButton.h"

#include <QPainter>

#include "controls/KivFont.h"
#include "skins/SkinPalette.h"

namespace orvane {

namespace {

QColor toColor(palette::Rgb rgb) {
    return QColor(rgb.r, rgb.g, rgb.b);
}

}  // namespace

CKivButton::CKivButton(QWidget* parent, int controlId)
    : KivButtonBase(parent, controlId),
      font(kivFont(15)),
      captionColour(toColor(palette::kCaption)),
      latchedCaptionColour(toColor(palette::kAccent)) {}

void CKivButton::setImages(const SkinImage& normalPicture, const SkinImage& overPicture,
                           const SkinImage& downPicture, const SkinImage& disabledPicture) {
    normal = normalPicture;
    over = overPicture;
    down = downPicture;
    disabled = disabledPicture;
    update();
}

void CKivButton::setCaption(const QString& text) {
    captionText = text;
    update();
}

void CKivButton::setLatched(bool latch) {
    if (latch == latched) {
        return;
    }
    latched = latch;
    update();
}

void CKivButton::setCaptionColor(const QColor& color) {
    captionColour = color;
    update();
}

void CKivButton::setLatchedCaptionColor(const QColor& color) {
    latchedCaptionColour = color;
    update();
}

void CKivButton::setCaptionFont(const QFont& captionFont) {
    font = captionFont;
    update();
}

const QImage* CKivButton::currentImage() const {
    // Order matters: a disabled button never looks latched, and a latched one
    // never shows hover.
    if (!isEnabled() && !disabled.isNull()) {
        return &disabled.image();
    }
    if (latched && !down.isNull()) {
        return &down.image();
    }
    if (state() == Down && !down.isNull()) {
        return &down.image();
    }
    if (state() == Normal && !normal.isNull()) {
        return &normal.image();
    }
    if (state() == Over && !over.isNull()) {
        return &over.image();
    }
    return nullptr;
}

QColor CKivButton::currentCaptionColor() const {
    if (!isEnabled()) {
        return toColor(palette::kCaptionDisabled);
    }
    if (latched) {
        return latchedCaptionColour;
    }
    if (state() == Over) {
        return toColor(palette::kCaptionHover);
    }
    return captionColour;
}

void CKivButton::hoverEntered() {
    notifyOwner(0);
}

void CKivButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    if (const QImage* picture = currentImage()) {
        painter.drawImage(rect(), *picture);
    }
    if (!captionText.isEmpty()) {
        painter.setFont(font);
        painter.setPen(currentCaptionColor());
        painter.drawText(rect().adjusted(5, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter,
                         captionText);
    }
    paintFocusMark(painter);
}

}  // namespace orvane
