#include "SkinWriter.h"

#include <QDir>
#include <QSaveFile>

#include "Paint.h"
#include "SheetSet.h"
#include "SinglePictures.h"

namespace orvane::skingen {

namespace {

// BMP where the name says so (24 bits, the sheets have no alpha), else PNG.
bool save(const QImage& image, const QDir& dir, const QString& name) {
    const bool bmp = name.endsWith(QStringLiteral(".bmp"));
    QSaveFile file(dir.filePath(name));
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    const QImage out = bmp ? image.convertToFormat(QImage::Format_RGB888) : image;
    return out.save(&file, bmp ? "BMP" : "PNG") && file.commit();
}

std::vector<SheetSet> allSheetSets() {
    std::vector<SheetSet> sets = mainWindowSheets();
    for (auto* family : {pageSheets, popupSheets}) {
        std::vector<SheetSet> more = family();
        sets.insert(sets.end(), more.begin(), more.end());
    }
    return sets;
}

}  // namespace

QStringList skinTexts() {
    QStringList lines;
    for (const SheetSet& set : allSheetSets()) {
        QStringList texts;
        collectTexts(&texts);
        renderSheet(set, 0);
        collectTexts(nullptr);
        for (QString text : texts) {
            lines << set.name + '\t' + text.replace('\n', ' ');
        }
    }
    return lines;
}

QStringList writeSkinFolder(const QString& folder) {
    QStringList failed;
    QDir dir(folder);
    if (!dir.mkpath(QStringLiteral("."))) {
        return {folder};
    }
    auto put = [&](const QImage& image, const QString& name) {
        if (!save(image, dir, name)) {
            failed << name;
        }
    };
    for (const SheetSet& set : allSheetSets()) {
        if (!set.backgroundFile.isEmpty()) {
            put(renderSheet(set, -1), set.backgroundFile);
        }
        for (int state = 0; state < set.suffixes.size(); ++state) {
            put(renderSheet(set, state), set.name + '_' + set.suffixes[state] + ".bmp");
        }
    }
    for (const Picture& picture : singlePictures()) {
        put(picture.image, picture.fileName);
    }
    return failed;
}

}  // namespace orvane::skingen
