#include "skins/SkinCache.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QMessageBox>
#include <QThread>
#include <algorithm>
#include <array>
#include <future>
#include <limits>
#include <map>
#include <optional>
#include <string_view>
#include <vector>

#include "skins/SkinFolder.h"

namespace orvane {
namespace {

constexpr std::array<const char*, 69> kSheetFiles = {
    "Main_Normal.bmp",
    "Main_Over.bmp",
    "Main_Down.bmp",
    "Main_Disable.bmp",
    "Mouse_Settings_Normal.bmp",
    "Mouse_Settings_Over.bmp",
    "Mouse_Settings_Down.bmp",
    "Mouse_Settings_Disable.bmp",
    "Sensor_Performance_Normal.bmp",
    "Sensor_Performance_Over.bmp",
    "Sensor_Performance_Down.bmp",
    // The shipped skin spells it this way; the name has to match the file.
    "Sensor_Performance_Disabel.bmp",
    "Color_Settings_BK.png",
    "Color_Settings_Normal.bmp",
    "Color_Settings_Over.bmp",
    "Color_Settings_Down.bmp",
    "Color_Settings_Disable.bmp",
    "Macro_Settings_BK.bmp",
    "Macro_Settings_Normal.bmp",
    "Macro_Settings_Over.bmp",
    "Macro_Settings_Down.bmp",
    "Macro_Settings_Disable.bmp",
    "Support_Normal.bmp",
    "Support_Over.bmp",
    "Support_Down.bmp",
    "Support_Disable.bmp",
    "Color_slider.png",
    "Slider_Normal.png",
    "Slider_Disable.png",
    "Slider1_Over.png",
    "Slider2_Over.png",
    "Slider3_Over.png",
    "Slider4_Over.png",
    "Slider5_Over.png",
    "ColorPanel.bmp",
    "ColorPalete.png",
    "Orvane.png",
    "ReName_Normal.bmp",
    "ReName_Over.bmp",
    "ReName_Down.bmp",
    "ReName_Disable.bmp",
    "Scroll_Normal.bmp",
    "Scroll_Over.bmp",
    "Scroll_Down.bmp",
    "LeftClickWarn_Normal.bmp",
    "LeftClickWarn_Over.bmp",
    "LeftClickWarn_Down.bmp",
    "DeleteMacro_Normal.bmp",
    "DeleteMacro_Over.bmp",
    "DeleteMacro_Down.bmp",
    "SensorSQAT1_Normal.bmp",
    "SensorSQAT1_Over.bmp",
    "SensorSQAT1_Down.bmp",
    "SensorSQAT2_Normal.bmp",
    "SensorSQAT2_Over.bmp",
    "SensorSQAT2_Down.bmp",
    "SensorSQAT3_Normal.bmp",
    "SensorSQAT3_Over.bmp",
    "SensorSQAT3_Down.bmp",
    "ResetWarn_Normal.bmp",
    "ResetWarn_Over.bmp",
    "ResetWarn_Down.bmp",
    "UpdateWarn_Normal.bmp",
    "UpdateWarn_Over.bmp",
    "UpdateWarn_Down.bmp",
    "AssignKey_Normal.bmp",
    "AssignKey_Over.bmp",
    "AssignKey_Down.bmp",
    "AssignKey_Disable.bmp",
};

// First sheet of each set; the states follow it in order.
constexpr int kMain = 0;
constexpr int kMouse = 4;
constexpr int kSensor = 8;
constexpr int kColorBackground = 12;
constexpr int kColor = 13;
constexpr int kMacroBackground = 17;
constexpr int kMacro = 18;
constexpr int kSupport = 22;
constexpr int kColorSlider = 26;
constexpr int kSliderNormal = 27;
constexpr int kSliderDisable = 28;
constexpr int kSliderOver = 29;  // five of them
constexpr int kColorPanel = 34;
constexpr int kColorPalette = 35;
constexpr int kLogo = 36;
constexpr int kRename = 37;
constexpr int kScrollNormal = 41;
constexpr int kScrollOver = 42;
constexpr int kScrollDown = 43;
constexpr int kPopups = 44;  // seven sets of three
constexpr int kAssignKey = 65;

constexpr bool named(int index, std::string_view name) {
    return std::string_view(kSheetFiles[static_cast<std::size_t>(index)]) == name;
}
static_assert(named(kMouse, "Mouse_Settings_Normal.bmp"));
static_assert(named(kSensor + 3, "Sensor_Performance_Disabel.bmp"));
static_assert(named(kColorBackground, "Color_Settings_BK.png"));
static_assert(named(kColor, "Color_Settings_Normal.bmp"));
static_assert(named(kMacroBackground, "Macro_Settings_BK.bmp"));
static_assert(named(kMacro, "Macro_Settings_Normal.bmp"));
static_assert(named(kSupport, "Support_Normal.bmp"));
static_assert(named(kColorSlider, "Color_slider.png"));
static_assert(named(kSliderNormal, "Slider_Normal.png"));
static_assert(named(kSliderDisable, "Slider_Disable.png"));
static_assert(named(kSliderOver + 4, "Slider5_Over.png"));
static_assert(named(kColorPanel, "ColorPanel.bmp"));
static_assert(named(kColorPalette, "ColorPalete.png"));
static_assert(named(kLogo, "Orvane.png"));
static_assert(named(kRename, "ReName_Normal.bmp"));
static_assert(named(kScrollNormal, "Scroll_Normal.bmp"));
static_assert(named(kScrollOver, "Scroll_Over.bmp"));
static_assert(named(kScrollDown, "Scroll_Down.bmp"));
static_assert(named(kPopups, "LeftClickWarn_Normal.bmp"));
static_assert(named(kPopups + 6 * 3 + 2, "UpdateWarn_Down.bmp"));
static_assert(named(kAssignKey + 3, "AssignKey_Disable.bmp"));

enum class Answer { Piece, Itself, Copy };

struct Lookup {
    Answer answer;
    int sheet;
};

constexpr bool within(int value, int first, int last) {
    return value >= first && value <= last;
}

std::optional<Lookup> pieceOfSet(int firstSheet, int state, int stateCount) {
    if (!within(state, 0, stateCount - 1)) {
        return std::nullopt;
    }
    return Lookup{Answer::Piece, firstSheet + state};
}

// The part table. Whole-sheet answers do not depend on the state.
std::optional<Lookup> lookUp(int part, int state) {
    const auto itself = [](int sheet) { return Lookup{Answer::Itself, sheet}; };
    const auto copy = [](int sheet) { return Lookup{Answer::Copy, sheet}; };

    if (part == 0) {
        return copy(kMain);
    }
    if (within(part, 1, 21)) {
        return pieceOfSet(kMain, state, 4);
    }
    if (part == 22) {
        return itself(kMouse);
    }
    if (within(part, 24, 49)) {
        return pieceOfSet(kMouse, state, 4);
    }
    if (part == 50) {
        return itself(kSensor);
    }
    if (within(part, 51, 61) || within(part, 63, 81)) {
        return pieceOfSet(kSensor, state, 4);
    }
    if (part == 87) {
        return itself(kColorBackground);
    }
    if (within(part, 82, 86) || within(part, 88, 128) || part == 131) {
        return pieceOfSet(kColor, state, 4);
    }
    if (part == 129) {
        return copy(kLogo);
    }
    if (part == 130) {
        return pieceOfSet(kColorBackground, state, 1);
    }
    if (part == 132) {
        return copy(kColorPalette);
    }
    if (part == 133) {
        return itself(kMacroBackground);
    }
    if (within(part, 134, 141)) {
        return pieceOfSet(kMacro, state, 4);
    }
    if (part == 142) {
        return itself(kSupport);
    }
    if (within(part, 143, 148)) {
        return pieceOfSet(kSupport, state, 4);
    }
    if (part == 149) {
        return copy(kColorSlider);
    }
    if (part == 150) {
        return copy(kSliderNormal);
    }
    if (part == 151) {
        return copy(kSliderDisable);
    }
    if (within(part, 152, 156)) {
        return copy(kSliderOver + (part - 152));
    }
    if (part == 157) {
        return copy(kScrollNormal);
    }
    if (within(part, 158, 160)) {
        // The scroll bar's resting look is its pressed sheet.
        if (state == 0) {
            return Lookup{Answer::Piece, kScrollDown};
        }
        if (state == 1) {
            return Lookup{Answer::Piece, kScrollOver};
        }
        return std::nullopt;
    }
    if (part == 161) {
        return copy(kColorPanel);
    }
    if (part == 162) {
        return itself(kRename);
    }
    if (within(part, 163, 166)) {
        return pieceOfSet(kRename, state, 4);
    }
    // Each pop-up set: its whole Normal sheet, then its pieces up to the next
    // set's whole sheet.
    constexpr std::array<int, 8> popupStarts = {167, 171, 175, 179, 185, 188, 192, 196};
    for (std::size_t set = 0; set + 1 < popupStarts.size(); ++set) {
        const int firstSheet = kPopups + static_cast<int>(set) * 3;
        if (part == popupStarts[set]) {
            return itself(firstSheet);
        }
        if (within(part, popupStarts[set] + 1, popupStarts[set + 1] - 1)) {
            return pieceOfSet(firstSheet, state, 3);
        }
    }
    if (part == 196) {
        return itself(kAssignKey);
    }
    if (within(part, 197, 200)) {
        return pieceOfSet(kAssignKey, state, 4);
    }
    return std::nullopt;  // 23, 62 and everything outside 0..200
}

void reportOnce() {
    // Every control that paints after the first failure would fail again;
    // one message and one quit request are enough.
    static bool reported = false;
    if (reported) {
        return;
    }
    reported = true;
    auto* application = QCoreApplication::instance();
    if (qobject_cast<QApplication*>(application) != nullptr) {
        QMessageBox::warning(nullptr, QCoreApplication::applicationName(),
                             QStringLiteral("ui load failed!"));
    }
    if (application != nullptr) {
        // exit(), not quit(): quit() asks the windows to close first, and the
        // main window only hides, which would cancel it.
        QMetaObject::invokeMethod(
            application, [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
    }
}

}  // namespace

// One sheet of the cache. At start-up only its header is checked (the "ui
// load failed!" rule needs every file present and readable); it is decoded
// when its picture is first needed whole. Pieces of a sheet that is not
// decoded are read straight from its file, so the state sheets, which only
// ever give pieces, are never held in memory whole.
struct SkinSheet {
    QString path;
    bool usable = false;  // passed the start-up check
    QSize size;           // from the header
    bool alpha = false;   // from the header
    bool decodeTried = false;
    QImage decoded;  // stays at this address: SkinImage may point here
};

namespace {

using Sheet = SkinSheet;

// What the start-up check found out about the sheets of one folder, in
// cache order, when it ran off the user-interface thread.
struct CheckedSheets {
    QString folder;
    std::vector<Sheet> sheets;
    // Files that are not plain bitmaps: the general decoders that check them
    // may need the application's plug-ins, so the user-interface thread does.
    std::vector<std::size_t> leftToCheck;
};

struct Cache {
    bool loaded = false;
    std::vector<Sheet> sheets;
    // Whole sheets being decoded on their own thread, by file path.
    std::map<QString, std::future<QImage>> prefetched;
    // The start-up check, run beside Qt's start.
    std::future<CheckedSheets> prefetchedCheck;
    std::function<void()> onFailure = reportOnce;
};

Cache& cache() {
    static Cache instance;
    return instance;
}

void assertUiThread() {
    Q_ASSERT(QCoreApplication::instance() == nullptr ||
             QThread::currentThread() == QCoreApplication::instance()->thread());
}

SkinImage fail() {
    // Copied first: the handler may replace itself.
    const auto handler = cache().onFailure;
    handler();
    return {};
}

SkinImage cutPiece(const QImage& sheet, int left, int top, int right, int bottom) {
    const long long width = static_cast<long long>(right) - left;
    const long long height = static_cast<long long>(bottom) - top;
    if (width <= 0 || height <= 0 || left < 0 || top < 0 ||
        static_cast<long long>(left) + width > sheet.width() ||
        static_cast<long long>(top) + height > sheet.height()) {
        return {};
    }
    // copy() keeps the sheet's pixel format and owns its pixels.
    return SkinImage::fromImage(
        sheet.copy(QRect(left, top, static_cast<int>(width), static_cast<int>(height))));
}

// The bitmap decoder paints whatever rows a cut-short file still has and
// reports success; its header knows how long the file should be.
bool bitmapIsCutShort(const QByteArray& content) {
    if (content.size() < 6 || !content.startsWith("BM")) {
        return false;
    }
    const auto byte = [&](int at) {
        return static_cast<quint32>(static_cast<quint8>(content[at]));
    };
    const quint32 declared = byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
    return declared > static_cast<quint64>(content.size());
}

quint32 littleEndian(const uchar* at, int bytes) {
    quint32 value = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        value = value << 8 | at[i];
    }
    return value;
}

constexpr qint64 kBitmapHeaders = 14 + 40;

// Where the pixels of an uncompressed 24-bit bitmap lie, the form of nearly
// every sheet. Nothing for any other file, and for a bitmap whose pixels or
// declared length run past the end of the file.
struct PlainBitmap {
    int width = 0;
    int rows = 0;
    bool bottomUp = true;  // rows are stored bottom-up unless the height is negative
    qint64 stride = 0;
    qint64 dataOffset = 0;
};

std::optional<PlainBitmap> plainBitmap(const QByteArray& header, qint64 fileSize) {
    if (header.size() < kBitmapHeaders || !header.startsWith("BM")) {
        return std::nullopt;
    }
    const auto* bytes = reinterpret_cast<const uchar*>(header.constData());
    const quint32 declaredSize = littleEndian(bytes + 2, 4);
    const quint32 dataOffset = littleEndian(bytes + 10, 4);
    const quint32 infoSize = littleEndian(bytes + 14, 4);
    const auto width = static_cast<qint32>(littleEndian(bytes + 18, 4));
    const auto height = static_cast<qint32>(littleEndian(bytes + 22, 4));
    const quint32 bitsPerPixel = littleEndian(bytes + 28, 2);
    const quint32 compression = littleEndian(bytes + 30, 4);
    const qint64 rows = height < 0 ? -static_cast<qint64>(height) : height;
    const qint64 stride = (static_cast<qint64>(width) * 24 + 31) / 32 * 4;
    if (infoSize < 40 || bitsPerPixel != 24 || compression != 0 || width <= 0 || rows <= 0 ||
        rows > std::numeric_limits<int>::max() || declaredSize > fileSize ||
        dataOffset + stride * rows > fileSize) {
        return std::nullopt;
    }
    return PlainBitmap{width, static_cast<int>(rows), height > 0, stride, dataOffset};
}

enum class CheckResult { Passed, Failed, NeedsDecoder };

// The part of the start-up check that any thread may run: the file is there
// and can be opened, and a plain bitmap's header says all there is to know,
// without asking the decoders about all 69 files.
CheckResult checkPlainBitmap(Sheet& sheet) {
    // Nothing but a file: opening a pipe or a device would wait for ever.
    if (!QFileInfo(sheet.path).isFile()) {
        return CheckResult::Failed;
    }
    QFile file(sheet.path);
    if (!file.open(QIODevice::ReadOnly)) {
        return CheckResult::Failed;
    }
    const auto bitmap = plainBitmap(file.read(kBitmapHeaders), file.size());
    if (!bitmap) {
        return CheckResult::NeedsDecoder;
    }
    sheet.size = QSize(bitmap->width, bitmap->rows);
    sheet.alpha = false;
    return CheckResult::Passed;
}

// The rest of the check, for any other file, on the user-interface thread:
// its header names a picture of some size, and a bitmap is as long as its
// header says. Reads the header only.
bool passesDecoderCheck(Sheet& sheet) {
    const QString& path = sheet.path;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return false;
    }
    const QByteArray header = file.read(kBitmapHeaders);
    QImageReader probe(path);
    const QSize size = probe.size();
    if (!probe.canRead() || (size.isValid() && size.isEmpty())) {
        return false;
    }
    sheet.size = size;
    sheet.alpha =
        QImage::toPixelFormat(probe.imageFormat()).alphaUsage() == QPixelFormat::UsesAlpha;
    if (header.size() < 6 || !header.startsWith("BM")) {
        return true;
    }
    const auto byte = [&](int at) { return static_cast<quint64>(static_cast<quint8>(header[at])); };
    return (byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24) <=
           static_cast<quint64>(file.size());
}

// A piece of an uncompressed 24-bit bitmap, read from the file: only the
// rows under the piece are read, in one go, and the sheet is never decoded
// whole for it. Any other layout (and any file that is not what its header
// says) answers nothing here, and the caller decodes the sheet instead.
std::optional<QImage> pieceOfBitmapFile(const QString& path, const QRect& piece) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const auto bitmap = plainBitmap(file.read(kBitmapHeaders), file.size());
    if (!bitmap || !QRect(0, 0, bitmap->width, bitmap->rows).contains(piece)) {
        return std::nullopt;
    }
    const qint64 rows = bitmap->rows;
    const qint64 stride = bitmap->stride;
    const bool bottomUp = bitmap->bottomUp;
    // Either way up, the piece's rows lie together in the file. They are read
    // a band at a time into one small buffer: a whole sheet read at once
    // would cost as many fresh pages again as the picture itself.
    const qint64 firstFileRow = bottomUp ? rows - piece.y() - piece.height() : piece.y();
    if (!file.seek(bitmap->dataOffset + firstFileRow * stride)) {
        return std::nullopt;
    }
    constexpr qint64 kBandBytes = 64 * 1024;
    const qint64 bandRows = std::max<qint64>(1, kBandBytes / stride);
    QByteArray band(static_cast<qsizetype>(std::min<qint64>(bandRows, piece.height()) * stride),
                    Qt::Uninitialized);
    QImage image(piece.size(), QImage::Format_RGB32);
    for (qint64 done = 0; done < piece.height();) {
        const qint64 count = std::min<qint64>(bandRows, piece.height() - done);
        if (file.read(band.data(), count * stride) != count * stride) {
            return std::nullopt;
        }
        for (qint64 row = 0; row < count; ++row) {
            const qint64 fileRow = firstFileRow + done + row;
            const qint64 sheetRow = bottomUp ? rows - 1 - fileRow : fileRow;
            const auto* from = reinterpret_cast<const uchar*>(band.constData()) + row * stride +
                               static_cast<qint64>(piece.x()) * 3;
            auto* to =
                reinterpret_cast<QRgb*>(image.scanLine(static_cast<int>(sheetRow - piece.y())));
            for (int x = 0; x < piece.width(); ++x, from += 3) {
                to[x] = qRgb(from[2], from[1], from[0]);
            }
        }
        done += count;
    }
    return image;
}

// The whole of a plain bitmap file; nothing for any other file.
std::optional<QImage> wholeOfBitmapFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return std::nullopt;
    }
    const auto bitmap = plainBitmap(file.read(kBitmapHeaders), file.size());
    if (!bitmap) {
        return std::nullopt;
    }
    file.close();
    return pieceOfBitmapFile(path, QRect(0, 0, bitmap->width, bitmap->rows));
}

