#pragma once

#include "pages/SettingsPage.h"

namespace orvane {

// The "Support" page: firmware version, firmware update and the support web
// pages.
class CSupportDlg final : public SettingsPage {
  public:
    CSupportDlg(const PageServices& services, QWidget* parent);
};

}  // namespace orvane
