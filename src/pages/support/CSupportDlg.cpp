#include "pages/support/CSupportDlg.h"

namespace orvane {

CSupportDlg::CSupportDlg(const PageServices& services, QWidget* parent)
    : SettingsPage(PageKind::Support, services, parent) {}

}  // namespace orvane
