#pragma once

#include "controls/CKivEdit.h"

namespace orvane {

// Number field of the sensor page: a CKivEdit with a white plain look, a
// switch that hides the text and a mouse-wheel step.
class CQOREdit : public CKivEdit {
    Q_OBJECT
  public:
    explicit CQOREdit(QWidget* parent = nullptr, int controlId = 0);

    void setTextHidden(bool hidden);
    bool isTextHidden() const { return textHidden; }

    void setRange(int minimum, int maximum);
    int minimum() const { return minValue; }
    int maximum() const { return maxValue; }

    void setWheelStep(int step) { wheelStep = step; }
    int step() const { return wheelStep; }

  protected:
    void wheelEvent(QWheelEvent* event) override;
    // The wheel turns over the line editor inside; it is taken there, so that
    // no other widget sees it first.
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void turnWheel(QWheelEvent* event);

    bool textHidden = false;
    int minValue = 0;
    int maxValue = 100;
    int wheelStep = 1;
    // High-resolution wheels deliver fractions of a notch.
    int pendingDelta = 0;
};

}  // namespace orvane
