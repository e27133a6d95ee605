// skin-gen FOLDER: draws every picture of the skin folder into FOLDER.
// skin-gen --texts: lists the words drawn into the sheets, one per line.

#include <QGuiApplication>
#include <QTextStream>

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
    if (args.size() != 2) {
        err << "usage: skin-gen FOLDER | --texts\n";
        return 2;
    }
    const QStringList failed = orvane::skingen::writeSkinFolder(args.at(1));
    for (const QString& name : failed) {
        err << "skin-gen: cannot write " << name << '\n';
    }
    return failed.isEmpty() ? 0 : 1;
}
