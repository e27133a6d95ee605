#include "controls/CKivCbnColorButton.h"

#include <QEvent>
#include <QPointer>
#include <limits>

#include "controls/KivButtonDropDown.h"

namespace orvane {

namespace {

constexpr qint64 kNeverSeenOpen = std::numeric_limits<qint64>::min() / 2;
// A press this soon after the drop-down went away is the press that sent it
// away.
constexpr qint64 kReopenGuardMs = 200;

}  // namespace

CKivCbnColorButton::CKivCbnColorButton(QWidget* parent, int controlId)
    : CKivButton(parent, controlId),
      popupWindow(new KivButtonDropDown(this)),
      lastSeenOpen(kNeverSeenOpen) {
    sinceStart.start();
    popupWindow->setAnchorWidget(this);
    popupWindow->setListener([this](int id, int value) { dropDownReported(id, value); });
    popupWindow->installEventFilter(this);
}

CKivCbnColorButton::~CKivCbnColorButton() {
    popupWindow->removeEventFilter(this);
    delete popupWindow;
}

void CKivCbnColorButton::setClock(Clock newClock) {
    clock = std::move(newClock);
}

qint64 CKivCbnColorButton::now() const {
    return clock ? clock() : sinceStart.elapsed();
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
    reopenGuard = now() - lastSeenOpen <= kReopenGuardMs;
}

void CKivCbnColorButton::clicked() {
    QPointer<CKivCbnColorButton> self(this);
    CKivButton::clicked();
    if (self.isNull()) {
        return;
    }
    if (reopenGuard) {
        reopenGuard = false;
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
        lastSeenOpen = now();
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
