#pragma once

#include <QString>

#include "macros/MacroRect.h"

namespace orvane {

// One row of the macro-name list: a macro's name and id. The row rectangle is
// the row's place with the list scrolled to its top.
struct CBoxItem {
    MacroRect rowRect;
    // The name as typed; the list shortens only what it draws.
    QString name;
    int selected = 0;
    int id = 0;
};

}  // namespace orvane
