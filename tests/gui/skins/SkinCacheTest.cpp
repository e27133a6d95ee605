#include "skins/SkinCache.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <memory>

#include "FakeSkinFolder.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

using test::fakePixel;
using test::FakeSkinFolder;
using test::sheetIndexOf;

// Every test loads its own folder and counts the failures it causes.
class SkinCacheTest : public testing::Test {
  protected:
    void SetUp() override {
        resetSkinCacheForTests();
        previousHandler = setSkinFailureHandler([this] { ++failures; });
    }
    void TearDown() override {
        setSkinFailureHandler(previousHandler);
        resetSkinCacheForTests();
    }
    void load(const FakeSkinFolder& folder) { loadSkinSheetsFrom(folder.path()); }

    int failures = 0;
    std::function<void()> previousHandler;
};

// The piece every table case asks for.
constexpr int kLeft = 10, kTop = 20, kRight = 40, kBottom = 36;

enum class Kind { Piece, Itself, Copy };

struct PartCase {
    int part;
    int state;
    const char* sheet;
    Kind kind;
};

void PrintTo(const PartCase& c, std::ostream* out) {
    *out << "part " << c.part << " state " << c.state << " -> " << c.sheet;
}

class SkinPartTable : public SkinCacheTest, public testing::WithParamInterface<PartCase> {
  protected:
    static void SetUpTestSuite() { folder = std::make_unique<FakeSkinFolder>(); }
    static void TearDownTestSuite() { folder.reset(); }
    static std::unique_ptr<FakeSkinFolder> folder;
};
std::unique_ptr<FakeSkinFolder> SkinPartTable::folder;

TEST_P(SkinPartTable, AnswersTheListedSheetInTheListedForm) {
    const PartCase& c = GetParam();
    load(*folder);
    const int sheet = sheetIndexOf(c.sheet);
    ASSERT_GE(sheet, 0) << c.sheet;

    const SkinImage answer = skinPart(c.part, c.state, kLeft, kTop, kRight, kBottom);

    ASSERT_FALSE(answer.isNull());
    EXPECT_EQ(failures, 0);
    const QImage& image = answer.image();
    const QImage file = loadPicture(folder->filePath(c.sheet));
    EXPECT_EQ(image.format(), file.format());
    switch (c.kind) {
        case Kind::Piece:
            EXPECT_FALSE(answer.isCacheSheet());
            EXPECT_EQ(image.size(), QSize(kRight - kLeft, kBottom - kTop));
            EXPECT_EQ(image.pixel(0, 0), fakePixel(sheet, kLeft, kTop));
            EXPECT_EQ(image.pixel(image.width() - 1, image.height() - 1),
                      fakePixel(sheet, kRight - 1, kBottom - 1));
            break;
        case Kind::Itself:
        case Kind::Copy:
            EXPECT_EQ(answer.isCacheSheet(), c.kind == Kind::Itself);
            EXPECT_EQ(image.size(), QSize(test::kFakeSheetWidth, test::kFakeSheetHeight));
            EXPECT_EQ(image.pixel(kLeft, kTop), fakePixel(sheet, kLeft, kTop));
            break;
    }
}

