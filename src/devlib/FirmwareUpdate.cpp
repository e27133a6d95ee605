#include "devlib/FirmwareUpdate.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <numeric>
#include <system_error>

#include "devlib/Commands.h"
#include "devlib/Transport.h"
#include "protocol/CommandCodes.h"
#include "protocol/DeviceIds.h"

namespace orvane::devlib {

namespace {

using Pause = Clock::Duration;

constexpr std::uint8_t kFirstBlockNumber = 12;

constexpr Pause kEnterPause{30};
constexpr Pause kInformationPause{50};
constexpr Pause kBlockPause{20};
constexpr Pause kFinishPause{10};
constexpr std::array<Pause, 5> kBootLoaderWaits = {Pause{0}, Pause{500}, Pause{1000}, Pause{1500},
                                                   Pause{2000}};
constexpr Pause kAfterSwitch{1000};
constexpr std::array<Pause, 5> kInformationRetries = {Pause{300}, Pause{600}, Pause{900},
                                                      Pause{1200}, Pause{1500}};
constexpr std::array<Pause, 3> kBlockRetries = {Pause{0}, Pause{100}, Pause{200}};
constexpr Pause kBetweenBlocks{70};
constexpr Pause kBeforeFinish{200};
constexpr int kBootLoaderTries = 3;
constexpr Pause kBootLoaderTryPause{500};
constexpr int kAlternatingTries = 31;
constexpr Pause kAlternatingPause{1500};
constexpr Pause kReturnPollPause{250};
// A mouse that has just come back may not answer at once.
constexpr std::array<Pause, 3> kVersionRetries = {Pause{0}, Pause{500}, Pause{1000}};

constexpr std::int32_t kStarted = 1;
constexpr std::int32_t kBootLoaderReached = 3;
constexpr std::int32_t kInformationAccepted = 4;
constexpr std::int32_t kImageAccepted = 100;

// Every boot-loader exchange is long in both directions.
constexpr Exchange bootLoaderExchange(Pause pause) {
    return {pause, SendSpeed::Normal, kCommandReportId, kDataReportSize};
}

std::vector<std::uint8_t> longReport(std::uint8_t reportId, std::uint8_t command) {
    std::vector<std::uint8_t> report(kDataReportSize, 0);
    report[0] = reportId;
    report[1] = command;
    return report;
}

std::uint32_t sum32(std::span<const std::uint8_t> bytes) {
    return std::accumulate(bytes.begin(), bytes.end(), std::uint32_t{0});
}

void putU32(std::span<std::uint8_t> bytes, std::size_t offset, std::uint32_t value) {
    for (std::size_t i = 0; i < 4; ++i) {
        bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

enum class Mode { Application, BootLoader };

}  // namespace

// One update, start to end, on its worker thread.
class FirmwareWorker {
  public:
    FirmwareWorker(FirmwareUpdater& updater, std::vector<std::uint8_t> image)
        : updater(updater), core(updater.core), image(std::move(image)) {}

    void run();

  private:
    std::optional<Mode> detectMode();
    bool enterBootLoader();
    bool reachBootLoader();
    bool sendInformation();
    bool sendBlock(std::size_t index);
    bool waitForApplication();

    // False once the library is going away; the update then ends quietly.
    bool pause(Pause duration) {
        if (updater.cancelled.load()) {
            return false;
        }
        core.clock().sleepFor(duration);
        return !updater.cancelled.load();
    }
    bool cancelled() const { return updater.cancelled.load(); }
    bool open(std::uint16_t productId) { return core.openDeviceByProductId(productId); }
    void report(std::uint8_t status, std::int32_t value) { updater.report(status, value); }

    FirmwareUpdater& updater;
    LibraryCore& core;
    const std::vector<std::uint8_t> image;
    std::int32_t progress = kInformationAccepted;
};

void FirmwareWorker::run() {
    report(ORVANE_FW_PROGRESS, kStarted);
    const std::optional<Mode> mode = detectMode();
    if (cancelled()) {
        return;
    }
    if (!mode) {
        report(ORVANE_FW_NO_MOUSE, 2);
        return;
    }
    if (*mode == Mode::Application) {
        if (!enterBootLoader()) {
            report(ORVANE_FW_SWITCH_REFUSED, 1);
            return;
        }
        core.closeDeviceHandle();
        if (!reachBootLoader()) {
            if (!cancelled()) {
                report(ORVANE_FW_NO_BOOT_LOADER, 1);
            }
            return;
        }
        report(ORVANE_FW_PROGRESS, kBootLoaderReached);
        if (!pause(kAfterSwitch)) {
            return;
        }
    }
    if (!sendInformation()) {
        if (!cancelled()) {
            report(ORVANE_FW_INFO_REFUSED, kInformationAccepted);
        }
        return;
    }
    report(ORVANE_FW_PROGRESS, kInformationAccepted);
    const std::size_t blockCount = image.size() / kFirmwareBlockSize;
    for (std::size_t index = 0; index < blockCount; ++index) {
        if (!sendBlock(index)) {
            if (!cancelled()) {
                report(ORVANE_FW_BLOCK_FAILED, progress);
            }
            return;
        }
        progress = static_cast<std::int32_t>(4 + 100 * index / blockCount);
        report(ORVANE_FW_PROGRESS, progress);
        if (!pause(kBetweenBlocks)) {
            return;
        }
    }
    if (!pause(kBeforeFinish)) {
        return;
    }
    const Reply finished = exchange(core, longReport(kCommandReportId, boot_command::kFinish),
                                    bootLoaderExchange(kFinishPause));
    if (!finished.statusDone()) {
        report(ORVANE_FW_IMAGE_REJECTED, progress);
        return;
    }
    progress = kImageAccepted;
    report(ORVANE_FW_PROGRESS, kImageAccepted);
    if (!waitForApplication()) {
        if (!cancelled()) {
            report(ORVANE_FW_NOT_BACK, progress);
        }
        return;
    }
    // The update must end with a status the host can act on: a mouse that
    // is back but never tells its version is not usable yet, whatever it
    // runs.
    for (Pause wait : kVersionRetries) {
        if (!pause(wait)) {
            return;
        }
        std::uint16_t version = 0;
        if (getFirmwareVersion(core, &version) == kOk) {
            report(ORVANE_FW_DONE, version);
            return;
        }
    }
    report(ORVANE_FW_NOT_BACK, progress);
}

std::optional<Mode> FirmwareWorker::detectMode() {
    core.closeDeviceHandle();
    if (open(kProductId)) {
        return Mode::Application;
    }
    core.closeDeviceHandle();
    for (int attempt = 0; attempt < kBootLoaderTries; ++attempt) {
        if (open(kBootLoaderProductId)) {
            return Mode::BootLoader;
        }
        if (!pause(kBootLoaderTryPause)) {
            return std::nullopt;
        }
    }
    // A mouse caught between its two identities shows up as either.
    for (int attempt = 0; attempt < kAlternatingTries; ++attempt) {
        const bool bootLoader = attempt % 2 == 0;
        if (open(bootLoader ? kBootLoaderProductId : kProductId)) {
            return bootLoader ? Mode::BootLoader : Mode::Application;
        }
        if (!pause(kAlternatingPause)) {
            return std::nullopt;
        }
        core.closeDeviceHandle();
    }
    return std::nullopt;
}

bool FirmwareWorker::enterBootLoader() {
    CommandReport request = commandReport(lib_command::kEnterBootLoader);
    std::copy(lib_command::kBootLoaderUnlock.begin(), lib_command::kBootLoaderUnlock.end(),
              request.begin() + operand::kProfile);
    return exchange(core, request, {kEnterPause, SendSpeed::Fast}).readAndDone();
}

bool FirmwareWorker::reachBootLoader() {
    for (const Pause wait : kBootLoaderWaits) {
        if (open(kBootLoaderProductId)) {
            return true;
        }
        if (!pause(wait)) {
            return false;
        }
    }
    return false;
}

bool FirmwareWorker::sendInformation() {
    std::vector<std::uint8_t> request =
        longReport(kCommandReportId, boot_command::kImageInformation);
    request[boot_command::kBlockCountByte] =
        static_cast<std::uint8_t>(image.size() / kFirmwareBlockSize);
    putU32(request, boot_command::kImageSumByte, sum32(image));
    for (const Pause wait : kInformationRetries) {
        if (exchange(core, request, bootLoaderExchange(kInformationPause)).readAndDone()) {
            return true;
        }
        if (!pause(wait)) {
            return false;
        }
    }
    return false;
}

bool FirmwareWorker::sendBlock(std::size_t index) {
    const auto block = std::span(image).subspan(index * kFirmwareBlockSize, kFirmwareBlockSize);
    std::vector<std::uint8_t> request = longReport(kDataReportId, boot_command::kImageBlock);
    request[boot_command::kBlockNumberByte] = static_cast<std::uint8_t>(kFirstBlockNumber + index);
    putU16(request, boot_command::kBlockSumByte, static_cast<std::uint16_t>(sum32(block)));
    std::copy(block.begin(), block.end(), request.begin() + kPayloadOffset);
    for (const Pause wait : kBlockRetries) {
        if (exchange(core, request, bootLoaderExchange(kBlockPause)).readAndDone()) {
            return true;
        }
        if (!pause(wait)) {
            return false;
        }
    }
    return false;
}

// The boot loader restarts the mouse by itself; it may take a while to be
// enumerated again, but a mouse that never comes back must not keep the
// worker (and the library's unload) waiting for ever.
bool FirmwareWorker::waitForApplication() {
    core.closeDeviceHandle();
    const Clock::TimePoint deadline = core.clock().now() + kReturnTimeout;
    for (;;) {
        if (open(kProductId)) {
            return true;
        }
        if (core.clock().now() >= deadline || !pause(kReturnPollPause)) {
            return false;
        }
    }
}

std::optional<std::vector<std::uint8_t>> firmwareBlocks(std::int32_t size,
                                                        const std::uint8_t* image) {
    if (image == nullptr || size <= 0) {
        return std::nullopt;
    }
    const std::size_t bytes = static_cast<std::size_t>(size);
    const std::size_t blockCount = (bytes + kFirmwareBlockSize - 1) / kFirmwareBlockSize;
    if (blockCount > kMaxFirmwareBlocks) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> blocks(blockCount * kFirmwareBlockSize, 0);
    std::copy_n(image, bytes, blocks.begin());
    return blocks;
}

FirmwareUpdater::FirmwareUpdater(LibraryCore& core) : core(core) {}

FirmwareUpdater::~FirmwareUpdater() {
    cancelled = true;
    joinFinished(true);
}

std::uint8_t FirmwareUpdater::setProgressCallback(OrvaneProgressCallback newCallback) {
    if (newCallback == nullptr) {
        return kDeviceError;
    }
    callback.store(newCallback);
    return kOk;
}

std::uint8_t FirmwareUpdater::update(std::int32_t size, const std::uint8_t* image) {
    std::optional<std::vector<std::uint8_t>> blocks = firmwareBlocks(size, image);
    if (!blocks) {
        report(ORVANE_FW_NO_IMAGE, 0);
        return kOk;
    }
    joinFinished(false);
    auto finished = std::make_shared<std::atomic<bool>>(false);
    std::lock_guard lock(workersMutex);
    try {
        std::thread thread([this, finished, image = std::move(*blocks)]() mutable {
            core.firmwareUpdateBegins();
            FirmwareWorker(*this, std::move(image)).run();
            core.firmwareUpdateEnds();
            finished->store(true);
        });
        workers.push_back({std::move(thread), std::move(finished)});
    } catch (const std::system_error&) {
        // No thread: the image goes with the lambda, nothing is reported.
    }
    return kOk;
}

void FirmwareUpdater::report(std::uint8_t status, std::int32_t value) {
    if (const OrvaneProgressCallback call = callback.load()) {
        call(&status, &value);
    }
}

void FirmwareUpdater::joinFinished(bool all) {
    std::vector<Worker> ending;
    {
        std::lock_guard lock(workersMutex);
        auto done = std::stable_partition(workers.begin(), workers.end(), [all](const Worker& w) {
            return !all && !w.finished->load();
        });
        std::move(done, workers.end(), std::back_inserter(ending));
        workers.erase(done, workers.end());
    }
    for (Worker& worker : ending) {
        if (worker.thread.get_id() == std::this_thread::get_id()) {
            worker.thread.detach();  // our own progress callback started an update
        } else {
            worker.thread.join();
        }
    }
}

}  // namespace orvane::devlib
