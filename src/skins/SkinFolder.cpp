#include "skins/SkinFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace orvane {

QString skinFolderFor(const QString& programFolder) {
    const QDir program(programFolder);
    const QString beside = program.filePath(QString::fromLatin1(kSkinFolderName));
    if (QFileInfo(beside).isDir()) {
        return beside + QLatin1Char('/');
    }
    const QString shared = QDir::cleanPath(program.filePath(QStringLiteral("../share/orvane/") +
                                                            QString::fromLatin1(kSkinFolderName)));
    if (QFileInfo(shared).isDir()) {
        return shared + QLatin1Char('/');
    }
    // Neither exists: answer the folder beside the program, so that the
    // failure names the place where the skin was expected first.
    return beside + QLatin1Char('/');
}

QString skinFolder() {
    return skinFolderFor(QCoreApplication::applicationDirPath());
}

}  // namespace orvane
