#pragma once

#include "pages/SettingsPage.h"

namespace orvane {

// The "Macro Settings" page: the macro list, the step editor and the
// recorder, on the main window's macro collection.
class CMacroSettingsDlg final : public SettingsPage {
  public:
    CMacroSettingsDlg(const PageServices& services, QWidget* parent);
};

}  // namespace orvane