// Representative parts of every range of the table, at both ends where a
// range has two.
INSTANTIATE_TEST_SUITE_P(
    EveryRange, SkinPartTable,
    testing::Values(PartCase{0, 0, "Main_Normal.bmp", Kind::Copy},
                    PartCase{1, 0, "Main_Normal.bmp", Kind::Piece},
                    PartCase{21, 3, "Main_Disable.bmp", Kind::Piece},
                    PartCase{22, 0, "Mouse_Settings_Normal.bmp", Kind::Itself},
                    PartCase{24, 1, "Mouse_Settings_Over.bmp", Kind::Piece},
                    PartCase{49, 3, "Mouse_Settings_Disable.bmp", Kind::Piece},
                    PartCase{50, 0, "Sensor_Performance_Normal.bmp", Kind::Itself},
                    PartCase{51, 2, "Sensor_Performance_Down.bmp", Kind::Piece},
                    PartCase{61, 0, "Sensor_Performance_Normal.bmp", Kind::Piece},
                    PartCase{63, 3, "Sensor_Performance_Disabel.bmp", Kind::Piece},
                    PartCase{81, 1, "Sensor_Performance_Over.bmp", Kind::Piece},
                    PartCase{82, 0, "Color_Settings_Normal.bmp", Kind::Piece},
                    PartCase{86, 2, "Color_Settings_Down.bmp", Kind::Piece},
                    PartCase{87, 0, "Color_Settings_BK.png", Kind::Itself},
                    PartCase{88, 1, "Color_Settings_Over.bmp", Kind::Piece},
                    PartCase{128, 3, "Color_Settings_Disable.bmp", Kind::Piece},
                    PartCase{129, 0, "Orvane.png", Kind::Copy},
                    PartCase{130, 0, "Color_Settings_BK.png", Kind::Piece},
                    PartCase{131, 2, "Color_Settings_Down.bmp", Kind::Piece},
                    PartCase{132, 0, "ColorPalete.png", Kind::Copy},
                    PartCase{133, 0, "Macro_Settings_BK.bmp", Kind::Itself},
                    PartCase{134, 0, "Macro_Settings_Normal.bmp", Kind::Piece},
                    PartCase{141, 3, "Macro_Settings_Disable.bmp", Kind::Piece},
                    PartCase{142, 0, "Support_Normal.bmp", Kind::Itself},
                    PartCase{143, 1, "Support_Over.bmp", Kind::Piece},
                    PartCase{148, 3, "Support_Disable.bmp", Kind::Piece},
                    PartCase{149, 0, "Color_slider.png", Kind::Copy},
                    PartCase{150, 0, "Slider_Normal.png", Kind::Copy},
                    PartCase{151, 0, "Slider_Disable.png", Kind::Copy},
                    PartCase{152, 0, "Slider1_Over.png", Kind::Copy},
                    PartCase{154, 0, "Slider3_Over.png", Kind::Copy},
                    PartCase{156, 0, "Slider5_Over.png", Kind::Copy},
                    PartCase{157, 0, "Scroll_Normal.bmp", Kind::Copy},
                    PartCase{158, 0, "Scroll_Down.bmp", Kind::Piece},
                    PartCase{159, 1, "Scroll_Over.bmp", Kind::Piece},
                    PartCase{160, 0, "Scroll_Down.bmp", Kind::Piece},
                    PartCase{161, 0, "ColorPanel.bmp", Kind::Copy},
                    PartCase{162, 0, "ReName_Normal.bmp", Kind::Itself},
                    PartCase{163, 0, "ReName_Normal.bmp", Kind::Piece},
                    PartCase{166, 3, "ReName_Disable.bmp", Kind::Piece},
                    PartCase{167, 0, "LeftClickWarn_Normal.bmp", Kind::Itself},
                    PartCase{168, 0, "LeftClickWarn_Normal.bmp", Kind::Piece},
                    PartCase{170, 2, "LeftClickWarn_Down.bmp", Kind::Piece},
                    PartCase{171, 0, "DeleteMacro_Normal.bmp", Kind::Itself},
                    PartCase{172, 1, "DeleteMacro_Over.bmp", Kind::Piece},
                    PartCase{174, 2, "DeleteMacro_Down.bmp", Kind::Piece},
                    PartCase{175, 0, "SensorSQAT1_Normal.bmp", Kind::Itself},
                    PartCase{176, 0, "SensorSQAT1_Normal.bmp", Kind::Piece},
                    PartCase{178, 2, "SensorSQAT1_Down.bmp", Kind::Piece},
                    PartCase{179, 0, "SensorSQAT2_Normal.bmp", Kind::Itself},
                    PartCase{180, 1, "SensorSQAT2_Over.bmp", Kind::Piece},
                    PartCase{184, 2, "SensorSQAT2_Down.bmp", Kind::Piece},
                    PartCase{185, 0, "SensorSQAT3_Normal.bmp", Kind::Itself},
                    PartCase{186, 0, "SensorSQAT3_Normal.bmp", Kind::Piece},
                    PartCase{187, 2, "SensorSQAT3_Down.bmp", Kind::Piece},
                    PartCase{188, 0, "ResetWarn_Normal.bmp", Kind::Itself},
                    PartCase{189, 1, "ResetWarn_Over.bmp", Kind::Piece},
                    PartCase{191, 2, "ResetWarn_Down.bmp", Kind::Piece},
                    PartCase{192, 0, "UpdateWarn_Normal.bmp", Kind::Itself},
                    PartCase{193, 0, "UpdateWarn_Normal.bmp", Kind::Piece},
                    PartCase{195, 2, "UpdateWarn_Down.bmp", Kind::Piece},
                    PartCase{196, 0, "AssignKey_Normal.bmp", Kind::Itself},
                    PartCase{197, 0, "AssignKey_Normal.bmp", Kind::Piece},
                    PartCase{200, 3, "AssignKey_Disable.bmp", Kind::Piece}),
    [](const testing::TestParamInfo<PartCase>& info) {
        return test::caseName("Part", info.param.part, "State", info.param.state);
    });

