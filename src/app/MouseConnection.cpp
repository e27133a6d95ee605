#include "app/MouseConnection.h"

#include <QMetaObject>
#include <QPointer>
#include <chrono>
#include <utility>

#include "app/DeviceLibrary.h"
#include "app/InterfaceMatch.h"
#include "device/DeviceCommands.h"
#include "platform/UpdateLock.h"
#include "platform/selection/DeviceMonitorSelection.h"

namespace orvane {

namespace {

// A mouse that has just arrived needs a moment before it answers.
constexpr Clock::Duration kArrivalSettle{900};

}  // namespace

MouseConnection::MouseConnection(DeviceLink& deviceLink, HidBus& hidBus, Clock& waitClock,
                                 DeviceLibrary* deviceLibrary, QObject* parent)
    : QObject(parent), link(deviceLink), bus(hidBus), clock(waitClock), library(deviceLibrary) {
    updateWatch.setInterval(kUpdateWatchMs);
    connect(&updateWatch, &QTimer::timeout, this, &MouseConnection::checkUpdateEnded);
}

MouseConnection::~MouseConnection() {
    // The monitor first, so that no new event is queued, then the readings.
    monitor.reset();
    workers.waitForAll();
}

bool MouseConnection::startMonitoring() {
    QPointer<MouseConnection> self(this);
    monitor = createDeviceMonitor(bus, [self](const HidHotplugEvent& event) {
        const QString name = QString::fromStdString(event.interfaceName);
        const bool arrival = event.kind == HidHotplugEvent::Kind::Arrival;
        // On the monitor's thread: hand the event to ours.
        QMetaObject::invokeMethod(
            self.data(),
            [self, name, arrival] {
                if (self) {
                    arrival ? self->interfaceArrived(name) : self->interfaceRemoved(name);
                }
            },
            Qt::QueuedConnection);
    });
    return monitor != nullptr;
}

void MouseConnection::followMouse() {
    if (updateRunning()) {
        waitForUpdate();
        emit followed(false, 0);
        return;
    }
    startReading(false);
}

void MouseConnection::interfaceArrived(const QString& interfaceName) {
    if (!namesMouseInterface(interfaceName.toStdString())) {
        return;
    }
    // The mouse coming back from its boot loader while the update program
    // still reads it: the update's, not ours, until it lets go.
    if (updateRunning()) {
        waitForUpdate();
        return;
    }
    if (readingInFlight) {
        // The mouse may have been pulled out and put back while it was being
        // read; whether this arrival matters is known only when the reading
        // ends.
        arrivalPending = true;
        return;
    }
    if (link.connected() || waitingForUpdate()) {
        return;
    }
    startReading(true);
}

void MouseConnection::interfaceRemoved(const QString& interfaceName) {
    if (!namesMouseInterface(interfaceName.toStdString())) {
        return;
    }
    if (updateRunning()) {
        waitForUpdate();
        return;
    }
    if (!link.connected()) {
        return;
    }
    link.closeDevice();
    if (library != nullptr) {
        library->closeDevice();
    }
    emit firmwareVersionChanged(QString::fromStdString(firmwareVersionText(link)));
}

bool MouseConnection::updateRunning() const {
    return updateLock != nullptr && updateLock->heldElsewhere();
}

void MouseConnection::waitForUpdate() {
    if (updateWatch.isActive()) {
        return;
    }
    // Our handles and the capture go: the boot loader's transfer must not
    // meet a single report of ours.
    link.closeDevice();
    if (library != nullptr) {
        library->closeDevice();
    }
    emit firmwareVersionChanged(QString::fromStdString(firmwareVersionText(link)));
    updateWatch.start();
}

void MouseConnection::checkUpdateEnded() {
    if (updateRunning()) {
        return;
    }
    updateWatch.stop();
    if (readingInFlight) {
        // A reading the update's lock may have turned away: read again once
        // it ends.
        arrivalPending = true;
        return;
    }
    // Whatever the update did, the mouse may have a new firmware and a new
    // handle: read it as one that has just arrived.
    startReading(true);
}

void MouseConnection::startReading(bool arrival) {
    readingInFlight = true;
    emit readingStarted();
    QPointer<MouseConnection> self(this);
    workers.start([this, self, arrival] {
        if (arrival) {
            clock.sleepFor(kArrivalSettle);
        }
        const bool opened = link.openDeviceIfClosed() == 1;
        std::uint8_t slot = 0;
        if (opened && readCurrentProfile(link, slot) != kCommandDone) {
            slot = 0;
        }
        const QString versionText = QString::fromStdString(firmwareVersionText(link));
        // `this` outlives the worker (the destructor joins it); the queued
        // call is dropped if the object is gone by the time it would run.
        QMetaObject::invokeMethod(
            this,
            [self, arrival, opened, slot, versionText] {
                if (self) {
                    self->readingDone(arrival, opened, slot, versionText);
                }
            },
            Qt::QueuedConnection);
    });
}

void MouseConnection::readingDone(bool arrival, bool opened, int slot, const QString& versionText) {
    readingInFlight = false;
    if (arrival || opened) {
        emit firmwareVersionChanged(versionText);
    }
    emit followed(opened, slot);
    if (arrival && opened && library != nullptr) {
        library->startCapture();
    }
    if (std::exchange(arrivalPending, false) && !readingInFlight && !link.connected()) {
        startReading(true);
    }
}

}  // namespace orvane
