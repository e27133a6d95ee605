#pragma once

#include <QColor>
#include <QImage>

#include "controls/CKivWidget.h"
#include "controls/KivSliderImages.h"

namespace orvane {

// Vertical one-thumb slider over a colour strip; the value grows downwards.
// Besides its value it keeps the colour of the strip at the thumb, read from
// its own track picture rather than from the screen, so that what is under
// the thumb or on top of the window does not matter.
class CKivSliderCtrlVer : public CKivWidget {
    Q_OBJECT
  public:
    enum State { Normal = 0, Over = 1, Dragging = 2, Disabled = 3 };

    // The track is stretched over the client area; the thumb is drawn at its
    // own size, centred horizontally.
    using Images = KivSliderImages;

    explicit CKivSliderCtrlVer(QWidget* parent = nullptr, int controlId = 0);

    void setImages(const Images& images);

    void setRange(int minimum, int maximum);
    int minimum() const { return minValue; }
    int maximum() const { return maxValue; }

    void setStep(int step) { stepSize = step; }
    int step() const { return stepSize; }

    // Clamps without snapping; on a change takes the colour at the thumb,
    // repaints and notifies (identifier, value).
    void setValue(int value);
    int value() const { return currentValue; }

    // Invalid until the value first changes over a colour that counts. Very
    // light colours (all three components 202 or more, the strip's
    // highlights and frame) leave the kept colour alone.
    QColor currentColor() const { return colour; }

    State state() const { return currentState; }
    int thumbHeight() const;
    QRect thumbRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void applyValue(int value, int colourY);
    void dragTo(int y);
    void takeColourAt(int y);
    void setState(State state);

    Images pictures;
    int minValue = 0;
    int maxValue = 100;
    int stepSize = 1;
    int currentValue = 0;
    QColor colour;
    State currentState = Normal;
    bool dragging = false;
};

}  // namespace orvane
