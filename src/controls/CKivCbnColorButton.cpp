#include "controls/CKivCbnColorButton.h"

#include <QEvent>
#include <QPointer>

#include "controls/KivButtonDropDown.h"

namespace orvane {

CKivCbnColorButton::CKivCbnColorButton(QWidget* parent, int controlId)
    : CKivButton(parent, controlId), popupWindow(new KivButtonDropDown(this)) {
    popupWindow->setAnchorWidget(this);
    popupWindow->setListener([this](int id, int value) { dropDownReported(id, value); });
    popupWindow->installEventFilter(this);
}

CKivCbnColorButton::~CKivCbnColorButton() {
    popupWindow->removeEventFilter(this);
    delete popupWindow;
}

void CKivCbnColorButton::setClock(Clock newClock) {
    reopenGuard.setClock(std::move(newClock));
}

bool CKivCbnColorButton::isDropDownShown() const {
    return popupWindow->isVisible();
}

void CKivCbnColorButton::showDropDown() {
    if (!popupWindow->picture().isNull()) {
        popupWindow->resize(popupWindow->picture().size());
    }
    popupWindow->move(mapToGlobal(QPoint(0, height())));
    popupWindow->show();
    popupWindow->raise();
}

void CKivCbnColorButton::hideDropDown() {
    popupWindow->hide();
}

void CKivCbnColorButton::leftPressed() {
    if (popupWindow->isVisible()) {
        hideDropDown();
    }
    reopenGuard.pressed();
}

void CKivCbnColorButton::clicked() {
    QPointer<CKivCbnColorButton> self(this);
    CKivButton::clicked();
    if (self.isNull()) {
        return;
    }
    if (reopenGuard.swallowClick()) {
        return;
    }
    if (popupWindow->isVisible()) {
        hideDropDown();
    } else {
        showDropDown();
    }
}

bool CKivCbnColorButton::eventFilter(QObject* watched, QEvent* event) {
    if (watched == popupWindow && event->type() == QEvent::Hide) {
        reopenGuard.seenOpen();
    }
    return CKivButton::eventFilter(watched, event);
}

void CKivCbnColorButton::dropDownReported(int id, int value) {
    if (id == kMenuVisibilityId) {
        notifyOwner(kMenuVisibilityId, value);
        return;
    }
    currentValue = value;
    notifyOwner(value);
}

}  // namespace orvane
