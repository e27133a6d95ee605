#include "controls/CKivImageDialog.h"

#include <QKeyEvent>
#include <QPainter>

namespace orvane {

CKivImageDialog::CKivImageDialog(QWidget* parent, Qt::WindowFlags flags) : QDialog(parent, flags) {
    // QDialog turns a plain widget type into a dialog window; a page must stay
    // a child widget.
    if ((flags & Qt::WindowType_Mask) == Qt::Widget) {
        setWindowFlags(flags);
    }
}

void CKivImageDialog::setBackground(const QImage& picture) {
    setBackground(SkinImage::fromImage(picture));
}

void CKivImageDialog::setBackground(const SkinImage& picture) {
    backgroundPicture = picture;
    // An opaque picture covers the whole window; letting Qt erase first
    // would only flicker.
    setAttribute(Qt::WA_OpaquePaintEvent,
                 !backgroundPicture.isNull() && !backgroundPicture.hasAlphaChannel());
    if (!backgroundPicture.isNull()) {
        resize(backgroundPicture.size());
    }
    update();
}

void CKivImageDialog::controlNotified(int id, int value) {
    if (id != kMenuVisibilityId) {
        return;
    }
    for (QWidget* ancestor = parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget()) {
        if (auto* sink = dynamic_cast<ControlSink*>(ancestor)) {
            sink->controlNotified(id, value);
            return;
        }
    }
}

void CKivImageDialog::paintEvent(QPaintEvent*) {
    const QImage& picture = backgroundPicture.image();
    if (picture.isNull()) {
        return;
    }
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.drawImage(rect(), picture);
}

void CKivImageDialog::keyPressEvent(QKeyEvent* event) {
    // Escape rejects a dialog window; a page inside a window must not hide
    // itself, so there the key goes on to the window around it.
    if (!isWindow()) {
        QWidget::keyPressEvent(event);
        return;
    }
    QDialog::keyPressEvent(event);
}

}  // namespace orvane
