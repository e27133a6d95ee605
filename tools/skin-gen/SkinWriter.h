#pragma once

#include <QString>
#include <QStringList>

namespace orvane::skingen {

// Draws every picture of the skin folder into `folder` (created if missing).
// Returns the names of the files that could not be written; empty on success.
QStringList writeSkinFolder(const QString& folder);

}  // namespace orvane::skingen
