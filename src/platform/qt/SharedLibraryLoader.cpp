#include "platform/qt/SharedLibraryLoader.h"

#include <QDir>

namespace orvane {

bool loadSharedLibrary(QLibrary& library, const QString& baseName, int abiVersion,
                       const QStringList& folders, QString& error) {
    QStringList candidates;
    for (const QString& folder : folders) {
        candidates.append(QDir(folder).filePath(baseName));
    }
    candidates.append(baseName);
    for (const QString& candidate : candidates) {
        library.setFileNameAndVersion(candidate, abiVersion);
        if (library.load()) {
            return true;
        }
        library.setFileName(candidate);
        if (library.load()) {
            return true;
        }
    }
    error = QStringLiteral("The device-control library \"%1\" could not be loaded (%2).")
                .arg(baseName, library.errorString());
    return false;
}

}  // namespace orvane
