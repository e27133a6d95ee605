// Draws every pop-up and the rename dialog from a skin folder into PNG files,
// for looking at a skin by eye:  orvane_dialog_snapshots SKIN_FOLDER OUT_FOLDER
#include <QApplication>
#include <QDir>
#include <QImage>
#include <QTest>
#include <cstdio>

#include "controls/CKivButton.h"
#include "controls/CKivStatic.h"
#include "controls/CPopDlg.h"
#include "controls/CRenameDlg.h"
#include "platform/FakeKeyboardHook.h"
#include "skins/SkinCache.h"
#include "skins/SkinLayout.h"

using namespace orvane;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s SKIN_FOLDER OUT_FOLDER\n", argv[0]);
        return 2;
    }
    const QString skins = QString::fromLocal8Bit(argv[1]) + QLatin1Char('/');
    const QDir out(QString::fromLocal8Bit(argv[2]));
    int failures = 0;
    setSkinFailureHandler([&] { ++failures; });
    loadSkinSheetsFrom(skins);

    FakeKeyboardHook hook;
    const auto save = [&](QWidget& widget, const QString& name) {
        widget.show();
        QCoreApplication::processEvents();
        widget.grab().save(out.filePath(name));
    };
    for (int variant : {167, 171, 175, 179, 185, 188, 192, 196}) {
        CPopDlg dialog(variant);
        dialog.setPictureFolder(skins);
        dialog.setKeyboardHook(&hook);
        dialog.setMessageBox([](QWidget*, const QString& text) {
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        });
        dialog.setCountdownTiming(std::chrono::milliseconds(20), std::chrono::hours(1));
        save(dialog, QStringLiteral("popup-%1.png").arg(variant));
        if (variant == layout::popup::kAssignKey) {
            hook.press(160);
            hook.press(65);
            save(dialog, QStringLiteral("popup-%1-key.png").arg(variant));
        }
        if (variant == layout::popup::kSurfaceAnalysisRun) {
            (void)QTest::qWaitFor(
                [&] { return dialog.timeField()->text() == QStringLiteral("7"); });
            save(dialog, QStringLiteral("popup-%1-7.png").arg(variant));
        }
    }
    CRenameDlg rename(1, nullptr, QStringLiteral("Profile"));
    save(rename, QStringLiteral("rename.png"));
    std::fprintf(stderr, "skin failures: %d\n", failures);
    return failures == 0 ? 0 : 1;
}
