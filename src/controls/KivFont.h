#pragma once

#include <QFont>

namespace orvane {

// "Arial" at a pixel height. Where Arial is not installed, fontconfig gives its
// metric-compatible substitute (Liberation Sans), else the system sans family.
QFont kivFont(int pixelHeight);

}  // namespace orvane
