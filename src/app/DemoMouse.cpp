#include "app/DemoMouse.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QThread>

#include "emulator/BusSocket.h"

namespace orvane {

namespace {

bool simulatedMouseAnswers(const std::string& socketPath) {
    std::string error;
    return emulator::connectToBus(socketPath, error).valid();
}

}  // namespace

QString startDemoMouse(const QString& programFolder) {
    const std::string socketPath = emulator::defaultSocketPath();
    if (!simulatedMouseAnswers(socketPath)) {
        const QString daemon = QDir(programFolder).filePath(QStringLiteral("orvane-emud"));
        const QString stateFolder =
            QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
            QStringLiteral("/Veltrac/ORVANE PRO Software");
        QDir().mkpath(stateFolder);
        const QStringList arguments = {
            QStringLiteral("--socket"), QString::fromStdString(socketPath),
            QStringLiteral("--state"), stateFolder + QStringLiteral("/simulated-mouse.json")};
        if (!QProcess::startDetached(daemon, arguments)) {
            return QStringLiteral("The simulated mouse \"%1\" could not be started.").arg(daemon);
        }
        // The daemon detaches once it serves; wait for its socket a while.
        QElapsedTimer waited;
        waited.start();
        while (!simulatedMouseAnswers(socketPath)) {
            if (waited.elapsed() > 5000) {
                return QStringLiteral("The simulated mouse did not answer on \"%1\".")
                    .arg(QString::fromStdString(socketPath));
            }
            QThread::msleep(20);
        }
    }
    qputenv("ORVANE_HID", QByteArray("emulator:") + QByteArray::fromStdString(socketPath));
    return {};
}

}  // namespace orvane
