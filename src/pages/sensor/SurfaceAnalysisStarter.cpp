#include "pages/sensor/SurfaceAnalysisStarter.h"

#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"
#include "pages/sensor/OffUiThread.h"

namespace orvane {

CPopDlg::AnalysisStarter surfaceAnalysisStarter(DeviceLink& link) {
    return [&link] {
        bool opened = false;
        // Opening and the command's pause run off the user-interface thread:
        // the question pop-up keeps painting meanwhile.
        runOffUiThread([&] {
            if (link.openDeviceIfClosed() != 1) {
                link.closeDevice();
                return;
            }
            opened = true;
            startSurfaceAnalysis(link);
        });
        return opened;
    };
}

std::uint8_t readSurfaceQualityValue(DeviceLink& link) {
    std::uint8_t quality = 0;
    runOffUiThread([&] { readSurfaceQuality(link, quality); });
    return quality;
}

}  // namespace orvane
