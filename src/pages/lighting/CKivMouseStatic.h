#pragma once

#include <QBasicTimer>
#include <QImage>
#include <QRgb>

#include "controls/CKivWidget.h"
#include "pages/lighting/LightingAnimation.h"

namespace orvane {

// The lighting preview: the two lit zones drawn under the mouse picture, so
// that they show through its transparent windows, animated with the chosen
// effect and the colour shift. Colours are 0xAARRGGBB; the alpha carries the
// brightness and the effect's intensity of the moment.
//
// The animation timers run only while the preview is on the screen: hidden,
// behind another page or with the window in the tray, it wakes nobody, and
// it takes up its animation again when it is shown.
class CKivMouseStatic : public CKivWidget {
    Q_OBJECT
  public:
    static constexpr int kColorShiftInterval = 100;

    explicit CKivMouseStatic(QWidget* parent = nullptr, int controlId = 0);

    void setPicture(const QImage& picture);
    // The zones' rectangles in the preview's pixels.
    void setZoneRects(const QRect& wheel, const QRect& logo);

    QRgb wheelColor() const { return wheel; }
    QRgb logoColor() const { return logo; }
    void setWheelColor(QRgb colour);
    void setLogoColor(QRgb colour);
    // The colours kept while the colour shift runs.
    QRgb savedWheelColor() const { return savedWheel; }
    QRgb savedLogoColor() const { return savedLogo; }
    void setSavedColors(QRgb wheelColour, QRgb logoColour);

    bool isWheelLit() const { return wheelLit; }
    bool isLogoLit() const { return logoLit; }
    void setWheelLit(bool lit);
    void setLogoLit(bool lit);

    PreviewEffect effect() const { return currentEffect; }
    // The steady effect takes the brightness alpha at once; the others tick.
    void setEffect(PreviewEffect effect);

    int brightness() const { return level; }
    // Steps above 5 count as 5, below 1 as 1.
    void setBrightness(int brightness);
    // The alpha of a lit zone at the current brightness.
    int brightnessAlphaNow() const { return brightnessAlpha(level); }

    bool isColorShiftRunning() const { return shifting; }
    // Keeps the current colours and starts walking through the hues; a shift
    // that runs already goes on with the colours it kept.
    void startColorShift();
    // Stops the walk and shows the kept colours again, at the alpha of the
    // moment.
    void stopColorShift();

    // One tick of each animation, as the timers give them.
    void effectTick();
    void colorShiftTick();

    // Whether a timer is registered right now.
    bool isEffectTimerActive() const { return effectTimer.isActive(); }
    bool isColorShiftTimerActive() const { return shiftTimer.isActive(); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    // Starts or stops the timers as the animations and the visibility ask.
    void updateTimers();
    void setAlpha(int alpha);

    QImage mousePicture;
    QRect wheelRect;
    QRect logoRect;
    QRgb wheel = qRgba(0, 0, 0, 255);
    QRgb logo = qRgba(0, 0, 0, 255);
    QRgb savedWheel = qRgba(0, 0, 0, 255);
    QRgb savedLogo = qRgba(0, 0, 0, 255);
    bool wheelLit = false;
    bool logoLit = false;
    PreviewEffect currentEffect = PreviewEffect::Solid;
    int level = 5;
    bool shifting = false;
    bool onScreen = false;
    EffectAnimation effectAnimation;
    ColorShiftAnimation shiftAnimation;
    QBasicTimer effectTimer;
    QBasicTimer shiftTimer;
};

}  // namespace orvane