struct Unlisted {
    int part;
    int state;
};

void PrintTo(const Unlisted& c, std::ostream* out) {
    *out << "part " << c.part << " state " << c.state;
}

class UnlistedRequests : public SkinCacheTest, public testing::WithParamInterface<Unlisted> {};

TEST_P(UnlistedRequests, RunTheFailureHandlerAndAnswerNone) {
    FakeSkinFolder folder;
    load(folder);
    const SkinImage answer = skinPart(GetParam().part, GetParam().state, 0, 0, 8, 8);
    EXPECT_TRUE(answer.isNull());
    EXPECT_EQ(failures, 1);
}

INSTANTIATE_TEST_SUITE_P(PartsAndStatesTheTableLacks, UnlistedRequests,
                         testing::Values(Unlisted{23, 0}, Unlisted{62, 0}, Unlisted{170, 3},
                                         Unlisted{130, 1}, Unlisted{158, 2}, Unlisted{160, 3},
                                         Unlisted{1, 4}, Unlisted{1, -1}, Unlisted{-1, 0},
                                         Unlisted{201, 0}),
                         [](const testing::TestParamInfo<Unlisted>& info) {
                             return test::caseName("Part", info.param.part, "State",
                                                   info.param.state);
                         });

TEST_F(SkinCacheTest, TwoRequestsForTheMainBackgroundGiveIndependentCopies) {
    FakeSkinFolder folder;
    load(folder);
    const SkinImage first = skinPart(0, 0, 0, 0, 0, 0);
    const SkinImage second = skinPart(0, 0, 0, 0, 0, 0);
    ASSERT_FALSE(first.isNull());
    ASSERT_FALSE(second.isNull());
    EXPECT_NE(first.image().constBits(), second.image().constBits());

    QImage changed = first.toImage();
    changed.fill(Qt::white);
    EXPECT_EQ(second.image().pixel(3, 4), fakePixel(0, 3, 4));
    EXPECT_EQ(skinPart(0, 0, 0, 0, 0, 0).image().pixel(3, 4), fakePixel(0, 3, 4));
}

TEST_F(SkinCacheTest, TwoRequestsForAPageBackgroundGiveTheSameCachedSheet) {
    FakeSkinFolder folder;
    load(folder);
    const SkinImage first = skinPart(22, 0, 0, 0, 0, 0);
    const SkinImage second = skinPart(22, 0, 0, 0, 0, 0);
    ASSERT_TRUE(first.isCacheSheet());
    EXPECT_EQ(&first.image(), &second.image());

    // What the caller takes away may be painted on; the cache stays as it was.
    QImage taken = first.toImage();
    taken.fill(Qt::white);
    EXPECT_EQ(second.image().pixel(3, 4),
              fakePixel(sheetIndexOf("Mouse_Settings_Normal.bmp"), 3, 4));
}

