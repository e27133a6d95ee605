// ui-gallery OUTPUT_FOLDER [--skin SKIN_FOLDER]
//
// Renders every skinned control and window offscreen into PNG files, so that
// the looks can be reviewed without a display.

#include <QApplication>
#include <QDir>
#include <QStringList>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "Gallery.h"
#include "Pictures.h"
#include "skins/SkinCache.h"
#include "skins/SkinFolder.h"

namespace {

struct Options {
    QString output;
    QString skin;
};

std::optional<Options> parse(const QStringList& arguments) {
    Options options;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments[i] == QLatin1String("--skin") && i + 1 < arguments.size()) {
            options.skin = arguments[++i];
        } else if (options.output.isEmpty() && !arguments[i].startsWith(QLatin1Char('-'))) {
            options.output = arguments[i];
        } else {
            return std::nullopt;
        }
    }
    if (options.output.isEmpty()) {
        return std::nullopt;
    }
    return options;
}

QString withSlash(QString folder) {
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

}  // namespace

int main(int argc, char** argv) {
    // Nothing here needs a display; the pictures come from grab().
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication app(argc, argv);

    const std::optional<Options> options = parse(QApplication::arguments());
    if (!options) {
        std::fprintf(stderr, "usage: ui-gallery OUTPUT_FOLDER [--skin SKIN_FOLDER]\n");
        return 2;
    }
    const QString skin = withSlash(options->skin.isEmpty() ? orvane::skinFolder() : options->skin);

    // The default handler would tell a user and quit; here a broken skin is
    // what the run reports.
    int skinFailures = 0;
    orvane::setSkinFailureHandler([&skinFailures] { ++skinFailures; });
    orvane::loadSkinSheetsFrom(skin);

    orvane::gallery::Gallery gallery(options->output);
    orvane::gallery::sheetPictures(gallery, skin);
    orvane::gallery::controlPictures(gallery);
    orvane::gallery::menuPictures(gallery);
    orvane::gallery::windowPictures(gallery, skin);
    orvane::gallery::lightingPictures(gallery);
    orvane::gallery::sensorPictures(gallery);
    orvane::gallery::macroPictures(gallery);
    orvane::gallery::shellPictures(gallery);
    orvane::gallery::supportPictures(gallery);
    if (!gallery.writeIndex()) {
        gallery.problem(QStringLiteral("cannot write index.html"));
    }

    std::printf("%d pictures written to %s\n", gallery.pictureCount(),
                qPrintable(QDir(options->output).absolutePath()));
    for (const QString& problem : gallery.problems()) {
        std::fprintf(stderr, "problem: %s\n", qPrintable(problem));
    }
    if (skinFailures > 0) {
        std::fprintf(stderr, "the skin failure handler ran %d time(s) (skin folder %s)\n",
                     skinFailures, qPrintable(skin));
    }
    return skinFailures == 0 && gallery.problems().isEmpty() ? EXIT_SUCCESS : EXIT_FAILURE;
}
