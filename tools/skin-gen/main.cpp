// skin-gen FOLDER: draws every picture of the skin folder into FOLDER.

#include <QGuiApplication>
#include <QTextStream>

#include "SkinWriter.h"

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    const QStringList args = app.arguments();
    QTextStream err(stderr);
    if (args.size() != 2) {
        err << "usage: skin-gen FOLDER\n";
        return 2;
    }
    const QStringList failed = orvane::skingen::writeSkinFolder(args.at(1));
    for (const QString& name : failed) {
        err << "skin-gen: cannot write " << name << '\n';
    }
    return failed.isEmpty() ? 0 : 1;
}
