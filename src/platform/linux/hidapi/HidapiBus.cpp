#include "platform/linux/hidapi/HidapiBus.h"

#include <hidapi/hidapi.h>

#include <cerrno>
#include <climits>
#include <mutex>

namespace orvane {

namespace {

// hidapi reports failure as -1 and leaves the reason in errno (the hidraw
// ioctl's or open's); an errno of 0 then means hidapi refused by itself.
HidError lastError() {
    const int error = errno;
    return error == 0 ? HidError::GeneralFailure : hidErrorFromErrno(error);
}

int clampTimeout(std::chrono::milliseconds timeout) {
    return timeout.count() > INT_MAX ? INT_MAX : static_cast<int>(timeout.count());
}

class HidapiDevice final : public HidDevice {
  public:
    explicit HidapiDevice(hid_device* device) : device(device) {}
    ~HidapiDevice() override { hid_close(device); }
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
        errno = 0;
        const int read =
            hid_read_timeout(device, report.data(), report.size(), clampTimeout(timeout));
        if (read < 0) {
            return lastError();
        }
        length = static_cast<std::size_t>(read);
        return HidError::None;
    }

  private:
    hid_device* device;
};

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
                           info->interface_number});
    }
    hid_free_enumeration(list);
    return devices;
}

std::unique_ptr<HidDevice> HidapiBus::open(const std::string& path, HidError& error) {
    errno = 0;
    hid_device* device = hid_open_path(path.c_str());
    if (device == nullptr) {
        error = lastError();
        return nullptr;
    }
    error = HidError::None;
    return std::make_unique<HidapiDevice>(device);
}

}  // namespace orvane
