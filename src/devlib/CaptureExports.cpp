// The C interface of the event capture, the device-change listener and
// Close_device. Their state lives in one object created after the library's
// core, so that it goes first at unload: the listener's monitors and the
// capture thread are joined there, before the core they use is destroyed.

#include "Orvane_pro_dll.h"
#include "devlib/Capture.h"
#include "devlib/DeviceListener.h"
#include "devlib/Transport.h"
#include "platform/selection/HidBusSelection.h"

namespace {

namespace dl = orvane::devlib;

struct EventState {
    dl::LibraryCore& core = dl::LibraryCore::instance();
    dl::EventCapture capture{core};
    // Declared after the capture: destroyed before it, so that a removal
    // in flight still finds the capture to stop.
    dl::DeviceListener listener{core, [this] { closeAfterRemoval(); }};

    void closeAfterRemoval() noexcept {
        try {
            dl::closeDeviceAfterRemoval(core, capture, [] { orvane::releaseHidBackends(); });
        } catch (...) {
            // The listener thread carries on; the next removal tries again.
        }
    }
};

EventState& events() {
    static EventState state;
    return state;
}

template <typename Action>
std::uint8_t guarded(std::uint8_t failure, Action&& action) noexcept {
    try {
        return action(events());
    } catch (...) {
        return failure;
    }
}

}  // namespace

extern "C" {

ORVANE_API uint8_t ORVANE_STDCALL Capture_cb_data(OrvaneCaptureCallback callback) {
    return guarded(dl::kDeviceError,
                   [=](EventState& state) { return state.capture.start(callback); });
}

ORVANE_API uint8_t ORVANE_STDCALL Device_change_message(OrvaneDeviceChangeCallback callback) {
    return guarded(dl::kDeviceError,
                   [=](EventState& state) { return state.listener.setCallback(callback); });
}

ORVANE_API uint8_t Start_device_listener(void) {
    return guarded(dl::kDeviceError, [](EventState& state) { return state.listener.start(); });
}

ORVANE_API uint8_t Close_device(void) {
    return guarded(dl::kOk, [](EventState& state) {
        return dl::closeDevice(state.core, state.capture, [] { orvane::releaseHidBackends(); });
    });
}

}  // extern "C"
