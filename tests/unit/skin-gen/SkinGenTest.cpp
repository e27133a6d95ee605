#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QString>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "skins/SkinLayout.h"
#include "support/TempDir.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;
namespace ly = layout;
using ly::Rect;

struct ExpectedFile {
    std::string name;
    ly::Size size;
};

std::vector<ExpectedFile> expectedFiles() {
    std::vector<ExpectedFile> files;
    auto set = [&](const std::string& base, ly::Size size, std::vector<std::string> states) {
        for (const std::string& state : states) {
            files.push_back({base + "_" + state + ".bmp", size});
        }
    };
    const std::vector<std::string> four = {"Normal", "Over", "Down", "Disable"};
    const std::vector<std::string> three = {"Normal", "Over", "Down"};
    set("Main", ly::mainwindow::kSize, four);
    set("Mouse_Settings", ly::kPageSize, four);
    set("Sensor_Performance", ly::kPageSize, {"Normal", "Over", "Down", "Disabel"});
    files.push_back({"Color_Settings_BK.png", ly::kPageSize});
    set("Color_Settings", ly::kPageSize, four);
    files.push_back({"Macro_Settings_BK.bmp", ly::kPageSize});
    set("Macro_Settings", ly::kPageSize, four);
    set("Support", ly::kPageSize, four);
    files.push_back({"Color_slider.png", ly::singles::kColorSliderThumb});
    files.push_back({"Slider_Normal.png", ly::singles::kSliderThumb});
    files.push_back({"Slider_Disable.png", ly::singles::kSliderThumb});
    for (int k = 1; k <= 5; ++k) {
        files.push_back({"Slider" + std::to_string(k) + "_Over.png", ly::singles::kSliderThumb});
    }
    files.push_back({"ColorPanel.bmp", ly::singles::kColorPanel});
    files.push_back({"ColorPalete.png", ly::singles::kColorPalette});
    files.push_back({"Orvane.png", ly::singles::kMousePicture});
    set("ReName", ly::rename::kSize, four);
    set("Scroll", ly::scrollbar::kSheet, three);
    for (const char* popup : {"LeftClickWarn", "DeleteMacro", "SensorSQAT1", "SensorSQAT2",
                              "SensorSQAT3", "ResetWarn", "UpdateWarn"}) {
        set(popup, ly::popup::kSize, three);
    }
    set("AssignKey", ly::popup::kSize, four);
    for (int level = 0; level <= 100; level += 10) {
        files.push_back({std::to_string(level) + ".bmp", ly::sensorpage::kSurfacePictureSize});
    }
    for (int k = 1; k <= 3; ++k) {
        files.push_back({"TQA2-" + std::to_string(k) + ".bmp", ly::singles::kMoveMouseFrame});
    }
    return files;
}

bool runGenerator(const fs::path& folder) {
    const std::string command = std::string("QT_QPA_PLATFORM=offscreen '") + SKIN_GEN_PROGRAM +
                                "' '" + folder.string() + "' 2>/dev/null";
    return std::system(command.c_str()) == 0;
}

QByteArray fileBytes(const fs::path& path) {
    QFile file(QString::fromStdString(path.string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The generator runs once for the whole suite.
class SkinFolder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        folder = new test::TempDir;
        ASSERT_TRUE(runGenerator(folder->path()));
    }
    static void TearDownTestSuite() { delete folder; }
    static QImage load(const std::string& name) {
        return QImage(QString::fromStdString((folder->path() / name).string()));
    }
    static inline test::TempDir* folder = nullptr;
};

TEST_F(SkinFolder, HoldsExactlyTheExpectedFilesInTheirSizesAndFormats) {
    const std::vector<ExpectedFile> files = expectedFiles();
    for (const ExpectedFile& f : files) {
        SCOPED_TRACE(f.name);
        const fs::path path = folder->path() / f.name;
        ASSERT_TRUE(fs::exists(path));
        QImageReader reader(QString::fromStdString(path.string()));
        EXPECT_EQ(reader.format().toStdString(), f.name.substr(f.name.rfind('.') + 1));
        EXPECT_EQ(reader.size(), QSize(f.size.w, f.size.h));
    }
    std::size_t count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder->path())) {
        ++count;
    }
    EXPECT_EQ(count, files.size());
}

TEST_F(SkinFolder, IsTheSameByteForByteOnEveryRun) {
    test::TempDir again;
    ASSERT_TRUE(runGenerator(again.path()));
    for (const ExpectedFile& f : expectedFiles()) {
        const QByteArray bytes = fileBytes(folder->path() / f.name);
        EXPECT_FALSE(bytes.isEmpty()) << f.name;
        EXPECT_TRUE(bytes == fileBytes(again.path() / f.name)) << f.name;
    }
}

