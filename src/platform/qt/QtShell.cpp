#include "platform/qt/QtShell.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStringList>
#include <QUrl>

namespace orvane {

bool QtShell::openWebPage(const std::string& address) {
    const QUrl url = QUrl::fromUserInput(QString::fromStdString(address));
    return url.isValid() && QDesktopServices::openUrl(url);
}

bool QtShell::startProgram(const std::filesystem::path& program,
                           const std::vector<std::string>& arguments) {
    QStringList list;
    for (const std::string& argument : arguments) {
        list.append(QString::fromStdString(argument));
    }
    return QProcess::startDetached(QString::fromStdString(program.string()), list);
}

}  // namespace orvane
