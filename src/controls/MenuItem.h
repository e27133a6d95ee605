#pragma once

#include <QRect>
#include <QString>

namespace orvane {

// One row of a CKivMenu.
struct MenuItem {
    int id = 0;
    QRect rect;  // the row, in the menu's coordinates
    QString text;
    bool enabled = true;
    bool hasSubmenu = false;
};

}  // namespace orvane
