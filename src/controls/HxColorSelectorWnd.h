#pragma once

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QWidget>

#include "controls/HsvColor.h"
#include "controls/HxColorListener.h"

namespace orvane {

class HxColorSliderWnd;
class HxColorWellWnd;

// The colour field: saturation across, value up, at the hue that the linked
// slider chooses. It owns the current colour and reports every change of it to
// the linked slider, the linked well and its parent, in this order.
class HxColorSelectorWnd : public QWidget, public HxColorListener {
    Q_OBJECT
  public:
    HxColorSelectorWnd(QWidget* parent, const QRect& rect, int controlId);
    ~HxColorSelectorWnd() override;

    int controlId() const { return id; }

    // Components 0 and both maxima 1000.
    void setHueMode();
    void link(HxColorSliderWnd* slider, HxColorWellWnd* well);

    // Receiver of the reports that would otherwise go to the parent widget
    // (when the parent is a listener); nullptr goes back to the parent.
    void setListener(HxColorListener* listener) { explicitListener = listener; }

    void setColor(ColorRef colour);
    ColorRef color() const { return current; }

    int hue() const { return components.hue; }
    int x() const { return components.x; }
    int y() const { return components.y; }
    int maxX() const { return xMaximum; }
    int maxY() const { return yMaximum; }
    bool isDragging() const { return dragging; }

    // The plane, in widget pixels, and the ring's centre for the held x and y.
    QRect planeRect() const;
    QPoint ringCentre() const;

    // The slider's report: its position; the hue becomes 3599 minus it.
    long colorChanged(const HxColorChange& change) override;

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void dragTo(QPoint point);
    void finishDrag();
    void moveMarker(int newX, int newY);
    void updateColor();
    long report();
    void paintPlane();

    int id = 0;
    HsvComponents components;
    int xMaximum = 1000;
    int yMaximum = 1000;
    ColorRef current = 0;
    bool dragging = false;
    Qt::MouseButton dragButton = Qt::NoButton;
    QPointer<HxColorSliderWnd> slider;
    QPointer<HxColorWellWnd> well;
    HxColorListener* explicitListener = nullptr;
    QImage picture;
};

}  // namespace orvane
