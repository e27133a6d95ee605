// A hostile local client: whatever bytes it writes to the daemon's socket,
// the daemon's frame reader takes from the stream exactly the messages that
// decoding the bytes in one piece gives, goes on after a malformed frame only
// where the frame's end is known, and every message it accepts is the one
// spelling of itself (encoding it again gives the bytes it came from).
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "platform/virtual/BusSocket.h"

namespace {

using namespace orvane::emulator;

// What the bytes hold, read the way the daemon reads its socket.
std::vector<Message> decodeInOnePiece(std::span<const std::uint8_t> bytes) {
    std::vector<Message> messages;
    while (!bytes.empty()) {
        const DecodedFrame decoded = decodeFrame(bytes);
        if (decoded.status == DecodedFrame::Status::Incomplete ||
            (decoded.status == DecodedFrame::Status::Malformed &&
             !frameBoundaryKnown(decoded.error))) {
            break;
        }
        if (decoded.status == DecodedFrame::Status::Complete) {
            const std::vector<std::uint8_t> again = encodeFrame(decoded.message);
            if (!std::equal(again.begin(), again.end(), bytes.begin(),
                            bytes.begin() + static_cast<std::ptrdiff_t>(decoded.frameSize)) ||
                again.size() != decoded.frameSize) {
                std::abort();
            }
            messages.push_back(decoded.message);
        }
        bytes = bytes.subspan(decoded.frameSize);
    }
    return messages;
}

std::vector<Message> readFromSocket(std::span<const std::uint8_t> bytes) {
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) {
        std::abort();
    }
    FileDescriptor reading(ends[0]);
    FileDescriptor writing(ends[1]);
    // Inputs are far smaller than the socket's buffer, so one write takes
    // them whole and the reader sees the client's end right after them.
    if (!bytes.empty() &&
        ::write(writing.get(), bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::abort();
    }
    writing.reset();
    std::vector<Message> messages;
    for (;;) {
        Message message;
        FrameError error = FrameError::None;
        const IoStatus status = receiveMessage(reading.get(), message, std::nullopt, error);
        if (status == IoStatus::Ok) {
            messages.push_back(std::move(message));
        } else if (status != IoStatus::Malformed || !frameBoundaryKnown(error)) {
            break;
        }
    }
    return messages;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::span<const std::uint8_t> bytes(data, size);
    if (readFromSocket(bytes) != decodeInOnePiece(bytes)) {
        std::abort();
    }
    return 0;
}
