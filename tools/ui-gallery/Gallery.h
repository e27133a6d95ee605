#pragma once

#include <QImage>
#include <QString>
#include <QStringList>
#include <vector>

namespace orvane::gallery {

// The output folder: every picture written so far, with its caption, for the
// index page and the final tally.
class Gallery {
  public:
    explicit Gallery(QString folder);

    // `name` is relative to the folder ("controls/button-normal.png"). A null
    // picture or a failed write is recorded as a problem, not written.
    void save(const QString& name, const QImage& picture, const QString& caption);
    // Something the pictures cannot show (a control that refused a state).
    void problem(const QString& text);

    bool writeIndex() const;

    int pictureCount() const { return static_cast<int>(entries.size()); }
    const QStringList& problems() const { return problemList; }

  private:
    struct Entry {
        QString name;
        QString caption;
    };

    QString root;
    std::vector<Entry> entries;
    QStringList problemList;
};

}  // namespace orvane::gallery
