#include "emulator/daemon/UhidHost.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <iostream>

#include "emulator/ReportDescriptors.h"
#include "platform/linux/uhid/UhidDevice.h"
#include "protocol/DeviceIds.h"

namespace orvane::emulator {

namespace {

constexpr const char* kDeviceName = "ORVANE PRO";

// The kernel's own drivers name an interface's place this way (usbhid:
// "usb-0000:00:14.0-1/input0"), and programs read the interface number from
// it when the device has no USB parent to ask.
std::string physFor(const HidDeviceInfo& interface) {
    return "orvane-emud/input" +
           std::to_string(interface.interfaceNumber < 0 ? 0 : interface.interfaceNumber);
}

bool isBootLoader(const HidDeviceInfo& interface) {
    return interface.productId == kBootLoaderProductId;
}

}  // namespace

// One interface of the bus as one kernel device: a thread answers the
// kernel's requests, another passes the interface's input reports on.
class UhidHost::Mirror {
  public:
    Mirror(std::unique_ptr<HidDevice> handle, std::unique_ptr<UhidDevice> kernel, bool bootLoader)
        : handle(std::move(handle)), kernel(std::move(kernel)), bootLoader(bootLoader) {
        requests = std::thread([this] { answerRequests(); });
        inputs = std::thread([this] { forwardInputReports(); });
    }
    ~Mirror() {
        stopping = true;
        kernel->stop();
        handle->cancelInputRead();
        requests.join();
        inputs.join();
    }
    Mirror(const Mirror&) = delete;
    Mirror& operator=(const Mirror&) = delete;

  private:
    void answerRequests() {
        while (const std::optional<UhidRequest> request = kernel->nextRequest()) {
            if (request->type != UhidRequest::ReportType::Feature) {
                // The mouse takes and gives its reports as feature reports
                // only, and the kernel reads input reports from the stream.
                answerFailure(*request);
            } else if (request->kind == UhidRequest::Kind::SetReport) {
                const HidError error = handle->sendFeatureReport(request->data);
                kernel->answerSetReport(request->id, error == HidError::None ? 0 : EIO);
            } else {
                answerGet(*request);
            }
        }
    }

    // The kernel does not say how many bytes its caller wants: the whole
    // declared report goes back, and the kernel hands on what fits.
    void answerGet(const UhidRequest& request) {
        const std::optional<std::size_t> size = featureReportSize(request.reportNumber, bootLoader);
        if (!size) {
            answerFailure(request);
            return;
        }
        std::vector<std::uint8_t> report(*size, 0);
        report[0] = request.reportNumber;
        const HidError error = handle->getFeatureReport(report);
        kernel->answerGetReport(request.id, error == HidError::None ? 0 : EIO, report);
    }

    void answerFailure(const UhidRequest& request) {
        if (request.kind == UhidRequest::Kind::SetReport) {
            kernel->answerSetReport(request.id, EIO);
        } else {
            kernel->answerGetReport(request.id, EIO, {});
        }
    }

    void forwardInputReports() {
        std::array<std::uint8_t, 64> report{};
        while (!stopping) {
            std::size_t length = 0;
            const HidError error = handle->readInputReport(report, HidDevice::kWaitForever, length);
            if (error != HidError::None) {
                return;  // the interface went; its removal ends this mirror
            }
            if (length != 0) {
                kernel->sendInputReport(std::span(report.data(), length));
            }
        }
    }

    const std::unique_ptr<HidDevice> handle;
    const std::unique_ptr<UhidDevice> kernel;
    const bool bootLoader;
    std::atomic<bool> stopping{false};
    std::thread requests;
    std::thread inputs;
};

UhidHost::UhidHost(VirtualHidBus& bus) : bus(bus) {}

UhidHost::~UhidHost() {
    // No event may arrive once the queue's reader is gone.
    subscription.reset();
    {
        std::lock_guard lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    if (follower.joinable()) {
        follower.join();
    }
    mirrors.clear();
}

bool UhidHost::start(std::string& error) {
    if (!UhidDevice::available(error)) {
        return false;
    }
    std::vector<HidDeviceInfo> present;
    // Events are only queued here: the callback may run on a mirror's own
    // thread (a reply that switches modes), which must not wait for itself.
    subscription = bus.watch(
        [this](const HidHotplugEvent& event) {
            {
                std::lock_guard lock(mutex);
                events.push_back({event, std::chrono::steady_clock::now()});
            }
            changed.notify_all();
        },
        present);
    for (const HidDeviceInfo& interface : present) {
        arrive(interface);
    }
    follower = std::thread([this] { follow(); });
    return true;
}

void UhidHost::follow() {
    for (;;) {
        QueuedEvent next;
        {
            std::unique_lock lock(mutex);
            changed.wait(lock, [this] { return stopping || !events.empty(); });
            if (stopping) {
                return;
            }
            next = std::move(events.front());
            events.pop_front();
        }
        if (next.event.kind == HidHotplugEvent::Kind::Arrival) {
            arrive(next.event.device);
        } else {
            std::this_thread::sleep_until(next.announced + kRemovalDelay);
            mirrors.erase(next.event.device.path);
        }
    }
}

void UhidHost::arrive(const HidDeviceInfo& interface) {
    HidError openError = HidError::None;
    std::unique_ptr<HidDevice> handle = bus.open(interface.path, openError);
    if (!handle) {
        return;  // gone again before we got to it; its removal follows
    }
    UhidDeviceDescription description;
    description.name = kDeviceName;
    description.phys = physFor(interface);
    description.vendorId = interface.vendorId;
    description.productId = interface.productId;
    description.version = interface.releaseNumber;
    description.reportDescriptor = reportDescriptor(interface, isBootLoader(interface));
    std::string error;
    std::unique_ptr<UhidDevice> kernel = UhidDevice::create(description, error);
    if (!kernel) {
        std::cerr << "orvane-emud: " << error << "\n";
        return;
    }
    mirrors[interface.path] =
        std::make_unique<Mirror>(std::move(handle), std::move(kernel), isBootLoader(interface));
}

}  // namespace orvane::emulator
