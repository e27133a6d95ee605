#include "emulator/VirtualMouse.h"

#include <algorithm>
#include <span>
#include <utility>

#include "emulator/ApplicationCommands.h"
#include "emulator/LibraryCommands.h"
#include "emulator/MouseStateJson.h"
#include "protocol/DeviceIds.h"

namespace orvane::emulator {
namespace {

static_assert(VirtualMouse::kSlotCount == kProfileCount);
static_assert(VirtualMouse::kImageSize == kDeviceImageSize);
static_assert(VirtualMouse::kBlockSize == kProfileBlockSize);

constexpr std::uint16_t kPointerUsagePage = 0x0001;
constexpr std::uint16_t kPointerUsage = 0x0002;
constexpr std::uint8_t kResolutionEvent = 0x02;
constexpr std::uint8_t kHighestResolutionLevel = 5;

struct InterfaceShape {
    int number;
    std::uint16_t usagePage;
    std::uint16_t usage;
};

constexpr std::array<InterfaceShape, 3> kInterfaces = {{
    {VirtualMouse::kConfigInterface, kConfigUsagePage, kConfigUsage},
    {VirtualMouse::kCompliantInterface, kCompliantUsagePage, kCompliantUsage},
    {VirtualMouse::kPointerInterface, kPointerUsagePage, kPointerUsage},
}};

// In boot-loader mode the mouse shows only its first interface.
std::span<const InterfaceShape> shapesShown(bool bootLoader) {
    return bootLoader ? std::span(kInterfaces).first(1) : std::span(kInterfaces);
}

bool isGetFault(Fault::Kind kind) {
    return kind == Fault::Kind::FailGets || kind == Fault::Kind::BusyReplies ||
           kind == Fault::Kind::StatusZeroReplies || kind == Fault::Kind::NeverReply;
}

// A reply that says only "not done": the report id and length of the real
// reply (or of the host's buffer before there is one), the status, zeros.
void fillStatusOnly(std::span<std::uint8_t> buffer, const std::vector<std::uint8_t>& reply,
                    std::uint8_t status) {
    const std::size_t size = reply.empty() ? buffer.size() : std::min(buffer.size(), reply.size());
    std::fill_n(buffer.begin() + 1, size - 1, std::uint8_t{0});
    if (!reply.empty()) {
        buffer[0] = reply[0];
    }
    if (size > 1) {
        buffer[1] = status;
    }
}

}  // namespace

VirtualMouseOptions::VirtualMouseOptions()
    : vendorId(kVendorId), productId(kProductId), bootLoaderProductId(kBootLoaderProductId) {}

VirtualMouse::VirtualMouse(const VirtualMouseOptions& options) {
    state.options = options;
    state.memory =
        factoryMemory(options.firmwareVersion, options.bootLoaderVersion, options.releaseNumber);
    plug();
}

// ----- the bus side -----

std::vector<HidDeviceInfo> VirtualMouse::interfaces() const {
    if (!state.plugged) {
        return {};
    }
    const bool bootLoader = state.memory.bootLoader;
    const std::string prefix = pathPrefix();
    std::vector<HidDeviceInfo> list;
    for (const InterfaceShape& shape : shapesShown(bootLoader)) {
        HidDeviceInfo info;
        info.path = prefix + std::to_string(shape.number);
        info.vendorId = state.options.vendorId;
        info.productId = bootLoader ? state.options.bootLoaderProductId : state.options.productId;
        info.releaseNumber =
            bootLoader ? state.memory.bootLoaderVersion : state.memory.releaseNumber;
        info.usagePage = shape.usagePage;
        info.usage = shape.usage;
        info.interfaceNumber = shape.number;
        list.push_back(std::move(info));
    }
    return list;
}

bool VirtualMouse::isPresent(const std::string& path) const {
    return interfaceAt(path).has_value();
}

TransferResult VirtualMouse::setFeature(const std::string& path,
                                        std::span<const std::uint8_t> report) {
    // A reply that switched modes has been answered; by the next request the
    // mouse has restarted, whether or not the host read that reply.
    applyPendingChange();
    const auto number = interfaceAt(path);
    if (!number) {
        return {HidError::DeviceNotConnected};
    }
    if (unplugDue()) {
        unplug();
        return {HidError::DeviceNotConnected};
    }
    if (*number != kConfigInterface) {
        return {HidError::GeneralFailure};
    }
    if (const auto fault = takeFault(true)) {
        return {fault->error};
    }
    if (report.empty() || reportSize(report[0]) != report.size()) {
        return {HidError::InvalidParameter};
    }
    state.recentRequests.emplace_back(report.begin(), report.end());
    if (state.recentRequests.size() > kRecentRequestCount) {
        state.recentRequests.pop_front();
    }
    const Request request(report);
    CommandReply reply;
    if (state.memory.bootLoader) {
        reply = state.bootLoader.handle(state.memory, request);
    } else if (auto application = handleApplicationCommand(state.memory, request)) {
        reply = std::move(*application);
    } else {
        reply = handleLibraryCommand(state.memory, request);
    }
    state.reply = std::move(reply.report);
    state.changeOnDelivery = reply.change;
    return {};
}

TransferResult VirtualMouse::getFeature(const std::string& path, std::span<std::uint8_t> report) {
    const auto number = interfaceAt(path);
    if (!number) {
        return {HidError::DeviceNotConnected};
    }
    if (unplugDue()) {
        unplug();
        return {HidError::DeviceNotConnected};
    }
    if (*number != kConfigInterface) {
        return {HidError::GeneralFailure};
    }
    if (report.empty()) {
        return {HidError::InvalidParameter};
    }
    if (const auto fault = takeFault(false)) {
        switch (fault->kind) {
            case Fault::Kind::NeverReply:
                return {HidError::Timeout, true};
            case Fault::Kind::BusyReplies:
                fillStatusOnly(report, state.reply, fault->busyStatus);
                return {};
            case Fault::Kind::StatusZeroReplies:
                fillStatusOnly(report, state.reply, kStatusNone);
                return {};
            default:
                return {fault->error};
        }
    }
    if (state.reply.empty()) {
        fillStatusOnly(report, state.reply, kStatusNone);
        return {};
    }
    std::copy_n(state.reply.begin(), std::min(report.size(), state.reply.size()), report.begin());
    applyPendingChange();
    return {};
}

std::vector<Notice> VirtualMouse::takeNotices() {
    return std::exchange(state.notices, {});
}

// ----- the control side -----

void VirtualMouse::plug() {
    if (state.plugged) {
        return;
    }
    state.plugged = true;
    ++state.plugCount;
    forgetVolatileState();
    announce(Notice::Kind::Arrival);
}

void VirtualMouse::unplug() {
    if (!state.plugged) {
        return;
    }
    announce(Notice::Kind::Removal);
    state.plugged = false;
    // A switch that was already answered has happened inside the mouse; it
    // comes back in the new mode.
    if (state.changeOnDelivery != ModeChange::None) {
        state.memory.bootLoader = state.changeOnDelivery == ModeChange::EnterBootLoader;
    }
    forgetVolatileState();
}

bool VirtualMouse::plugged() const {
    return state.plugged;
}

bool VirtualMouse::inBootLoader() const {
    return state.memory.bootLoader;
}

void VirtualMouse::pressDpiButton(std::uint8_t level) {
    if (!state.plugged || state.memory.bootLoader || level < 1 || level > kHighestResolutionLevel) {
        return;
    }
    state.memory.slotImages[state.memory.activeSlot][kActiveDpiLevelOffset] = level;
    // The report counts the levels from 0, as the hosts read it.
    sendInputReport({kInputReportId, kResolutionEvent, static_cast<std::uint8_t>(level - 1)});
}

bool VirtualMouse::pressButton(int button) {
    if (!state.plugged || state.memory.bootLoader || button < 1 ||
        button > static_cast<int>(kProfileButtonCount)) {
        return false;
    }
    const std::uint8_t profile = static_cast<std::uint8_t>(state.memory.activeSlot + 1);
    const Block& block = state.memory.profile(profile)->block;
    const std::size_t entry = profile_block::buttonEntry(static_cast<std::size_t>(button));
    const std::uint8_t kind = block[entry];
    if (kind != button_entry::kRunProgram && kind != button_entry::kOpenWebPage) {
        return false;
    }
    // The host reads the text from the button's data block itself; the
    // report names the block and the text's length.
    sendInputReport({kInputReportId, kind, block[entry + 2], block[entry + 3],
                     static_cast<std::uint8_t>(button), profile});
    return true;
}

void VirtualMouse::setSurfaceQuality(std::uint8_t quality) {
    state.memory.surfaceQuality = quality;
}

void VirtualMouse::addFault(const Fault& fault) {
    if (fault.count == 0 && fault.kind != Fault::Kind::UnplugOnTransfer) {
        return;
    }
    state.faults.push_back(fault);
}

void VirtualMouse::clearFaults() {
    state.faults.clear();
}

std::uint8_t VirtualMouse::activeSlot() const {
    return state.memory.activeSlot;
}

std::array<std::uint8_t, VirtualMouse::kImageSize> VirtualMouse::slotImage(std::size_t slot) const {
    return slot < kSlotCount ? state.memory.slotImages[slot] : SlotImage{};
}

void VirtualMouse::setFirmwareVersion(std::uint16_t version) {
    state.memory.firmwareVersion = version;
    state.memory.releaseNumber = version;
}

std::uint16_t VirtualMouse::firmwareVersion() const {
    return state.memory.firmwareVersion;
}

std::vector<std::vector<std::uint8_t>> VirtualMouse::recentRequests() const {
    return {state.recentRequests.begin(), state.recentRequests.end()};
}

std::string VirtualMouse::dumpJson(std::optional<std::size_t> slot) const {
    return describeState({state.memory, state.plugged}, slot, recentRequests());
}

std::string VirtualMouse::saveState() const {
    return writeSavedState({state.memory, state.plugged});
}

bool VirtualMouse::loadState(std::string_view text, std::string& error) {
    auto saved = readSavedState(text, error);
    if (!saved) {
        return false;
    }
    const bool wasPlugged = state.plugged;
    announce(Notice::Kind::Removal);
    state.memory = saved->memory;
    state.plugged = saved->plugged;
    forgetVolatileState();
    if (wasPlugged || state.plugged) {
        ++state.plugCount;
    }
    announce(Notice::Kind::Arrival);
    return true;
}

// ----- inspection -----

std::array<std::uint8_t, VirtualMouse::kBlockSize> VirtualMouse::profileBlock(
    std::size_t profile) const {
    const LibraryProfile* found = state.memory.profile(profile);
    return found != nullptr ? found->block : Block{};
}

std::array<std::uint8_t, VirtualMouse::kBlockSize> VirtualMouse::dataBlock(
    std::size_t profile, std::size_t button) const {
    const LibraryProfile* found = state.memory.profile(profile);
    if (found == nullptr || button < 1 || button > kProfileButtonCount) {
        return {};
    }
    return found->dataBlocks[button - 1];
}

// ----- private -----

std::string VirtualMouse::pathPrefix() const {
    return "orvane-emu/" + std::to_string(state.plugCount) +
           (state.memory.bootLoader ? "/boot/" : "/app/");
}

// Every request names its interface, so this is on the path of each
// transfer: it reads the path instead of building the list of interfaces.
std::optional<int> VirtualMouse::interfaceAt(const std::string& path) const {
    if (!state.plugged) {
        return std::nullopt;
    }
    const std::string prefix = pathPrefix();
    if (path.size() != prefix.size() + 1 || path.compare(0, prefix.size(), prefix) != 0) {
        return std::nullopt;
    }
    static_assert(std::all_of(kInterfaces.begin(), kInterfaces.end(),
                              [](const InterfaceShape& shape) { return shape.number < 10; }),
                  "an interface's path ends in one digit");
    const int number = path.back() - '0';
    const auto shown = shapesShown(state.memory.bootLoader);
    if (std::none_of(shown.begin(), shown.end(),
                     [number](const InterfaceShape& shape) { return shape.number == number; })) {
        return std::nullopt;
    }
    return number;
}

HidDeviceInfo VirtualMouse::configInterface() const {
    const auto list = interfaces();
    return list.empty() ? HidDeviceInfo{} : list.front();
}

void VirtualMouse::announce(Notice::Kind kind) {
    for (HidDeviceInfo& info : interfaces()) {
        state.notices.push_back({kind, std::move(info), {}});
    }
}

void VirtualMouse::forgetVolatileState() {
    state.reply.clear();
    state.changeOnDelivery = ModeChange::None;
    state.bootLoader.reset();
}

void VirtualMouse::changeMode(bool bootLoader) {
    announce(Notice::Kind::Removal);
    state.memory.bootLoader = bootLoader;
    ++state.plugCount;
    forgetVolatileState();
    announce(Notice::Kind::Arrival);
}

void VirtualMouse::applyPendingChange() {
    if (state.changeOnDelivery != ModeChange::None) {
        changeMode(state.changeOnDelivery == ModeChange::EnterBootLoader);
    }
}

bool VirtualMouse::unplugDue() {
    const auto fault = std::find_if(state.faults.begin(), state.faults.end(), [](const Fault& f) {
        return f.kind == Fault::Kind::UnplugOnTransfer;
    });
    if (fault == state.faults.end()) {
        return false;
    }
    if (fault->count > 0) {
        --fault->count;
        return false;
    }
    state.faults.erase(fault);
    return true;
}

std::optional<Fault> VirtualMouse::takeFault(bool forSet) {
    const auto fault = std::find_if(state.faults.begin(), state.faults.end(), [&](const Fault& f) {
        return forSet ? f.kind == Fault::Kind::FailSets : isGetFault(f.kind);
    });
    if (fault == state.faults.end()) {
        return std::nullopt;
    }
    Fault taken = *fault;
    if (--fault->count == 0) {
        state.faults.erase(fault);
    }
    return taken;
}

std::size_t VirtualMouse::reportSize(std::uint8_t reportId) const {
    if (reportId == kDataReportId) {
        return kDataReportSize;
    }
    if (reportId == kCommandReportId) {
        return state.memory.bootLoader ? kDataReportSize : kCommandReportSize;
    }
    return 0;
}

void VirtualMouse::sendInputReport(std::vector<std::uint8_t> report) {
    report.resize(kInputReportSize, 0);
    state.notices.push_back({Notice::Kind::InputReport, configInterface(), std::move(report)});
}

}  // namespace orvane::emulator
