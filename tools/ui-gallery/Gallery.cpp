#include "Gallery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace orvane::gallery {

Gallery::Gallery(QString folder) : root(std::move(folder)) {}

void Gallery::save(const QString& name, const QImage& picture, const QString& caption) {
    if (picture.isNull()) {
        problem(QStringLiteral("%1: nothing to write").arg(name));
        return;
    }
    const QString path = QDir(root).filePath(name);
    if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !picture.save(path, "PNG")) {
        problem(QStringLiteral("%1: cannot write %2").arg(name, path));
        return;
    }
    entries.push_back({name, caption});
}

void Gallery::problem(const QString& text) {
    problemList << text;
}

bool Gallery::writeIndex() const {
    QFile file(QDir(root).filePath(QStringLiteral("index.html")));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text)) {
        return false;
    }
    QTextStream out(&file);
    out << "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>UI gallery</title>\n"
           "<style>body{background:#333;color:#ddd;font-family:sans-serif}"
           "figure{display:inline-block;vertical-align:top;margin:8px}"
           "img{border:1px solid #777;image-rendering:pixelated}</style></head><body>\n";
    QString section;
    for (const Entry& entry : entries) {
        const QString folder = entry.name.section(QLatin1Char('/'), 0, 0);
        if (folder != section) {
            section = folder;
            out << "<h2>" << section.toHtmlEscaped() << "</h2>\n";
        }
        out << "<figure><img src=\"" << entry.name.toHtmlEscaped() << "\"><figcaption>"
            << entry.caption.toHtmlEscaped() << "<br><small>" << entry.name.toHtmlEscaped()
            << "</small></figcaption></figure>\n";
    }
    out << "</body></html>\n";
    return out.status() == QTextStream::Ok;
}

}  // namespace orvane::gallery
