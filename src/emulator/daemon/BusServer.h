#pragma once

#include <atomic>
#include <chrono>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>

#include "emulator/VirtualHidBus.h"
#include "platform/virtual/BusSocket.h"

namespace orvane::emulator {

// How long a client of BusServer may keep the server waiting.
struct BusServerLimits {
    // From a frame's first byte to its last.
    std::chrono::milliseconds frameDeadline{2000};
    // For a reply (or hot-plug event) to leave once it is ready: a client
    // that does not read them fills its socket's buffer.
    std::chrono::milliseconds replyDeadline{5000};
};

// Serves one VirtualHidBus on a Unix socket, one thread per client, so that
// a client blocked in a read or a slow transfer holds up nobody else. A
// client that breaks the protocol or vanishes (even in the middle of a
// frame) loses its own connection and handles, nothing more.
//
// Nor can a client hold its place for ever by saying nothing: a frame must
// arrive whole, and a reply must be taken, within the limits below, and when
// every place is taken a newcomer takes the one of the client that has been
// waiting on its peer the longest (one subscribed to events or waiting for
// an input report only when no other client waits).
class BusServer {
  public:
    using Limits = BusServerLimits;

    struct Hooks {
        // After every request that may have changed the mouse.
        std::function<void()> changed;
        // When the server starts to stop, before it waits for its clients.
        std::function<void()> stopping;
    };

    static constexpr std::size_t kMaxClients = 64;
    static constexpr std::size_t kMaxHandlesPerClient = 32;
    // Hot-plug events a subscriber may leave unread before it is dropped.
    static constexpr std::size_t kMaxQueuedEvents = 1024;

    explicit BusServer(VirtualHidBus& bus, Hooks hooks = {}, Limits limits = {});
    ~BusServer();

    BusServer(const BusServer&) = delete;
    BusServer& operator=(const BusServer&) = delete;

    // Takes the socket path: refuses (false, `error`) when another server
    // holds or answers on it or when it names something that is not a
    // socket; removes a socket file nobody answers on.
    bool listen(const std::string& socketPath, std::string& error);

    // Serves until stop(); returns with every client gone and the socket
    // file removed.
    void run();

    // Safe from a signal handler and from any thread, before or during run().
    void stop();

  private:
    struct Client;

    void admit(FileDescriptor connection);
    bool makeRoom();
    void serve(Client& client);
    void serveEvents(Client& client);
    void reap(bool all);
    void removeSocketFile();

    VirtualHidBus& bus;
    Hooks hooks;
    Limits limits;
    std::string path;
    FileDescriptor listener;
    FileDescriptor lock;
    FileDescriptor wakeRead;
    FileDescriptor wakeWrite;
    unsigned long long socketInode = 0;
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> stopping{false};
    std::mutex clientsMutex;
    std::list<std::unique_ptr<Client>> clients;
};

}  // namespace orvane::emulator
