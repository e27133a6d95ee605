#pragma once

#include "pages/SettingsPage.h"

namespace orvane {

// The "Sensor Performance" page: resolution levels, sensor options and the
// surface analysis.
class CSensorDlg final : public SettingsPage {
  public:
    CSensorDlg(const PageServices& services, QWidget* parent);
};

}  // namespace orvane
