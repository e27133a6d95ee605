#pragma once

#include <cstdint>

#include "controls/CPopDlg.h"

namespace orvane {

class DeviceLink;

// What the surface-analysis pop-ups run when the user starts an analysis:
// opens the mouse through `link` (closing it again when that fails) and
// starts its analysis. The countdown runs whatever the mouse answers, so only
// a mouse that cannot be opened counts as a failure. `link` must outlive the
// starter. The device traffic runs off the user-interface thread while the
// pop-up keeps painting.
CPopDlg::AnalysisStarter surfaceAnalysisStarter(DeviceLink& link);

// The quality value the mouse measured, read the same way; 0 when the
// request could not be sent.
std::uint8_t readSurfaceQualityValue(DeviceLink& link);

}  // namespace orvane
