#pragma once

#include <QImage>

#include "controls/CKivWidget.h"

namespace orvane {

// Bar that uncovers part of its fill picture over its background picture: from
// the left when horizontal, from the bottom when vertical.
class CKivProgressCtrl : public CKivWidget {
    Q_OBJECT
  public:
    explicit CKivProgressCtrl(QWidget* parent = nullptr, int controlId = 0);

    void setImages(const QImage& background, const QImage& fill);

    // An inverted range is taken as an empty one at the minimum.
    void setRange(int minimum, int maximum);
    int minimum() const { return minValue; }
    int maximum() const { return maxValue; }

    // Clamped to the range.
    void setPosition(int position);
    int position() const { return pos; }

    void setOrientation(Qt::Orientation orientation);
    Qt::Orientation orientation() const { return direction; }

    // The part of the client area that the fill covers. An empty range
    // (maximum == minimum) shows no fill.
    QRect fillRect() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage backgroundPicture;
    QImage fillPicture;
    int minValue = 0;
    int maxValue = 100;
    int pos = 0;
    Qt::Orientation direction = Qt::Horizontal;
};

}  // namespace orvane
