#include "pages/lighting/CKivMouseStatic.h"

#include <QPainter>
#include <QTimerEvent>

namespace orvane {

namespace {

QRgb withAlpha(QRgb colour, int alpha) {
    return qRgba(qRed(colour), qGreen(colour), qBlue(colour), alpha);
}

}  // namespace

CKivMouseStatic::CKivMouseStatic(QWidget* parent, int controlId) : CKivWidget(parent, controlId) {}

void CKivMouseStatic::setPicture(const QImage& picture) {
    mousePicture = picture;
    update();
}

void CKivMouseStatic::setZoneRects(const QRect& wheelZone, const QRect& logoZone) {
    wheelRect = wheelZone;
    logoRect = logoZone;
    update();
}

void CKivMouseStatic::setWheelColor(QRgb colour) {
    wheel = colour;
    update();
}

void CKivMouseStatic::setLogoColor(QRgb colour) {
    logo = colour;
    update();
}

void CKivMouseStatic::setSavedColors(QRgb wheelColour, QRgb logoColour) {
    savedWheel = wheelColour;
    savedLogo = logoColour;
}

void CKivMouseStatic::setWheelLit(bool lit) {
    wheelLit = lit;
    update();
}

void CKivMouseStatic::setLogoLit(bool lit) {
    logoLit = lit;
    update();
}

void CKivMouseStatic::setEffect(PreviewEffect effect) {
    currentEffect = effect;
    effectTimer.stop();
    if (effect == PreviewEffect::Solid) {
        setAlpha(brightnessAlphaNow());
    }
    updateTimers();
}

void CKivMouseStatic::setBrightness(int brightness) {
    level = brightness > 5 ? 5 : (brightness < 1 ? 1 : brightness);
    // The animated effects take the new alpha at their next tick, counted
    // from now.
    effectTimer.stop();
    if (currentEffect == PreviewEffect::Solid) {
        setAlpha(brightnessAlphaNow());
    }
    updateTimers();
}

void CKivMouseStatic::startColorShift() {
    if (!shifting) {
        savedWheel = wheel;
        savedLogo = logo;
        shifting = true;
    }
    updateTimers();
}

void CKivMouseStatic::stopColorShift() {
    if (shifting) {
        shifting = false;
        const int alpha = qAlpha(wheel);
        wheel = withAlpha(savedWheel, alpha);
        logo = withAlpha(savedLogo, qAlpha(logo));
        update();
    }
    updateTimers();
}

void CKivMouseStatic::effectTick() {
    const int alpha = effectAnimation.tick(currentEffect, brightnessAlphaNow());
    setAlpha(alpha);
    if (currentEffect == PreviewEffect::Solid) {
        effectTimer.stop();
    }
}

void CKivMouseStatic::colorShiftTick() {
    shiftAnimation.step();
    const QRgb shifted =
        qRgba(shiftAnimation.red(), shiftAnimation.green(), shiftAnimation.blue(), qAlpha(wheel));
    wheel = shifted;
    logo = shifted;
    update();
}

void CKivMouseStatic::setAlpha(int alpha) {
    wheel = withAlpha(wheel, alpha);
    logo = withAlpha(logo, alpha);
    update();
}

void CKivMouseStatic::updateTimers() {
    const int interval = effectInterval(currentEffect);
    if (onScreen && interval > 0) {
        if (!effectTimer.isActive()) {
            effectTimer.start(interval, this);
        }
    } else {
        effectTimer.stop();
    }
    if (onScreen && shifting) {
        if (!shiftTimer.isActive()) {
            shiftTimer.start(kColorShiftInterval, this);
        }
    } else {
        shiftTimer.stop();
    }
}

void CKivMouseStatic::timerEvent(QTimerEvent* event) {
    if (event->timerId() == effectTimer.timerId()) {
        effectTick();
    } else if (event->timerId() == shiftTimer.timerId()) {
        colorShiftTick();
    } else {
        CKivWidget::timerEvent(event);
    }
}

void CKivMouseStatic::showEvent(QShowEvent* event) {
    CKivWidget::showEvent(event);
    onScreen = true;
    updateTimers();
}

void CKivMouseStatic::hideEvent(QHideEvent* event) {
    CKivWidget::hideEvent(event);
    // Also the window going to the tray or being minimised.
    onScreen = false;
    updateTimers();
}

void CKivMouseStatic::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (wheelLit) {
        painter.fillRect(wheelRect, QColor::fromRgba(wheel));
    }
    if (logoLit) {
        painter.fillRect(logoRect, QColor::fromRgba(logo));
    }
    if (!mousePicture.isNull()) {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(rect(), mousePicture);
    }
}

}  // namespace orvane
