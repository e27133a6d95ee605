#include "controls/CKivMenu.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPointer>
#include <QScreen>
#include <algorithm>

#include "controls/ControlSink.h"
#include "controls/KivFont.h"
#include "skins/SkinPalette.h"

namespace orvane {

namespace {

QColor toColor(palette::Rgb rgb, int alpha = 255) {
    return QColor(rgb.r, rgb.g, rgb.b, alpha);
}

// The rows leave room for the submenu arrow on the right.
constexpr int kRowRightMargin = 15;
constexpr int kTextIndent = 10;
constexpr int kVerticalPadding = 4;
// A submenu overlaps its parent and rises above its row by this much.
constexpr int kSubmenuOverlap = 5;

// One axis of a menu's place: where it begins. `forward` menus run from `at`
// onwards, the others end just before it; flipped, the menu runs the other
// way from `otherAt`. [low, high) is the room the screen offers.
int placeAlong(int at, bool forward, int otherAt, int length, int low, int high) {
    const auto fits = [&](int begin) { return begin >= low && begin + length <= high; };
    const int wanted = forward ? at : at - length;
    if (fits(wanted)) {
        return wanted;
    }
    const int flipped = forward ? otherAt - length : otherAt;
    if (fits(flipped)) {
        return flipped;
    }
    // Too big for either side: as much as the screen holds, the first rows
    // always on it.
    return std::max(low, std::min(wanted, high - length));
}

}  // namespace

CKivMenu::CKivMenu(int menuId, ControlSink* menuOwner, int width, QWidget* parent)
    : CKivWidget(parent, menuId), widthOfMenu(width), font(kivFont(15)) {
    setWindowFlags(Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The menu paints every pixel; a translucent window would only cost a
    // compositor round trip.
    setAttribute(Qt::WA_TranslucentBackground, false);
    setMouseTracking(true);
    setOwner(menuOwner);
    layoutItems();
}

CKivMenu::~CKivMenu() {
    // A menu being torn down reports nothing, and its submenus (Qt children,
    // deleted after this) must not reach back into it.
    closing = true;
    hidingQuietly = true;
    for (const Submenu& sub : submenus) {
        sub.menu->parentOfThis = nullptr;
    }
    if (parentOfThis != nullptr) {
        auto& siblings = parentOfThis->submenus;
        siblings.erase(std::remove_if(siblings.begin(), siblings.end(),
                                      [this](const Submenu& sub) { return sub.menu == this; }),
                       siblings.end());
    }
}

void CKivMenu::setMenuWidth(int width) {
    widthOfMenu = std::max(width, 0);
    layoutItems();
    update();
}

void CKivMenu::setMenuFont(const QFont& menuFont) {
    font = menuFont;
    layoutItems();
    update();
}

void CKivMenu::setItemHeight(int height) {
    itemHeight = std::max(height, 0);
    layoutItems();
    update();
}

int CKivMenu::rowHeight() const {
    return itemHeight > 0 ? itemHeight : QFontMetrics(font).height();
}

int CKivMenu::indexOf(int id) const {
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].id == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool CKivMenu::addItem(int id, const QString& text) {
    if (indexOf(id) >= 0) {
        return false;
    }
    MenuItem item;
    item.id = id;
    item.text = text;
    entries.push_back(item);
    layoutItems();
    update();
    return true;
}

bool CKivMenu::addItem(int parentId, int id, const QString& text) {
    const int parentIndex = indexOf(parentId);
    if (parentIndex < 0) {
        return false;
    }
    CKivMenu* sub = submenu(parentId);
    if (sub == nullptr) {
        sub = new CKivMenu(parentId, owner(), kSubmenuWidth, this);
        sub->parentOfThis = this;
        sub->setMenuFont(font);
        submenus.push_back({parentId, sub});
    }
    entries[static_cast<std::size_t>(parentIndex)].hasSubmenu = true;
    const bool added = sub->addItem(id, text);
    update();
    return added;
}

void CKivMenu::removeItem(int id) {
    const int index = indexOf(id);
    if (index < 0) {
        return;
    }
    if (index == hovered) {
        hideSubmenus();
        hovered = -1;
    } else if (hovered > index) {
        --hovered;
    }
    dropSubmenu(id);
    entries.erase(entries.begin() + index);
    layoutItems();
    update();
}

void CKivMenu::clearItems() {
    hideSubmenus();
    while (!submenus.empty()) {
        dropSubmenu(submenus.front().parentId);
    }
    entries.clear();
    hovered = -1;
    layoutItems();
    update();
}

void CKivMenu::dropSubmenu(int parentId) {
    for (auto it = submenus.begin(); it != submenus.end(); ++it) {
        if (it->parentId == parentId) {
            CKivMenu* sub = it->menu;
            submenus.erase(it);
            sub->parentOfThis = nullptr;
            sub->hideSubmenus();
            sub->hideQuietly();
            // It may be the widget whose event is being handled right now.
            sub->deleteLater();
            return;
        }
    }
}

void CKivMenu::setItemEnabled(int id, bool enabled) {
    const int index = indexOf(id);
    if (index < 0) {
        return;
    }
    MenuItem& item = entries[static_cast<std::size_t>(index)];
    if (item.enabled == enabled) {
        return;
    }
    item.enabled = enabled;
    if (!enabled && index == hovered) {
        hideSubmenus();
    }
    update();
}

bool CKivMenu::isItemEnabled(int id) const {
    const int index = indexOf(id);
    return index >= 0 && entries[static_cast<std::size_t>(index)].enabled;
}

const MenuItem* CKivMenu::findItem(int id) const {
    const int index = indexOf(id);
    if (index >= 0) {
        return &entries[static_cast<std::size_t>(index)];
    }
    for (const Submenu& sub : submenus) {
        if (const MenuItem* item = sub.menu->findItem(id)) {
            return item;
        }
    }
    return nullptr;
}

CKivMenu* CKivMenu::submenu(int parentId) const {
    for (const Submenu& sub : submenus) {
        if (sub.parentId == parentId) {
            return sub.menu;
        }
    }
    return nullptr;
}

int CKivMenu::itemAt(const QPoint& point) const {
    if (point.x() < 0 || point.x() >= width()) {
        return -1;
    }
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const QRect& row = entries[i].rect;
        if (point.y() >= row.top() && point.y() <= row.bottom()) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

int CKivMenu::widthToShow(const QString& text) const {
    return QFontMetrics(font).horizontalAdvance(text) + kTextIndent + kRowRightMargin + 2;
}

void CKivMenu::fitToItems(int minimumWidth) {
    int width = minimumWidth;
    for (const MenuItem& item : entries) {
        width = std::max(width, widthToShow(item.text));
    }
    setMenuWidth(width);
}

void CKivMenu::layoutItems() {
    const int h = rowHeight();
    const int count = static_cast<int>(entries.size());
    resize(widthOfMenu, count * h + 2 * kVerticalPadding);
    const int rowWidth = std::max(widthOfMenu - kRowRightMargin - 1, 0);
    for (int i = 0; i < count; ++i) {
        entries[static_cast<std::size_t>(i)].rect = QRect(1, kVerticalPadding + i * h, rowWidth, h);
    }
}

void CKivMenu::popup(const QPoint& globalPoint, Anchor anchor, std::optional<QPoint> otherSide) {
    layoutItems();
    if (entries.empty()) {
        closeMenu();
        hideQuietly();
        return;
    }
    const QPoint other = otherSide.value_or(globalPoint);
    QScreen* shownOn = QGuiApplication::screenAt(globalPoint);
    if (shownOn == nullptr) {
        shownOn = QGuiApplication::primaryScreen();
    }
    QPoint topLeft = globalPoint;
    if (shownOn != nullptr) {
        // Panels and docks excluded: a menu under the panel is as lost as
        // one off the screen.
        const QRect room = shownOn->availableGeometry();
        topLeft.setX(placeAlong(globalPoint.x(), anchor != Anchor::BottomRight, other.x(), width(),
                                room.left(), room.left() + room.width()));
        topLeft.setY(placeAlong(globalPoint.y(), anchor == Anchor::TopLeft, other.y(), height(),
                                room.top(), room.top() + room.height()));
    } else if (anchor == Anchor::BottomLeft) {
        topLeft.ry() -= height();
    } else if (anchor == Anchor::BottomRight) {
        topLeft -= QPoint(width(), height());
    }
    hovered = -1;
    pressed = false;
    move(topLeft);
    show();
    raise();
    update();
}

CKivMenu* CKivMenu::menuAt(const QPoint& globalPoint) {
    for (CKivMenu* menu = this; menu != nullptr; menu = menu->parentOfThis) {
        if (menu->isVisible() && menu->geometry().contains(globalPoint)) {
            return menu;
        }
    }
    return nullptr;
}

bool CKivMenu::forwardToAncestor(QMouseEvent* event) {
    const QPoint global = event->globalPosition().toPoint();
    CKivMenu* target = menuAt(global);
    if (target == nullptr || target == this) {
        return false;
    }
    event->accept();
    const QPoint local = target->mapFromGlobal(global);
    switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (event->button() == Qt::LeftButton) {
                target->handlePress(local);
            }
            break;
        case QEvent::MouseButtonRelease:
            if (event->button() == Qt::LeftButton) {
                target->handleRelease(local);
            }
            break;
        case QEvent::MouseMove:
            if (hovered != -1) {
                hovered = -1;
                update();
            }
            target->handleMove(local);
            break;
        default:
            break;
    }
    return true;
}

void CKivMenu::handlePress(const QPoint& point) {
    if (itemAt(point) < 0) {
        closeMenu();
        return;
    }
    pressed = true;
}

void CKivMenu::handleRelease(const QPoint& point) {
    pressed = false;
    const int index = itemAt(point);
    if (index < 0) {
        return;
    }
    const MenuItem& item = entries[static_cast<std::size_t>(index)];
    if (!item.enabled || item.hasSubmenu) {
        return;
    }
    const int itemId = item.id;
    QPointer<CKivMenu> self(this);
    closeMenu();
    if (!self.isNull()) {
        notifyOwner(menuId(), itemId);
    }
}

void CKivMenu::handleMove(const QPoint& point) {
    const int index = itemAt(point);
    if (index >= 0) {
        const MenuItem& item = entries[static_cast<std::size_t>(index)];
        CKivMenu* sub = item.hasSubmenu ? submenu(item.id) : nullptr;
        const bool opensSubmenu = sub != nullptr && item.enabled && !sub->items().empty();
        if (opensSubmenu) {
            if (index != hovered || !sub->isVisible()) {
                hideSubmenus();
                // Beside its row, or when the screen ends there, on the
                // parent's other side and rising from the row's bottom.
                sub->popup(
                    mapToGlobal(
                        QPoint(width() - kSubmenuOverlap, item.rect.top() - kSubmenuOverlap)),
                    Anchor::TopLeft,
                    mapToGlobal(QPoint(kSubmenuOverlap,
                                       item.rect.top() + item.rect.height() + kSubmenuOverlap)));
            }
        } else {
            hideSubmenus();
        }
    }
    if (index != hovered) {
        hovered = index;
        update();
    }
}

void CKivMenu::mousePressEvent(QMouseEvent* event) {
    if (forwardToAncestor(event)) {
        return;
    }
    event->accept();
    const QPoint point = event->position().toPoint();
    if (!rect().contains(point)) {
        // Outside the whole tree: the popup still holds the mouse, so this is
        // the only place that sees the click that should dismiss it.
        closeMenu();
        return;
    }
    if (event->button() == Qt::LeftButton) {
        handlePress(point);
    }
}

void CKivMenu::mouseDoubleClickEvent(QMouseEvent* event) {
    mousePressEvent(event);
}

void CKivMenu::mouseReleaseEvent(QMouseEvent* event) {
    if (forwardToAncestor(event)) {
        return;
    }
    event->accept();
    if (event->button() == Qt::LeftButton) {
        handleRelease(event->position().toPoint());
    }
}

void CKivMenu::mouseMoveEvent(QMouseEvent* event) {
    if (forwardToAncestor(event)) {
        return;
    }
    event->accept();
    handleMove(event->position().toPoint());
}

void CKivMenu::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        closeMenu();
        return;
    }
    CKivWidget::keyPressEvent(event);
}

