#pragma once

#include <QString>

namespace orvane::updater {

// `--cli IMAGE`: writes IMAGE into the mouse with a line on standard output
// for every report of the update ("<status> <value> <what it means>"). Needs
// a running QCoreApplication. The exit status is 0 only when the update
// finished (status 96), 1 when it failed or never started.
int runCliUpdate(const QString& imagePath);

}  // namespace orvane::updater
