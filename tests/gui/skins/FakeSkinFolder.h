#pragma once

#include <QColor>
#include <QDir>
#include <QImage>
#include <QString>
#include <string>

#include "skins/SkinCache.h"
#include "support/SkinSheetIndex.h"
#include "support/TempDir.h"

namespace orvane::test {

// Size of every sheet of a fake skin; small, so that a folder is written fast.
inline constexpr int kFakeSheetWidth = 96;
inline constexpr int kFakeSheetHeight = 64;

// Every pixel tells where it came from: red is the sheet's position in the
// cache order, green and blue are the pixel's x and y on the sheet.
inline QRgb fakePixel(int sheetIndex, int x, int y) {
    return qRgb(sheetIndex, x, y);
}

// A skin folder holding every sheet, drawn as above; BMP files without alpha,
// PNG files with it, as the real skin has them.
class FakeSkinFolder {
  public:
    FakeSkinFolder() {
        const auto names = skinSheetFileNames();
        for (std::size_t index = 0; index < names.size(); ++index) {
            write(names[index], static_cast<int>(index));
        }
    }

    QString path() const { return QString::fromStdString(dir.path().string()); }
    QString filePath(const std::string& name) const {
        return QString::fromStdString((dir / name).string());
    }

    void remove(const std::string& name) { std::filesystem::remove(dir / name); }
    void rename(const std::string& from, const std::string& to) {
        std::filesystem::rename(dir / from, dir / to);
    }
    void damage(const std::string& name) {
        writeBytes(dir / name, {'B', 'M', 0x10, 0x20, 0x30, 0x00, 0xff, 0x7f, 0x00});
    }

  private:
    void write(const std::string& name, int index) {
        const bool png = name.ends_with(".png");
        QImage sheet(kFakeSheetWidth, kFakeSheetHeight,
                     png ? QImage::Format_ARGB32 : QImage::Format_RGB32);
        for (int y = 0; y < sheet.height(); ++y) {
            for (int x = 0; x < sheet.width(); ++x) {
                sheet.setPixel(x, y, fakePixel(index, x, y));
            }
        }
        sheet.save(filePath(name));
    }

    TempDir dir;
};

}  // namespace orvane::test
