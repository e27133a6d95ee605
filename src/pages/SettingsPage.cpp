#include "pages/SettingsPage.h"

#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"

namespace orvane {

int pageBackgroundPart(PageKind kind) {
    switch (kind) {
        case PageKind::MouseSettings:
            return layout::mousepage::kPartBackground;
        case PageKind::SensorPerformance:
            return layout::sensorpage::kPartBackground;
        case PageKind::ColorSettings:
            return layout::lightingpage::kPartBackground;
        case PageKind::MacroSettings:
            return layout::macropage::kPartBackground;
        case PageKind::Support:
            return layout::supportpage::kPartBackground;
    }
    return layout::mousepage::kPartBackground;
}

SettingsPage::SettingsPage(PageKind kind, const PageServices& services, QWidget* parent)
    : CKivImageDialog(parent, Qt::Widget), pageKind(kind), pageServices(services) {
    setBackground(skinPart(pageBackgroundPart(kind), layout::kStateNormal, QRect()));
}

}  // namespace orvane
