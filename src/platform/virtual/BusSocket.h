#pragma once

#include <chrono>
#include <optional>
#include <string>

#include "platform/virtual/BusProtocol.h"

namespace orvane::emulator {

// $XDG_RUNTIME_DIR/orvane-emu.sock, or /tmp/orvane-emu-<uid>.sock on a
// session without a runtime folder.
std::string defaultSocketPath();

// Owns one file descriptor.
class FileDescriptor {
  public:
    FileDescriptor() = default;
    explicit FileDescriptor(int fd) : fd(fd) {}
    ~FileDescriptor() { reset(); }
    FileDescriptor(FileDescriptor&& other) noexcept : fd(other.release()) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept {
        if (this != &other) {
            reset(other.release());
        }
        return *this;
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;

    int get() const { return fd; }
    bool valid() const { return fd >= 0; }
    int release() {
        const int old = fd;
        fd = -1;
        return old;
    }
    void reset(int replacement = -1);

  private:
    int fd = -1;
};

using Deadline = std::optional<std::chrono::steady_clock::time_point>;

enum class IoStatus {
    Ok,
    Closed,     // the other side went away
    TimedOut,   // the deadline passed first
    Malformed,  // a frame that does not decode; see the FrameError
    Failed,     // the system refused (or the message is too large to send)
};

// Connects to a bus socket; an invalid descriptor and the reason when nobody
// of this user answers there.
FileDescriptor connectToBus(const std::string& path, std::string& error);

// The user id of the process at the other end, or nullopt.
std::optional<unsigned> peerUserId(int fd);

IoStatus sendMessage(int fd, const Message& message, Deadline deadline = std::nullopt);
// Reads one whole frame. On Malformed, `error` says why; when the frame's
// end was known it has been consumed and the next frame can be read.
IoStatus receiveMessage(int fd, Message& message, Deadline deadline, FrameError& error);

// A client's connection: one request, one reply, in turn. Any failure closes
// it, since a reply that comes late would answer the wrong request.
class BusConnection {
  public:
    BusConnection() = default;
    explicit BusConnection(FileDescriptor fd) : fd(std::move(fd)) {}

    static BusConnection open(const std::string& path, std::string& error) {
        return BusConnection(connectToBus(path, error));
    }

    bool connected() const { return fd.valid(); }
    int descriptor() const { return fd.get(); }
    void close() { fd.reset(); }

    // The reply, or nullopt with `status` saying what went wrong.
    std::optional<Message> exchange(const Message& request, std::chrono::milliseconds timeout,
                                    IoStatus& status);

  private:
    FileDescriptor fd;
};

}  // namespace orvane::emulator
