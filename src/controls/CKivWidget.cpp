#include "controls/CKivWidget.h"

#include "controls/ControlSink.h"

namespace orvane {

CKivWidget::CKivWidget(QWidget* parent, int controlId) : QWidget(parent), id(controlId) {
    // No erase step: only what paintEvent draws is drawn.
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_TranslucentBackground);
}

ControlSink* CKivWidget::owner() const {
    if (explicitOwner != nullptr) {
        return explicitOwner;
    }
    for (QWidget* ancestor = parentWidget(); ancestor != nullptr;
         ancestor = ancestor->parentWidget()) {
        if (auto* sink = dynamic_cast<ControlSink*>(ancestor)) {
            return sink;
        }
    }
    return nullptr;
}

void CKivWidget::notifyOwner(int value) {
    notifyOwner(id, value);
}

void CKivWidget::notifyOwner(int notificationId, int value) {
    if (ControlSink* sink = owner()) {
        sink->controlNotified(notificationId, value);
    }
}

void CKivWidget::notifyClicked() {
    if (ControlSink* sink = owner()) {
        sink->controlClicked(id);
    }
}

void CKivWidget::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
}

}  // namespace orvane