TEST_F(SkinCacheTest, MissingMainOverSheetFailsTheFirstOverPieceOfTheMainWindow) {
    FakeSkinFolder folder;
    folder.remove("Main_Over.bmp");
    load(folder);
    EXPECT_FALSE(skinPart(5, 0, 0, 0, 8, 8).isNull());
    EXPECT_FALSE(skinPart(5, 2, 0, 0, 8, 8).isNull());
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(skinPart(5, 1, 0, 0, 8, 8).isNull());
    EXPECT_EQ(failures, 1);
}

TEST_F(SkinCacheTest, SensorDisableSheetSpelledTheUsualWayMakesDisabledSensorPiecesFail) {
    FakeSkinFolder folder;
    folder.rename("Sensor_Performance_Disabel.bmp", "Sensor_Performance_Disable.bmp");
    load(folder);
    EXPECT_FALSE(skinPart(50, 0, 0, 0, 0, 0).isNull());
    EXPECT_FALSE(skinPart(60, 2, 0, 0, 8, 8).isNull());
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(skinPart(51, 3, 0, 0, 8, 8).isNull());
    EXPECT_TRUE(skinPart(81, 3, 0, 0, 8, 8).isNull());
    EXPECT_EQ(failures, 2);
}

TEST_F(SkinCacheTest, WholeSheetsThatDidNotLoadAnswerNoneQuietly) {
    FakeSkinFolder folder;
    folder.remove("Mouse_Settings_Normal.bmp");
    folder.remove("Orvane.png");
    folder.damage("Support_Normal.bmp");
    load(folder);
    EXPECT_TRUE(skinPart(22, 0, 0, 0, 0, 0).isNull());
    EXPECT_TRUE(skinPart(129, 0, 0, 0, 0, 0).isNull());
    EXPECT_TRUE(skinPart(142, 0, 0, 0, 0, 0).isNull());
    EXPECT_EQ(failures, 0);
    // A piece of the damaged sheet is a failure, though.
    EXPECT_TRUE(skinPart(143, 0, 0, 0, 8, 8).isNull());
    EXPECT_EQ(failures, 1);
}

TEST_F(SkinCacheTest, RectanglesThatDoNotLieInsideTheSheetCutNothing) {
    FakeSkinFolder folder;
    load(folder);
    const int w = test::kFakeSheetWidth, h = test::kFakeSheetHeight;
    EXPECT_TRUE(skinPart(1, 0, 10, 10, 10, 20).isNull());  // no width
    EXPECT_TRUE(skinPart(1, 0, 10, 20, 30, 10).isNull());  // upside down
    EXPECT_TRUE(skinPart(1, 0, -1, 0, 8, 8).isNull());
    EXPECT_TRUE(skinPart(1, 0, w - 8, h - 8, w + 1, h).isNull());
    EXPECT_TRUE(skinPart(1, 0, 0, 0, 8, h + 1).isNull());
    EXPECT_EQ(failures, 0);
    // The whole sheet is the largest piece there is.
    EXPECT_EQ(skinPart(1, 0, 0, 0, w, h).image().size(), QSize(w, h));
}

TEST_F(SkinCacheTest, RectangleOverloadTakesPositionAndSize) {
    FakeSkinFolder folder;
    load(folder);
    const SkinImage piece = skinPart(24, 2, QRect(7, 9, 12, 5));
    ASSERT_FALSE(piece.isNull());
    EXPECT_EQ(piece.image().size(), QSize(12, 5));
    EXPECT_EQ(piece.image().pixel(0, 0), fakePixel(sheetIndexOf("Mouse_Settings_Down.bmp"), 7, 9));
}

