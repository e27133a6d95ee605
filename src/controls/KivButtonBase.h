#pragma once

#include "controls/CKivWidget.h"

class QPainter;

namespace orvane {

// The press and hover scheme shared by the push-button-like controls: a
// pressed flag, a visual state and hover tracking. Subclasses decide what a
// click and a hover mean and how each state looks.
class KivButtonBase : public CKivWidget {
    Q_OBJECT
  public:
    enum State { Normal = 0, Over = 1, Down = 2 };

    explicit KivButtonBase(QWidget* parent = nullptr, int controlId = 0);

    State state() const { return visualState; }
    bool isPressed() const { return pressed; }
    bool isHovered() const { return tracking; }

  protected:
    // The left button went down on the control (state already Down).
    virtual void leftPressed() {}
    // The left button was released over the control after a press on it.
    virtual void clicked() { notifyClicked(); }
    // The pointer has just entered the control.
    virtual void hoverEntered() {}

    // A control that takes the focus by Tab is pressed with the space bar.
    void keyPressEvent(QKeyEvent* event) override;
    // The keyboard focus is marked on the control's picture when it came
    // from the keyboard; a window that opens does not mark its first control.
    void paintFocusMark(QPainter& painter) const;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    void startHover(bool leftHeld);
    void endHover();

    bool pressed = false;
    bool tracking = false;
    bool focusFromKeyboard = false;
    State visualState = Normal;
};

}  // namespace orvane
