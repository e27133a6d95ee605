#include "controls/CKivSliderCtrl3D.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>
#include <cstdlib>

#include "controls/KivFont.h"
#include "controls/KivSliderMath.h"

namespace orvane {

namespace {

constexpr int kThumbShift = 65536;

}  // namespace

CKivSliderCtrl3D::CKivSliderCtrl3D(QWidget* parent, int controlId) : CKivWidget(parent, controlId) {
    setFont(kivFont(13));
    setMouseTracking(true);
}

void CKivSliderCtrl3D::setImages(const Images& images) {
    pictures = images;
    update();
}

void CKivSliderCtrl3D::setThumbOverImage(int thumb, const QImage& picture) {
    if (thumb >= 1 && thumb <= kMaxThumbs) {
        thumbOverPictures[static_cast<std::size_t>(thumb - 1)] = picture;
        update();
    }
}

void CKivSliderCtrl3D::setRange(int minimum, int maximum) {
    minValue = minimum;
    maxValue = std::max(minimum, maximum);
    for (int& v : values) {
        v = kivslider::clampValue(v, minValue, maxValue);
    }
    update();
}

void CKivSliderCtrl3D::setThumbCount(int count) {
    thumbs = std::clamp(count, 1, kMaxThumbs);
    update();
}

int CKivSliderCtrl3D::thumbValue(int thumb) const {
    if (thumb < 1 || thumb > kMaxThumbs) {
        return minValue;
    }
    return values[static_cast<std::size_t>(thumb - 1)];
}

void CKivSliderCtrl3D::setThumbValue(int thumb, int value) {
    if (thumb < 1 || thumb > kMaxThumbs) {
        return;
    }
    int& slot = values[static_cast<std::size_t>(thumb - 1)];
    const int clamped = kivslider::clampValue(value, minValue, maxValue);
    if (clamped == slot) {
        return;
    }
    slot = clamped;
    update();
    notifyOwner(clamped + thumb * kThumbShift);
}

int CKivSliderCtrl3D::thumbWidth() const {
    const int wanted = pictures.thumb.isNull() ? height() : pictures.thumb.size().width();
    return std::clamp(wanted, 0, std::max(0, width()));
}

QRect CKivSliderCtrl3D::thumbRect(int thumb) const {
    const int w = thumbWidth();
    const int h = pictures.thumb.isNull() ? height() : pictures.thumb.size().height();
    const int x = kivslider::thumbOffset(thumbValue(thumb), w, width(), minValue, maxValue);
    return QRect(x, (height() - h) / 2, w, h);
}

int CKivSliderCtrl3D::thumbNearest(int x) const {
    int best = 1;
    int bestDistance = -1;
    for (int k = 1; k <= thumbs; ++k) {
        const QRect r = thumbRect(k);
        const int distance = std::abs(2 * x - (2 * r.x() + r.width()));
        if (bestDistance < 0 || distance < bestDistance) {
            best = k;
            bestDistance = distance;
        }
    }
    return best;
}

void CKivSliderCtrl3D::dragTo(int x) {
    const int raw = kivslider::rawValueAt(x, thumbWidth(), width(), minValue, maxValue);
    setThumbValue(draggedThumb, kivslider::snapToStep(raw, stepSize, minValue, maxValue));
}

void CKivSliderCtrl3D::setState(State state) {
    if (state != currentState) {
        currentState = state;
        update();
    }
}

void CKivSliderCtrl3D::mousePressEvent(QMouseEvent* event) {
    if (currentState == Disabled || event->button() != Qt::LeftButton) {
        return;
    }
    const int x = qRound(event->position().x());
    draggedThumb = thumbNearest(x);
    setState(Dragging);
    dragTo(x);
}

void CKivSliderCtrl3D::mouseMoveEvent(QMouseEvent* event) {
    if (currentState == Disabled) {
        return;
    }
    const int x = qRound(event->position().x());
    if (draggedThumb != 0 && (event->buttons() & Qt::LeftButton)) {
        dragTo(x);
        return;
    }
    const int nearest = thumbNearest(x);
    if (nearest != hoveredThumb) {
        hoveredThumb = nearest;
        update();
    }
    setState(rect().contains(event->position().toPoint()) ? Over : Normal);
}

void CKivSliderCtrl3D::mouseReleaseEvent(QMouseEvent* event) {
    if (currentState == Disabled || event->button() != Qt::LeftButton) {
        return;
    }
    draggedThumb = 0;
    setState(rect().contains(event->position().toPoint()) ? Over : Normal);
}

void CKivSliderCtrl3D::enterEvent(QEnterEvent* event) {
    CKivWidget::enterEvent(event);
    if (currentState == Normal) {
        setState(Over);
    }
}

void CKivSliderCtrl3D::leaveEvent(QEvent* event) {
    CKivWidget::leaveEvent(event);
    hoveredThumb = 0;
    if (currentState == Over) {
        setState(Normal);
    }
}

void CKivSliderCtrl3D::changeEvent(QEvent* event) {
    CKivWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        draggedThumb = 0;
        setState(isEnabled() ? Normal : Disabled);
    }
}

void CKivSliderCtrl3D::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool disabled = currentState == Disabled;
    const QImage& track = (disabled && !pictures.trackDisabled.isNull())
                              ? pictures.trackDisabled.image()
                              : pictures.track.image();
    if (!track.isNull()) {
        painter.drawImage(rect(), track);
    }
    // The dragged thumb last, so that it stays on top of any it passes.
    for (int k = 1; k <= thumbs; ++k) {
        if (k != draggedThumb) {
            drawThumb(painter, k);
        }
    }
    if (draggedThumb >= 1 && draggedThumb <= thumbs) {
        drawThumb(painter, draggedThumb);
    }
}

void CKivSliderCtrl3D::drawThumb(QPainter& painter, int k) const {
    const bool disabled = currentState == Disabled;
    const SkinImage& own = thumbOverPictures[static_cast<std::size_t>(k - 1)];
    const SkinImage* picture = &pictures.thumb;
    if (disabled) {
        if (!pictures.thumbDisabled.isNull()) {
            picture = &pictures.thumbDisabled;
        }
    } else if (currentState == Dragging && k == draggedThumb) {
        if (!own.isNull()) {
            picture = &own;
        } else if (!pictures.thumbDown.isNull()) {
            picture = &pictures.thumbDown;
        }
    } else if (currentState == Over && k == hoveredThumb) {
        if (!own.isNull()) {
            picture = &own;
        } else if (!pictures.thumbOver.isNull()) {
            picture = &pictures.thumbOver;
        }
    }
    if (!picture->isNull()) {
        painter.drawImage(thumbRect(k), picture->image());
    }
}

}  // namespace orvane
