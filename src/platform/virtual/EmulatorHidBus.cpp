#include "platform/virtual/EmulatorHidBus.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <condition_variable>
#include <limits>
#include <mutex>
#include <optional>
#include <thread>
#include <utility>

#include "platform/virtual/BusProtocol.h"
#include "platform/virtual/BusSocket.h"

namespace orvane {

namespace {

using emulator::BusConnection;
using emulator::IoStatus;
using emulator::Message;

// A call whose answer did not come: a daemon that stayed silent timed out,
// one that went away is a mouse that went away.
HidError lostReply(IoStatus status) {
    return status == IoStatus::TimedOut ? HidError::Timeout : HidError::DeviceNotConnected;
}

std::uint32_t waitMilliseconds(std::chrono::milliseconds timeout) {
    const auto count = std::clamp<std::chrono::milliseconds::rep>(
        timeout.count(), 0, std::numeric_limits<std::uint32_t>::max());
    return static_cast<std::uint32_t>(count);
}

// The write end of a pipe wakes a read that waits for the daemon's answer;
// the pipe stays readable, so every later read returns at once too.
class CancelPipe {
  public:
    CancelPipe() {
        if (::pipe2(ends, O_CLOEXEC) != 0) {
            ends[0] = ends[1] = -1;
        }
    }
    ~CancelPipe() {
        for (const int end : ends) {
            if (end >= 0) {
                ::close(end);
            }
        }
    }
    CancelPipe(const CancelPipe&) = delete;
    CancelPipe& operator=(const CancelPipe&) = delete;

    int readEnd() const { return ends[0]; }
    void signal() {
        const char one = 1;
        [[maybe_unused]] const ssize_t written = ::write(ends[1], &one, 1);
    }

  private:
    int ends[2] = {-1, -1};
};

class EmulatorHidDevice final : public HidDevice {
  public:
    EmulatorHidDevice(BusConnection connection, std::uint32_t handle, EmulatorHidBus::Timing timing)
        : connection(std::move(connection)), handle(handle), timing(timing) {}

    HidError sendFeatureReport(std::span<const std::uint8_t> report) override {
        std::lock_guard lock(mutex);
        IoStatus status = IoStatus::Ok;
        const std::optional<Message> reply =
            connection.exchange(emulator::SetFeatureRequest{handle, {report.begin(), report.end()}},
                                timing.replyAllowance, status);
        if (!reply) {
            return lostReply(status);
        }
        if (const auto* done = std::get_if<emulator::DoneReply>(&*reply)) {
            return done->error;
        }
        return unexpected(*reply);
    }

    HidError getFeatureReport(std::span<std::uint8_t> report) override {
        std::lock_guard lock(mutex);
        IoStatus status = IoStatus::Ok;
        const std::optional<Message> reply =
            connection.exchange(emulator::GetFeatureRequest{handle, {report.begin(), report.end()}},
                                timing.replyAllowance, status);
        if (!reply) {
            return lostReply(status);
        }
        if (const auto* feature = std::get_if<emulator::FeatureReply>(&*reply)) {
            std::copy_n(feature->report.begin(), std::min(feature->report.size(), report.size()),
                        report.begin());
            return feature->error;
        }
        return unexpected(*reply);
    }

    HidError readInputReport(std::span<std::uint8_t> report, std::chrono::milliseconds timeout,
                             std::size_t& length) override {
        length = 0;
        std::lock_guard lock(mutex);
        const auto maxLength = static_cast<std::uint32_t>(
            std::min<std::size_t>(report.size(), std::numeric_limits<std::uint32_t>::max()));
        IoStatus status = IoStatus::Ok;
        std::optional<Message> reply;
        if (timeout == kWaitForever) {
            // The daemon holds the request until a report comes; we wait for
            // its answer or for the cancel, whichever is first.
            reply = exchangeUnlessCancelled(
                emulator::ReadInputRequest{handle, maxLength,
                                           std::numeric_limits<std::uint32_t>::max()},
                status);
            if (!reply && status == IoStatus::Ok) {
                return HidError::None;  // cancelled
            }
        } else {
            const std::uint32_t wait = waitMilliseconds(timeout);
            reply = connection.exchange(emulator::ReadInputRequest{handle, maxLength, wait},
                                        std::chrono::milliseconds(wait) + timing.replyAllowance,
                                        status);
        }
        if (!reply) {
            return lostReply(status);
        }
        if (const auto* input = std::get_if<emulator::InputReply>(&*reply)) {
            length = std::min(input->report.size(), report.size());
            std::copy_n(input->report.begin(), length, report.begin());
            return input->error;
        }
        return unexpected(*reply);
    }