// The words drawn into a sheet, as the generator lists them.
QStringList sheetTexts(const QString& sheet) {
    const std::string command =
        std::string("QT_QPA_PLATFORM=offscreen '") + SKIN_GEN_PROGRAM + "' --texts 2>/dev/null";
    QStringList texts;
    FILE* pipe = ::popen(command.c_str(), "r");
    if (pipe == nullptr) {
        return texts;
    }
    char line[1024];
    while (std::fgets(line, sizeof line, pipe) != nullptr) {
        const QString text = QString::fromUtf8(line).trimmed();
        if (text.startsWith(sheet + '\t')) {
            texts << text.mid(sheet.size() + 1);
        }
    }
    ::pclose(pipe);
    return texts;
}

TEST(SkinTexts, RenameDialogSaysWhenTheNameIsReallySaved) {
    const QStringList texts = sheetTexts(QStringLiteral("ReName"));
    ASSERT_FALSE(texts.isEmpty());
    const QString all = texts.join('\n');
    // Renaming changes the record only; the file follows at a save.
    EXPECT_FALSE(all.contains(QStringLiteral("is saved"))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("\"Apply\""))) << all.toStdString();
    EXPECT_TRUE(all.contains(QStringLiteral("\"Save current settings\""))) << all.toStdString();
}

TEST_F(SkinFolder, MousePictureIsClearInTheLitZonesAndAroundTheBody) {
    const QImage mouse = load("Orvane.png");
    ASSERT_FALSE(mouse.isNull());
    ASSERT_TRUE(mouse.hasAlphaChannel());
    for (const Rect zone :
         {ly::lightingpage::kPreviewWheelZone, ly::lightingpage::kPreviewLogoZone}) {
        for (int y = zone.y; y < zone.bottom(); ++y) {
            for (int x = zone.x; x < zone.right(); ++x) {
                ASSERT_EQ(qAlpha(mouse.pixel(x, y)), 0) << x << "," << y;
            }
        }
    }
    // Body: between the zones and on both flanks.
    for (const QPoint body :
         {QPoint(130, 220), QPoint(70, 260), QPoint(190, 260), QPoint(130, 60)}) {
        EXPECT_EQ(qAlpha(mouse.pixel(body)), 255) << body.x() << "," << body.y();
    }
    for (const QPoint outside : {QPoint(0, 0), QPoint(269, 0), QPoint(0, 368), QPoint(269, 368)}) {
        EXPECT_EQ(qAlpha(mouse.pixel(outside)), 0) << outside.x() << "," << outside.y();
    }
}

// A set of state sheets and the rectangles where its controls are drawn.
struct StateSet {
    std::string name;
    std::vector<std::string> states;  // the first is the one the others differ from
    std::vector<Rect> controls;
    // False for a page's own background, which shows the always-shown
    // controls exactly as the Normal sheet does.
    bool everyControlChanges = true;
};

std::ostream& operator<<(std::ostream& out, const StateSet& s) {
    return out << s.name;
}

std::vector<Rect> popupControls(int variant) {
    const auto b = ly::popup::popupButtons(variant);
    std::vector<Rect> rects = {b.ok, b.close};
    if (b.hasCancel) {
        rects.push_back(b.cancel);
    }
    return rects;
}

