#include "platform/linux/uhid/UhidDevice.h"

#include <fcntl.h>
#include <linux/uhid.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvane {

namespace {

std::string openFailure(int errorNumber) {
    std::string reason =
        std::string("cannot open ") + UhidDevice::kDevicePath + ": " + std::strerror(errorNumber);
    if (errorNumber == EACCES || errorNumber == EPERM) {
        reason += " (creating HID devices needs write access to it, normally root's)";
    } else if (errorNumber == ENOENT || errorNumber == ENODEV) {
        reason += " (the kernel's uhid module is not loaded: modprobe uhid)";
    }
    return reason;
}

void copyText(__u8* target, std::size_t capacity, const std::string& text) {
    const std::size_t length = std::min(text.size(), capacity - 1);
    std::memcpy(target, text.data(), length);
    target[length] = 0;
}

UhidRequest::ReportType reportType(__u8 type) {
    switch (type) {
        case UHID_OUTPUT_REPORT:
            return UhidRequest::ReportType::Output;
        case UHID_INPUT_REPORT:
            return UhidRequest::ReportType::Input;
        default:
            return UhidRequest::ReportType::Feature;
    }
}

}  // namespace

bool UhidDevice::available(std::string& error) {
    const int device = ::open(kDevicePath, O_RDWR | O_CLOEXEC);
    if (device < 0) {
        error = openFailure(errno);
        return false;
    }
    ::close(device);
    return true;
}

std::unique_ptr<UhidDevice> UhidDevice::create(const UhidDeviceDescription& description,
                                               std::string& error) {
    if (description.reportDescriptor.size() > HID_MAX_DESCRIPTOR_SIZE) {
        error = "report descriptor too long for the kernel";
        return nullptr;
    }
    const int device = ::open(kDevicePath, O_RDWR | O_CLOEXEC);
    if (device < 0) {
        error = openFailure(errno);
        return nullptr;
    }
    const int wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake < 0) {
        error = std::string("cannot create an event descriptor: ") + std::strerror(errno);
        ::close(device);
        return nullptr;
    }
    std::unique_ptr<UhidDevice> created(new UhidDevice(device, wake));

    uhid_event event{};
    event.type = UHID_CREATE2;
    uhid_create2_req& request = event.u.create2;
    copyText(request.name, sizeof request.name, description.name);
    copyText(request.phys, sizeof request.phys, description.phys);
    // The bus the mouse is on, so that programs that look at it (hidapi,
    // udev) treat the device as the USB mouse it stands for.
    request.bus = BUS_USB;
    request.vendor = description.vendorId;
    request.product = description.productId;
    request.version = description.version;
    request.rd_size = static_cast<__u16>(description.reportDescriptor.size());
    std::copy(description.reportDescriptor.begin(), description.reportDescriptor.end(),
              request.rd_data);
    if (!created->write(&event, sizeof event)) {
        error = std::string("the kernel refused the HID device: ") + std::strerror(errno);
        return nullptr;
    }
    return created;
}

UhidDevice::UhidDevice(int device, int wake) : device(device), wake(wake) {}

UhidDevice::~UhidDevice() {
    uhid_event event{};
    event.type = UHID_DESTROY;
    write(&event, sizeof event);
    ::close(device);
    ::close(wake);
}

bool UhidDevice::write(const void* event, std::size_t size) {
    ssize_t written = 0;
    do {
        written = ::write(device, event, size);
    } while (written < 0 && errno == EINTR);
    return written == static_cast<ssize_t>(size);
}

std::optional<UhidRequest> UhidDevice::nextRequest() {
    pollfd watched[2] = {{device, POLLIN, 0}, {wake, POLLIN, 0}};
    for (;;) {
        if (::poll(watched, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return std::nullopt;
        }
        if (watched[1].revents != 0 || (watched[0].revents & (POLLERR | POLLHUP)) != 0) {
            return std::nullopt;
        }
        uhid_event event{};
        const ssize_t got = ::read(device, &event, sizeof event);
        if (got < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                continue;
            }
            return std::nullopt;
        }
        UhidRequest request;
        if (event.type == UHID_GET_REPORT) {
            request.kind = UhidRequest::Kind::GetReport;
            request.id = event.u.get_report.id;
            request.reportNumber = event.u.get_report.rnum;
            request.type = reportType(event.u.get_report.rtype);
            return request;
        }
        if (event.type == UHID_SET_REPORT) {
            const uhid_set_report_req& set = event.u.set_report;
            request.kind = UhidRequest::Kind::SetReport;
            request.id = set.id;
            request.reportNumber = set.rnum;
            request.type = reportType(set.rtype);
            const std::size_t size = std::min<std::size_t>(set.size, UHID_DATA_MAX);
            request.data.assign(set.data, set.data + size);
            return request;
        }
        // UHID_START, UHID_STOP, UHID_OPEN, UHID_CLOSE and output reports
        // need no answer; the mouse takes no output reports.
    }
}

bool UhidDevice::answerGetReport(std::uint32_t id, int errorNumber,
                                 std::span<const std::uint8_t> report) {
    uhid_event event{};
    event.type = UHID_GET_REPORT_REPLY;
    event.u.get_report_reply.id = id;
    event.u.get_report_reply.err = static_cast<__u16>(errorNumber);
    if (errorNumber == 0) {
        const std::size_t size = std::min<std::size_t>(report.size(), UHID_DATA_MAX);
        event.u.get_report_reply.size = static_cast<__u16>(size);
        std::copy_n(report.begin(), size, event.u.get_report_reply.data);
    }
    return write(&event, sizeof event);
}

bool UhidDevice::answerSetReport(std::uint32_t id, int errorNumber) {
    uhid_event event{};
    event.type = UHID_SET_REPORT_REPLY;
    event.u.set_report_reply.id = id;
    event.u.set_report_reply.err = static_cast<__u16>(errorNumber);
    return write(&event, sizeof event);
}

bool UhidDevice::sendInputReport(std::span<const std::uint8_t> report) {
    if (report.size() > UHID_DATA_MAX) {
        return false;
    }
    uhid_event event{};
    event.type = UHID_INPUT2;
    event.u.input2.size = static_cast<__u16>(report.size());
    std::copy(report.begin(), report.end(), event.u.input2.data);
    return write(&event, sizeof event);
}

void UhidDevice::stop() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const ssize_t written = ::write(wake, &one, sizeof one);
}

}  // namespace orvane
