#include "devlib/DeviceListener.h"

#include <cstdio>
#include <system_error>

#include "devlib/Transport.h"
#include "platform/selection/DeviceMonitorSelection.h"

namespace orvane::devlib {
namespace {

std::string idText(const char* prefix, std::uint16_t id) {
    char text[16];
    std::snprintf(text, sizeof text, "%s%04X", prefix, static_cast<unsigned>(id));
    return text;
}

bool contains(const std::string& name, const std::string& part) {
    return name.find(part) != std::string::npos;
}

}  // namespace

std::optional<std::uint8_t> deviceChangeCode(HidHotplugEvent::Kind kind,
                                             const std::string& interfaceName) {
    static const std::string vendor = idText("VID_", kListenerVendorId);
    static const std::string product = idText("PID_", kListenerProductId);
    static const std::string bootLoader = idText("PID_", kListenerBootLoaderProductId);
    static const std::string firstInterface = "MI_00";

    const bool application = contains(interfaceName, vendor) && contains(interfaceName, product) &&
                             contains(interfaceName, firstInterface);
    if (kind == HidHotplugEvent::Kind::Removal) {
        // A removal needs no vendor text when the boot-loader id is there.
        if (!interfaceName.empty() && (application || contains(interfaceName, bootLoader))) {
            return kRemoved;
        }
        return std::nullopt;
    }
    if (!contains(interfaceName, vendor)) {
        return std::nullopt;
    }
    if (application) {
        return kArrivedInApplication;
    }
    if (contains(interfaceName, bootLoader)) {
        return kArrivedInBootLoader;
    }
    return std::nullopt;
}

DeviceListener::DeviceListener(LibraryCore& core, std::function<void()> closeDevice)
    : core(core), closeDevice(std::move(closeDevice)) {}

DeviceListener::~DeviceListener() {
    std::vector<std::unique_ptr<DeviceMonitor>> stopping;
    {
        std::lock_guard lock(monitorsMutex);
        stopping.swap(monitors);
    }
    stopping.clear();
}

std::uint8_t DeviceListener::setCallback(OrvaneDeviceChangeCallback newCallback) {
    if (newCallback == nullptr) {
        return kDeviceError;
    }
    callback.store(newCallback);
    return kOk;
}

std::uint8_t DeviceListener::start() {
    HidBus* bus = core.bus();
    if (bus == nullptr) {
        return kDeviceError;
    }
    std::unique_ptr<DeviceMonitor> monitor;
    try {
        monitor =
            createDeviceMonitor(*bus, [this](const HidHotplugEvent& event) { handle(event); });
    } catch (const std::system_error&) {
        return kDeviceError;  // no thread for it
    }
    if (!monitor) {
        return kDeviceError;
    }
    std::lock_guard lock(monitorsMutex);
    monitors.push_back(std::move(monitor));
    return kOk;
}

void DeviceListener::handle(const HidHotplugEvent& event) {
    const std::optional<std::uint8_t> code = deviceChangeCode(event.kind, event.interfaceName);
    if (!code) {
        return;
    }
    std::uint8_t reported = *code;
    if (const OrvaneDeviceChangeCallback call = callback.load()) {
        call(&reported);
    }
    if (*code == kRemoved && closeDevice) {
        closeDevice();
    }
}

}  // namespace orvane::devlib
