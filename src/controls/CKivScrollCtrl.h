#pragma once

#include <QImage>

#include "controls/CKivWidget.h"

namespace orvane {

// Scroll bar of the skinned lists: an arrow at each end, the track between
// them and a thumb that travels along the track's free length. The first
// arrow is the top (vertical) or left (horizontal) one.
class CKivScrollCtrl : public CKivWidget {
    Q_OBJECT
  public:
    // The seven pictures, each part in its normal look and in its look under
    // the pointer (also shown while the part is pressed).
    struct Images {
        QImage track;
        QImage firstArrow;
        QImage firstArrowOver;
        QImage secondArrow;
        QImage secondArrowOver;
        QImage thumb;
        QImage thumbOver;
    };

    explicit CKivScrollCtrl(QWidget* parent = nullptr, int controlId = 0);

    void setImages(const Images& images);

    // An inverted range is taken as an empty one; the position is brought into
    // the new range without a notification.
    void setRange(int minimum, int maximum);
    int minimum() const { return minValue; }
    int maximum() const { return maxValue; }

    // Clamps, moves the thumb and notifies (identifier, position), also when
    // the position stays the same: the owner may use it to re-sync its list.
    void setPosition(int position);
    int position() const { return pos; }

    void setOrientation(Qt::Orientation orientation);
    Qt::Orientation orientation() const { return direction; }

    // Square arrows, as long as the bar is thick (at most half the bar each).
    QRect firstArrowRect() const;
    QRect secondArrowRect() const;
    QRect trackRect() const;
    // As long along the track as the thumb picture (as thick as the bar when
    // there is none), never longer than the track.
    QRect thumbRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    enum class Part { None, FirstArrow, SecondArrow, Track, Thumb };

    int thickness() const;
    int length() const;
    int arrowLength() const;
    int thumbLength() const;
    int along(QPoint point) const;
    QRect axisRect(int start, int extent) const;
    Part partAt(QPoint point) const;
    // Position for a thumb whose leading edge is at a coordinate along the bar.
    int positionForThumbAt(int leadingEdge) const;
    void dragTo(QPoint point);

    Images pictures;
    int minValue = 0;
    int maxValue = 100;
    int pos = 0;
    Qt::Orientation direction = Qt::Vertical;
    Part hovered = Part::None;
    bool dragging = false;
    int grabOffset = 0;
};

}  // namespace orvane
