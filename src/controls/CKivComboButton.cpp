#include "controls/CKivComboButton.h"

#include <QPointer>
#include <algorithm>

#include "controls/CKivMenu.h"
#include "skins/SkinPalette.h"

namespace orvane {

CKivComboButton::CKivComboButton(QWidget* parent, int controlId)
    : CKivButton(parent, controlId),
      dropMenu(new CKivMenu(controlId, this, CKivMenu::kSubmenuWidth, this)) {
    setCaptionColor(Qt::white);
    setLatchedCaptionColor(QColor(palette::kAccent.r, palette::kAccent.g, palette::kAccent.b));
    visibilityPoll.setInterval(kVisibilityPollMs);
    connect(&visibilityPoll, &QTimer::timeout, this, &CKivComboButton::pollMenuVisibility);
}

CKivComboButton::~CKivComboButton() {
    // The menu reports to this object; it must go while this is still whole.
    delete dropMenu;
}

bool CKivComboButton::addItem(int id, const QString& text) {
    return dropMenu->addItem(id, text);
}

bool CKivComboButton::addItem(int parentId, int id, const QString& text) {
    return dropMenu->addItem(parentId, id, text);
}

void CKivComboButton::setMenuWidth(int width) {
    configuredMenuWidth = width;
}

void CKivComboButton::set(const QString& caption, int itemId, int value) {
    selectedId = itemId;
    itemValue = value;
    setCaption(caption);
}

void CKivComboButton::setClock(Clock newClock) {
    reopenGuard.setClock(std::move(newClock));
}

void CKivComboButton::leftPressed() {
    // The press that dismisses the open menu reaches the button as well; it
    // must not turn into a click that opens the menu again.
    if (dropMenu->isVisible()) {
        reopenGuard.seenOpen();
        dropMenu->closeMenu();
    }
    reopenGuard.pressed();
}

void CKivComboButton::clicked() {
    QPointer<CKivComboButton> self(this);
    CKivButton::clicked();
    if (self.isNull()) {
        return;
    }
    if (reopenGuard.swallowClick()) {
        return;
    }
    openMenu();
}

void CKivComboButton::openMenu() {
    if (dropMenu->isVisible()) {
        dropMenu->closeMenu();
        return;
    }
    dropMenu->setMenuWidth(std::max(width(), configuredMenuWidth) - 2);
    // Where the screen has no room on the chosen side, the menu goes to the
    // button's other side, and ends at its right edge rather than run off.
    if (dropUp) {
        dropMenu->popup(mapToGlobal(QPoint(1, 0)), CKivMenu::Anchor::BottomLeft,
                        mapToGlobal(QPoint(width() - 1, height())));
    } else {
        dropMenu->popup(mapToGlobal(QPoint(1, height())), CKivMenu::Anchor::TopLeft,
                        mapToGlobal(QPoint(width() - 1, 0)));
    }
    if (dropMenu->isVisible()) {
        reopenGuard.seenOpen();
        visibilityPoll.start();
    }
}

void CKivComboButton::pollMenuVisibility() {
    if (dropMenu->isVisible()) {
        reopenGuard.seenOpen();
    } else {
        visibilityPoll.stop();
    }
}

void CKivComboButton::controlNotified(int id, int value) {
    if (id == kMenuVisibilityId) {
        // The moment the menu goes is the last moment it was open; the poll
        // alone could be up to one interval late.
        reopenGuard.seenOpen();
        notifyOwner(kMenuVisibilityId, value);
        return;
    }
    itemPicked(value);
}

void CKivComboButton::itemPicked(int itemId) {
    QPointer<CKivComboButton> self(this);
    notifyOwner(itemId);
    if (self.isNull()) {
        return;
    }
    if (!accepted) {
        accepted = true;
        return;
    }
    selectedId = itemId;
    if (const MenuItem* item = dropMenu->findItem(itemId)) {
        setCaption(item->text);
    }
}

}  // namespace orvane