// The whole picture of a sheet that passed the start-up check. A plain
// bitmap, which most sheets are, is read as one piece the size of the sheet,
// which skips the general decoder's second pass over the file.
QImage decodeSheetFile(const Sheet& sheet) {
    auto& prefetched = cache().prefetched;
    if (const auto found = prefetched.find(sheet.path); found != prefetched.end()) {
        QImage whole = found->second.get();
        prefetched.erase(found);
        if (!whole.isNull() && whole.size() == sheet.size) {
            return whole;
        }
    }
    if (sheet.size.isValid()) {
        if (auto whole = pieceOfBitmapFile(sheet.path, QRect(QPoint(0, 0), sheet.size))) {
            return std::move(*whole);
        }
    }
    return loadPicture(sheet.path);
}

QImage& decodedSheet(Sheet& sheet) {
    if (!sheet.decodeTried) {
        sheet.decodeTried = true;
        if (sheet.usable) {
            sheet.decoded = decodeSheetFile(sheet);
        }
    }
    return sheet.decoded;
}

}  // namespace

struct SkinImage::Deferred {
    std::function<QImage()> make;
    bool made = false;
    QImage image;
};

SkinImage::SkinImage(QImage image) : owned(std::move(image)) {}

SkinImage SkinImage::fromCache(SkinSheet& sheet) {
    SkinImage answer;
    answer.cached = &sheet;
    return answer;
}

