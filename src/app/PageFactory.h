#pragma once

#include <QWidget>

#include "pages/PageKind.h"
#include "pages/PageServices.h"

namespace orvane {

// The one place that knows the concrete page of each kind: creates it as a
// child of `parent` with the services every page is handed.
QWidget* createSettingsPage(PageKind kind, const PageServices& services, QWidget* parent);

}  // namespace orvane
