#include <QFileInfo>

#include "Gallery.h"
#include "Pictures.h"
#include "skins/SkinCache.h"

namespace orvane::gallery {

namespace {

// "0.bmp", "10.bmp" .. "100.bmp": one picture per tenth of the quality.
constexpr int kSurfaceLevelStep = 10;
constexpr int kSurfaceLevelTop = 100;
constexpr int kMoveMouseFrameCount = 3;  // "TQA2-1.bmp" .. "TQA2-3.bmp"

void convert(Gallery& gallery, const QString& skinFolder, const QString& fileName) {
    const QImage picture = loadPicture(skinFolder + fileName);
    if (picture.isNull()) {
        gallery.problem(QStringLiteral("sheet %1 did not load").arg(fileName));
        return;
    }
    gallery.save(
        QStringLiteral("sheets/%1.png").arg(QFileInfo(fileName).completeBaseName()), picture,
        QStringLiteral("%1 (%2 x %3)").arg(fileName).arg(picture.width()).arg(picture.height()));
}

}  // namespace

void sheetPictures(Gallery& gallery, const QString& skinFolder) {
    for (const char* name : skinSheetFileNames()) {
        convert(gallery, skinFolder, QString::fromLatin1(name));
    }
    for (int level = 0; level <= kSurfaceLevelTop; level += kSurfaceLevelStep) {
        convert(gallery, skinFolder, QStringLiteral("%1.bmp").arg(level));
    }
    for (int frame = 1; frame <= kMoveMouseFrameCount; ++frame) {
        convert(gallery, skinFolder, QStringLiteral("TQA2-%1.bmp").arg(frame));
    }
}

}  // namespace orvane::gallery
