#include "updater/UpdateSession.h"

#include <QDir>
#include <QMetaObject>
#include <QPointer>
#include <atomic>
#include <span>
#include <string>

#include "platform/UpdateLock.h"
#include "platform/qt/SharedLibraryLoader.h"
#include "protocol/FirmwareImage.h"
#include "updater/UpdateTexts.h"
#include "version/Version.h"

namespace orvane::updater {

namespace {

std::atomic<UpdateSession*> progressReceiver{nullptr};

}  // namespace

UpdateSession::UpdateSession(UpdateLock& updateLock, QObject* parent)
    : QObject(parent), lock(updateLock) {}

UpdateSession::~UpdateSession() {
    UpdateSession* self = this;
    progressReceiver.compare_exchange_strong(self, nullptr);
    lock.release();
}

bool UpdateSession::loadLibrary(const QString& programFolder, QString& error) {
    const QDir here(programFolder);
    // Beside the program; the application's folder in a build tree or a
    // portable install; lib/ of a packaged install (lib/orvane/<folder>/).
    const QStringList folders = {programFolder, here.filePath(QStringLiteral("..")),
                                 here.filePath(QStringLiteral("../..")),
                                 here.filePath(QStringLiteral("../lib"))};
    if (!loadSharedLibrary(library, QStringLiteral("Orvane_pro_dll"), kLibraryAbiVersion, folders,
                           error)) {
        return false;
    }
    FirmwareEntryPoints points;
    points.registerProgress = reinterpret_cast<decltype(points.registerProgress)>(
        library.resolve("Firmware_update_progress"));
    points.update = reinterpret_cast<decltype(points.update)>(library.resolve("Update_firmware"));
    points.open = reinterpret_cast<decltype(points.open)>(library.resolve("Open_x2_device"));
    points.version = reinterpret_cast<decltype(points.version)>(library.resolve("Get_fw_version"));
    if (!points.complete()) {
        error = QStringLiteral("The device-control library \"%1\" lacks the firmware update.")
                    .arg(library.fileName());
        return false;
    }
    entries = points;
    return true;
}

std::optional<int> UpdateSession::mouseFirmware() {
    std::string ignored;
    if (!ready() || currentPhase == Phase::Running || !lock.acquire(ignored)) {
        return std::nullopt;
    }
    std::optional<int> firmware;
    std::uint16_t version = 0;
    if (entries.open() == 1 && entries.version(&version) == 1) {
        firmware = version;
    }
    lock.release();
    return firmware;
}

bool UpdateSession::start(const QByteArray& image, const QString& imageName, QString& why) {
    if (currentPhase == Phase::Running) {
        return false;
    }
    if (!ready()) {
        why = libraryMissingText(QStringLiteral("The device-control library is missing."));
        return false;
    }
    const auto bytes = std::span(reinterpret_cast<const std::uint8_t*>(image.constData()),
                                 static_cast<std::size_t>(image.size()));
    // The library would take an image of any tag and cut an oversized one
    // off with a bare status; the user is owed the reason before anything
    // reaches the mouse.
    if (const FirmwareImageCheck check = checkFirmwareImage(bytes);
        check != FirmwareImageCheck::Fits) {
        why = imageRefusedText(check, imageName, image.size());
        return false;
    }
    std::string busy;
    if (!lock.acquire(busy)) {
        why = anotherUpdateText(QString::fromStdString(busy));
        return false;
    }
    progressReceiver = this;
    entries.registerProgress(&UpdateSession::progressCallback);
    currentPhase = Phase::Running;
    status = ORVANE_FW_PROGRESS;
    value = 0;
    entries.update(static_cast<std::int32_t>(image.size()), bytes.data());
    return true;
}

void ORVANE_STDCALL UpdateSession::progressCallback(std::uint8_t* status, std::int32_t* value) {
    UpdateSession* receiver = progressReceiver.load();
    if (receiver == nullptr || status == nullptr || value == nullptr) {
        return;
    }
    const int reportedStatus = *status;
    const int reportedValue = *value;
    QPointer<UpdateSession> guard(receiver);
    QMetaObject::invokeMethod(
        receiver,
        [guard, reportedStatus, reportedValue] {
            if (guard) {
                guard->deliver(reportedStatus, reportedValue);
            }
        },
        Qt::QueuedConnection);
}

void UpdateSession::deliver(int reportedStatus, int reportedValue) {
    if (currentPhase != Phase::Running) {
        return;
    }
    status = reportedStatus;
    value = reportedValue;
    const bool final = isFinalStatus(reportedStatus);
    if (final) {
        currentPhase = reportedStatus == ORVANE_FW_DONE ? Phase::Done : Phase::Failed;
        // The application may follow the mouse again from here on.
        lock.release();
    }
    emit reported(reportedStatus, reportedValue);
    if (final) {
        emit finished(reportedStatus, reportedValue);
    }
}

}  // namespace orvane::updater