void CKivMenu::hideEvent(QHideEvent* event) {
    CKivWidget::hideEvent(event);
    // Qt may dismiss a popup on its own (another window grabbing the mouse,
    // the application losing focus); the tree and the owner must still hear
    // of it.
    if (!hidingQuietly && !closing) {
        runClosingRule(false);
    }
}

void CKivMenu::closeMenu() {
    runClosingRule(true);
}

void CKivMenu::hideQuietly() {
    const bool wasHiding = hidingQuietly;
    hidingQuietly = true;
    hide();
    hidingQuietly = wasHiding;
}

void CKivMenu::hideSubmenus() {
    for (const Submenu& sub : submenus) {
        if (sub.menu->isVisible()) {
            sub.menu->hideSubmenus();
            sub.menu->hideQuietly();
        }
    }
}

void CKivMenu::runClosingRule(bool hideWindow) {
    if (closing || (hideWindow && !isVisible())) {
        return;
    }
    closing = true;
    QPointer<CKivMenu> self(this);
    notifyOwner(kMenuVisibilityId, 1);
    if (self.isNull()) {
        return;
    }
    if (hideWindow) {
        hideQuietly();
    }
    pressed = false;
    hovered = -1;
    if (parentOfThis != nullptr) {
        parentOfThis->closeMenu();
    }
    for (const Submenu& sub : submenus) {
        sub.menu->closeMenu();
    }
    if (self.isNull()) {
        return;
    }
    notifyOwner(kMenuVisibilityId, 0);
    if (!self.isNull()) {
        closing = false;
    }
}