TEST_F(SkinCacheTest, SheetsLoadOncePerProcess) {
    FakeSkinFolder first;
    FakeSkinFolder second;
    second.remove("Mouse_Settings_Normal.bmp");
    loadSkinSheetsFrom(first.path());
    loadSkinSheetsFrom(second.path());
    loadSkinSheets();
    EXPECT_FALSE(skinPart(22, 0, 0, 0, 0, 0).isNull());
}

TEST_F(SkinCacheTest, DefaultHandlerTellsTheUserOnceAndAsksToQuit) {
    setSkinFailureHandler({});
    const QString savedName = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("Skin Test"));
    FakeSkinFolder folder;
    load(folder);

    int boxes = 0;
    QString text, caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QTimer closer;
    closer.setInterval(10);
    QObject::connect(&closer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            ++boxes;
            text = box->text();
            caption = box->windowTitle();
            icon = box->icon();
            box->accept();
        }
    });
    closer.start();
    EXPECT_TRUE(skinPart(23, 0, 0, 0, 0, 0).isNull());
    EXPECT_TRUE(skinPart(62, 0, 0, 0, 0, 0).isNull());
    closer.stop();

    EXPECT_EQ(boxes, 1);
    EXPECT_EQ(text, QStringLiteral("ui load failed!"));
    EXPECT_EQ(caption, QStringLiteral("Skin Test"));
    EXPECT_EQ(icon, QMessageBox::Warning);
    QCoreApplication::setApplicationName(savedName);
    // The quit request is queued; with no event loop running it is dropped.
    QCoreApplication::processEvents();
}

std::size_t openDescriptors() {
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator("/proc/self/fd")) {
        ++count;
    }
    return count;
}

TEST(LoadPicture, DamagedOrMissingFileAnswersNoneAndLeavesNoFileOpen) {
    FakeSkinFolder folder;
    folder.damage("Main_Normal.bmp");
    const std::size_t before = openDescriptors();
    EXPECT_TRUE(loadPicture(folder.filePath("Main_Normal.bmp")).isNull());
    EXPECT_TRUE(loadPicture(folder.filePath("NoSuchPicture.png")).isNull());
    EXPECT_EQ(openDescriptors(), before);
}

// Pieces of sheets that are never needed whole are read from the file; they
// must be the very pixels the decoder gives, also where the rows of the file
// carry padding (a width that is no multiple of four) and at the edges.
TEST_F(SkinCacheTest, PiecesReadFromTheFileAreThePixelsOfTheDecodedSheet) {
    FakeSkinFolder folder;
    QImage odd(97, 41, QImage::Format_RGB32);
    for (int y = 0; y < odd.height(); ++y) {
        for (int x = 0; x < odd.width(); ++x) {
            odd.setPixel(x, y, qRgb((x * 7 + y) & 0xff, (y * 13) & 0xff, (x * y) & 0xff));
        }
    }
    ASSERT_TRUE(odd.save(folder.filePath("Main_Over.bmp"), "BMP"));
    load(folder);
    const QImage decoded = loadPicture(folder.filePath("Main_Over.bmp"));
    ASSERT_EQ(decoded.size(), odd.size());
    const std::size_t before = openDescriptors();
    for (const QRect& rect : {QRect(0, 0, 97, 41), QRect(96, 40, 1, 1), QRect(3, 5, 17, 9),
                              QRect(80, 0, 17, 41), QRect(0, 30, 33, 11)}) {
        const SkinImage piece = skinPart(1, 1, rect);
        ASSERT_FALSE(piece.isNull()) << rect.x() << "," << rect.y();
        EXPECT_EQ(piece.image().convertToFormat(QImage::Format_RGB32),
                  decoded.copy(rect).convertToFormat(QImage::Format_RGB32))
            << rect.x() << "," << rect.y() << " " << rect.width() << "x" << rect.height();
    }
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(failures, 0);
}

