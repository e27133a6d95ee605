#pragma once

#include <QString>
#include <QStringList>

namespace orvane::skingen {

// Draws every picture of the skin folder into `folder` (created if missing).
// Returns the names of the files that could not be written; empty on success.
QStringList writeSkinFolder(const QString& folder);

// Every text drawn into the sheets, one line each: the set's name, a tab, the
// text with its line breaks as spaces.
QStringList skinTexts();

}  // namespace orvane::skingen
