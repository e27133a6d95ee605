#include "HostileHid.h"

#include <algorithm>
#include <array>

#include "protocol/DeviceIds.h"

namespace orvane::fuzz {

namespace {

// The errors the transports retry, the ones they do not, and success (far
// more often, so that long exchanges are reached at all).
HidError errorFrom(std::uint8_t pick) {
    static constexpr std::array kErrors = {
        HidError::DeviceNotReady,     HidError::Crc,
        HidError::WriteFault,         HidError::GeneralFailure,
        HidError::InvalidParameter,   HidError::Timeout,
        HidError::DeviceNotConnected, HidError::FunctionFailed,
        HidError::AccessDenied,
    };
    if (pick < 0xE0) {
        return HidError::None;
    }
    return kErrors[pick % kErrors.size()];
}

}  // namespace

struct HostileHidBus::State {
    explicit State(FuzzInput& input) : input(input) {}

    // Every byte is taken under this lock: the capture thread and the
    // firmware update's worker read the device too.
    std::mutex mutex;
    std::condition_variable changed;
    FuzzInput& input;
    int inputReportsLeft = 0;
    bool readerWaiting = false;
    bool readerCancelled = false;
};

namespace {

class HostileDevice final : public HidDevice {
  public:
    explicit HostileDevice(std::shared_ptr<HostileHidBus::State> state) : state(std::move(state)) {}

    HidError sendFeatureReport(std::span<const std::uint8_t>) override {
        std::lock_guard guard(state->mutex);
        return nextError();
    }

    HidError getFeatureReport(std::span<std::uint8_t> report) override {
        std::lock_guard guard(state->mutex);
        const HidError error = nextError();
        if (error == HidError::None) {
            fill(report);
        }
        return error;
    }

    HidError readInputReport(std::span<std::uint8_t> report, std::chrono::milliseconds,
                             std::size_t& length) override {
        length = 0;
        std::unique_lock guard(state->mutex);
        if (state->inputReportsLeft == 0 || state->input.empty()) {
            state->readerWaiting = true;
            state->changed.notify_all();
            state->changed.wait(guard, [this] { return state->readerCancelled; });
            return HidError::None;
        }
        // Only what a report holds: after a failed read the capture waits
        // real time, which would slow the fuzzer to a crawl.
        --state->inputReportsLeft;
        length = fill(report);
        return HidError::None;
    }

    void cancelInputRead() override {
        std::lock_guard guard(state->mutex);
        state->readerCancelled = true;
        state->changed.notify_all();
    }

  private:
    HidError nextError() {
        if (state->input.empty()) {
            return HidError::DeviceNotConnected;
        }
        return errorFrom(state->input.byte());
    }

    // The leading bytes of the reply; the device leaves the rest as it was.
    std::size_t fill(std::span<std::uint8_t> report) {
        const auto bytes =
            state->input.take(std::min<std::size_t>(state->input.byte(), report.size()));
        std::copy(bytes.begin(), bytes.end(), report.begin());
        return bytes.size();
    }

    std::shared_ptr<HostileHidBus::State> state;
};

}  // namespace

HostileHidBus::HostileHidBus(FuzzInput& input) : state(std::make_shared<State>(input)) {}

HostileHidBus::~HostileHidBus() = default;

std::vector<HidDeviceInfo> HostileHidBus::enumerate() {
    std::lock_guard guard(state->mutex);
    if (state->input.empty()) {
        return {};
    }
    // Each bit lists one interface: the mouse's input interface (the first,
    // which the capture opens), its configuration and second vendor
    // interface, and the boot loader's configuration interface.
    const std::uint8_t present = state->input.byte();
    const std::uint16_t release = state->input.u16();
    std::vector<HidDeviceInfo> listed;
    if (present & 1) {
        listed.push_back({"hostile-input", kVendorId, kProductId, release, 0x0001, 0x0002, 0});
    }
    if (present & 2) {
        listed.push_back(
            {"hostile-config", kVendorId, kProductId, release, kConfigUsagePage, kConfigUsage, 1});
    }
    if (present & 4) {
        listed.push_back({"hostile-compliant", kVendorId, kProductId, release, kCompliantUsagePage,
                          kCompliantUsage, 1});
    }
    if (present & 8) {
        listed.push_back({"hostile-boot-loader", kVendorId, kBootLoaderProductId, release,
                          kConfigUsagePage, kConfigUsage, 0});
    }
    return listed;
}

std::unique_ptr<HidDevice> HostileHidBus::open(const std::string&, HidError& error) {
    {
        std::lock_guard guard(state->mutex);
        error =
            state->input.empty() ? HidError::DeviceNotConnected : errorFrom(state->input.byte());
    }
    if (error != HidError::None) {
        return nullptr;
    }
    return std::make_unique<HostileDevice>(state);
}

void HostileHidBus::allowInputReports(int count) {
    std::lock_guard guard(state->mutex);
    state->inputReportsLeft = count;
    state->readerWaiting = false;
    state->readerCancelled = false;
}

void HostileHidBus::waitForInputReader() {
    std::unique_lock guard(state->mutex);
    state->changed.wait(guard, [this] { return state->readerWaiting; });
}

}  // namespace orvane::fuzz
