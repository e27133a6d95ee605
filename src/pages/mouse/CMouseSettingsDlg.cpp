#include "pages/mouse/CMouseSettingsDlg.h"

namespace orvane {

CMouseSettingsDlg::CMouseSettingsDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::MouseSettings, services, parent) {}

}  // namespace orvane
