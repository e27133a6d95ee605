#pragma once

#include "controls/CKivImageDialog.h"
#include "pages/PageKind.h"
#include "pages/PageServices.h"

namespace orvane {

// The common base of the five settings pages: a child of the main window's
// page area on its page's skin background, holding the services the
// composition root hands every page.
class SettingsPage : public CKivImageDialog {
    Q_OBJECT
  public:
    SettingsPage(PageKind kind, const PageServices& services, QWidget* parent);

    PageKind kind() const { return pageKind; }
    const PageServices& services() const { return pageServices; }

  private:
    PageKind pageKind;
    PageServices pageServices;
};

// The skin part of a page's background sheet.
int pageBackgroundPart(PageKind kind);

}  // namespace orvane
