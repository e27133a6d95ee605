#include "pages/macro/CMacroSettingsDlg.h"

namespace orvane {

CMacroSettingsDlg::CMacroSettingsDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::MacroSettings, services, parent) {}

}  // namespace orvane
