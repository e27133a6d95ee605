#pragma once

#include <QString>

namespace orvane {

// "--demo": the application runs against the simulated mouse. When no
// orvane-emud answers on the simulated bus's socket, the one beside the
// program is started (it detaches itself and keeps the mouse's memory in a
// state file of the user's), then ORVANE_HID selects the simulated bus for
// the application and the device-control library alike. Answers an empty
// text, or why the simulated mouse could not be reached.
QString startDemoMouse(const QString& programFolder);

}  // namespace orvane
