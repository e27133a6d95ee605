#include "platform/linux/lockfile/FileUpdateLock.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orvane {

namespace {

struct flock wholeFile(short type) {
    struct flock lock {};
    lock.l_type = type;
    lock.l_whence = SEEK_SET;
    lock.l_start = 0;
    lock.l_len = 0;
    return lock;
}

}  // namespace

FileUpdateLock::FileUpdateLock(std::filesystem::path file) : path(std::move(file)) {}

FileUpdateLock::~FileUpdateLock() {
    release();
}

std::filesystem::path FileUpdateLock::defaultFile() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && *runtime == '/') {
        return std::filesystem::path(runtime) / "orvane-firmware-update.lock";
    }
    return std::filesystem::temp_directory_path() /
           ("orvane-firmware-update-" + std::to_string(::getuid()) + ".lock");
}

bool FileUpdateLock::acquire(std::string& error) {
    if (descriptor >= 0) {
        return true;
    }
    const int fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        error = "cannot open " + path.string() + ": " + std::strerror(errno);
        return false;
    }
    struct flock lock = wholeFile(F_WRLCK);
    if (::fcntl(fd, F_SETLK, &lock) != 0) {
        const int why = errno;
        ::close(fd);
        error = (why == EACCES || why == EAGAIN)
                    ? "another firmware update is running"
                    : "cannot lock " + path.string() + ": " + std::strerror(why);
        return false;
    }
    descriptor = fd;
    return true;
}

void FileUpdateLock::release() {
    if (descriptor >= 0) {
        // Closing drops the lock; the file stays for the next update.
        ::close(descriptor);
        descriptor = -1;
    }
}

bool FileUpdateLock::heldElsewhere() const {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return false;  // nobody has ever taken it
    }
    struct flock probe = wholeFile(F_WRLCK);
    const bool held = ::fcntl(fd, F_GETLK, &probe) == 0 && probe.l_type != F_UNLCK;
    // Closing a descriptor drops every record lock this process holds on the
    // file: harmless here, since a process that holds the claim never asks.
    ::close(fd);
    return held;
}

}  // namespace orvane