    void cancelInputRead() override { cancel.signal(); }

  private:
    // nullopt with status Ok when cancelled: the connection is closed then,
    // since the daemon's late answer would meet the next request.
    std::optional<Message> exchangeUnlessCancelled(const Message& request, IoStatus& status) {
        status = IoStatus::Ok;
        if (cancelled(0)) {
            return std::nullopt;
        }
        if (!connection.connected()) {
            status = IoStatus::Closed;
            return std::nullopt;
        }
        status = emulator::sendMessage(connection.descriptor(), request);
        if (status != IoStatus::Ok) {
            connection.close();
            return std::nullopt;
        }
        pollfd watched[2] = {{connection.descriptor(), POLLIN, 0}, {cancel.readEnd(), POLLIN, 0}};
        int ready = 0;
        do {
            ready = ::poll(watched, 2, -1);
        } while (ready < 0 && errno == EINTR);
        if (ready < 0 || watched[1].revents != 0) {
            connection.close();
            return std::nullopt;
        }
        Message reply;
        emulator::FrameError frameError = emulator::FrameError::None;
        status = emulator::receiveMessage(connection.descriptor(), reply,
                                          std::chrono::steady_clock::now() + timing.replyAllowance,
                                          frameError);
        if (status != IoStatus::Ok) {
            connection.close();
            return std::nullopt;
        }
        return reply;
    }

    bool cancelled(int waitMs) const {
        pollfd entry{cancel.readEnd(), POLLIN, 0};
        return ::poll(&entry, 1, waitMs) > 0;
    }

    // A Failure is the daemon refusing this request; any other reply means
    // the two sides no longer agree on the exchange, so the connection goes.
    HidError unexpected(const Message& reply) {
        if (!std::holds_alternative<emulator::FailureReply>(reply)) {
            connection.close();
        }
        return HidError::GeneralFailure;
    }

    std::mutex mutex;
    CancelPipe cancel;
    BusConnection connection;
    const std::uint32_t handle;
    const EmulatorHidBus::Timing timing;
};

// Connects and subscribes; the interfaces present then, or nullopt.
std::optional<std::vector<HidDeviceInfo>> subscribe(BusConnection& connection,
                                                    std::chrono::milliseconds timeout) {
    IoStatus status = IoStatus::Ok;
    const std::optional<Message> reply =
        connection.exchange(emulator::SubscribeRequest{}, timeout, status);
    if (reply) {
        if (const auto* subscribed = std::get_if<emulator::SubscribedReply>(&*reply)) {
            return subscribed->present;
        }
    }
    connection.close();
    return std::nullopt;
}

class EmulatorWatch final : public HidHotplugSubscription {
  public:
    EmulatorWatch(std::string path, EmulatorHidBus::Timing timing, HidBus::HotplugCallback callback,
                  BusConnection first, std::vector<HidDeviceInfo> known)
        : shared(std::make_shared<Shared>()) {
        thread = std::thread(run, shared, std::move(path), timing, std::move(callback),
                             std::move(first), std::move(known));
    }

    ~EmulatorWatch() override {
        {
            std::lock_guard lock(shared->mutex);
            shared->stopping = true;
            if (shared->liveFd >= 0) {
                ::shutdown(shared->liveFd, SHUT_RDWR);
            }
        }
        shared->wake.notify_all();
        // A callback may end its own subscription; its thread then finishes
        // on its own with nothing but the shared state.
        if (thread.get_id() == std::this_thread::get_id()) {
            thread.detach();
        } else {
            thread.join();
        }
    }

  private:
    struct Shared {
        std::mutex mutex;
        std::condition_variable wake;
        bool stopping = false;
        // The connection the reader is on; shut down to wake it. It is closed
        // only after being cleared here, so it is never shut down once reused.
        int liveFd = -1;
    };

