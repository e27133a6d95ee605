#include "platform/linux/hidapi/HidapiBus.h"

#include <fcntl.h>
#include <hidapi/hidapi.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <fstream>
#include <mutex>
#include <string>

namespace orvane {

namespace {

// hidapi reports failure as -1 and leaves the reason in errno (the hidraw
// ioctl's or open's); an errno of 0 then means hidapi refused by itself.
HidError lastError() {
    const int error = errno;
    return error == 0 ? HidError::GeneralFailure : hidErrorFromErrno(error);
}

int clampTimeout(std::chrono::milliseconds timeout) {
    if (timeout == HidDevice::kWaitForever) {
        return -1;
    }
    return timeout.count() > INT_MAX ? INT_MAX : static_cast<int>(timeout.count());
}

// Input reports are read from a descriptor of our own on the hidraw node,
// polled together with an event descriptor, because hidapi's read cannot be
// woken from another thread: a capture can then block without a time-out and
// still stop at once.
class HidapiDevice final : public HidDevice {
  public:
    HidapiDevice(hid_device* device, std::string path)
        : device(device), path(std::move(path)), cancelFd(::eventfd(0, EFD_CLOEXEC)) {}
    ~HidapiDevice() override {
        if (inputFd >= 0) {
            ::close(inputFd);
        }
        if (cancelFd >= 0) {
            ::close(cancelFd);
        }
        hid_close(device);
    }
    HidapiDevice(const HidapiDevice&) = delete;
    HidapiDevice& operator=(const HidapiDevice&) = delete;

    HidError sendFeatureReport(std::span<const std::uint8_t> report) override {
        errno = 0;
        return hid_send_feature_report(device, report.data(), report.size()) < 0 ? lastError()
                                                                                 : HidError::None;
    }

    HidError getFeatureReport(std::span<std::uint8_t> report) override {
        errno = 0;
        return hid_get_feature_report(device, report.data(), report.size()) < 0 ? lastError()
                                                                                : HidError::None;
    }

    HidError readInputReport(std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                             std::size_t& length) override {
        length = 0;
        if (inputFd < 0) {
            inputFd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        }
        if (inputFd < 0 || cancelFd < 0) {
            // Not a hidraw node: hidapi's own read, which cannot be woken.
            errno = 0;
            const int read =
                hid_read_timeout(device, report.data(), report.size(), clampTimeout(timeout));
            if (read < 0) {
                return lastError();
            }
            length = static_cast<std::size_t>(read);
            return HidError::None;
        }
        pollfd watched[2] = {{inputFd, POLLIN, 0}, {cancelFd, POLLIN, 0}};
        int ready = 0;
        do {
            ready = ::poll(watched, 2, clampTimeout(timeout));
        } while (ready < 0 && errno == EINTR);
        if (ready < 0) {
            return hidErrorFromErrno(errno);
        }
        if (ready == 0 || watched[1].revents != 0) {
            return HidError::None;  // the wait ran out, or the read was cancelled
        }
        if ((watched[0].revents & POLLIN) == 0) {
            return HidError::DeviceNotConnected;  // POLLHUP/POLLERR: the node went away
        }
        const ssize_t got = ::read(inputFd, report.data(), report.size());
        if (got < 0) {
            return errno == EAGAIN || errno == EINTR ? HidError::None : hidErrorFromErrno(errno);
        }
        length = static_cast<std::size_t>(got);
        return HidError::None;
    }

    void cancelInputRead() override {
        const std::uint64_t one = 1;
        // The counter stays readable, so a read that starts later returns too.
        [[maybe_unused]] const ssize_t written = ::write(cancelFd, &one, sizeof one);
    }

  private:
    hid_device* device;
    const std::string path;
    int inputFd = -1;
    const int cancelFd;
};

// hidapi knows the interface number of a device on USB only. A hidraw node
// without a USB parent (the simulated mouse in the kernel) has it in its HID
// parent's place name; without it all its interfaces would read as one.
int interfaceNumberOf(const hid_device_info& info) {
    if (info.interface_number >= 0 || info.path == nullptr) {
        return info.interface_number;
    }
    const std::string path = info.path;
    const std::size_t slash = path.rfind('/');
    const std::string node = slash == std::string::npos ? path : path.substr(slash + 1);
    std::ifstream uevent("/sys/class/hidraw/" + node + "/device/uevent");
    static const std::string kKey = "HID_PHYS=";
    for (std::string line; std::getline(uevent, line);) {
        if (line.compare(0, kKey.size(), kKey) == 0) {
            return interfaceNumberFromPhys(line.substr(kKey.size()));
        }
    }
    return -1;
}

}  // namespace

HidapiBus::HidapiBus() {
    static std::once_flag initialised;
    std::call_once(initialised, [] { hid_init(); });
}

void HidapiBus::releaseLibrary() {
    hid_exit();
}

std::vector<HidDeviceInfo> HidapiBus::enumerate() {
    std::vector<HidDeviceInfo> devices;
    hid_device_info* list = hid_enumerate(0, 0);
    for (const hid_device_info* info = list; info != nullptr; info = info->next) {
        devices.push_back({info->path != nullptr ? info->path : "", info->vendor_id,
                           info->product_id, info->release_number, info->usage_page, info->usage,
                           interfaceNumberOf(*info)});
    }
    hid_free_enumeration(list);
    return devices;
}

std::unique_ptr<HidDevice> HidapiBus::open(const std::string& path, HidError& error) {
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        error = lastError();
        // hidapi formats its message after the failed open, which may leave
        // errno changed; the node's own answer tells "not allowed" (a udev
        // rule missing) reliably apart from "gone".
        const int probe = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
        if (probe < 0) {
            error = hidErrorFromErrno(errno);
        } else {
            ::close(probe);
        }
        return nullptr;
    }
    error = HidError::None;
    return std::make_unique<HidapiDevice>(device, path);
}

}  // namespace orvane
