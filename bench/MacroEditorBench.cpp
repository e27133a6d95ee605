// Frame time of the macro step editor on a macro of 10 000 steps read from its
// file: each frame moves the scroll bar and paints the editor at once. The
// floor is the frame budget of a 60 Hz screen, a goal rather than a minimum.
// Prints "ROW" lines for bench/bench.py.
#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "controls/CKivScrollCtrl.h"
#include "macros/MacroCollection.h"
#include "pages/macro/CKivMacroCtrl.h"
#include "pages/macro/CMacroSettingsDlg.h"
#include "skins/SkinCache.h"

namespace {

using namespace orvane;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int kSteps = 10'000;
constexpr int kFrames = 600;
constexpr double kFrameBudgetMs = 16.7;

void printRow(const char* name, double figure, const char* how) {
    std::printf("ROW\t%s\t%.2f\t%.1f\tms\t%s\n", name, figure, kFrameBudgetMs, how);
    std::fflush(stdout);
}

// A macro file as a long recording leaves it.
bool writeLongMacro(const std::filesystem::path& folder) {
    MacroCollection macros;
    macros.macroFolder = folder;
    CMacro& macro = macros.addMacro(16, u"Long");
    macro.layoutRect = {0, 0, 199, 197};
    for (int i = 0; i < kSteps; ++i) {
        CEventItem step;
        step.id = static_cast<std::uint32_t>(i + 1);
        step.type = kKeyEvent;
        step.code = static_cast<std::uint16_t>(65 + i % 26);
        step.state = static_cast<std::uint8_t>(i % 2);
        step.delay = static_cast<std::uint32_t>(i % 900);
        step.rowRect = {4, 18 * i + 5, 197, 18 * i + 23};
        macro.events.push_back(step);
    }
    return macros.saveMacroFiles();
}

}  // namespace

int main(int argc, char** argv) {
    // Painting is what is measured; without a display it goes offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    loadSkinSheets();
    QTemporaryDir folder;
    if (!folder.isValid() || !writeLongMacro(folder.path().toStdString())) {
        std::fprintf(stderr, "cannot write the macro file\n");
        return 1;
    }

    PageServices services;
    CMacroSettingsDlg page(services, nullptr);
    page.loadMacros(folder.path().toStdString());
    page.show();
    QApplication::processEvents();

    CKivMacroCtrl& editor = *page.stepEditor();
    CKivScrollCtrl& bar = *editor.scrollBar();
    QWidget& widget = editor;
    std::vector<double> frames;
    frames.reserve(kFrames);
    for (int frame = 0; frame < kFrames; ++frame) {
        // Strides of every length, both ways, and the ends.
        const int position = frame % 2 == 0 ? (frame * 97) % (bar.maximum() + 1)
                                            : bar.maximum() - (frame * 13) % (bar.maximum() + 1);
        const auto start = std::chrono::steady_clock::now();
        bar.setPosition(position);
        widget.repaint();
        frames.push_back(Milliseconds(std::chrono::steady_clock::now() - start).count());
    }
    std::sort(frames.begin(), frames.end());
    const double median = frames[frames.size() / 2];
    const double worst = frames.back();

    printRow("macro editor, 10 000 steps: frame", median,
             "median of 600 scroll-and-paint frames; goal: one 60 Hz frame");
    printRow("macro editor, 10 000 steps: worst frame", worst,
             "slowest of the same 600 frames; goal: one 60 Hz frame");
    return 0;
}
