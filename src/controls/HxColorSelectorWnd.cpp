#include "controls/HxColorSelectorWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdint>

#include "controls/HxColorSliderWnd.h"
#include "controls/HxColorWellWnd.h"
#include "controls/HxDrawHelper.h"

namespace orvane {

namespace {

constexpr int kHueCount = 3600;
constexpr int kFixedShift = 20;
constexpr int kRingSize = 11;

// Smallest integer not below numerator / denominator, both non-negative.
int ceilDiv(int numerator, int denominator) {
    return (numerator + denominator - 1) / denominator;
}

}  // namespace

HxColorSelectorWnd::HxColorSelectorWnd(QWidget* parent, const QRect& rect, int controlId)
    : QWidget(parent), id(controlId) {
    setObjectName(QStringLiteral("HxColorSelectorWnd"));
    setPalette(HxDrawHelper::defaultPalette());
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    // Every pixel is painted from the off-screen picture.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(rect);
    updateColor();
}

HxColorSelectorWnd::~HxColorSelectorWnd() = default;

void HxColorSelectorWnd::setHueMode() {
    components = {};
    xMaximum = 1000;
    yMaximum = 1000;
    updateColor();
    update();
}

void HxColorSelectorWnd::link(HxColorSliderWnd* newSlider, HxColorWellWnd* newWell) {
    slider = newSlider;
    well = newWell;
}

void HxColorSelectorWnd::setColor(ColorRef colour) {
    const HsvComponents wanted = hsvComponentsFromColor(colour);
    if (wanted == components) {
        return;
    }
    components = wanted;
    updateColor();
    report();
    update();
}

QRect HxColorSelectorWnd::planeRect() const {
    // Follows the size at once: a hidden window gets its resize event only
    // when it is shown.
    return {3, 3, std::max(width() - 6, 0), std::max(height() - 6, 0)};
}

QPoint HxColorSelectorWnd::ringCentre() const {
    const QRect plane = planeRect();
    const int left = plane.x();
    const int right = plane.x() + plane.width();
    const int top = plane.y();
    const int bottom = plane.y() + plane.height();
    return {left + (right - left) * components.x / std::max(xMaximum, 1),
            bottom - (bottom - top) * components.y / std::max(yMaximum, 1)};
}

long HxColorSelectorWnd::colorChanged(const HxColorChange& change) {
    const std::int64_t newHue = kHueCount - 1 - static_cast<std::int64_t>(change.value);
    if (newHue < 0 || newHue > kHueCount - 1) {
        return 0;
    }
    components.hue = static_cast<int>(newHue);
    updateColor();
    const long result = report();
    update();
    return result;
}

void HxColorSelectorWnd::updateColor() {
    current = colorFromHsvComponents(components);
}

long HxColorSelectorWnd::report() {
    if (id == 0) {
        return 0;
    }
    const HxColorChange change{this, id, current};
    long result = 0;
    // The receivers are reached through the listener interface so that a
    // receiver can be wrapped or replaced without the selector knowing.
    if (HxColorListener* receiver = slider.data()) {
        result = receiver->colorChanged(change);
    }
    if (HxColorListener* receiver = well.data()) {
        result = receiver->colorChanged(change);
    }
    HxColorListener* parentListener = explicitListener;
    if (parentListener == nullptr) {
        parentListener = dynamic_cast<HxColorListener*>(parentWidget());
    }
    if (parentListener != nullptr) {
        result = parentListener->colorChanged(change);
    }
    return result;
}

void HxColorSelectorWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    picture = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
}

void HxColorSelectorWnd::paintPlane() {
    const QRect plane = planeRect();
    const int columns = plane.width();
    const int rows = plane.height();
    if (columns <= 0 || rows <= 0) {
        return;
    }
    // Each channel at saturation s and value v is v x (255 - s x (255 - c)),
    // with c the channel of the pure hue: a grey on the left falling linearly
    // to the hue's shade on the right, in every row.
    const auto pure = hsvToRgb(components.hue / 10.0, 1, 1);
    const RgbFraction hueColour = pure.value_or(RgbFraction{});
    const std::int64_t one = std::int64_t{255} << kFixedShift;
    const std::int64_t full[3] = {
        static_cast<std::int64_t>(hueColour.r * static_cast<double>(one)),
        static_cast<std::int64_t>(hueColour.g * static_cast<double>(one)),
        static_cast<std::int64_t>(hueColour.b * static_cast<double>(one)),
    };
    const int lastRow = std::max(rows - 1, 1);
    for (int j = 0; j < rows; ++j) {
        const std::int64_t grey = one * j / lastRow;
        std::int64_t channel[3];
        std::int64_t step[3];
        for (int c = 0; c < 3; ++c) {
            channel[c] = grey;
            step[c] = (full[c] * j / lastRow - grey) / columns;
        }
        auto* line =
            reinterpret_cast<QRgb*>(picture.scanLine(plane.y() + rows - 1 - j)) + plane.x();
        for (int k = 0; k < columns; ++k) {
            line[k] = qRgb(static_cast<int>(channel[0] >> kFixedShift),
                           static_cast<int>(channel[1] >> kFixedShift),
                           static_cast<int>(channel[2] >> kFixedShift));
            for (int c = 0; c < 3; ++c) {
                channel[c] += step[c];
            }
        }
    }
}

