#pragma once

#include "controls/CKivButton.h"
#include "controls/KivReopenGuard.h"

namespace orvane {

class KivButtonDropDown;

// Colour button of the lighting page: pictures only, a latched look and a
// drop-down window that a click opens below the button and a second click
// closes. What the drop-down reports becomes the button's value and goes on
// to the owner under the button's identifier.
class CKivCbnColorButton : public CKivButton {
    Q_OBJECT
  public:
    using Clock = KivReopenGuard::Clock;

    explicit CKivCbnColorButton(QWidget* parent = nullptr, int controlId = 0);
    ~CKivCbnColorButton() override;

    // The caller builds the drop-down's content as children of this window.
    KivButtonDropDown* dropDown() const { return popupWindow; }

    int value() const { return currentValue; }
    void setValue(int value) { currentValue = value; }

    void showDropDown();
    void hideDropDown();
    bool isDropDownShown() const;

    void setClock(Clock clock);

  protected:
    // (identifier, value) carries a colour here; hovering must stay silent.
    void hoverEntered() override {}
    void leftPressed() override;
    void clicked() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void dropDownReported(int id, int value);

    KivButtonDropDown* popupWindow;
    KivReopenGuard reopenGuard;
    int currentValue = 0;
};

}  // namespace orvane
