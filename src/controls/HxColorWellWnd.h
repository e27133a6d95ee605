#pragma once

#include <QPointer>
#include <QRect>
#include <QWidget>

#include "controls/HsvColor.h"
#include "controls/HxColorListener.h"

namespace orvane {

class HxColorSelectorWnd;

// A swatch that mirrors the selector's colour. Each report of the selector
// raises the well's pending-colour flag, which the page reads and clears on its
// own schedule (takePendingColor), and is passed on at once to the page's
// listener when one is linked.
class HxColorWellWnd : public QWidget, public HxColorListener {
    Q_OBJECT
  public:
    HxColorWellWnd(QWidget* parent, const QRect& rect, int controlId);
    ~HxColorWellWnd() override;

    int controlId() const { return id; }

    void link(HxColorSelectorWnd* selector, HxColorListener* page);

    ColorRef color() const { return colour; }

    bool hasPendingColor() const { return pending; }
    // The colour, clearing the flag.
    ColorRef takePendingColor();

    // The selector's report.
    long colorChanged(const HxColorChange& change) override;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    int id = 0;
    ColorRef colour = 0;
    bool pending = false;
    QPointer<HxColorSelectorWnd> selector;
    HxColorListener* page = nullptr;
};

}  // namespace orvane
