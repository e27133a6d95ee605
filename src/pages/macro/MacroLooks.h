#pragma once

#include <QColor>
#include <QFont>

#include "controls/CKivScrollCtrl.h"

namespace orvane {

// What the macro list and the step editor share of their look.
CKivScrollCtrl::Images macroScrollBarImages();
QFont macroRowFont();
QColor macroRowColor();
QColor macroSelectedRowColor();

}  // namespace orvane
