#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <atomic>
#include <memory>

#include "app/WorkerThreads.h"
#include "device/DeviceLink.h"
#include "platform/Clock.h"
#include "platform/DeviceMonitor.h"
#include "platform/HidBus.h"

namespace orvane {

class DeviceLibrary;
class UpdateLock;

// Follows the mouse for the main window: the first reading at start-up, and
// the arrivals and removals the bus reports. The waits (900 ms before opening
// a mouse that just arrived, the profile read's 2 s pause) run on worker
// threads; their results come back as signals on this object's thread, so
// the window never freezes.
class MouseConnection : public QObject {
    Q_OBJECT
  public:
    MouseConnection(DeviceLink& link, HidBus& bus, Clock& clock, DeviceLibrary* library,
                    QObject* parent = nullptr);
    ~MouseConnection() override;

    // The firmware update's claim on the mouse: while another program holds
    // it, arrivals are ignored and the mouse is left alone; once it is given
    // up, the mouse is read afresh. Null: no update is ever in the way.
    void setUpdateLock(const UpdateLock* lock) { updateLock = lock; }
    // How often the claim is looked at while held (never otherwise).
    static constexpr int kUpdateWatchMs = 500;
    bool waitingForUpdate() const { return updateWatch.isActive(); }

    // Starts watching the bus for arrivals and removals; false when no way of
    // watching could be started (arrivals and removals are then not seen).
    bool startMonitoring();

    // Opens the mouse if it is there and asks which slot it uses; answers
    // with followed().
    void followMouse();

    // The handling of one arrival or removal, on this object's thread.
    void interfaceArrived(const QString& interfaceName);
    void interfaceRemoved(const QString& interfaceName);

    // A reading (start-up or arrival) is running.
    bool reading() const { return readingInFlight; }

  signals:
    // A reading has begun (at start-up, or after an arrival).
    void readingStarted();
    // After a reading: whether the mouse could be opened and, when it could,
    // the slot it uses (0 when it would not say).
    void followed(bool opened, int slot);
    // "1.05", or "-.--" when no mouse is there.
    void firmwareVersionChanged(const QString& text);

  private:
    // The reading on a worker thread; `arrival` adds the 900 ms wait and the
    // version text.
    void startReading(bool arrival);
    void readingDone(bool arrival, bool opened, int slot, const QString& versionText);
    bool updateRunning() const;
    // Lets go of the mouse until the update's claim is given up.
    void waitForUpdate();
    void checkUpdateEnded();

    DeviceLink& link;
    HidBus& bus;
    Clock& clock;
    DeviceLibrary* library;
    const UpdateLock* updateLock = nullptr;
    QTimer updateWatch;
    std::atomic<bool> readingInFlight{false};
    // An arrival seen while a reading ran; handled when the reading ends.
    bool arrivalPending = false;
    WorkerThreads workers;
    std::unique_ptr<DeviceMonitor> monitor;  // last: stopped first
};

}  // namespace orvane
