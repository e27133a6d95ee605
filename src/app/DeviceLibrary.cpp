#include "app/DeviceLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QMetaObject>
#include <atomic>

#include "platform/qt/SharedLibraryLoader.h"
#include "version/Version.h"

namespace orvane {

namespace {

// The receiver of the capture callback; see the class comment.
std::atomic<DeviceLibrary*> captureReceiver{nullptr};

// Kinds that carry one value byte; the text-block kinds of the program and
// web-page buttons are of no use to the application.
constexpr int kLastValueKind = 5;

}  // namespace

DeviceLibrary::DeviceLibrary(QObject* parent, const QString& baseName) : QObject(parent) {
    const QString programFolder = QCoreApplication::applicationDirPath();
    if (!loadSharedLibrary(library, baseName, kLibraryAbiVersion,
                           {programFolder, QDir(programFolder).filePath(QStringLiteral("../lib"))},
                           error)) {
        return;
    }
    captureEntry = reinterpret_cast<decltype(captureEntry)>(library.resolve("Capture_cb_data"));
    closeEntry = reinterpret_cast<decltype(closeEntry)>(library.resolve("Close_device"));
    if (!isLoaded()) {
        error =
            QStringLiteral("The device-control library \"%1\" lacks %2.")
                .arg(library.fileName(), captureEntry == nullptr ? QStringLiteral("Capture_cb_data")
                                                                 : QStringLiteral("Close_device"));
        captureEntry = nullptr;
        closeEntry = nullptr;
    }
}

DeviceLibrary::~DeviceLibrary() {
    if (isLoaded()) {
        // Close_device joins the capture thread: no callback runs after it.
        closeEntry();
    }
    DeviceLibrary* self = this;
    captureReceiver.compare_exchange_strong(self, nullptr);
    // The library stays mapped: its static threads end with the process.
}

void DeviceLibrary::startCapture() {
    if (!isLoaded()) {
        return;
    }
    captureReceiver = this;
    captureEntry(&DeviceLibrary::captureCallback);
}

void DeviceLibrary::closeDevice() {
    if (isLoaded()) {
        closeEntry();
    }
}

void ORVANE_STDCALL DeviceLibrary::captureCallback(uint8_t* kind, uint8_t* data, int32_t* value) {
    (void)value;
    DeviceLibrary* receiver = captureReceiver.load();
    if (receiver == nullptr || kind == nullptr || data == nullptr || *kind < 1 ||
        *kind > kLastValueKind) {
        return;
    }
    // Copied here: the library's buffers are valid only during this call.
    const int eventKind = *kind;
    const int eventValue = data[0];
    QMetaObject::invokeMethod(
        receiver,
        [receiver, eventKind, eventValue] { emit receiver->deviceEvent(eventKind, eventValue); },
        Qt::QueuedConnection);
}

}  // namespace orvane
