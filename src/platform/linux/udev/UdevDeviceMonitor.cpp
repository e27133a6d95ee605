#include "platform/linux/udev/UdevDeviceMonitor.h"

#include <fcntl.h>
#include <libudev.h>
#include <poll.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <optional>
#include <string>

namespace orvane {

namespace {

std::optional<std::uint16_t> hexValue(const char* text) {
    if (text == nullptr || *text == '\0') {
        return std::nullopt;
    }
    char* end = nullptr;
    const unsigned long value = std::strtoul(text, &end, 16);
    if (*end != '\0' && *end != '\n') {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(value & 0xFFFFU);
}

std::string textOf(const char* text) {
    return text != nullptr ? text : "";
}

// Reads the ids of a hidraw node from its parents. Devices that are not on
// USB (Bluetooth, I2C) have no USB parents; their hid parent's HID_ID
// ("0005:00001209:00000001") still names vendor and product.
HidDeviceInfo describe(udev_device* node) {
    HidDeviceInfo info;
    info.path = textOf(udev_device_get_devnode(node));
    if (udev_device* usbInterface =
            udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_interface")) {
        if (const auto number =
                hexValue(udev_device_get_sysattr_value(usbInterface, "bInterfaceNumber"))) {
            info.interfaceNumber = *number;
        }
    }
    if (udev_device* usbDevice =
            udev_device_get_parent_with_subsystem_devtype(node, "usb", "usb_device")) {
        info.vendorId = hexValue(udev_device_get_sysattr_value(usbDevice, "idVendor")).value_or(0);
        info.productId =
            hexValue(udev_device_get_sysattr_value(usbDevice, "idProduct")).value_or(0);
        info.releaseNumber =
            hexValue(udev_device_get_sysattr_value(usbDevice, "bcdDevice")).value_or(0);
        return info;
    }
    if (udev_device* hid = udev_device_get_parent_with_subsystem_devtype(node, "hid", nullptr)) {
        // Without it every interface of such a device would be named
        // interface 0 and match as the configuration interface.
        info.interfaceNumber =
            interfaceNumberFromPhys(textOf(udev_device_get_property_value(hid, "HID_PHYS")));
        unsigned bus = 0;
        unsigned vendor = 0;
        unsigned product = 0;
        const char* id = udev_device_get_property_value(hid, "HID_ID");
        if (id != nullptr && std::sscanf(id, "%x:%x:%x", &bus, &vendor, &product) == 3) {
            info.vendorId = static_cast<std::uint16_t>(vendor);
            info.productId = static_cast<std::uint16_t>(product);
        }
    }
    return info;
}

}  // namespace

struct UdevDeviceMonitor::State {
    State(Callback callback, udev* context, udev_monitor* monitor)
        : callback(std::move(callback)), context(context), monitor(monitor) {}
    ~State() {
        udev_monitor_unref(monitor);
        udev_unref(context);
        close(stopRead);
        close(stopWrite);
    }
    State(const State&) = delete;
    State& operator=(const State&) = delete;

    void run();
    void handle(udev_device* node);

    const Callback callback;
    udev* const context;
    udev_monitor* const monitor;
    int stopRead = -1;
    int stopWrite = -1;
    std::atomic<bool> stopping{false};
    // sysname -> what the node was when it arrived
    std::map<std::string, HidDeviceInfo> known;
};

void UdevDeviceMonitor::State::run() {
    pollfd watched[2] = {{udev_monitor_get_fd(monitor), POLLIN, 0}, {stopRead, POLLIN, 0}};
    while (!stopping.load()) {
        if (poll(watched, 2, -1) < 0) {
            continue;  // EINTR
        }
        if ((watched[1].revents & POLLIN) != 0) {
            return;
        }
        if ((watched[0].revents & POLLIN) == 0) {
            continue;
        }
        if (udev_device* node = udev_monitor_receive_device(monitor)) {
            handle(node);
            udev_device_unref(node);
        }
    }
}

void UdevDeviceMonitor::State::handle(udev_device* node) {
    const std::string action = textOf(udev_device_get_action(node));
    const std::string name = textOf(udev_device_get_sysname(node));
    HidHotplugEvent event;
    if (action == "add") {
        event.kind = HidHotplugEvent::Kind::Arrival;
        event.device = describe(node);
        known[name] = event.device;
    } else if (action == "remove") {
        event.kind = HidHotplugEvent::Kind::Removal;
        const auto found = known.find(name);
        if (found != known.end()) {
            event.device = found->second;
            known.erase(found);
        } else {
            event.device = describe(node);
        }
    } else {
        return;
    }
    event.interfaceName = hidInterfaceName(event.device, name);
    if (!stopping.load()) {
        callback(event);
    }
}

std::unique_ptr<UdevDeviceMonitor> UdevDeviceMonitor::create(Callback callback) {
    udev* context = udev_new();
    if (context == nullptr) {
        return nullptr;
    }
    udev_monitor* monitor = udev_monitor_new_from_netlink(context, "udev");
    if (monitor == nullptr) {
        udev_unref(context);
        return nullptr;
    }
    auto state = std::make_shared<State>(std::move(callback), context, monitor);
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return nullptr;
    }
    state->stopRead = pipeEnds[0];
    state->stopWrite = pipeEnds[1];
    if (udev_monitor_filter_add_match_subsystem_devtype(monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor) < 0) {
        return nullptr;
    }
    // Receiving is on before the listing, so a node that comes in between is
    // at worst known twice, never missed.
    if (udev_enumerate* listing = udev_enumerate_new(context)) {
        udev_enumerate_add_match_subsystem(listing, "hidraw");
        udev_enumerate_scan_devices(listing);
        udev_list_entry* entry = nullptr;
        udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(listing)) {
            if (udev_device* node =
                    udev_device_new_from_syspath(context, udev_list_entry_get_name(entry))) {
                state->known[textOf(udev_device_get_sysname(node))] = describe(node);
                udev_device_unref(node);
            }
        }
        udev_enumerate_unref(listing);
    }
    return std::unique_ptr<UdevDeviceMonitor>(new UdevDeviceMonitor(std::move(state)));
}

UdevDeviceMonitor::UdevDeviceMonitor(std::shared_ptr<State> shared) : state(std::move(shared)) {
    thread = std::thread([state = state] { state->run(); });
}

UdevDeviceMonitor::~UdevDeviceMonitor() {
    state->stopping = true;
    const char wake = 1;
    (void)!write(state->stopWrite, &wake, 1);
    if (thread.get_id() == std::this_thread::get_id()) {
        thread.detach();
    } else {
        thread.join();
    }
}

bool udevDaemonRunning() {
    return access("/run/udev/control", F_OK) == 0;
}

}  // namespace orvane
