// skin-gen FOLDER: draws every picture of the skin folder into FOLDER.
// skin-gen --texts: lists the words drawn into the sheets, one per line.
// skin-gen --icons FOLDER NAME: draws the application icon as the desktop's
// icon theme wants it, FOLDER/<size>x<size>/apps/NAME.png.

#include <QDir>
#include <QGuiApplication>
#include <QTextStream>

#include "skins/AppIcon.h"

#include "SkinWriter.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() == 2 && args.at(1) == QStringLiteral("--texts")) {
        QTextStream out(stdout);
        for (const QString& line : orvane::skingen::skinTexts()) {
            out << line << '\n';
        }
        return 0;
    }
    if (args.size() == 4 && args.at(1) == QStringLiteral("--icons")) {
        bool written = true;
        for (int size : {16, 24, 32, 48, 64, 128, 256}) {
            const QString folder = QStringLiteral("%1/%2x%2/apps").arg(args.at(2)).arg(size);
            const QString file = QStringLiteral("%1/%2.png").arg(folder, args.at(3));
            if (!QDir().mkpath(folder) || !orvane::drawApplicationIcon(size).save(file)) {
                err << "skin-gen: cannot write " << file << '\n';
                written = false;
            }
        }
        return written ? 0 : 1;
    }
    if (args.size() != 2) {
        err << "usage: skin-gen FOLDER | --texts | --icons FOLDER NAME\n";
        return 2;
    }
    const QStringList failed = orvane::skingen::writeSkinFolder(args.at(1));
    for (const QString& name : failed) {
        err << "skin-gen: cannot write " << name << '\n';
    }
    return failed.isEmpty() ? 0 : 1;
}
