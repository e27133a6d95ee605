// The firmware-update program: started by the configuration application with
// "1" (an update is due) or "2" (the mouse is up to date), or from a script
// with "--cli IMAGE".
#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <cstring>

#include "platform/AppPaths.h"
#include "platform/UpdateFolder.h"
#include "platform/linux/lockfile/FileUpdateLock.h"
#include "protocol/FirmwareImage.h"
#include "updater/CUpdaterDlg.h"
#include "updater/CliUpdate.h"
#include "updater/UpdateSession.h"
#include "updater/UpdateTexts.h"
#include "version/Version.h"

namespace {

using namespace orvane;
using namespace orvane::updater;

constexpr const char* kUsage =
    "usage: %s [1|2]\n"
    "       %s --cli IMAGE\n"
    "Writes the firmware in this program's folder (or IMAGE) into the ORVANE PRO mouse.\n"
    "  1            the window offers an update that is due\n"
    "  2            the window says the mouse is up to date and offers to write it again\n"
    "  --cli IMAGE  no window: progress on standard output, exit status 0 only when done\n";

QString versionOrEmpty(std::optional<int> value) {
    return value ? QString::fromStdString(firmwareVersionText(static_cast<unsigned>(*value)))
                 : QString();
}

// The version the update folder's firmware brings: what Config.ini states,
// else what the image itself carries.
std::optional<int> newFirmwareVersion(const std::filesystem::path& folder) {
    const int configured = readConfiguredFirmwareVersion(folder / kUpdateConfigName);
    if (configured != kUpdateVersionWhenUnknown) {
        return configured;
    }
    QFile file(QString::fromStdString((folder / kFirmwareImageName).string()));
    if (file.open(QIODevice::ReadOnly)) {
        const QByteArray head = file.read(static_cast<qint64>(kFirmwareVersionOffset + 2));
        if (const auto version = firmwareVersionOfImage(
                std::span(reinterpret_cast<const std::uint8_t*>(head.constData()),
                          static_cast<std::size_t>(head.size())))) {
            return firmwareVersionValueOf(*version);
        }
    }
    return std::nullopt;
}

int runWindow(int argc, char** argv, const char* argument) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(texts::kTitle));
    QApplication::setApplicationVersion(QString::fromLatin1(kSoftwareVersionText));

    const std::filesystem::path folder = currentProgramFolder();
    FileUpdateLock lock(FileUpdateLock::defaultFile());
    UpdateSession session(lock);
    QString error;
    const bool loaded = session.loadLibrary(QString::fromStdString(folder.string()), error);
    std::optional<int> mouse;
    if (loaded) {
        mouse = session.mouseFirmware();
    }
    const std::optional<int> brought = newFirmwareVersion(folder);

    CUpdaterDlg window(session, folder / kFirmwareImageName);
    CUpdaterDlg::Start start = CUpdaterDlg::Start::UpToDate;
    if (std::strcmp(argument, "1") == 0) {
        start = CUpdaterDlg::Start::UpdateDue;
    } else if (std::strcmp(argument, "2") != 0 && mouse &&
               firmwareUpdateDue(*mouse, brought.value_or(kUpdateVersionWhenUnknown))) {
        // Started by hand: the program judges as the application would.
        start = CUpdaterDlg::Start::UpdateDue;
    }
    window.showStart(start, versionOrEmpty(mouse), versionOrEmpty(brought));
    if (!loaded) {
        window.showRefusal(libraryMissingText(error));
    }
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(kUsage, argv[0], argv[0]);
        return 0;
    }
    if (argc >= 2 && std::strcmp(argv[1], "--cli") == 0) {
        if (argc != 3) {
            std::fprintf(stderr, kUsage, argv[0], argv[0]);
            return 2;
        }
        QCoreApplication application(argc, argv);
        return runCliUpdate(QString::fromLocal8Bit(argv[2]));
    }
    if (argc > 2) {
        std::fprintf(stderr, kUsage, argv[0], argv[0]);
        return 2;
    }
    return runWindow(argc, argv, argc == 2 ? argv[1] : "");
}