void CKivMenu::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform |
                           QPainter::TextAntialiasing);
    painter.fillRect(rect(), toColor(palette::kMenuBackground));

    painter.setFont(font);
    const QFontMetrics metrics(font);
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const MenuItem& item = entries[i];
        const bool isHovered = static_cast<int>(i) == hovered && item.enabled;
        if (isHovered) {
            // A faint wash behind the hovered row, inside the frame.
            painter.fillRect(QRect(1, item.rect.top(), width() - 2, item.rect.height()),
                             toColor(palette::kAccent, 34));
        }
        QColor textColor = toColor(palette::kMenuText);
        if (!item.enabled) {
            textColor = toColor(palette::kCaptionDisabled);
        } else if (isHovered) {
            textColor = toColor(palette::kAccent);
        }
        const QRect textRect = item.rect.adjusted(kTextIndent, 0, 0, 0);
        painter.setPen(textColor);
        painter.drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter,
                         metrics.elidedText(item.text, Qt::ElideRight, textRect.width()));

        const CKivMenu* sub = item.hasSubmenu ? submenu(item.id) : nullptr;
        if (sub != nullptr && !sub->items().empty()) {
            const qreal right = item.rect.x() + item.rect.width() + 10;
            const qreal top = item.rect.top();
            const qreal bottom = top + item.rect.height();
            QPainterPath arrow;
            arrow.moveTo(right - 10, top + 5);
            arrow.lineTo(right - 10, bottom - 5);
            arrow.lineTo(right - 5, (top + bottom) / 2);
            arrow.closeSubpath();
            painter.fillPath(arrow, toColor(palette::kMenuText));
        }
    }

    painter.setPen(QPen(toColor(palette::kAccent), 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(0.5, 0.5, width() - 1, height() - 1));
}

}  // namespace orvane