SkinImage SkinImage::fromImage(QImage image) {
    SkinImage answer;
    answer.owned = std::move(image);
    return answer;
}

SkinImage SkinImage::fromFileWhenDrawn(const QString& path) {
    SkinImage answer;
    answer.deferred = std::make_shared<Deferred>();
    answer.deferred->make = [path] { return loadPicture(path); };
    return answer;
}

bool SkinImage::isNull() const {
    if (deferred) {
        return image().isNull();
    }
    return cached != nullptr ? !cached->usable : owned.isNull();
}

QSize SkinImage::size() const {
    if (deferred) {
        return image().size();
    }
    if (cached != nullptr) {
        return cached->decodeTried ? cached->decoded.size() : cached->size;
    }
    return owned.size();
}

bool SkinImage::hasAlphaChannel() const {
    if (deferred) {
        return image().hasAlphaChannel();
    }
    if (cached != nullptr) {
        return cached->decodeTried ? cached->decoded.hasAlphaChannel() : cached->alpha;
    }
    return owned.hasAlphaChannel();
}

const QImage& SkinImage::image() const {
    if (deferred) {
        if (!deferred->made) {
            deferred->made = true;
            deferred->image = deferred->make();
            deferred->make = nullptr;
        }
        return deferred->image;
    }
    return cached != nullptr ? decodedSheet(*cached) : owned;
}

