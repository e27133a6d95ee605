#pragma once

#include <QLibrary>
#include <QString>
#include <QStringList>

namespace orvane {

// Loads lib<baseName>.so.<abiVersion> (else lib<baseName>.so, as a build
// tree of an older layout has it) into `library` from the first of `folders`
// that has a loadable copy, then from where the system looks; an installed
// system has the unversioned name only with the development package. Programs of ours keep
// the device-control library beside them or a fixed way up from their own
// folder, and that copy must win over one installed elsewhere. False, with
// the loader's reason in `error`, when no copy loads.
bool loadSharedLibrary(QLibrary& library, const QString& baseName, int abiVersion,
                       const QStringList& folders, QString& error);

}  // namespace orvane
