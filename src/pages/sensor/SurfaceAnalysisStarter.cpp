#include "pages/sensor/SurfaceAnalysisStarter.h"

#include "device/DeviceCommands.h"
#include "device/DeviceLink.h"

namespace orvane {

CPopDlg::AnalysisStarter surfaceAnalysisStarter(DeviceLink& link) {
    return [&link] {
        if (link.openDeviceIfClosed() != 1) {
            link.closeDevice();
            return false;
        }
        startSurfaceAnalysis(link);
        return true;
    };
}

}  // namespace orvane
