#pragma once

#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "Orvane_pro_dll.h"
#include "devlib/LibraryCore.h"

namespace orvane::devlib {

// What the boot loader's flash takes.
inline constexpr std::size_t kMaxFirmwareBlocks = 100;
inline constexpr std::size_t kFirmwareBlockSize = 1024;
// How long the update waits for the mouse to come back in application mode
// after the boot loader took the image; then it reports ORVANE_FW_NOT_BACK.
inline constexpr std::chrono::milliseconds kReturnTimeout{30000};

// The image cut into whole blocks, the last one padded with zeros; nothing
// for no image and for one over kMaxFirmwareBlocks blocks.
std::optional<std::vector<std::uint8_t>> firmwareBlocks(std::int32_t size,
                                                        const std::uint8_t* image);

// Firmware updates through the mouse's boot loader, each on a worker thread
// of its own that reports through the progress callback.
//
// Workers run without the library's lock (an update lasts seconds, and the
// host is told not to call other exports meanwhile). They never outlive the
// updater: its destructor (at unload, for the library's one updater) tells
// them to stop at their next pause and joins them.
class FirmwareUpdater {
  public:
    explicit FirmwareUpdater(LibraryCore& core);
    ~FirmwareUpdater();
    FirmwareUpdater(const FirmwareUpdater&) = delete;
    FirmwareUpdater& operator=(const FirmwareUpdater&) = delete;

    // Firmware_update_progress: 20 for null, else 1.
    std::uint8_t setProgressCallback(OrvaneProgressCallback callback);
    // Update_firmware: always 1. An image that cannot be sent is reported
    // as (80, 0) before this returns; else the worker starts.
    std::uint8_t update(std::int32_t size, const std::uint8_t* image);

  private:
    struct Worker {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };

    void report(std::uint8_t status, std::int32_t value);
    void joinFinished(bool all);

    LibraryCore& core;
    std::atomic<OrvaneProgressCallback> callback{nullptr};
    std::atomic<bool> cancelled{false};
    std::mutex workersMutex;
    std::vector<Worker> workers;

    friend class FirmwareWorker;
};

}  // namespace orvane::devlib
