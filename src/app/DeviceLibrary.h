#pragma once

#include <QLibrary>
#include <QObject>
#include <QString>

#include "Orvane_pro_dll.h"

namespace orvane {

// The device-control library as the application uses it: loaded by name at
// run time for its event capture, so that the application runs (without
// device events) where the library is missing. Events arrive on the
// library's capture thread; they are copied there and delivered as the
// deviceEvent signal on the thread this object lives in.
//
// One instance at a time may capture: the library's callback has no context
// pointer, so the callback finds its receiver through a process-wide slot.
class DeviceLibrary : public QObject {
    Q_OBJECT
  public:
    // Looks for the library beside the program, then in ../lib, then where
    // the system looks; `baseName` is the name without "lib" and ".so".
    explicit DeviceLibrary(QObject* parent = nullptr,
                           const QString& baseName = QStringLiteral("Orvane_pro_dll"));
    // Ends the capture (the library joins its thread) before the receiver
    // goes away.
    ~DeviceLibrary() override;

    // Both entry points were found.
    bool isLoaded() const { return captureEntry != nullptr && closeEntry != nullptr; }
    // Why not, for the one message the user gets.
    QString loadError() const { return error; }

    // Registers the event callback with the library (its result is not
    // needed: without a capture, events simply do not arrive).
    void startCapture();
    // The library's Close_device: ends its capture and closes its handles.
    void closeDevice();

  signals:
    // kind: the event kind; value: the event's first data byte.
    void deviceEvent(int kind, int value);

  private:
    static void ORVANE_STDCALL captureCallback(uint8_t* kind, uint8_t* data, int32_t* value);

    QLibrary library;
    QString error;
    decltype(&Capture_cb_data) captureEntry = nullptr;
    decltype(&Close_device) closeEntry = nullptr;
};

}  // namespace orvane
