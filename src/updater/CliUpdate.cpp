#include "updater/CliUpdate.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

#include "Orvane_pro_dll.h"
#include "platform/AppPaths.h"
#include "platform/linux/lockfile/FileUpdateLock.h"
#include "protocol/FirmwareImage.h"
#include "updater/UpdateSession.h"
#include "updater/UpdateTexts.h"

namespace orvane::updater {

namespace {

void say(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
    std::fflush(stream);
}

}  // namespace

int runCliUpdate(const QString& imagePath) {
    QFile file(imagePath);
    if (!file.open(QIODevice::ReadOnly)) {
        say(stderr, imageUnreadableText(imagePath, file.errorString()));
        return 1;
    }
    const qint64 limit = static_cast<qint64>(kFirmwareBlockBytes * kFirmwareMaxBlocks) + 1;
    const QByteArray image = file.read(limit);

    FileUpdateLock lock(FileUpdateLock::defaultFile());
    UpdateSession session(lock);
    QString error;
    if (!session.loadLibrary(QString::fromStdString(currentProgramFolder().string()), error)) {
        say(stderr, libraryMissingText(error));
        return 1;
    }
    QObject::connect(&session, &UpdateSession::reported, [](int status, int value) {
        say(stdout,
            QStringLiteral("%1 %2 %3").arg(status).arg(value).arg(statusText(status, value)));
    });
    QObject::connect(&session, &UpdateSession::finished, [](int status, int) {
        QCoreApplication::exit(status == ORVANE_FW_DONE ? 0 : 1);
    });
    QString why;
    if (!session.start(image, imagePath, why)) {
        say(stderr, image.size() >= limit
                        ? imageRefusedText(FirmwareImageCheck::TooLarge, imagePath, file.size())
                        : why);
        return 1;
    }
    return QCoreApplication::exec();
}

}  // namespace orvane::updater
