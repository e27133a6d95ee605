#include "platform/virtual/BusSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace orvane::emulator {

namespace {

using SteadyClock = std::chrono::steady_clock;

// What is left of the deadline for poll(): -1 for none, rounded up so that a
// wait never ends just before its time.
int pollTimeout(const Deadline& deadline) {
    if (!deadline) {
        return -1;
    }
    const auto left = *deadline - SteadyClock::now();
    if (left <= SteadyClock::duration::zero()) {
        return 0;
    }
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return ms > 1'000'000'000 ? 1'000'000'000 : static_cast<int>(ms);
}

// Waits for the descriptor when there is a deadline; without one the call
// that follows blocks instead.
IoStatus waitFor(int fd, short events, const Deadline& deadline) {
    if (!deadline) {
        return IoStatus::Ok;
    }
    for (;;) {
        pollfd entry{fd, events, 0};
        const int ready = ::poll(&entry, 1, pollTimeout(deadline));
        if (ready > 0) {
            return IoStatus::Ok;
        }
        if (ready == 0) {
            return IoStatus::TimedOut;
        }
        if (errno != EINTR) {
            return IoStatus::Failed;
        }
    }
}

IoStatus readExactly(int fd, std::uint8_t* data, std::size_t count, const Deadline& deadline) {
    while (count > 0) {
        if (const IoStatus waited = waitFor(fd, POLLIN, deadline); waited != IoStatus::Ok) {
            return waited;
        }
        const ssize_t got = ::recv(fd, data, count, 0);
        if (got > 0) {
            data += got;
            count -= static_cast<std::size_t>(got);
        } else if (got == 0) {
            return IoStatus::Closed;
        } else if (errno == ECONNRESET || errno == EPIPE) {
            return IoStatus::Closed;
        } else if (errno != EINTR && errno != EAGAIN) {
            return IoStatus::Failed;
        }
    }
    return IoStatus::Ok;
}

}  // namespace

std::string defaultSocketPath() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] != '\0') {
        return std::string(runtime) + "/orvane-emu.sock";
    }
    return "/tmp/orvane-emu-" + std::to_string(::geteuid()) + ".sock";
}

void FileDescriptor::reset(int replacement) {
    if (fd >= 0) {
        ::close(fd);
    }
    fd = replacement;
}

FileDescriptor connectToBus(const std::string& path, std::string& error) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.empty() || path.size() >= sizeof address.sun_path) {
        error = "socket path \"" + path + "\" is empty or too long";
        return {};
    }
    std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    FileDescriptor fd(::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.valid()) {
        error = std::string("cannot create a socket: ") + std::strerror(errno);
        return {};
    }
    int result;
    do {
        result = ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
    } while (result != 0 && errno == EINTR);
    if (result != 0) {
        error = "no simulated mouse answers on " + path + " (" + std::strerror(errno) + ")";
        return {};
    }
    // Below /tmp anyone could have put a socket there first; we talk to our
    // own daemon only.
    const std::optional<unsigned> owner = peerUserId(fd.get());
    if (!owner || *owner != ::geteuid()) {
        error = "the daemon on " + path + " belongs to another user";
        return {};
    }
    return fd;
}

std::optional<unsigned> peerUserId(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (::getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials.uid;
}

IoStatus sendMessage(int fd, const Message& message, Deadline deadline) {
    const std::vector<std::uint8_t> frame = encodeFrame(message);
    if (frame.empty()) {
        return IoStatus::Failed;
    }
    std::size_t sent = 0;
    while (sent < frame.size()) {
        if (const IoStatus waited = waitFor(fd, POLLOUT, deadline); waited != IoStatus::Ok) {
            return waited;
        }
        const ssize_t put = ::send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (put >= 0) {
            sent += static_cast<std::size_t>(put);
        } else if (errno == EPIPE || errno == ECONNRESET) {
            return IoStatus::Closed;
        } else if (errno != EINTR && errno != EAGAIN) {
            return IoStatus::Failed;
        }
    }
    return IoStatus::Ok;
}

IoStatus receiveMessage(int fd, Message& message, Deadline deadline, FrameError& error) {
    error = FrameError::None;
    std::vector<std::uint8_t> frame(kFrameHeaderSize);
    if (const IoStatus read = readExactly(fd, frame.data(), frame.size(), deadline);
        read != IoStatus::Ok) {
        return read;
    }
    DecodedFrame decoded = decodeFrame(frame);
    if (decoded.status == DecodedFrame::Status::Malformed) {
        error = decoded.error;
        return IoStatus::Malformed;
    }
    // The header has been checked against kMaxFrameBody, so this allocation
    // is bounded whatever the peer sent.
    frame.resize(decoded.frameSize);
    if (const IoStatus read = readExactly(fd, frame.data() + kFrameHeaderSize,
                                          frame.size() - kFrameHeaderSize, deadline);
        read != IoStatus::Ok) {
        return read;
    }
    decoded = decodeFrame(frame);
    if (decoded.status != DecodedFrame::Status::Complete) {
        error = decoded.error;
        return IoStatus::Malformed;
    }
    message = std::move(decoded.message);
    return IoStatus::Ok;
}

std::optional<Message> BusConnection::exchange(const Message& request,
                                               std::chrono::milliseconds timeout,
                                               IoStatus& status) {
    if (!fd.valid()) {
        status = IoStatus::Closed;
        return std::nullopt;
    }
    const Deadline deadline = SteadyClock::now() + timeout;
    status = sendMessage(fd.get(), request, deadline);
    Message reply;
    FrameError frameError = FrameError::None;
    if (status == IoStatus::Ok) {
        status = receiveMessage(fd.get(), reply, deadline, frameError);
    }
    if (status != IoStatus::Ok) {
        fd.reset();
        return std::nullopt;
    }
    return reply;
}

}  // namespace orvane::emulator
