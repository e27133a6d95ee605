#pragma once

#include <QString>

#include "controls/CKivWidget.h"
#include "pages/macro/MacroMemoryUse.h"

namespace orvane {

// A thin bar of how full the mouse's macro memory will be after the next
// Apply, "n of 178 slots" beside it, and a warning line naming the buttons
// whose macro will not be played whole.
class MacroMemoryGauge : public CKivWidget {
    Q_OBJECT
  public:
    explicit MacroMemoryGauge(QWidget* parent = nullptr, int controlId = 0);

    void setUse(const MacroMemoryUse& use);
    const MacroMemoryUse& use() const { return shown; }

    QString slotsText() const;
    // Empty while every macro fits.
    QString warningText() const;
    bool warns() const { return !warningText().isEmpty(); }
    // The bar's rectangle, in the gauge's pixels.
    QRect barRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    MacroMemoryUse shown;
};

}  // namespace orvane
