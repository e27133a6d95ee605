#pragma once

#include "controls/CPopDlg.h"

namespace orvane {

class DeviceLink;

// What the surface-analysis pop-ups run when the user starts an analysis:
// opens the mouse through `link` (closing it again when that fails) and
// starts its analysis. The countdown runs whatever the mouse answers, so only
// a mouse that cannot be opened counts as a failure. `link` must outlive the
// starter.
CPopDlg::AnalysisStarter surfaceAnalysisStarter(DeviceLink& link);

}  // namespace orvane
