#include "emulator/daemon/BusServer.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <deque>
#include <map>
#include <thread>

namespace orvane::emulator {

namespace {

// Input reports of the mouse are a few bytes; the daemon never sets more
// than this aside for one read, whatever the request asks for.
constexpr std::size_t kMaxInputLength = 4096;
// How long the daemon waits for an input report at a stretch before it
// looks whether the client is still there and whether it should stop.
constexpr std::chrono::milliseconds kReadSlice{100};

bool makePipe(FileDescriptor& readEnd, FileDescriptor& writeEnd) {
    int ends[2];
    if (::pipe2(ends, O_NONBLOCK | O_CLOEXEC) != 0) {
        return false;
    }
    readEnd.reset(ends[0]);
    writeEnd.reset(ends[1]);
    return true;
}

void poke(const FileDescriptor& writeEnd) {
    const char byte = 1;
    // A full pipe already wakes the reader.
    if (::write(writeEnd.get(), &byte, 1) < 0) {
        return;
    }
}

void drain(const FileDescriptor& readEnd) {
    char sink[64];
    while (::read(readEnd.get(), sink, sizeof sink) > 0) {
    }
}

bool peerHungUp(int fd) {
    pollfd entry{fd, POLLRDHUP, 0};
    return ::poll(&entry, 1, 0) > 0 && (entry.revents & (POLLRDHUP | POLLHUP | POLLERR)) != 0;
}

std::string systemError(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

// Someone accepts connections on this path right now.
bool somebodyAnswers(const sockaddr_un& address) {
    FileDescriptor probe(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    return probe.valid() &&
           ::connect(probe.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0;
}

}  // namespace

struct BusServer::Client {
    // What the client's thread waits for. Only a client that waits on its
    // peer may be dropped to make room, not one whose request is being
    // carried out. Listening: subscribed to hot-plug events, or waiting for
    // an input report (which may take as long as the client asked).
    enum class Phase { Idle, Receiving, Answering, Listening };

    explicit Client(FileDescriptor connection) : fd(std::move(connection)) { enter(Phase::Idle); }

    void enter(Phase next) {
        since.store(std::chrono::steady_clock::now().time_since_epoch().count());
        phase.store(next);
    }

    FileDescriptor fd;
    std::thread thread;
    std::atomic<bool> finished{false};
    std::atomic<Phase> phase{Phase::Idle};
    // When the client entered its phase (steady clock ticks).
    std::atomic<std::chrono::steady_clock::rep> since{0};
    // Its connection was shut to make room; it no longer counts. Guarded by
    // clientsMutex.
    bool dropped = false;

    // Hot-plug events on their way to a subscribed client.
    std::mutex eventMutex;
    std::deque<HotplugMessage> events;
    bool overflow = false;
    FileDescriptor eventRead;
    FileDescriptor eventWrite;
};

BusServer::BusServer(VirtualHidBus& bus, Hooks hooks, Limits limits)
    : bus(bus), hooks(std::move(hooks)), limits(limits) {
    makePipe(wakeRead, wakeWrite);
}

BusServer::~BusServer() {
    stop();
    reap(true);
    removeSocketFile();
}

bool BusServer::listen(const std::string& socketPath, std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (socketPath.empty() || socketPath.size() >= sizeof address.sun_path) {
        error = "socket path \"" + socketPath + "\" is empty or too long";
        return false;
    }
    std::memcpy(address.sun_path, socketPath.c_str(), socketPath.size() + 1);
    if (!wakeRead.valid()) {
        error = "cannot create the server's wake-up pipe";
        return false;
    }

    // Two daemons starting at once would each take the other's socket for
    // stale; the lock beside it decides. A lock file that was replaced while
    // we waited for it is not the one the others lock, so look again.
    const std::string lockPath = socketPath + ".lock";
    for (int attempt = 0;; ++attempt) {
        FileDescriptor candidate(
            ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!candidate.valid()) {
            error = systemError("cannot open " + lockPath);
            return false;
        }
        if (::flock(candidate.get(), LOCK_EX | LOCK_NB) != 0) {
            error = errno == EWOULDBLOCK ? "another orvane-emud already serves " + socketPath
                                         : systemError("cannot lock " + lockPath);
            return false;
        }
        struct stat held {};
        struct stat named {};
        if (::fstat(candidate.get(), &held) == 0 && ::stat(lockPath.c_str(), &named) == 0 &&
            held.st_dev == named.st_dev && held.st_ino == named.st_ino) {
            lock = std::move(candidate);
            break;
        }
        if (attempt == 3) {
            error = "the lock file " + lockPath + " keeps changing";
            return false;
        }
    }

    struct stat existing {};
    if (::lstat(socketPath.c_str(), &existing) == 0) {
        if (!S_ISSOCK(existing.st_mode)) {
            error = socketPath + " exists and is not a socket; not touching it";
            return false;
        }
        if (somebodyAnswers(address)) {
            error = "another daemon already answers on " + socketPath;
            return false;
        }
        // Left behind by a daemon that did not stop cleanly.
        if (::unlink(socketPath.c_str()) != 0 && errno != ENOENT) {
            error = systemError("cannot remove the stale socket " + socketPath);
            return false;
        }
    }

    FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        error = systemError("cannot create a socket");
        return false;
    }
    if (::bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        error = systemError("cannot bind " + socketPath);
        return false;
    }
    // Peers are checked by user id as well; this keeps the others from even
    // connecting.
    struct stat bound {};
    if (::chmod(socketPath.c_str(), 0600) != 0 || ::stat(socketPath.c_str(), &bound) != 0 ||
        ::listen(fd.get(), 16) != 0) {
        error = systemError("cannot listen on " + socketPath);
        ::unlink(socketPath.c_str());
        return false;
    }
    path = socketPath;
    socketInode = bound.st_ino;
    listener = std::move(fd);
    return true;
}

void BusServer::run() {
    while (!stopRequested.load() && listener.valid()) {
        pollfd entries[2] = {{listener.get(), POLLIN, 0}, {wakeRead.get(), POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            break;
        }
        if (entries[1].revents != 0) {
            drain(wakeRead);
        }
        if (stopRequested.load()) {
            break;
        }
        reap(false);
        if ((entries[0].revents & POLLIN) == 0) {
            continue;
        }
        FileDescriptor connection(::accept4(listener.get(), nullptr, nullptr, SOCK_CLOEXEC));
        if (!connection.valid()) {
            continue;
        }
        const std::optional<unsigned> peer = peerUserId(connection.get());
        if (!peer || *peer != ::geteuid()) {
            continue;
        }
        admit(std::move(connection));
    }

    stopping.store(true);
    if (hooks.stopping) {
        hooks.stopping();
    }
    {
        // Wakes every client thread out of its recv(), send() or poll(); the
        // descriptors themselves close only after the threads are joined.
        std::lock_guard guard(clientsMutex);
        for (const std::unique_ptr<Client>& client : clients) {
            ::shutdown(client->fd.get(), SHUT_RDWR);
        }
    }
    reap(true);
    listener.reset();
    removeSocketFile();
}

void BusServer::admit(FileDescriptor connection) {
    std::lock_guard guard(clientsMutex);
    if (!makeRoom()) {
        sendMessage(connection.get(), FailureReply{"too many clients"},
                    std::chrono::steady_clock::now());
        return;
    }
    auto client = std::make_unique<Client>(std::move(connection));
    Client& served = *client;
    client->thread = std::thread([this, &served] {
        serve(served);
        served.finished.store(true);
        poke(wakeWrite);
    });
    clients.push_back(std::move(client));
}

// Called with clientsMutex held.
bool BusServer::makeRoom() {
    std::size_t counted = 0;
    Client* longestWaiting = nullptr;
    const auto rank = [](const Client& client) {
        // Listeners last: dropping one makes a program lose sight of the
        // mouse until it watches again.
        return std::make_pair(client.phase.load() == Client::Phase::Listening, client.since.load());
    };
    for (const std::unique_ptr<Client>& client : clients) {
        if (client->dropped || client->finished.load()) {
            continue;
        }
        ++counted;
        if (client->phase.load() == Client::Phase::Answering) {
            continue;
        }
        if (longestWaiting == nullptr || rank(*client) < rank(*longestWaiting)) {
            longestWaiting = client.get();
        }
    }
    if (counted < kMaxClients) {
        return true;
    }
    if (longestWaiting == nullptr) {
        return false;
    }
    // Its thread wakes from its read, ends and is reaped like any other.
    longestWaiting->dropped = true;
    ::shutdown(longestWaiting->fd.get(), SHUT_RDWR);
    return true;
}

void BusServer::stop() {
    stopRequested.store(true);
    if (wakeWrite.valid()) {
        poke(wakeWrite);
    }
}

void BusServer::reap(bool all) {
    std::list<std::unique_ptr<Client>> done;
    {
        std::lock_guard guard(clientsMutex);
        for (auto it = clients.begin(); it != clients.end();) {
            if (all || (*it)->finished.load()) {
                done.push_back(std::move(*it));
                it = clients.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const std::unique_ptr<Client>& client : done) {
        if (client->thread.joinable()) {
            client->thread.join();
        }
    }
}

void BusServer::removeSocketFile() {
    if (path.empty()) {
        return;
    }
    // Only our own socket: whoever replaced it owns the new one.
    struct stat now {};
    if (::stat(path.c_str(), &now) == 0 && now.st_ino == socketInode) {
        ::unlink(path.c_str());
    }
    path.clear();
}

namespace {

// The connection's requests, answered one by one.
class RequestHandler {
  public:
    RequestHandler(VirtualHidBus& bus, int fd, const std::atomic<bool>& stopping)
        : bus(bus), fd(fd), stopping(stopping) {}

    // The reply, or nullopt when the client went away meanwhile.
    std::optional<Message> answer(const Message& request) {
        return std::visit([this](const auto& r) { return (*this)(r); }, request);
    }

    bool changed = false;

    std::optional<Message> operator()(const EnumerateRequest&) {
        return DeviceListReply{bus.enumerate()};
    }
    std::optional<Message> operator()(const OpenRequest& r) {
        if (handles.size() >= BusServer::kMaxHandlesPerClient) {
            return FailureReply{"too many open handles on one connection"};
        }
        HidError error = HidError::None;
        std::unique_ptr<HidDevice> device = bus.open(r.path, error);
        if (!device) {
            return OpenedReply{error, 0};
        }
        while (nextHandle == 0 || handles.contains(nextHandle)) {
            ++nextHandle;
        }
        const std::uint32_t handle = nextHandle++;
        handles.emplace(handle, std::move(device));
        return OpenedReply{HidError::None, handle};
    }
    std::optional<Message> operator()(const CloseRequest& r) {
        if (handles.erase(r.handle) == 0) {
            return noSuchHandle();
        }
        return DoneReply{};
    }
    std::optional<Message> operator()(const SetFeatureRequest& r) {
        HidDevice* device = find(r.handle);
        if (device == nullptr) {
            return noSuchHandle();
        }
        changed = true;
        return DoneReply{device->sendFeatureReport(r.report)};
    }
    std::optional<Message> operator()(const GetFeatureRequest& r) {
        HidDevice* device = find(r.handle);
        if (device == nullptr) {
            return noSuchHandle();
        }
        std::vector<std::uint8_t> report = r.report;
        // A read can change the mouse too: a reply taken, a mode left.
        changed = true;
        const HidError error = device->getFeatureReport(report);
        return FeatureReply{error, std::move(report)};
    }
    std::optional<Message> operator()(const ReadInputRequest& r) {
        HidDevice* device = find(r.handle);
        if (device == nullptr) {
            return noSuchHandle();
        }
        std::vector<std::uint8_t> report(std::min<std::size_t>(r.maxLength, kMaxInputLength));
        const auto deadline =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(r.timeoutMs);
        for (;;) {
            const auto left = std::chrono::ceil<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            std::size_t length = 0;
            const HidError error = device->readInputReport(
                report, std::clamp(left, std::chrono::milliseconds::zero(), kReadSlice), length);
            if (error != HidError::None || length > 0 ||
                std::chrono::steady_clock::now() >= deadline) {
                report.resize(length);
                return InputReply{error, std::move(report)};
            }
            if (stopping.load() || peerHungUp(fd)) {
                return std::nullopt;
            }
        }
    }
    std::optional<Message> operator()(const SubscribeRequest&) {
        return FailureReply{"subscription is handled by the server"};
    }
    std::optional<Message> operator()(const PlugRequest&) {
        return control([](VirtualMouse& mouse) { mouse.plug(); });
    }
    std::optional<Message> operator()(const UnplugRequest&) {
        return control([](VirtualMouse& mouse) { mouse.unplug(); });
    }
    std::optional<Message> operator()(const PressDpiButtonRequest& r) {
        if (r.level < 1 || r.level > 5) {
            return FailureReply{"the resolution level must be 1 to 5"};
        }
        return control([&](VirtualMouse& mouse) { mouse.pressDpiButton(r.level); });
    }
    std::optional<Message> operator()(const PressButtonRequest& r) {
        changed = true;
        if (!bus.withMouse([&](VirtualMouse& mouse) { return mouse.pressButton(r.button); })) {
            return FailureReply{"button " + std::to_string(r.button) +
                                " sent nothing: it is not a program or web-page button of the "
                                "active profile, or the mouse is unplugged"};
        }
        return DoneReply{};
    }
    std::optional<Message> operator()(const SetQualityRequest& r) {
        return control([&](VirtualMouse& mouse) { mouse.setSurfaceQuality(r.quality); });
    }
    std::optional<Message> operator()(const SetFirmwareRequest& r) {
        return control([&](VirtualMouse& mouse) {
            mouse.setFirmwareVersion(r.version);
            // Plugged in afresh, as after a flash, so that hosts read the
            // new release number.
            if (mouse.plugged()) {
                mouse.unplug();
                mouse.plug();
            }
        });
    }
    std::optional<Message> operator()(const AddFaultRequest& r) {
        if (r.kind == Fault::Kind::BusyReplies && r.busyStatus != 3 && r.busyStatus != 4) {
            return FailureReply{"a busy reply has status 3 or 4"};
        }
        return control([&](VirtualMouse& mouse) { mouse.addFault(r.fault()); });
    }
    std::optional<Message> operator()(const ClearFaultsRequest&) {
        return control([](VirtualMouse& mouse) { mouse.clearFaults(); });
    }
    std::optional<Message> operator()(const DumpRequest& r) {
        if (r.slot && *r.slot >= VirtualMouse::kSlotCount) {
            return FailureReply{"the slot must be 0 to " +
                                std::to_string(VirtualMouse::kSlotCount - 1)};
        }
        std::optional<std::size_t> slot;
        if (r.slot) {
            slot = *r.slot;
        }
        return TextReply{bus.withMouse([&](VirtualMouse& mouse) { return mouse.dumpJson(slot); })};
    }
    std::optional<Message> operator()(const SaveStateRequest&) {
        return TextReply{bus.withMouse([](VirtualMouse& mouse) { return mouse.saveState(); })};
    }
    std::optional<Message> operator()(const LoadStateRequest& r) {
        std::string reason;
        if (!bus.withMouse([&](VirtualMouse& mouse) { return mouse.loadState(r.text, reason); })) {
            return FailureReply{"not a saved state: " + reason};
        }
        changed = true;
        return DoneReply{};
    }
    template <typename Reply>
    std::optional<Message> operator()(const Reply&) {
        return FailureReply{"not a request"};
    }

  private:
    template <typename Action>
    std::optional<Message> control(Action&& action) {
        bus.withMouse(std::forward<Action>(action));
        changed = true;
        return DoneReply{};
    }
    HidDevice* find(std::uint32_t handle) {
        const auto it = handles.find(handle);
        return it == handles.end() ? nullptr : it->second.get();
    }
    static Message noSuchHandle() { return FailureReply{"no such handle"}; }

    VirtualHidBus& bus;
    const int fd;
    const std::atomic<bool>& stopping;
    std::map<std::uint32_t, std::unique_ptr<HidDevice>> handles;
    std::uint32_t nextHandle = 1;
};

}  // namespace

namespace {

// Waits for the first byte of the next request, for as long as it takes; a
// client may stay idle between requests. False when the connection ended.
bool awaitRequest(int fd) {
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, -1);
        if (ready > 0) {
            return (entry.revents & POLLIN) != 0;
        }
        if (ready < 0 && errno != EINTR) {
            return false;
        }
    }
}

}  // namespace

void BusServer::serve(Client& client) {
    RequestHandler handler(bus, client.fd.get(), stopping);
    const auto replyDeadline = [this] {
        return std::chrono::steady_clock::now() + limits.replyDeadline;
    };
    // Idle from the moment its reply is on the way: from then on the
    // client, not the server, has to act. (Also in the order the clients
    // saw their replies, which is the order a newcomer drops them in.)
    for (;;) {
        if (!awaitRequest(client.fd.get()) || stopping.load()) {
            return;
        }
        client.enter(Client::Phase::Receiving);
        Message request;
        FrameError frameError = FrameError::None;
        const IoStatus received =
            receiveMessage(client.fd.get(), request,
                           std::chrono::steady_clock::now() + limits.frameDeadline, frameError);
        if (received == IoStatus::Malformed) {
            client.enter(Client::Phase::Idle);
            if (sendMessage(client.fd.get(), FailureReply{describeFrameError(frameError)},
                            replyDeadline()) == IoStatus::Ok &&
                frameBoundaryKnown(frameError)) {
                continue;
            }
            return;
        }
        if (received == IoStatus::TimedOut) {
            // The rest of the frame may still be on its way; nothing after
            // it could be read as a frame any more.
            sendMessage(client.fd.get(), FailureReply{"frame not finished in time"},
                        std::chrono::steady_clock::now());
            return;
        }
        if (received != IoStatus::Ok || stopping.load()) {
            return;
        }
        if (std::holds_alternative<SubscribeRequest>(request)) {
            client.enter(Client::Phase::Listening);
            serveEvents(client);
            return;
        }
        client.enter(std::holds_alternative<ReadInputRequest>(request) ? Client::Phase::Listening
                                                                       : Client::Phase::Answering);
        handler.changed = false;
        const std::optional<Message> reply = handler.answer(request);
        if (!reply) {
            return;
        }
        // Saved before the client hears of it, so that a daemon killed right
        // after a command still has it on disk.
        if (handler.changed && hooks.changed) {
            hooks.changed();
        }
        client.enter(Client::Phase::Idle);
        if (sendMessage(client.fd.get(), *reply, replyDeadline()) != IoStatus::Ok) {
            return;
        }
    }
}

void BusServer::serveEvents(Client& client) {
    if (!makePipe(client.eventRead, client.eventWrite)) {
        sendMessage(client.fd.get(), FailureReply{"cannot create an event pipe"});
        return;
    }
    std::vector<HidDeviceInfo> present;
    // The callback runs on whichever thread changed the mouse; it only
    // queues, and the subscription ends (waiting for a call in flight)
    // before the queue does.
    const std::unique_ptr<HidHotplugSubscription> subscription = bus.watch(
        [&client](const HidHotplugEvent& event) {
            {
                std::lock_guard guard(client.eventMutex);
                if (client.events.size() >= kMaxQueuedEvents) {
                    client.overflow = true;
                } else {
                    client.events.push_back({event.kind, event.device, event.interfaceName});
                }
            }
            poke(client.eventWrite);
        },
        present);
    const auto replyDeadline = [this] {
        return std::chrono::steady_clock::now() + limits.replyDeadline;
    };
    if (sendMessage(client.fd.get(), SubscribedReply{std::move(present)}, replyDeadline()) !=
        IoStatus::Ok) {
        return;
    }
    for (;;) {
        pollfd entries[2] = {{client.fd.get(), POLLIN | POLLRDHUP, 0},
                             {client.eventRead.get(), POLLIN, 0}};
        if (::poll(entries, 2, -1) < 0) {
            if (errno == EINTR) {
                continue;
            }
            return;
        }
        // A subscriber sends nothing more: anything from it is its end.
        if (entries[0].revents != 0 || stopping.load()) {
            return;
        }
        drain(client.eventRead);
        std::deque<HotplugMessage> batch;
        bool overflowed = false;
        {
            std::lock_guard guard(client.eventMutex);
            batch.swap(client.events);
            overflowed = client.overflow;
        }
        for (const HotplugMessage& event : batch) {
            if (sendMessage(client.fd.get(), event, replyDeadline()) != IoStatus::Ok) {
                return;
            }
        }
        // It missed events, so its picture of the bus is wrong; dropping it
        // makes it start again from a fresh list.
        if (overflowed) {
            return;
        }
    }
}

}  // namespace orvane::emulator
