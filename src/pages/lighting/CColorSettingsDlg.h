#pragma once

#include "pages/SettingsPage.h"

namespace orvane {

// The "Color Settings" page: lighting zones, effects and brightness.
class CColorSettingsDlg final : public SettingsPage {
  public:
    CColorSettingsDlg(const PageServices& services, QWidget* parent);
};

}  // namespace orvane