std::span<const char* const> skinSheetFileNames() {
    return kSheetFiles;
}

void loadSkinSheets() {
    if (cache().loaded) {
        return;
    }
    loadSkinSheetsFrom(skinFolder());
}

// Checks every sheet of `folder` that can be checked off the user-interface
// thread. A sheet that fails stays unusable; the requests for it decide what
// that means.
CheckedSheets checkPlainSheets(const QString& folder) {
    CheckedSheets checked{folder, std::vector<Sheet>(kSheetFiles.size()), {}};
    const QDir dir(folder);
    for (std::size_t index = 0; index < kSheetFiles.size(); ++index) {
        Sheet& sheet = checked.sheets[index];
        sheet.path = dir.filePath(QString::fromLatin1(kSheetFiles[index]));
        const CheckResult result = checkPlainBitmap(sheet);
        sheet.usable = result == CheckResult::Passed;
        if (result == CheckResult::NeedsDecoder) {
            checked.leftToCheck.push_back(index);
        }
    }
    return checked;
}

void loadSkinSheetsFrom(const QString& folder) {
    assertUiThread();
    Cache& state = cache();
    if (state.loaded) {
        return;
    }
    state.loaded = true;
    CheckedSheets checked;
    if (state.prefetchedCheck.valid()) {
        checked = state.prefetchedCheck.get();
    }
    if (checked.folder != folder) {
        checked = checkPlainSheets(folder);
    }
    for (std::size_t index : checked.leftToCheck) {
        Sheet& sheet = checked.sheets[index];
        sheet.usable = passesDecoderCheck(sheet);
    }
    state.sheets = std::move(checked.sheets);
}

