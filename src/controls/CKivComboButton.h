#pragma once

#include <QTimer>

#include "controls/CKivButton.h"
#include "controls/ControlSink.h"
#include "controls/KivReopenGuard.h"

namespace orvane {

class CKivMenu;

// A button that opens a skinned menu below itself (or above, near the bottom
// edge of a window) and shows the picked item as its caption. The owner hears
// the pick first and may refuse it by calling clearAcceptance() while it
// handles the notification; the caption then stays as it was. A flag cleared
// at any other time refuses the next pick.
class CKivComboButton : public CKivButton, public ControlSink {
    Q_OBJECT
  public:
    using Clock = KivReopenGuard::Clock;

    static constexpr int kVisibilityPollMs = 100;
    static constexpr int kReopenGuardMs = KivReopenGuard::kGuardMs;

    explicit CKivComboButton(QWidget* parent = nullptr, int controlId = 0);
    ~CKivComboButton() override;

    bool addItem(int id, const QString& text);
    bool addItem(int parentId, int id, const QString& text);
    CKivMenu* menu() const { return dropMenu; }

    // The menu is as wide as the button, or as this when that is larger.
    void setMenuWidth(int width);
    int menuWidth() const { return configuredMenuWidth; }
    void setDropUp(bool up) { dropUp = up; }
    bool isDropUp() const { return dropUp; }

    int selectedItem() const { return selectedId; }
    int value() const { return itemValue; }
    void setValue(int value) { itemValue = value; }
    // Replaces caption, selected item and value at once.
    void set(const QString& caption, int itemId, int value);

    void clearAcceptance() { accepted = false; }
    bool acceptance() const { return accepted; }

    void setClock(Clock clock);

    void controlNotified(int id, int value) override;

  protected:
    // Its owner reads (identifier, value) as a pick, so hovering must stay silent.
    void hoverEntered() override {}
    void leftPressed() override;
    void clicked() override;

  private:
    void openMenu();
    void pollMenuVisibility();
    void itemPicked(int itemId);

    CKivMenu* dropMenu;
    QTimer visibilityPoll;
    KivReopenGuard reopenGuard;
    int selectedId = -1;
    int itemValue = -1;
    bool accepted = true;
    bool dropUp = false;
    int configuredMenuWidth = 0;
};

}  // namespace orvane
