#include "platform/FileDurability.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace orvane {

bool syncToDisk(const std::filesystem::path& fileOrFolder) {
    // A descriptor opened for reading is enough: fsync acts on the file, not
    // on the descriptor that wrote it, and a folder cannot be opened to write.
    int fd = -1;
    do {
        fd = ::open(fileOrFolder.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) {
        return false;
    }
    int result = 0;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    // Some file systems (FUSE, some network mounts) cannot sync a folder and
    // say so; what they hold is as durable as they can make it.
    const bool synced = result == 0 || errno == EINVAL || errno == ENOTSUP;
    ::close(fd);
    return synced;
}

}  // namespace orvane
