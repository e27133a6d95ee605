#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace orvane {

// What the kernel is told about a device it is to create.
struct UhidDeviceDescription {
    std::string name;  // the device's product name
    // Where the device sits; the kernel passes it on as HID_PHYS, and a
    // trailing "/input<N>" names the interface as usbhid's does.
    std::string phys;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
    std::uint16_t version = 0;
    std::vector<std::uint8_t> reportDescriptor;
};

// A request the kernel passes on from a program that uses the device.
struct UhidRequest {
    enum class Kind { GetReport, SetReport };
    enum class ReportType { Feature, Output, Input };
    Kind kind = Kind::GetReport;
    ReportType type = ReportType::Feature;
    std::uint32_t id = 0;  // the answer names it
    std::uint8_t reportNumber = 0;
    std::vector<std::uint8_t> data;  // SetReport: the report, report id first
};

// One HID device that lives in the kernel for as long as this object does:
// hidraw nodes, input devices and udev events follow from it as from a
// device on a real bus. Requests are taken and answered on one thread; the
// input reports may be sent from another; stop() from any.
class UhidDevice {
  public:
    static constexpr const char* kDevicePath = "/dev/uhid";

    // Null, with the reason in `error`, when /dev/uhid cannot be opened or
    // the kernel refuses the device.
    static std::unique_ptr<UhidDevice> create(const UhidDeviceDescription& description,
                                              std::string& error);
    // Whether this process may create devices; `error` says why not.
    static bool available(std::string& error);

    ~UhidDevice();
    UhidDevice(const UhidDevice&) = delete;
    UhidDevice& operator=(const UhidDevice&) = delete;

    // Waits for the kernel's next report request; nothing once stop() was
    // called or the device failed. Other events (start, open, close) are
    // taken on the way.
    std::optional<UhidRequest> nextRequest();

    // `errorNumber` 0 for success; the kernel turns any other into EIO for
    // the program that asked.
    bool answerGetReport(std::uint32_t id, int errorNumber, std::span<const std::uint8_t> report);
    bool answerSetReport(std::uint32_t id, int errorNumber);

    // An input report, report id first.
    bool sendInputReport(std::span<const std::uint8_t> report);

    // Makes nextRequest() return nothing, now and from now on.
    void stop();

  private:
    UhidDevice(int device, int wake);
    bool write(const void* event, std::size_t size);

    const int device;
    const int wake;
};

}  // namespace orvane