void HxColorSelectorWnd::paintEvent(QPaintEvent* /*event*/) {
    if (picture.size() != size()) {
        picture = QImage(size().expandedTo(QSize(1, 1)), QImage::Format_RGB32);
    }
    const QRect plane = planeRect();
    {
        QPainter canvas(&picture);
        canvas.fillRect(picture.rect(), palette().color(QPalette::Button));
        HxDrawHelper(palette()).drawFrame(canvas, 2, 2, width() - 2, height() - 2,
                                          HxDrawHelper::kSunkenBlack);
    }
    // The plane goes over the frame's inner black line, which lies on the
    // plane's edge, so that every pixel of the plane shows its colour.
    paintPlane();
    {
        QPainter canvas(&picture);
        canvas.setClipRect(plane);
        canvas.setRenderHint(QPainter::Antialiasing, true);
        const int largest = std::max({redOf(current), greenOf(current), blueOf(current)});
        canvas.setPen(QPen(largest >= 128 ? Qt::black : Qt::white, 1));
        canvas.setBrush(Qt::NoBrush);
        // A one-pixel line on a circle through the pixel centres five pixels
        // from the centre pixel covers the 11 x 11 square around it.
        const QPoint centre = ringCentre();
        const double radius = (kRingSize - 1) / 2.0;
        canvas.drawEllipse(QPointF(centre.x() + 0.5, centre.y() + 0.5), radius, radius);
    }
    QPainter(this).drawImage(0, 0, picture);
}

void HxColorSelectorWnd::mousePressEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    if (button != Qt::LeftButton && button != Qt::MiddleButton) {
        event->ignore();
        return;
    }
    setFocus(Qt::MouseFocusReason);
    event->accept();
    if (dragging) {
        return;
    }
    // The press itself grabs the mouse for this window until every button is
    // up, which is the capture a drag needs.
    if (planeRect().contains(event->position().toPoint())) {
        dragging = true;
        dragButton = button;
        dragTo(event->position().toPoint());
    }
}

void HxColorSelectorWnd::mouseMoveEvent(QMouseEvent* event) {
    if (dragging) {
        dragTo(event->position().toPoint());
    }
}

void HxColorSelectorWnd::mouseReleaseEvent(QMouseEvent* event) {
    const Qt::MouseButton button = event->button();
    // A drag ends on the left button, and one begun with the middle button
    // also on the middle button: otherwise it would outlive the only button
    // that is held and follow the bare pointer.
    const bool ends =
        button == Qt::LeftButton || (button == Qt::MiddleButton && dragButton == Qt::MiddleButton);
    if (dragging && ends) {
        finishDrag();
    }
}

void HxColorSelectorWnd::finishDrag() {
    dragging = false;
    dragButton = Qt::NoButton;
    updateColor();
    report();
}

void HxColorSelectorWnd::mouseDoubleClickEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    event->accept();
}

void HxColorSelectorWnd::dragTo(QPoint point) {
    const QRect plane = planeRect();
    const int left = plane.x();
    const int right = plane.x() + plane.width();
    const int top = plane.y();
    const int bottom = plane.y() + plane.height();
    if (right <= left || bottom <= top) {
        return;
    }
    const int px = std::clamp(point.x(), left, right);
    const int py = std::clamp(point.y(), top, bottom);
    const int newX = ceilDiv((px - left) * xMaximum, right - left);
    const int newY = ceilDiv((bottom - py) * yMaximum, bottom - top);
    if (newX == components.x && newY == components.y) {
        return;
    }
    components.x = newX;
    components.y = newY;
    update();
    updateColor();
    report();
}

void HxColorSelectorWnd::keyPressEvent(QKeyEvent* event) {
    int newX = components.x;
    int newY = components.y;
    switch (event->key()) {
        case Qt::Key_PageUp:
            newX = xMaximum;
            newY = yMaximum;
            break;
        case Qt::Key_PageDown:
            newX = xMaximum;
            newY = 0;
            break;
        case Qt::Key_End:
            newX = 0;
            newY = 0;
            break;
        case Qt::Key_Home:
            newX = 0;
            newY = yMaximum;
            break;
        case Qt::Key_Left:
            --newX;
            break;
        case Qt::Key_Right:
            ++newX;
            break;
        case Qt::Key_Up:
            ++newY;
            break;
        case Qt::Key_Down:
            --newY;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    if (!dragging) {
        moveMarker(newX, newY);
    }
}

void HxColorSelectorWnd::moveMarker(int newX, int newY) {
    newX = std::clamp(newX, 0, xMaximum);
    newY = std::clamp(newY, 0, yMaximum);
    if (newX == components.x && newY == components.y) {
        return;
    }
    components.x = newX;
    components.y = newY;
    updateColor();
    update();
    report();
}

}  // namespace orvane
