#pragma once

#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "controls/ControlSink.h"

namespace orvane {

// The drop-down window of a CKivCbnColorButton: a popup as large as its
// picture, filled by the caller with controls of its own. Whatever those
// controls report (and whatever report() is given) goes to the button as the
// button's new value.
class KivButtonDropDown : public QWidget, public ControlSink {
    Q_OBJECT
  public:
    using Listener = std::function<void(int id, int value)>;

    // How long the drop-down may stay open without the pointer on it.
    static constexpr int kIdleCheckMs = 2000;

    explicit KivButtonDropDown(QWidget* parent = nullptr);

    void setPicture(const QImage& picture);
    const QImage& picture() const { return background; }

    void setListener(Listener listener) { onReport = std::move(listener); }
    // Reports a value for content that is not a skinned control.
    void report(int value) { controlNotified(0, value); }

    // Hides the drop-down when the pointer is neither on it nor on the widget
    // it hangs from; the idle timer calls this.
    void hideIfPointerAway();
    void setAnchorWidget(QWidget* anchor) { anchorWidget = anchor; }

    void controlNotified(int id, int value) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    QImage background;
    Listener onReport;
    QTimer idleCheck;
    QWidget* anchorWidget = nullptr;
};

}  // namespace orvane
