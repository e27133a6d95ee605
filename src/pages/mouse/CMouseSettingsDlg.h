#pragma once

#include "pages/SettingsPage.h"

namespace orvane {

// The "Mouse Settings" page: button functions, report rate and the desktop
// pointer settings of the selected profile.
class CMouseSettingsDlg final : public SettingsPage {
  public:
    CMouseSettingsDlg(const PageServices& services, QWidget* parent);
};

}  // namespace orvane
