#pragma once

#include <QImage>

namespace orvane {

// The application's icon at one size, drawn rather than shipped, so that the
// window, the tray and the installed desktop icons show the same picture.
QImage drawApplicationIcon(int size);

}  // namespace orvane
