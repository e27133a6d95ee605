#include "controls/HxColorSliderWnd.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <array>

#include "controls/HsvColor.h"
#include "controls/HxColorSelectorWnd.h"
#include "controls/HxDrawHelper.h"

namespace orvane {

namespace {

constexpr int kMarkerMargin = 7;
constexpr int kMarkerSize = 6;
// 0x151312 in the red-low layout.
constexpr QRgb kBackground = qRgb(0x12, 0x13, 0x15);

// The six runs of the hue circle, each as the colour it starts and ends at.
struct Run {
    std::array<int, 3> from;
    std::array<int, 3> to;
};
constexpr std::array<Run, 6> kRuns = {{
    {{255, 0, 0}, {255, 255, 0}},
    {{255, 255, 0}, {0, 255, 0}},
    {{0, 255, 0}, {0, 255, 255}},
    {{0, 255, 255}, {0, 0, 255}},
    {{0, 0, 255}, {255, 0, 255}},
    {{255, 0, 255}, {255, 0, 0}},
}};

}  // namespace

HxColorSliderWnd::HxColorSliderWnd(QWidget* parent, const QRect& rect, int controlId)
    : QWidget(parent), id(controlId) {
    setObjectName(QStringLiteral("HxColorSliderWnd"));
    setPalette(HxDrawHelper::defaultPalette());
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::ArrowCursor);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setGeometry(rect);
    buildRamp();
}

HxColorSliderWnd::~HxColorSliderWnd() = default;

void HxColorSliderWnd::setHueMode() {
    minimum = 0;
    maximum = 3599;
    line = 10;
    page = 100;
    reversed = true;
    pos = maximum;
    update();
}

void HxColorSliderWnd::link(HxColorSelectorWnd* newSelector) {
    selector = newSelector;
}

int HxColorSliderWnd::markerRow() const {
    const QRect bar = barRect();
    const int span = std::max(maximum - minimum, 1);
    return bar.y() + bar.height() * (pos - minimum) / span;
}

long HxColorSliderWnd::colorChanged(const HxColorChange& change) {
    auto* source = qobject_cast<HxColorSelectorWnd*>(change.sender);
    if (source == nullptr) {
        return 0;
    }
    if (source->x() >= 0 && source->x() <= 1000) {
        otherX = source->x();
    }
    if (source->y() >= 0 && source->y() <= 1000) {
        otherY = source->y();
    }
    pos = std::clamp(3599 - source->hue(), minimum, maximum);
    update();
    return 0;
}

long HxColorSliderWnd::report() {
    if (id == 0) {
        return 0;
    }
    const HxColorChange change{this, id, static_cast<std::uint32_t>(pos)};
    HxColorListener* receiver = selector.data();
    if (receiver == nullptr) {
        receiver = explicitListener;
    }
    if (receiver == nullptr) {
        receiver = dynamic_cast<HxColorListener*>(parentWidget());
    }
    return receiver != nullptr ? receiver->colorChanged(change) : 0;
}

QRect HxColorSliderWnd::frameRect() const {
    // The area (2, 2)-(w - 3, h - 3) less room for the markers at the sides
    // and a little at top and bottom. Computed from the size at once: a hidden
    // window gets its resize event only when it is shown.
    const QRect frame(QPoint(2 + kMarkerMargin, 5),
                      QPoint(width() - 3 - kMarkerMargin - 1, height() - 6 - 1));
    return frame.isValid() ? frame : QRect(frame.topLeft(), QSize(0, 0));
}

QRect HxColorSliderWnd::barRect() const {
    const QRect bar = frameRect().adjusted(2, 2, -2, -2);
    return bar.isValid() ? bar : QRect(bar.topLeft(), QSize(0, 0));
}

