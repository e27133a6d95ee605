#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "Orvane_pro_dll.h"
#include "devlib/LibraryCore.h"
#include "platform/DeviceMonitor.h"

namespace orvane::devlib {

// The listener recognises the mouse by ids of its own, fixed here rather than
// taken from the configure-time ids that the transport opens: a host keeps
// getting the same codes for the same mouse whatever the build was set to.
inline constexpr std::uint16_t kListenerVendorId = 0x1209;
inline constexpr std::uint16_t kListenerProductId = 0x0001;
inline constexpr std::uint16_t kListenerBootLoaderProductId = 0x0002;

inline constexpr std::uint8_t kArrivedInApplication = 1;
inline constexpr std::uint8_t kArrivedInBootLoader = 2;
inline constexpr std::uint8_t kRemoved = 255;

// The change code an event of this interface name gives, if any. Names are
// matched case-sensitively, as the system writes them.
std::optional<std::uint8_t> deviceChangeCode(HidHotplugEvent::Kind kind,
                                             const std::string& interfaceName);

// The device-change listener: monitors of the core's bus reporting to the
// host's device-change callback. A removal of the mouse also closes the
// library's devices through `closeDevice`.
class DeviceListener {
  public:
    DeviceListener(LibraryCore& core, std::function<void()> closeDevice);
    // Stops every monitor; no callback runs once it returns.
    ~DeviceListener();
    DeviceListener(const DeviceListener&) = delete;
    DeviceListener& operator=(const DeviceListener&) = delete;

    // Device_change_message: 20 for null, else 1.
    std::uint8_t setCallback(OrvaneDeviceChangeCallback callback);
    // Start_device_listener: 1 once a monitor runs, 20 when none can. Each
    // call starts one more monitor, as each started one more window before.
    std::uint8_t start();

  private:
    void handle(const HidHotplugEvent& event);

    LibraryCore& core;
    const std::function<void()> closeDevice;
    std::atomic<OrvaneDeviceChangeCallback> callback{nullptr};
    std::mutex monitorsMutex;
    std::vector<std::unique_ptr<DeviceMonitor>> monitors;
};

}  // namespace orvane::devlib
