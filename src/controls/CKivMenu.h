#pragma once

#include <QFont>
#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

#include "controls/CKivWidget.h"
#include "controls/MenuItem.h"

class QMouseEvent;

namespace orvane {

// Skinned pop-up menu: a top-level popup window that never takes the
// activation. It reports (menu identifier, item id) to its owner when an item
// is picked and brackets every hide with (kMenuVisibilityId, 1) and
// (kMenuVisibilityId, 0). Submenus are menus of their own, owned by this one,
// identified by the id of the item they hang from, with the same owner.
class CKivMenu : public CKivWidget {
    Q_OBJECT
  public:
    // Where the point given to popup() sits on the menu.
    enum class Anchor { TopLeft, BottomLeft, BottomRight };

    static constexpr int kSubmenuWidth = 50;

    CKivMenu(int menuId, ControlSink* owner, int width = kSubmenuWidth, QWidget* parent = nullptr);
    ~CKivMenu() override;

    int menuId() const { return controlId(); }
    CKivMenu* parentMenu() const { return parentOfThis; }

    void setMenuWidth(int width);
    int menuWidth() const { return widthOfMenu; }
    // The narrowest menu width that shows `text` in a row without eliding it.
    int widthToShow(const QString& text) const;
    // At least `minimumWidth`, and wide enough that no item's text is elided.
    void fitToItems(int minimumWidth);

    void setMenuFont(const QFont& font);
    const QFont& menuFont() const { return font; }
    // Row height in pixels; 0 (the default) takes the font's height.
    void setItemHeight(int height);
    int rowHeight() const;

    // Both return false and change nothing when the id is already there (or,
    // for a submenu, when this menu has no item parentId).
    bool addItem(int id, const QString& text);
    bool addItem(int parentId, int id, const QString& text);
    // Removing an item removes its submenu too.
    void removeItem(int id);
    void clearItems();
    void setItemEnabled(int id, bool enabled);
    bool isItemEnabled(int id) const;

    const std::vector<MenuItem>& items() const { return entries; }
    // The item with this id in this menu or any of its submenus.
    const MenuItem* findItem(int id) const;
    // The submenu hanging from item parentId, created by the first addItem under it.
    CKivMenu* submenu(int parentId) const;

    int hoveredIndex() const { return hovered; }
    // The index of the row under the point (menu coordinates), -1 for none.
    int itemAt(const QPoint& point) const;

    // Shows the menu with its `anchor` corner at the point. Where it would
    // run off the available area of the point's screen along an axis, it
    // opens on the other side instead, its opposite edge at `otherSide` on
    // that axis (the far edge of the button it drops from, the near edge of
    // the parent menu; the point itself when not given); where it fits on
    // neither side it is pushed inside. A menu without items is hidden
    // instead of shown.
    void popup(const QPoint& globalPoint, Anchor anchor = Anchor::TopLeft,
               std::optional<QPoint> otherSide = std::nullopt);

    // Closes this menu and, with it, the whole tree it belongs to.
    void closeMenu();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    struct Submenu {
        int parentId;
        CKivMenu* menu;  // a Qt child of this menu
    };

    int indexOf(int id) const;
    void layoutItems();
    // The menu of this tree, this one or one above it, whose window holds the
    // global point; nullptr for none.
    CKivMenu* menuAt(const QPoint& globalPoint);
    // The popup holding the mouse gets every event; one that lands on a menu
    // above it belongs to that menu.
    bool forwardToAncestor(QMouseEvent* event);
    void handlePress(const QPoint& point);
    void handleRelease(const QPoint& point);
    void handleMove(const QPoint& point);
    void hideSubmenus();
    void dropSubmenu(int parentId);
    void hideQuietly();
    void runClosingRule(bool hideWindow);

    CKivMenu* parentOfThis = nullptr;
    int widthOfMenu;
    int itemHeight = 0;
    QFont font;
    std::vector<MenuItem> entries;
    std::vector<Submenu> submenus;
    int hovered = -1;
    bool pressed = false;
    bool closing = false;
    bool hidingQuietly = false;
};

}  // namespace orvane