void prefetchMainWindowSheets(const QString& folder) {
    assertUiThread();
    // Qt makes the first thread that asks for its thread data the program's
    // main thread, and the readers below open files through Qt. Asked from
    // here first, the main thread stays this one: were it a reader's, the
    // application made afterwards would get no input at all.
    (void)QThread::currentThread();
    if (!cache().loaded && !cache().prefetchedCheck.valid()) {
        cache().prefetchedCheck =
            std::async(std::launch::async, [folder] { return checkPlainSheets(folder); });
    }
    const QDir dir(folder);
    for (const int sheet : {kMain, kMouse}) {
        const QString path =
            dir.filePath(QString::fromLatin1(kSheetFiles[static_cast<std::size_t>(sheet)]));
        if (cache().prefetched.count(path) == 0) {
            // Plain bitmaps only: the general decoders may want the
            // application's plug-ins, which do not exist yet.
            cache().prefetched.emplace(path, std::async(std::launch::async, [path] {
                                           return wholeOfBitmapFile(path).value_or(QImage());
                                       }));
        }
    }
}

void forgetPrefetchedSheets() {
    assertUiThread();
    cache().prefetched.clear();
    cache().prefetchedCheck = {};
}

void resetSkinCacheForTests() {
    forgetPrefetchedSheets();
    cache().loaded = false;
    cache().sheets.clear();
}

