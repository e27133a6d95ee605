#pragma once

#include <QImage>
#include <array>

#include "controls/CKivWidget.h"
#include "controls/KivSliderImages.h"

class QPainter;

namespace orvane {

// Horizontal slider with one to five thumbs. A thumb move notifies
// (identifier, value + k * 65536), k = 1 for the first thumb.
class CKivSliderCtrl3D : public CKivWidget {
    Q_OBJECT
  public:
    static constexpr int kMaxThumbs = 5;

    enum State { Normal = 0, Over = 1, Dragging = 2, Disabled = 3 };

    // The track is stretched over the client area; the thumb is drawn at its
    // own size, centred vertically.
    using Images = KivSliderImages;

    explicit CKivSliderCtrl3D(QWidget* parent = nullptr, int controlId = 0);

    void setImages(const Images& images);
    // The look of thumb k (1..5) under the pointer and while dragged, for
    // sliders whose thumbs carry their own numbers; a null picture falls back
    // to the common pictures.
    void setThumbOverImage(int thumb, const QImage& picture);

    // An inverted range is taken as an empty one at the minimum; thumbs are
    // brought into the new range without notifications.
    void setRange(int minimum, int maximum);
    int minimum() const { return minValue; }
    int maximum() const { return maxValue; }

    // A step below 1 means no snapping.
    void setStep(int step) { stepSize = step; }
    int step() const { return stepSize; }

    void setThumbCount(int count);
    int thumbCount() const { return thumbs; }

    // Thumb numbers are 1..5 as in the notification. Setting clamps to the
    // range without snapping and, on a change, repaints and notifies.
    int thumbValue(int thumb) const;
    void setThumbValue(int thumb, int value);
    int value() const { return thumbValue(1); }
    void setValue(int value) { setThumbValue(1, value); }

    State state() const { return currentState; }

    // Thumb width used by the mapping: the thumb picture's width, or the
    // client height when there is none (never more than the client width).
    int thumbWidth() const;
    QRect thumbRect(int thumb) const;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

  private:
    // The thumb a press at x takes: the one whose centre is nearest; on a tie
    // the one with the lower number.
    int thumbNearest(int x) const;
    void dragTo(int x);
    void setState(State state);
    void drawThumb(QPainter& painter, int thumb) const;

    Images pictures;
    std::array<SkinImage, kMaxThumbs> thumbOverPictures;
    int minValue = 0;
    int maxValue = 100;
    int stepSize = 1;
    int thumbs = 1;
    std::array<int, kMaxThumbs> values{};
    State currentState = Normal;
    int draggedThumb = 0;  // 0 while nothing is dragged
    int hoveredThumb = 0;
};

}  // namespace orvane
