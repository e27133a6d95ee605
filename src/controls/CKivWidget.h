#pragma once

#include <QWidget>

namespace orvane {

class ControlSink;

// Common base of the skinned controls: the control identifier and the way to
// the owner that hears the control's notifications. Unless an owner is set
// explicitly, the owner is the nearest ancestor widget that is a ControlSink,
// looked up at the moment of each notification so that re-parenting works.
class CKivWidget : public QWidget {
    Q_OBJECT
  public:
    explicit CKivWidget(QWidget* parent = nullptr, int controlId = 0);

    int controlId() const { return id; }
    void setControlId(int controlId) { id = controlId; }

    // An explicit owner, for controls whose owner is not a widget ancestor
    // (a top-level menu, for example). nullptr goes back to the ancestor rule.
    void setOwner(ControlSink* owner) { explicitOwner = owner; }
    ControlSink* owner() const;

  protected:
    // Synchronous (identifier, value) notification; nothing happens without an
    // owner.
    void notifyOwner(int value);
    void notifyOwner(int notificationId, int value);
    void notifyClicked();

    // The skinned controls draw their own background or nothing at all: the
    // page behind them shows through.
    void paintEvent(QPaintEvent* event) override;

  private:
    int id = 0;
    ControlSink* explicitOwner = nullptr;
};

}  // namespace orvane