std::vector<StateSet> stateSets() {
    std::vector<StateSet> sets;
    const std::vector<std::string> four = {"Normal", "Over", "Down", "Disable"};
    const std::vector<std::string> three = {"Normal", "Over", "Down"};
    {
        namespace mw = ly::mainwindow;
        StateSet s{
            "Main", four, {mw::kResetButton, mw::kOkButton, mw::kApplyButton, mw::kCloseButton}};
        for (int i = 0; i < 5; ++i) {
            s.controls.insert(s.controls.end(),
                              {mw::kPageButtons[i], mw::kProfileButtons[i], mw::kMenuButtons[i]});
        }
        sets.push_back(s);
    }
    {
        namespace mp = ly::mousepage;
        StateSet s{"Mouse_Settings",
                   four,
                   {mp::kDoubleClickSlider, mp::kScrollSpeedSlider, mp::kAccelerationSlider,
                    mp::kAccelerationEnableBox}};
        for (int i = 0; i < mp::kFunctionButtonCount; ++i) {
            s.controls.push_back(mp::functionButton(i));
        }
        s.controls.insert(s.controls.end(), std::begin(mp::kReportRateBoxes),
                          std::end(mp::kReportRateBoxes));
        sets.push_back(s);
    }
    {
        namespace sp = ly::sensorpage;
        StateSet s{"Sensor_Performance",
                   {"Normal", "Over", "Down", "Disabel"},
                   {sp::kDpiStepsSelector, sp::kResolutionSlider, sp::kPointSpeedSlider,
                    sp::kLodToggle, sp::kAngleSnapToggle, sp::kRippleControlToggle, sp::kQualityBar,
                    sp::kAnalyzeSurfaceButton}};
        for (int i = 0; i < 5; ++i) {
            s.controls.insert(s.controls.end(), {sp::kLevelButtons[i], sp::kLevelFields[i]});
        }
        sets.push_back(s);
    }
    {
        namespace lp = ly::lightingpage;
        StateSet s{
            "Color_Settings",
            four,
            {lp::kBrightnessSlider, lp::kSolidColorButton, lp::kColorShiftButton, lp::kSelectButton,
             lp::kScrollWheelBox, lp::kWheelTargetButton, lp::kLogoTypeBox, lp::kLogoTargetButton,
             lp::kZoneLabels[0], lp::kZoneLabels[1], lp::kRedEdit, lp::kGreenEdit, lp::kBlueEdit,
             lp::kHexEdit, lp::kColorButtons[0], lp::kColorButtons[1]}};
        s.controls.insert(s.controls.end(), std::begin(lp::kEffectButtons),
                          std::end(lp::kEffectButtons));
        sets.push_back(s);
        // The page's own background differs from its Normal sheet only where
        // controls that are not always shown sit.
        sets.push_back({"Color_Settings_BK", {"BK.png", "Normal"}, s.controls, false});
    }
    {
        namespace mc = ly::macropage;
        StateSet s{
            "Macro_Settings",
            four,
            {mc::kMacroList, mc::kEventEditor, mc::kNewMacroButton, mc::kDeleteButton,
             mc::kRecordDelayBox, mc::kRecordHoldBox, mc::kRecordButton, mc::kStopRecordFace}};
        sets.push_back(s);
        sets.push_back({"Macro_Settings_BK", {"BK.bmp", "Normal"}, s.controls, false});
    }
    {
        namespace su = ly::supportpage;
        sets.push_back({"Support",
                        four,
                        {su::kOnlineSupportButton, su::kCheckUpdatesButton, su::kFaqButton,
                         su::kCheckFirmwareButton}});
    }
    namespace pp = ly::popup;
    const std::pair<const char*, int> popups[] = {{"LeftClickWarn", pp::kLeftClickWarn},
                                                  {"DeleteMacro", pp::kDeleteMacro},
                                                  {"SensorSQAT1", pp::kSurfaceAnalysisStart},
                                                  {"SensorSQAT2", pp::kSurfaceAnalysisRun},
                                                  {"SensorSQAT3", pp::kSurfaceAnalysisDone},
                                                  {"ResetWarn", pp::kResetWarn},
                                                  {"UpdateWarn", pp::kUpdateWarn}};
    for (const auto& [name, variant] : popups) {
        sets.push_back({name, three, popupControls(variant)});
    }
    sets.push_back({"AssignKey", four, popupControls(pp::kAssignKey)});
    namespace rn = ly::rename;
    sets.push_back(
        {"ReName", four, {rn::kOkButton, rn::kCancelButton, rn::kCloseButton, rn::kNameField}});
    return sets;
}

class StateSheets : public SkinFolder, public ::testing::WithParamInterface<StateSet> {
  protected:
    static QImage sheet(const StateSet& set, const std::string& state) {
        const std::string base = set.name.substr(0, set.name.rfind("_BK"));
        const bool whole = state.find('.') != std::string::npos;
        return load(base + "_" + state + (whole ? "" : ".bmp"))
            .convertToFormat(QImage::Format_RGB32);
    }
};

// A misplaced control changes pixels outside its rectangle and leaves its own
// rectangle the same in every state.
TEST_P(StateSheets, ChangeWithTheStateExactlyWhereTheirControlsAre) {
    const StateSet& set = GetParam();
    const QImage base = sheet(set, set.states.front());
    ASSERT_FALSE(base.isNull());
    std::vector<bool> changed(set.controls.size(), false);
    for (std::size_t s = 1; s < set.states.size(); ++s) {
        const QImage other = sheet(set, set.states[s]);
        ASSERT_EQ(other.size(), base.size()) << set.states[s];
        for (int y = 0; y < base.height(); ++y) {
            const QRgb* a = reinterpret_cast<const QRgb*>(base.constScanLine(y));
            const QRgb* b = reinterpret_cast<const QRgb*>(other.constScanLine(y));
            for (int x = 0; x < base.width(); ++x) {
                if (a[x] == b[x]) {
                    continue;
                }
                bool inside = false;
                for (std::size_t c = 0; c < set.controls.size(); ++c) {
                    if (set.controls[c].contains(x, y)) {
                        inside = changed[c] = true;
                    }
                }
                ASSERT_TRUE(inside)
                    << set.states[s] << " differs outside the controls at " << x << "," << y;
            }
        }
    }
    if (set.everyControlChanges) {
        for (std::size_t c = 0; c < set.controls.size(); ++c) {
            EXPECT_TRUE(changed[c]) << "no state changes the control at " << set.controls[c].x
                                    << "," << set.controls[c].y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EverySet, StateSheets, ::testing::ValuesIn(stateSets()),
                         [](const auto& info) { return info.param.name; });

}  // namespace
}  // namespace orvane