    static void run(std::shared_ptr<Shared> shared, std::string path, EmulatorHidBus::Timing timing,
                    HidBus::HotplugCallback callback, BusConnection connection,
                    std::vector<HidDeviceInfo> known) {
        const auto deliver = [&](HidHotplugEvent::Kind kind, const HidDeviceInfo& device) {
            {
                std::lock_guard lock(shared->mutex);
                if (shared->stopping) {
                    return false;
                }
            }
            callback({kind, device, emulator::virtualInterfaceName(device)});
            return true;
        };
        const auto setLive = [&](int fd) {
            std::lock_guard lock(shared->mutex);
            shared->liveFd = fd;
            return !shared->stopping;
        };

        for (;;) {
            if (!connection.connected()) {
                std::string error;
                connection = BusConnection::open(path, error);
                if (connection.connected() && !setLive(connection.descriptor())) {
                    return;
                }
                std::optional<std::vector<HidDeviceInfo>> present;
                if (connection.connected()) {
                    present = subscribe(connection, timing.replyAllowance);
                }
                if (!present) {
                    setLive(-1);
                    connection.close();
                    std::unique_lock lock(shared->mutex);
                    if (shared->wake.wait_for(lock, timing.reconnectInterval,
                                              [&] { return shared->stopping; })) {
                        return;
                    }
                    continue;
                }
                for (const HidDeviceInfo& device : *present) {
                    if (!deliver(HidHotplugEvent::Kind::Arrival, device)) {
                        return;
                    }
                }
                known = std::move(*present);
            } else if (!setLive(connection.descriptor())) {
                return;
            }

            for (;;) {
                Message message;
                emulator::FrameError frameError = emulator::FrameError::None;
                if (emulator::receiveMessage(connection.descriptor(), message, std::nullopt,
                                             frameError) != IoStatus::Ok) {
                    break;
                }
                const auto* change = std::get_if<emulator::HotplugMessage>(&message);
                if (change == nullptr) {
                    break;
                }
                std::erase_if(known, [&](const HidDeviceInfo& device) {
                    return device.path == change->device.path;
                });
                if (change->kind == HidHotplugEvent::Kind::Arrival) {
                    known.push_back(change->device);
                }
                {
                    std::lock_guard lock(shared->mutex);
                    if (shared->stopping) {
                        return;
                    }
                }
                callback(change->event());
            }

            if (!setLive(-1)) {
                return;
            }
            connection.close();
            for (const HidDeviceInfo& device : known) {
                if (!deliver(HidHotplugEvent::Kind::Removal, device)) {
                    return;
                }
            }
            known.clear();
        }
    }

    std::shared_ptr<Shared> shared;
    std::thread thread;
};

}  // namespace

EmulatorHidBus::EmulatorHidBus(std::string socketPath)
    : EmulatorHidBus(std::move(socketPath), Timing{}) {}

EmulatorHidBus::EmulatorHidBus(std::string socketPath, Timing timing)
    : path(std::move(socketPath)), timing(timing) {}

std::vector<HidDeviceInfo> EmulatorHidBus::enumerate() {
    std::string error;
    BusConnection connection = BusConnection::open(path, error);
    IoStatus status = IoStatus::Ok;
    const std::optional<Message> reply =
        connection.exchange(emulator::EnumerateRequest{}, timing.replyAllowance, status);
    if (reply) {
        if (const auto* list = std::get_if<emulator::DeviceListReply>(&*reply)) {
            return list->devices;
        }
    }
    return {};
}

std::unique_ptr<HidDevice> EmulatorHidBus::open(const std::string& devicePath, HidError& error) {
    std::string reason;
    BusConnection connection = BusConnection::open(path, reason);
    IoStatus status = IoStatus::Ok;
    const std::optional<Message> reply =
        connection.exchange(emulator::OpenRequest{devicePath}, timing.replyAllowance, status);
    if (!reply) {
        error = lostReply(status);
        return nullptr;
    }
    const auto* opened = std::get_if<emulator::OpenedReply>(&*reply);
    if (opened == nullptr) {
        error = HidError::GeneralFailure;
        return nullptr;
    }
    error = opened->error;
    if (error != HidError::None) {
        return nullptr;
    }
    return std::make_unique<EmulatorHidDevice>(std::move(connection), opened->handle, timing);
}

std::unique_ptr<HidHotplugSubscription> EmulatorHidBus::watch(HotplugCallback callback) {
    // The first look is taken here, so that what is present now is the
    // starting point and not reported as arriving.
    std::string error;
    BusConnection connection = BusConnection::open(path, error);
    std::vector<HidDeviceInfo> known;
    if (connection.connected()) {
        known = subscribe(connection, timing.replyAllowance).value_or(std::vector<HidDeviceInfo>{});
    }
    return std::make_unique<EmulatorWatch>(path, timing, std::move(callback), std::move(connection),
                                           std::move(known));
}

std::string defaultEmulatorSocket() {
    return emulator::defaultSocketPath();
}

bool emulatorAnswers(const std::string& socketPath) {
    std::string error;
    return emulator::connectToBus(socketPath, error).valid();
}

std::string emulatorSocketFromSelection(const std::string& selection) {
    const std::size_t colon = selection.find(':');
    if (colon == std::string::npos || colon + 1 == selection.size()) {
        return emulator::defaultSocketPath();
    }
    return selection.substr(colon + 1);
}

}  // namespace orvane