// A control's looks are cut when first drawn: a look it never takes costs
// nothing, and what it shows is what the file holds at that moment. The
// request itself is still checked when the look is handed out.
TEST_F(SkinCacheTest, LooksHandedOutForLaterAreCutWhenFirstDrawn) {
    FakeSkinFolder folder;
    load(folder);
    const SkinImage later = skinPartWhenDrawn(24, 1, QRect(2, 3, 10, 6));
    const SkinImage copyOfIt = later;
    QImage repainted(test::kFakeSheetWidth, test::kFakeSheetHeight, QImage::Format_RGB32);
    repainted.fill(qRgb(1, 2, 3));
    ASSERT_TRUE(repainted.save(folder.filePath("Mouse_Settings_Over.bmp"), "BMP"));

    EXPECT_EQ(later.image().size(), QSize(10, 6));
    EXPECT_EQ(later.image().pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(&copyOfIt.image(), &later.image());  // cut once for every copy
    EXPECT_EQ(failures, 0);

    EXPECT_TRUE(skinPartWhenDrawn(23, 0, QRect(0, 0, 8, 8)).isNull());
    EXPECT_EQ(failures, 1);
    folder.remove("Support_Over.bmp");
    resetSkinCacheForTests();
    load(folder);
    const SkinImage ofAMissingSheet = skinPartWhenDrawn(143, 1, QRect(0, 0, 8, 8));
    EXPECT_EQ(failures, 2);
    EXPECT_TRUE(ofAMissingSheet.isNull());
}

// A sheet decoded whole from its file is the picture the general decoder
// gives, whichever way up its rows are stored.
TEST_F(SkinCacheTest, WholeSheetsReadFromTheFileAreThePixelsOfTheDecoder) {
    FakeSkinFolder folder;
    QImage odd(97, 41, QImage::Format_RGB32);
    for (int y = 0; y < odd.height(); ++y) {
        for (int x = 0; x < odd.width(); ++x) {
            odd.setPixel(x, y, qRgb((x * 5 + y) & 0xff, (y * 11) & 0xff, (x ^ y) & 0xff));
        }
    }
    ASSERT_TRUE(odd.save(folder.filePath("Mouse_Settings_Normal.bmp"), "BMP"));
    ASSERT_TRUE(odd.save(folder.filePath("Main_Normal.bmp"), "BMP"));
    load(folder);
    const QImage decoded = loadPicture(folder.filePath("Main_Normal.bmp"));
    EXPECT_EQ(skinPart(22, 0, 0, 0, 0, 0).image().convertToFormat(QImage::Format_RGB32),
              decoded.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(skinPart(0, 0, 0, 0, 0, 0).image().convertToFormat(QImage::Format_RGB32),
              decoded.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(skinPart(22, 0, 0, 0, 0, 0).size(), QSize(97, 41));
}

// The first window's backgrounds may be decoded on their own thread before
// the cache is loaded; what the window gets is still the file's picture, and
// a prefetch of another folder is not taken.
TEST_F(SkinCacheTest, PrefetchedBackgroundsAreTheFilesPicturesAndOnlyThose) {
    FakeSkinFolder folder;
    FakeSkinFolder other;
    QImage plain(test::kFakeSheetWidth, test::kFakeSheetHeight, QImage::Format_RGB32);
    plain.fill(qRgb(9, 8, 7));
    ASSERT_TRUE(plain.save(other.filePath("Main_Normal.bmp"), "BMP"));
    prefetchMainWindowSheets(other.path());
    prefetchMainWindowSheets(folder.path());
    load(folder);
    const QImage expected = loadPicture(folder.filePath("Main_Normal.bmp"));
    EXPECT_EQ(skinPart(0, 0, 0, 0, 0, 0).image().convertToFormat(QImage::Format_RGB32),
              expected.convertToFormat(QImage::Format_RGB32));
    EXPECT_EQ(skinPart(22, 0, 0, 0, 0, 0).image().pixel(3, 4),
              fakePixel(sheetIndexOf("Mouse_Settings_Normal.bmp"), 3, 4));

    resetSkinCacheForTests();
    prefetchMainWindowSheets(folder.path());
    forgetPrefetchedSheets();
    load(folder);
    EXPECT_EQ(skinPart(0, 0, 0, 0, 0, 0).image().pixel(3, 4), fakePixel(0, 3, 4));
    EXPECT_EQ(failures, 0);
}

// Started with the prefetch, the start-up check runs beside Qt's start; it
// must find what the check on the user-interface thread finds, and a sheet
// that is no file fails it instead of holding the start up.
TEST_F(SkinCacheTest, TheCheckRunAheadFindsWhatTheUsualCheckFinds) {
    FakeSkinFolder folder;
    folder.remove("Main_Over.bmp");
    folder.damage("Support_Normal.bmp");
    folder.remove("Support_Over.bmp");
    ASSERT_EQ(::mkfifo(folder.filePath("Support_Over.bmp").toLocal8Bit().constData(), 0600), 0);
    prefetchMainWindowSheets(folder.path());
    load(folder);
    EXPECT_FALSE(skinPart(5, 0, 0, 0, 8, 8).isNull());
    EXPECT_FALSE(skinPart(129, 0, 0, 0, 0, 0).isNull());  // not a bitmap: checked here
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(skinPart(5, 1, 0, 0, 8, 8).isNull());
    EXPECT_TRUE(skinPart(143, 0, 0, 0, 8, 8).isNull());
    EXPECT_TRUE(skinPart(143, 1, 0, 0, 8, 8).isNull());
    EXPECT_EQ(failures, 3);
}

// The start-up check reads headers only; a sheet cut short must still count
// as not loaded, for its pieces and as a whole.
TEST_F(SkinCacheTest, SheetsCutShortFailTheStartUpCheck) {
    FakeSkinFolder folder;
    for (const char* name : {"Mouse_Settings_Over.bmp", "Mouse_Settings_Normal.bmp"}) {
        const auto path = std::filesystem::path(folder.path().toStdString()) / name;
        auto bytes = test::readBytes(path);
        bytes.resize(bytes.size() - 100);
        test::writeBytes(path, bytes);
    }
    load(folder);
    EXPECT_TRUE(skinPart(22, 0, 0, 0, 0, 0).isNull());
    EXPECT_EQ(failures, 0);
    EXPECT_TRUE(skinPart(24, 1, 0, 0, 8, 8).isNull());
    EXPECT_EQ(failures, 1);
}

class CutShortPicture : public testing::TestWithParam<const char*> {};

TEST_P(CutShortPicture, AnswersNone) {
    FakeSkinFolder folder;
    const std::string name = GetParam();
    const auto path = std::filesystem::path(folder.path().toStdString()) / name;
    auto bytes = test::readBytes(path);
    bytes.resize(bytes.size() / 2);
    test::writeBytes(path, bytes);
    EXPECT_TRUE(loadPicture(folder.filePath(name)).isNull());
}

INSTANTIATE_TEST_SUITE_P(BitmapAndPng, CutShortPicture,
                         testing::Values("Main_Down.bmp", "Color_Settings_BK.png"),
                         [](const testing::TestParamInfo<const char*>& info) {
                             return test::caseName(info.param);
                         });

TEST(LoadPicture, DecodesBitmapsAndPngsAndClosesTheFile) {
    FakeSkinFolder folder;
    const std::size_t before = openDescriptors();
    const QImage bitmap = loadPicture(folder.filePath("Main_Over.bmp"));
    const QImage png = loadPicture(folder.filePath("Orvane.png"));
    EXPECT_EQ(openDescriptors(), before);
    EXPECT_EQ(bitmap.pixel(5, 6), fakePixel(1, 5, 6));
    EXPECT_EQ(png.pixel(5, 6), fakePixel(sheetIndexOf("Orvane.png"), 5, 6));
    EXPECT_TRUE(png.hasAlphaChannel());
}

}  // namespace
}  // namespace orvane
