// The C interface of the firmware update. The updater is created after the
// library's core and so destroyed before it at unload; its destructor stops
// and joins any worker still running, so none outlives the library.
#include "Orvane_pro_dll.h"
#include "devlib/FirmwareUpdate.h"
#include "devlib/Transport.h"

namespace {

namespace dl = orvane::devlib;

dl::FirmwareUpdater& updater() {
    static dl::FirmwareUpdater instance(dl::LibraryCore::instance());
    return instance;
}

template <typename Action>
std::uint8_t guarded(std::uint8_t failure, Action&& action) noexcept {
    try {
        return action(updater());
    } catch (...) {
        return failure;
    }
}

}  // namespace

extern "C" {

ORVANE_API uint8_t ORVANE_STDCALL Firmware_update_progress(OrvaneProgressCallback callback) {
    return guarded(dl::kDeviceError, [=](dl::FirmwareUpdater& firmware) {
        return firmware.setProgressCallback(callback);
    });
}

ORVANE_API uint8_t Update_firmware(int32_t size, const uint8_t* image) {
    return guarded(dl::kOk,
                   [=](dl::FirmwareUpdater& firmware) { return firmware.update(size, image); });
}

}  // extern "C"
