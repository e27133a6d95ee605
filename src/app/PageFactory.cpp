#include "app/PageFactory.h"

#include "pages/lighting/CColorSettingsDlg.h"
#include "pages/macro/CMacroSettingsDlg.h"
#include "pages/mouse/CMouseSettingsDlg.h"
#include "pages/sensor/CSensorDlg.h"
#include "pages/support/CSupportDlg.h"

namespace orvane {

QWidget* createSettingsPage(PageKind kind, const PageServices& services, QWidget* parent) {
    switch (kind) {
        case PageKind::MouseSettings:
            return new CMouseSettingsDlg(services, parent);
        case PageKind::SensorPerformance:
            return new CSensorDlg(services, parent);
        case PageKind::ColorSettings:
            return new CColorSettingsDlg(services, parent);
        case PageKind::MacroSettings:
            return new CMacroSettingsDlg(services, parent);
        case PageKind::Support:
            return new CSupportDlg(services, parent);
    }
    return nullptr;
}

}  // namespace orvane
