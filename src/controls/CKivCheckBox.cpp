#include "controls/CKivCheckBox.h"

#include <QPainter>

namespace orvane {

CKivCheckBox::CKivCheckBox(QWidget* parent, int controlId) : KivButtonBase(parent, controlId) {}

void CKivCheckBox::setImages(const SkinImage& untickedPicture, const SkinImage& overPicture,
                             const SkinImage& tickedPicture, const SkinImage& disabledPicture) {
    unticked = untickedPicture;
    over = overPicture;
    tickedImage = tickedPicture;
    disabled = disabledPicture;
    update();
}

void CKivCheckBox::setTicked(bool tick) {
    if (tick == ticked) {
        return;
    }
    ticked = tick;
    update();
}

const QImage* CKivCheckBox::currentImage() const {
    if (!isEnabled() && !disabled.isNull()) {
        return &disabled.image();
    }
    // A press already shows the ticked look, as feedback before the release.
    if ((ticked || isPressed()) && !tickedImage.isNull()) {
        return &tickedImage.image();
    }
    if (state() == Over && !over.isNull()) {
        return &over.image();
    }
    if (!unticked.isNull()) {
        return &unticked.image();
    }
    return nullptr;
}

void CKivCheckBox::clicked() {
    ticked = !ticked;
    update();
    KivButtonBase::clicked();
}

void CKivCheckBox::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    if (const QImage* picture = currentImage()) {
        painter.drawImage(rect(), *picture);
    }
    paintFocusMark(painter);
}

}  // namespace orvane