SkinImage skinPart(int part, int state, int left, int top, int right, int bottom) {
    assertUiThread();
    loadSkinSheets();
    const auto found = lookUp(part, state);
    if (!found) {
        return fail();
    }
    Sheet& sheet = cache().sheets[static_cast<std::size_t>(found->sheet)];
    if (found->answer == Answer::Piece) {
        if (!sheet.usable) {
            return fail();
        }
        if (!sheet.decodeTried) {
            const QRect rect(left, top, right - left, bottom - top);
            if (right > left && bottom > top) {
                if (auto piece = pieceOfBitmapFile(sheet.path, rect)) {
                    return SkinImage::fromImage(std::move(*piece));
                }
            }
        }
        const QImage& whole = decodedSheet(sheet);
        if (whole.isNull()) {
            return fail();
        }
        return cutPiece(whole, left, top, right, bottom);
    }
    if (!sheet.usable) {
        return {};
    }
    if (found->answer == Answer::Itself) {
        return SkinImage::fromCache(sheet);
    }
    // The caller's own copy: a sheet asked for whole as a copy (the main
    // window's background, the slider thumbs) is decoded straight into it and
    // not kept, so that it is held once, by its window, not twice.
    if (sheet.decodeTried) {
        return sheet.decoded.isNull() ? SkinImage() : SkinImage::fromImage(sheet.decoded.copy());
    }
    QImage whole = decodeSheetFile(sheet);
    return whole.isNull() ? SkinImage() : SkinImage::fromImage(std::move(whole));
}

