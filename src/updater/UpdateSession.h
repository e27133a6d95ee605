#pragma once

#include <QByteArray>
#include <QLibrary>
#include <QObject>
#include <QString>
#include <optional>

#include "Orvane_pro_dll.h"

namespace orvane {
class UpdateLock;
}

namespace orvane::updater {

// The exports of the device-control library the update needs.
struct FirmwareEntryPoints {
    decltype(&Firmware_update_progress) registerProgress = nullptr;
    decltype(&Update_firmware) update = nullptr;
    decltype(&Open_x2_device) open = nullptr;
    decltype(&Get_fw_version) version = nullptr;

    bool complete() const {
        return registerProgress != nullptr && update != nullptr && open != nullptr &&
               version != nullptr;
    }
};

// One program's use of the library's update path: the image checked before
// anything reaches the mouse, the update's claim on the mouse taken for as
// long as the library's worker runs, and every progress report handed to the
// session's thread as a signal.
//
// The library's progress callback carries no context pointer, so one
// session at a time receives it (the program has one).
class UpdateSession : public QObject {
    Q_OBJECT
  public:
    enum class Phase { Idle, Running, Done, Failed };

    explicit UpdateSession(UpdateLock& lock, QObject* parent = nullptr);
    ~UpdateSession() override;

    // Loads libOrvane_pro_dll as any program built on it would, looking
    // first beside the program and the fixed ways up from the update folder
    // (the build tree, a packaged install). False with the reason otherwise.
    bool loadLibrary(const QString& programFolder, QString& error);
    // Another library (tests, pictures).
    void setEntryPoints(FirmwareEntryPoints points) { entries = points; }
    bool ready() const { return entries.complete(); }

    // The firmware the mouse runs now, as the library reports it (105 for
    // 1.05); nothing without a mouse or while another update has it.
    std::optional<int> mouseFirmware();

    // Checks the image and hands it to the library. False, with the reason
    // for the user in `why`, when nothing was sent: no library, an image
    // that does not fit the mouse, or another update holding the mouse.
    bool start(const QByteArray& image, const QString& imageName, QString& why);

    Phase phase() const { return currentPhase; }
    int lastStatus() const { return status; }
    int lastValue() const { return value; }

  signals:
    // Every report of the library, in order, on this object's thread.
    void reported(int status, int value);
    // The last report of an update: 96 done, 80 to 87 failed.
    void finished(int status, int value);

  private:
    static void ORVANE_STDCALL progressCallback(std::uint8_t* status, std::int32_t* value);
    void deliver(int status, int value);

    UpdateLock& lock;
    QLibrary library;
    FirmwareEntryPoints entries;
    Phase currentPhase = Phase::Idle;
    int status = 0;
    int value = 0;
};

}  // namespace orvane::updater
