#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>

#include "controls/CKivWidget.h"

namespace orvane {

// Colour field: white at the top-left corner, the base colour at the top-right
// corner and black along the bottom edge, filled as two triangles
// (top-left/top-right/bottom-left and top-right/bottom-right/bottom-left) with
// linear interpolation between their corners. The user picks a colour by
// pressing or dragging in it; each move notifies (identifier, 0).
class CQorColorStatic : public CKivWidget {
    Q_OBJECT
  public:
    explicit CQorColorStatic(QWidget* parent = nullptr, int controlId = 0);

    // Drawn over the field (a frame or a gloss); it takes no part in picking.
    void setPicture(const QImage& picture);

    void setBaseColor(const QColor& colour);
    QColor baseColor() const { return base; }

    // Moves the marker without notifying. Points outside the field are
    // brought onto its nearest edge.
    void setPickPoint(QPoint point);
    QPoint pickPoint() const { return pick; }

    // The snapped colour of the field under the pick point, read afresh from
    // the field at its current size and base colour, so that it is valid
    // before the field was ever painted (or shown).
    QColor pickedColor() const;

    // The field's colours (without the picture), one per client pixel.
    const QImage& field() const;

    // Near-pure colours become pure: a pick close to a corner of the field
    // should give that corner's colour, not its one-off neighbour.
    static QColor snapColor(const QColor& colour);

    // The 8 x 8 marker around the pick point, kept inside the client area.
    QRect markerRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void moveFromPointer(QPoint point);

    QImage picture;
    QColor base{0, 255, 255};
    QPoint pick{138, 1};
    bool dragging = false;
    mutable QImage fieldCache;
};

}  // namespace orvane
