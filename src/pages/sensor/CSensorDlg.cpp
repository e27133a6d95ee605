#include "pages/sensor/CSensorDlg.h"

namespace orvane {

CSensorDlg::CSensorDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::SensorPerformance, services, parent) {}

}  // namespace orvane
