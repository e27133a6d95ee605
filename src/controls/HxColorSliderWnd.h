#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "controls/HxColorListener.h"

namespace orvane {

class HxColorSelectorWnd;

// The vertical hue bar beside the selector. The slider runs reversed: the hue
// is 3599 minus the position, so red (hue 0) sits at the bottom. It reports its
// moves to the linked selector, or to its parent when no selector is linked.
class HxColorSliderWnd : public QWidget, public HxColorListener {
    Q_OBJECT
  public:
    HxColorSliderWnd(QWidget* parent, const QRect& rect, int controlId);
    ~HxColorSliderWnd() override;

    int controlId() const { return id; }

    // Range 0 to 3599, steps 10 and 100, reversed, position 3599 (hue 0).
    void setHueMode();
    void link(HxColorSelectorWnd* selector);
    void setListener(HxColorListener* listener) { explicitListener = listener; }

    int position() const { return pos; }
    int hue() const { return reversed ? maximum - pos : pos; }
    int minimumPosition() const { return minimum; }
    int maximumPosition() const { return maximum; }
    int lineStep() const { return line; }
    int pageStep() const { return page; }
    bool isReversed() const { return reversed; }
    bool isDragging() const { return dragging; }

    // The selector's saturation and value, as it last reported them.
    int selectorX() const { return otherX; }
    int selectorY() const { return otherY; }

    // The bar showing the ramp, in widget pixels, and the row of the markers.
    QRect barRect() const;
    QRect frameRect() const;
    int markerRow() const;

    // The selector's report: takes its hue and components without reporting
    // back.
    long colorChanged(const HxColorChange& change) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void buildRamp();
    void dragTo(QPoint point);
    long report();

    int id = 0;
    int minimum = 0;
    int maximum = 3599;
    int line = 10;
    int page = 100;
    int pos = 0;
    bool reversed = true;
    int otherX = 0;
    int otherY = 0;
    bool dragging = false;
    QPointer<HxColorSelectorWnd> selector;
    HxColorListener* explicitListener = nullptr;
    QImage ramp;
};

}  // namespace orvane
