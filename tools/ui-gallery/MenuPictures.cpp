#include "Gallery.h"
#include "Looks.h"
#include "Pictures.h"
#include "app/AppTexts.h"
#include "app/TrayIcon.h"
#include "controls/CKivComboButton.h"
#include "controls/CKivMenu.h"

namespace orvane::gallery {

namespace {

namespace mw = layout::mainwindow;
namespace mp = layout::mousepage;

struct Item {
    int id;
    const char* text;
    int parentId = 0;  // 0: a row of the menu itself
};

// A function button's list, with one submenu, as the mouse page offers it.
constexpr int kDpiItem = 6;
const Item kFunctionItems[] = {
    {1, "Left Click"},
    {2, "Right Click"},
    {3, "Middle Click"},
    {4, "Forward"},
    {5, "Back"},
    {kDpiItem, "DPI"},
    {61, "DPI +", kDpiItem},
    {62, "DPI -", kDpiItem},
    {63, "Loop", kDpiItem},
    {7, "Fire Key"},
    {8, "Macro"},
    {9, "Disable"},
};

const Item kProfileItems[] = {
    {1, texts::kMenuRename}, {2, texts::kMenuSave},    {3, texts::kMenuExport},
    {4, texts::kMenuImport}, {5, texts::kMenuDisable},
};

template <std::size_t N>
void addItems(CKivComboButton& button, const Item (&items)[N]) {
    for (const Item& item : items) {
        const QString text = QString::fromLatin1(item.text);
        if (item.parentId == 0) {
            button.addItem(item.id, text);
        } else {
            button.addItem(item.parentId, item.id, text);
        }
    }
}

// Opens the button's menu the way a click does.
void openMenu(CKivComboButton& button) {
    clickLeft(button);
}

// Puts the pointer on the row with this id, which opens its submenu.
void pointAt(CKivMenu& menu, int id) {
    for (const MenuItem& item : menu.items()) {
        if (item.id == id) {
            moveTo(menu, item.rect.center());
        }
    }
}

std::vector<QWidget*> openMenus(CKivComboButton& button) {
    std::vector<QWidget*> shown{button.menu()};
    for (const MenuItem& item : button.menu()->items()) {
        if (CKivMenu* sub = button.menu()->submenu(item.id)) {
            shown.push_back(sub);
        }
    }
    return shown;
}

void functionButton(Gallery& gallery) {
    // The crop reaches down to the last function button, so that the open
    // menu lies over the page it opens on.
    const layout::Rect rect = mp::functionButton(0);
    const Scene scene{QStringLiteral("combo-function"), mp::kPartBackground, rect, 8,
                      spanning(rect, mp::functionButton(5))};
    const Build<CKivComboButton> build = [rect](CKivComboButton& button) {
        const SkinFaces faces = skinFaces(mp::kPartFunctionButtons, rect);
        button.setImages(faces.normal, faces.over, faces.down, faces.disabled);
        button.setMenuWidth(mp::kFunctionMenuWidth);
        addItems(button, kFunctionItems);
        button.set(QStringLiteral("Left Click"), 1, 0);
    };
    const std::vector<Look<CKivComboButton>> looks = {
        {QStringLiteral("normal"), QStringLiteral("Function button 1 showing \"Left Click\""), {}},
        {QStringLiteral("hover"), QStringLiteral("Function button under the pointer"),
         [](CKivComboButton& b) { hover(b); }},
        {QStringLiteral("disabled"), QStringLiteral("Function button, disabled"),
         [](CKivComboButton& b) { b.setEnabled(false); }},
        {QStringLiteral("menu-open"), QStringLiteral("Function button with its menu open"),
         [](CKivComboButton& b) { openMenu(b); }},
        {QStringLiteral("submenu-open"),
         QStringLiteral("Function button, menu open, pointer on \"DPI\" with its submenu"),
         [](CKivComboButton& b) {
             openMenu(b);
             pointAt(*b.menu(), kDpiItem);
         }},
    };
    shootLooks<CKivComboButton>(gallery, scene, build, looks, openMenus);
}

void profileMenu(Gallery& gallery) {
    const layout::Rect rect = mw::kMenuButtons[1];
    const Scene scene{QStringLiteral("combo-profile"), mw::kPartBackground, rect, 8,
                      spanning(rect, mw::kProfileButtons[1])};
    const Build<CKivComboButton> build = [rect](CKivComboButton& button) {
        const SkinFaces faces = skinFaces(mw::kPartMenuButtons + 1, rect);
        button.setImages(faces.normal, faces.over, faces.down, faces.disabled);
        button.setMenuWidth(150);
        addItems(button, kProfileItems);
    };
    shootLooks<CKivComboButton>(
        gallery, scene, build,
        {{QStringLiteral("normal"), QStringLiteral("Profile menu button 2 (chevron only)"), {}},
         {QStringLiteral("menu-open"), QStringLiteral("Profile menu button 2 with its menu open"),
          [](CKivComboButton& b) { openMenu(b); }},
         {QStringLiteral("menu-hover"),
          QStringLiteral("Profile menu open, pointer on \"Export Profile\""),
          [](CKivComboButton& b) {
              openMenu(b);
              pointAt(*b.menu(), 3);
          }}},
        openMenus);
}

void trayMenu(Gallery& gallery) {
    struct TrayLook {
        const char* name;
        const char* caption;
        int pointedItem;  // 0: none
    };
    const TrayLook looks[] = {
        {"normal", "Tray menu (\"Config Mouse\", \"Exit\")", 0},
        {"hover-exit", "Tray menu, pointer on \"Exit\"", TrayIcon::kExitItem},
    };
    for (const TrayLook& look : looks) {
        TrayIcon tray(applicationIcon());
        tray.openMenu(QPoint(600, 500));
        settle();
        CKivMenu* menu = tray.menu();
        if (look.pointedItem != 0) {
            pointAt(*menu, look.pointedItem);
        }
        gallery.save(QStringLiteral("controls/menu-tray-%1.png").arg(QLatin1String(look.name)),
                     menu->grab().toImage(), QString::fromLatin1(look.caption));
        menu->closeMenu();
    }
}

}  // namespace

void menuPictures(Gallery& gallery) {
    functionButton(gallery);
    profileMenu(gallery);
    trayMenu(gallery);
}

}  // namespace orvane::gallery
