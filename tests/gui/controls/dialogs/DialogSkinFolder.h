#pragma once

#include <QColor>
#include <QImage>
#include <QString>
#include <functional>
#include <string>

#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"
#include "support/SkinSheetIndex.h"
#include "support/TempDir.h"

namespace orvane::test {

// Every pixel tells where it came from: red is the sheet's position in the
// cache order, green and blue are x and y (green wraps past 255).
inline QRgb dialogPixel(int sheetIndex, int x, int y) {
    return qRgb(sheetIndex, x % 256, y);
}

inline QColor countdownPictureColour(int picture) {
    return QColor::fromHsv(picture * 120, 255, 255);
}

// A skin folder for the dialogs: the rename and pop-up sheets at the dialogs'
// size, every other sheet tiny, and the three countdown pictures in colours
// of their own. Loaded into the skin cache while the object lives.
class DialogSkinFolder {
  public:
    DialogSkinFolder() {
        const auto names = skinSheetFileNames();
        for (std::size_t index = 0; index < names.size(); ++index) {
            const std::string name = names[index];
            const bool dialogSheet =
                index >= static_cast<std::size_t>(sheetIndexOf("ReName_Normal.bmp")) &&
                name.rfind("Scroll_", 0) != 0;
            writeSheet(name, static_cast<int>(index), dialogSheet ? layout::popup::kSize.w : 8,
                       dialogSheet ? layout::popup::kSize.h : 8);
        }
        for (int picture = 0; picture < 3; ++picture) {
            QImage image(layout::popup::kImageField.w, layout::popup::kImageField.h,
                         QImage::Format_RGB32);
            image.fill(countdownPictureColour(picture));
            image.save(path() + QStringLiteral("/TQA2-%1.bmp").arg(picture + 1));
        }
        resetSkinCacheForTests();
        previousHandler = setSkinFailureHandler([this] { ++failures; });
        loadSkinSheetsFrom(path());
    }
    ~DialogSkinFolder() {
        setSkinFailureHandler(previousHandler);
        resetSkinCacheForTests();
    }
    DialogSkinFolder(const DialogSkinFolder&) = delete;
    DialogSkinFolder& operator=(const DialogSkinFolder&) = delete;

    QString path() const { return QString::fromStdString(dir.path().string()); }

    int failures = 0;

  private:
    void writeSheet(const std::string& name, int index, int width, int height) {
        const bool png = name.ends_with(".png");
        QImage sheet(width, height, png ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                sheet.setPixel(x, y, dialogPixel(index, x, y));
            }
        }
        sheet.save(path() + QLatin1Char('/') + QString::fromStdString(name));
    }

    TempDir dir;
    std::function<void()> previousHandler;
};

// One folder for the whole program: the cache loads a folder once anyway.
inline DialogSkinFolder& dialogSkin() {
    static DialogSkinFolder folder;
    return folder;
}

}  // namespace orvane::test
