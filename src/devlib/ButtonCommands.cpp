#include <algorithm>
#include <numeric>

#include "devlib/ButtonEncoding.h"
#include "devlib/Commands.h"
#include "devlib/Transport.h"
#include "protocol/CommandCodes.h"

namespace orvane::devlib {
namespace {

constexpr Clock::Duration kButtonPause{50};
constexpr Clock::Duration kWebPagePause{80};
constexpr Clock::Duration kReadBlockPause{10};
constexpr Clock::Duration kWriteBlockPause{100};
// One attempt at once, then one after each of these.
constexpr Clock::Duration kBlockRetryPauses[] = {Clock::Duration{0}, Clock::Duration{50},
                                                 Clock::Duration{100}};

constexpr std::size_t kEntryByte = kPayloadOffset;
constexpr std::size_t kBlockSum = 7;

std::uint8_t lowByte(std::int32_t value) {
    return static_cast<std::uint8_t>(value & 0xFF);
}

std::uint8_t sendButtonEntry(LibraryCore& core, std::uint8_t profile, std::uint8_t button,
                             std::span<const std::uint8_t> entry, Clock::Duration pause) {
    CommandReport report = commandReport(lib_command::kButton, 0, profile, button);
    std::copy(entry.begin(), entry.end(), report.begin() + kEntryByte);
    return statusResult(exchange(core, report, {pause}));
}

std::uint8_t writeBlockWithRetries(LibraryCore& core, std::uint8_t profile, std::uint8_t button,
                                   std::span<const std::uint8_t> block) {
    if (writeDataBlock(core, profile, button, block) == kOk) {
        return kOk;
    }
    for (Clock::Duration pause : kBlockRetryPauses) {
        if (pause > Clock::Duration::zero()) {
            core.clock().sleepFor(pause);
        }
        if (writeDataBlock(core, profile, button, block) == kOk) {
            return kOk;
        }
    }
    return kDeviceError;
}

std::uint8_t setButtonText(LibraryCore& core, const RunProgramRequest* request, std::uint8_t kind,
                           Clock::Duration pause) {
    if (request == nullptr) {
        return kDeviceError;
    }
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(request->profile)) {
        return kBadArgument;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    if (!isButton(request->button) || request->length > kPayloadSize ||
        (request->text == nullptr && request->length > 0)) {
        return kBadArgument;
    }
    const std::uint8_t profile = lowByte(request->profile);
    const std::uint8_t button = lowByte(request->button);

    std::array<std::uint8_t, kPayloadSize> block{};
    std::copy_n(request->text, request->length, block.begin());

    DeviceEntry entry;
    entry.kind = kind;
    entry.sub = 0;
    entry.first = request->length;
    entry.trailing = 0;
    const std::array<std::uint8_t, 7> bytes = entry.bytes();
    // Only kind, sub and length go out; the rest of the entry stays zero.
    if (sendButtonEntry(core, profile, button, std::span(bytes).first(4), pause) != kOk) {
        return kDeviceError;
    }
    return writeDataBlock(core, profile, button, block) == kOk ? kOk : kDeviceError;
}

}  // namespace

bool readDataBlock(LibraryCore& core, std::uint8_t profile, std::uint8_t button,
                   std::span<std::uint8_t> block) {
    std::fill(block.begin(), block.end(), 0);
    const Reply reply =
        exchange(core, commandReport(lib_command::kReadDataBlock, button, profile),
                 {kReadBlockPause, SendSpeed::Fast, kDataReportId, kDataReportSize});
    if (!reply.readAndDone()) {
        return false;
    }
    std::copy_n(reply.bytes.begin() + kPayloadOffset, std::min(block.size(), kPayloadSize),
                block.begin());
    return true;
}

std::uint8_t writeDataBlock(LibraryCore& core, std::uint8_t profile, std::uint8_t button,
                            std::span<const std::uint8_t> block) {
    CCriticalSectionAutoLock guard(core.lock());
    const std::unique_lock hold = core.exchangeLock();
    std::vector<std::uint8_t> report(kDataReportSize, 0);
    report[0] = kDataReportId;
    report[1] = lib_command::kWriteDataBlock;
    report[2] = button;
    report[5] = profile;
    const std::size_t length = std::min(block.size(), kPayloadSize);
    std::copy_n(block.begin(), length, report.begin() + kPayloadOffset);
    const auto sum = static_cast<std::uint16_t>(
        std::accumulate(block.begin(), block.begin() + static_cast<std::ptrdiff_t>(length), 0U));
    putU16(report, kBlockSum, sum);

    const bool sent = core.sendFeatureReportFast(report);
    core.clock().sleepFor(kWriteBlockPause);
    if (!sent) {
        return kBadArgument;
    }
    std::vector<std::uint8_t> reply(kCommandReportSize, 0);
    reply[0] = kCommandReportId;
    core.receiveFeatureReply(reply);
    return reply[kStatusByte] == 1 ? kOk : kDeviceError;
}

std::uint8_t setButtonSettings(LibraryCore& core, std::int32_t profile,
                               const ButtonSetting* setting) {
    CCriticalSectionAutoLock guard(core.lock());
    if (!isProfile(profile)) {
        return kBadArgument;
    }
    if (setting == nullptr) {
        return kDeviceError;
    }
    // The record holds 140 events and the button number goes on the wire.
    if (!isButton(setting->button) ||
        (setting->type == kMacroType && setting->count > kMaxEvents) ||
        !isKnownFunction(*setting)) {
        return kBadArgument;
    }
    if (!core.ensureDeviceOpen()) {
        return kDeviceError;
    }
    const DeviceEntry entry = encodeButton(*setting);
    std::array<std::uint8_t, kPayloadSize> block{};
    if (setting->type == kMacroType) {
        encodeEvents(std::span(setting->events, setting->count), block);
    } else if (setting->type == kSystemType) {
        encodeEvents(systemSequence(setting->sub), block);
    }
    const std::uint8_t profileByte = lowByte(profile);
    const std::array<std::uint8_t, 7> bytes = entry.bytes();
    if (sendButtonEntry(core, profileByte, setting->button, bytes, kButtonPause) != kOk) {
        return kDeviceError;
    }
    if (!hasDataBlock(entry.kind)) {
        return kOk;
    }
    return writeBlockWithRetries(core, profileByte, setting->button, block);
}

std::uint8_t setButtonRunProgram(LibraryCore& core, const RunProgramRequest* request) {
    return setButtonText(core, request, button_entry::kRunProgram, kButtonPause);
}

std::uint8_t setButtonRunBrowser(LibraryCore& core, const RunProgramRequest* request) {
    return setButtonText(core, request, button_entry::kOpenWebPage, kWebPagePause);
}

}  // namespace orvane::devlib
