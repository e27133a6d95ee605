#include "devlib/Capture.h"

#include <algorithm>
#include <array>
#include <condition_variable>
#include <system_error>
#include <utility>

#include "devlib/Transport.h"
#include "protocol/CommandCodes.h"

namespace orvane::devlib {
namespace {

constexpr std::uint8_t kFirstSimpleKind = 1;
constexpr std::uint8_t kLastSimpleKind = 5;
constexpr std::size_t kKind = 1;
constexpr std::size_t kValue = 2;
constexpr std::size_t kBlockNumber = 4;
constexpr std::size_t kProfile = 5;

// The capture whose thread this is, if any: start and stop called from a
// callback must neither wait for themselves nor take the host's lock.
thread_local const EventCapture* captureOfThisThread = nullptr;

}  // namespace

struct EventCapture::Session {
    std::unique_ptr<HidDevice> device;
    std::atomic<bool> stopping{false};
    std::mutex wakeMutex;
    std::condition_variable wake;
    std::thread thread;
};

EventCapture::EventCapture(LibraryCore& core) : core(core) {}

EventCapture::~EventCapture() {
    stop();
    joinRetired();
}

std::uint8_t EventCapture::start(OrvaneCaptureCallback newCallback) {
    if (newCallback == nullptr) {
        return kDeviceError;
    }
    callback.store(newCallback);
    const bool fromCallback = captureOfThisThread == this;
    std::unique_lock operation(operationMutex, std::defer_lock);
    if (!fromCallback) {
        operation.lock();
    }
    // The old capture goes before the new device is opened, so that the
    // two never read the same reports.
    endCurrent(fromCallback);

    auto session = std::make_shared<Session>();
    session->device = core.openCaptureDevice();
    if (!session->device) {
        return ORVANE_CAPTURE_FAILED;
    }
    std::shared_ptr<Session> displaced;
    {
        std::lock_guard lock(stateMutex);
        try {
            session->thread = std::thread([this, session] { run(*session); });
        } catch (const std::system_error&) {
            return kDeviceError;
        }
        // Only a capture started by our own callback meanwhile can be here.
        displaced = std::exchange(current, session);
    }
    if (displaced) {
        end(std::move(displaced));
    }
    return ORVANE_CAPTURE_STARTED;
}

void EventCapture::stop() {
    const bool fromCallback = captureOfThisThread == this;
    std::unique_lock operation(operationMutex, std::defer_lock);
    if (!fromCallback) {
        operation.lock();
    }
    endCurrent(fromCallback);
}

void EventCapture::endCurrent(bool fromCallback) {
    if (std::shared_ptr<Session> old = takeCurrent()) {
        end(std::move(old));
    }
    // A capture's own thread cannot join itself; the next stop from a host
    // thread, or the unload, joins it.
    if (!fromCallback) {
        joinRetired();
    }
}

bool EventCapture::running() const {
    std::lock_guard lock(stateMutex);
    return current != nullptr;
}

std::shared_ptr<EventCapture::Session> EventCapture::takeCurrent() {
    std::lock_guard lock(stateMutex);
    std::shared_ptr<Session> session = std::move(current);
    if (session && session->thread.get_id() == std::this_thread::get_id()) {
        // Our own callback stopped us: the thread returns to its loop, sees
        // the flag and ends. It is retired in the same step that empties
        // `current`, so that a host's stop finding nothing current still
        // finds the thread to join.
        signalStop(*session);
        retired.push_back(std::move(session->thread));
    }
    return session;
}

void EventCapture::signalStop(Session& session) {
    {
        std::lock_guard lock(session.wakeMutex);
        session.stopping = true;
    }
    session.wake.notify_all();
    // The thread may be blocked in its read; that wait ends now.
    if (session.device) {
        session.device->cancelInputRead();
    }
}

void EventCapture::end(std::shared_ptr<Session> session) {
    signalStop(*session);
    if (session->thread.joinable()) {
        session->thread.join();
    }
}

void EventCapture::joinRetired() {
    std::vector<std::thread> finishing;
    {
        std::lock_guard lock(stateMutex);
        finishing.swap(retired);
    }
    for (std::thread& thread : finishing) {
        thread.join();
    }
}

void EventCapture::run(Session& session) {
    captureOfThisThread = this;
    std::array<std::uint8_t, kReportLength> report{};
    while (!session.stopping.load()) {
        report.fill(0);
        std::size_t length = 0;
        // Blocks until the mouse sends something; stopping cancels the read.
        const HidError error =
            session.device->readInputReport(report, HidDevice::kWaitForever, length);
        if (session.stopping.load()) {
            break;
        }
        if (error != HidError::None) {
            pauseAfterError(session);
            continue;
        }
        if (length == 0) {
            continue;
        }
        dispatch(report);
        core.clock().sleepFor(kReportPause);
    }
}

// An unplugged mouse fails every read at once; without a pause the thread
// would spin until Close_device. The wait ends early when we are stopped.
void EventCapture::pauseAfterError(Session& session) {
    std::unique_lock lock(session.wakeMutex);
    session.wake.wait_for(lock, kReportPause, [&session] { return session.stopping.load(); });
}

void EventCapture::dispatch(std::span<const std::uint8_t> report) {
    const OrvaneCaptureCallback call = callback.load();
    std::uint8_t kind = report[kKind];
    if (call == nullptr) {
        return;
    }
    if (kind >= kFirstSimpleKind && kind <= kLastSimpleKind) {
        std::uint8_t value = report[kValue];
        std::int32_t one = 1;
        call(&kind, &value, &one);
    } else if (kind == button_entry::kRunProgram || kind == button_entry::kOpenWebPage) {
        std::array<std::uint8_t, kPayloadSize> block{};
        readDataBlock(report[kBlockNumber], report[kProfile], block);
        // The host reads this many bytes of the block: never more than it has.
        std::int32_t length = std::min<std::int32_t>(u16At(report, kValue), kPayloadSize);
        call(&kind, block.data(), &length);
    }
}

// Runs without the library's lock, which an export holds across all its
// exchanges and pauses: the host's callback is waiting for this block. The
// exchange itself still waits for one in progress on another thread, whose
// reply it would otherwise read as its own. The command handle is opened if
// no command did so yet, since a host that only captures would otherwise
// always get an empty block.
void EventCapture::readDataBlock(std::uint8_t block, std::uint8_t profile,
                                 std::span<std::uint8_t> data) {
    if (!core.ensureDeviceOpen()) {
        return;
    }
    const Reply reply =
        exchange(core, commandReport(lib_command::kReadDataBlock, block, profile),
                 {kBlockReadPause, SendSpeed::Fast, kDataReportId, kDataReportSize});
    if (!reply.statusDone()) {
        return;
    }
    std::copy_n(reply.bytes.begin() + kPayloadOffset, kPayloadSize, data.begin());
}

std::uint8_t closeDevice(LibraryCore& core, EventCapture& capture,
                         const std::function<void()>& shutdownHid) {
    capture.stop();
    if (shutdownHid) {
        shutdownHid();
    }
    core.closeDeviceHandle();
    return kOk;
}

void closeDeviceAfterRemoval(LibraryCore& core, EventCapture& capture,
                             const std::function<void()>& shutdownHid) {
    if (!core.firmwareUpdateRunning()) {
        closeDevice(core, capture, shutdownHid);
        return;
    }
    capture.stop();
}

}  // namespace orvane::devlib
