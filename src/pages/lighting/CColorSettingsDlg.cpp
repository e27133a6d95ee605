#include "pages/lighting/CColorSettingsDlg.h"

namespace orvane {

CColorSettingsDlg::CColorSettingsDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::ColorSettings, services, parent) {}

}  // namespace orvane