void HxColorSliderWnd::buildRamp() {
    const int n = barRect().height();
    ramp = QImage(1, std::max(n, 1), QImage::Format_RGB32);
    ramp.fill(kBackground);
    for (std::size_t k = 0; k < kRuns.size(); ++k) {
        const int first = static_cast<int>(k) * n / 6;
        const int end = k + 1 == kRuns.size() ? n : (static_cast<int>(k) + 1) * n / 6;
        const int length = std::max(end - first, 1);
        for (int entry = first; entry < end; ++entry) {
            int rgb[3];
            for (int c = 0; c < 3; ++c) {
                const int from = kRuns[k].from[static_cast<std::size_t>(c)];
                const int to = kRuns[k].to[static_cast<std::size_t>(c)];
                rgb[c] = from + (to - from) * (entry - first) / length;
            }
            // Entry 0 is the bottom row.
            ramp.setPixel(0, n - 1 - entry, qRgb(rgb[0], rgb[1], rgb[2]));
        }
    }
}

void HxColorSliderWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    buildRamp();
}

void HxColorSliderWnd::paintEvent(QPaintEvent* /*event*/) {
    const QRect frame = frameRect();
    const QRect bar = barRect();
    if (ramp.height() != std::max(bar.height(), 1)) {
        buildRamp();
    }
    QPainter painter(this);
    painter.fillRect(rect(), QColor::fromRgb(kBackground));
    const HxDrawHelper helper(palette());
    helper.drawFrameAround(painter, frame, HxDrawHelper::kSunkenBlack);
    if (!bar.isEmpty()) {
        // One column stretched across the bar without smoothing: every pixel
        // of a row is exactly the ramp's entry.
        painter.drawImage(bar, ramp);
    }

    const int row = markerRow();
    const QColor fill = palette().color(QPalette::Window);
    const QColor outline = palette().color(QPalette::WindowText);
    helper.drawTriangle(painter, QPoint(frame.left() - 1, row), HxDrawHelper::kRight, kMarkerSize,
                        outline, fill);
    helper.drawTriangle(painter, QPoint(frame.right() + 1, row), HxDrawHelper::kLeft, kMarkerSize,
                        outline, fill);

    if (hasFocus()) {
        QPen dotted(palette().color(QPalette::WindowText), 1, Qt::DotLine);
        painter.setPen(dotted);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(QPoint(2, 2), QPoint(width() - 4, height() - 4)));
    }
}

void HxColorSliderWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    event->accept();
    const QRect area(QPoint(2, 2), QPoint(width() - 4, height() - 4));
    if (dragging || !area.contains(event->position().toPoint())) {
        return;
    }
    setFocus(Qt::MouseFocusReason);
    // The press grabs the mouse for this window until the button is up.
    dragging = true;
    dragTo(event->position().toPoint());
}

void HxColorSliderWnd::mouseMoveEvent(QMouseEvent* event) {
    if (dragging) {
        dragTo(event->position().toPoint());
    }
}

void HxColorSliderWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (!dragging || event->button() != Qt::LeftButton) {
        return;
    }
    dragging = false;
    report();
}

void HxColorSliderWnd::dragTo(QPoint point) {
    const QRect bar = barRect();
    const int top = bar.y();
    const int bottom = bar.y() + bar.height();
    if (bottom <= top) {
        return;
    }
    const int py = std::clamp(point.y(), top, bottom);
    const int span = maximum - minimum;
    // Rounded half up.
    const int newPos = minimum + ((py - top) * span * 2 + (bottom - top)) / (2 * (bottom - top));
    if (newPos == pos) {
        return;
    }
    pos = newPos;
    update();
    report();
}

void HxColorSliderWnd::keyPressEvent(QKeyEvent* event) {
    int newPos = pos;
    switch (event->key()) {
        case Qt::Key_PageUp:
            newPos -= page;
            break;
        case Qt::Key_PageDown:
            newPos += page;
            break;
        case Qt::Key_End:
            newPos = maximum;
            break;
        case Qt::Key_Home:
            newPos = minimum;
            break;
        case Qt::Key_Left:
        case Qt::Key_Up:
            newPos -= line;
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            newPos += line;
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
    if (dragging) {
        return;
    }
    newPos = std::clamp(newPos, minimum, maximum);
    if (newPos == pos) {
        return;
    }
    pos = newPos;
    report();
    update();
}

}  // namespace orvane
