#include "controls/CKivSliderCtrlVer.h"

#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

#include "controls/KivFont.h"
#include "controls/KivSliderMath.h"

namespace orvane {

namespace {

constexpr int kTooLight = 202;

}  // namespace

CKivSliderCtrlVer::CKivSliderCtrlVer(QWidget* parent, int controlId)
    : CKivWidget(parent, controlId) {
    setFont(kivFont(13));
    setMouseTracking(true);
}

void CKivSliderCtrlVer::setImages(const Images& images) {
    pictures = images;
    update();
}

void CKivSliderCtrlVer::setRange(int minimum, int maximum) {
    minValue = minimum;
    maxValue = std::max(minimum, maximum);
    currentValue = kivslider::clampValue(currentValue, minValue, maxValue);
    update();
}

int CKivSliderCtrlVer::thumbHeight() const {
    const int wanted = pictures.thumb.isNull() ? width() : pictures.thumb.size().height();
    return std::clamp(wanted, 0, std::max(0, height()));
}

QRect CKivSliderCtrlVer::thumbRect() const {
    const int h = thumbHeight();
    const int w = pictures.thumb.isNull() ? width() : pictures.thumb.size().width();
    const int y = kivslider::thumbOffset(currentValue, h, height(), minValue, maxValue);
    return QRect((width() - w) / 2, y, w, h);
}

void CKivSliderCtrlVer::setValue(int value) {
    const int clamped = kivslider::clampValue(value, minValue, maxValue);
    const int h = thumbHeight();
    applyValue(clamped, kivslider::thumbOffset(clamped, h, height(), minValue, maxValue) + h / 2);
}

void CKivSliderCtrlVer::applyValue(int value, int colourY) {
    if (value == currentValue) {
        return;
    }
    currentValue = value;
    takeColourAt(colourY);
    update();
    notifyOwner(currentValue);
}

void CKivSliderCtrlVer::takeColourAt(int y) {
    const QImage& strip = pictures.track.image();
    if (strip.isNull() || width() <= 0 || height() <= 0) {
        return;
    }
    // The track is stretched over the client area: map the middle of the
    // slider at that height back into the picture.
    const int px = std::clamp(strip.width() / 2, 0, strip.width() - 1);
    const int py =
        std::clamp(static_cast<int>(qint64{y} * strip.height() / height()), 0, strip.height() - 1);
    const QColor read = strip.pixelColor(px, py);
    if (read.red() >= kTooLight && read.green() >= kTooLight && read.blue() >= kTooLight) {
        return;
    }
    colour = QColor(read.red(), read.green(), read.blue());
}

void CKivSliderCtrlVer::dragTo(int y) {
    const int raw = kivslider::rawValueAt(y, thumbHeight(), height(), minValue, maxValue);
    applyValue(kivslider::snapToStep(raw, stepSize, minValue, maxValue), y);
}

void CKivSliderCtrlVer::setState(State state) {
    if (state != currentState) {
        currentState = state;
        update();
    }
}

void CKivSliderCtrlVer::mousePressEvent(QMouseEvent* event) {
    if (currentState == Disabled || event->button() != Qt::LeftButton) {
        return;
    }
    dragging = true;
    setState(Dragging);
    dragTo(qRound(event->position().y()));
}

void CKivSliderCtrlVer::mouseMoveEvent(QMouseEvent* event) {
    if (currentState == Disabled) {
        return;
    }
    if (dragging && (event->buttons() & Qt::LeftButton)) {
        dragTo(qRound(event->position().y()));
        return;
    }
    setState(rect().contains(event->position().toPoint()) ? Over : Normal);
}

void CKivSliderCtrlVer::mouseReleaseEvent(QMouseEvent* event) {
    if (currentState == Disabled || event->button() != Qt::LeftButton) {
        return;
    }
    dragging = false;
    setState(rect().contains(event->position().toPoint()) ? Over : Normal);
}

void CKivSliderCtrlVer::enterEvent(QEnterEvent* event) {
    CKivWidget::enterEvent(event);
    if (currentState == Normal) {
        setState(Over);
    }
}

void CKivSliderCtrlVer::leaveEvent(QEvent* event) {
    CKivWidget::leaveEvent(event);
    if (currentState == Over) {
        setState(Normal);
    }
}

void CKivSliderCtrlVer::changeEvent(QEvent* event) {
    CKivWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange) {
        dragging = false;
        setState(isEnabled() ? Normal : Disabled);
    }
}

void CKivSliderCtrlVer::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    const bool disabled = currentState == Disabled;
    const QImage& track = (disabled && !pictures.trackDisabled.isNull())
                              ? pictures.trackDisabled.image()
                              : pictures.track.image();
    if (!track.isNull()) {
        painter.drawImage(rect(), track);
    }
    const SkinImage* thumb = &pictures.thumb;
    if (disabled && !pictures.thumbDisabled.isNull()) {
        thumb = &pictures.thumbDisabled;
    } else if (currentState == Dragging && !pictures.thumbDown.isNull()) {
        thumb = &pictures.thumbDown;
    } else if (currentState == Over && !pictures.thumbOver.isNull()) {
        thumb = &pictures.thumbOver;
    }
    if (!thumb->isNull()) {
        painter.drawImage(thumbRect(), thumb->image());
    }
}

}  // namespace orvane