SkinImage skinPart(int part, int state, const QRect& rect) {
    return skinPart(part, state, rect.x(), rect.y(), rect.x() + rect.width(),
                    rect.y() + rect.height());
}

SkinImage skinPartWhenDrawn(int part, int state, const QRect& rect) {
    assertUiThread();
    loadSkinSheets();
    const auto found = lookUp(part, state);
    if (!found) {
        return fail();
    }
    if (found->answer != Answer::Piece) {
        return skinPart(part, state, rect);
    }
    if (!cache().sheets[static_cast<std::size_t>(found->sheet)].usable) {
        return fail();
    }
    SkinImage answer;
    answer.deferred = std::make_shared<SkinImage::Deferred>();
    answer.deferred->make = [part, state, rect] { return skinPart(part, state, rect).toImage(); };
    return answer;
}

std::function<void()> setSkinFailureHandler(std::function<void()> handler) {
    auto previous = std::move(cache().onFailure);
    cache().onFailure = handler ? std::move(handler) : std::function<void()>(reportOnce);
    return previous;
}

QImage loadPicture(const QString& path) {
    {
        // A look at the header first, so that a file that is no picture is
        // turned away before it is read whole.
        QImageReader probe(path);
        const QSize size = probe.size();
        if (!probe.canRead() || (size.isValid() && size.isEmpty())) {
            return {};
        }
    }
    QByteArray content;
    {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            return {};
        }
        content = file.readAll();
        if (content.size() != file.size()) {
            return {};
        }
    }
    if (bitmapIsCutShort(content)) {
        return {};
    }
    return QImage::fromData(content);
}

}  // namespace orvane
