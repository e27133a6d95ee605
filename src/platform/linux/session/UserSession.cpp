#include "platform/linux/session/UserSession.h"

#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace orvane {

namespace {

constexpr mode_t kOthersBits = S_IRWXG | S_IRWXO;

// Ours, a folder, and closed to everybody else.
bool isPrivateFolder(const struct stat& status) {
    return S_ISDIR(status.st_mode) && status.st_uid == ::geteuid() &&
           (status.st_mode & kOthersBits) == 0;
}

std::filesystem::path temporaryBase() {
    const char* tmp = std::getenv("TMPDIR");
    if (tmp != nullptr && tmp[0] == '/') {
        return tmp;
    }
    return "/tmp";
}

}  // namespace

unsigned currentUserId() {
    return ::geteuid();
}

std::optional<unsigned> localPeerUserId(std::intptr_t socketDescriptor) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    if (socketDescriptor < 0 || ::getsockopt(static_cast<int>(socketDescriptor), SOL_SOCKET,
                                             SO_PEERCRED, &credentials, &size) != 0) {
        return std::nullopt;
    }
    return credentials.uid;
}

std::filesystem::path privateRuntimeFolder(std::string& error) {
    // The session's own folder, which the login manager made for this user
    // alone; one that is shared or not ours is no better than /tmp.
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    struct stat status {};
    if (runtime != nullptr && runtime[0] == '/' && ::stat(runtime, &status) == 0 &&
        isPrivateFolder(status)) {
        return runtime;
    }

    const std::filesystem::path folder =
        temporaryBase() / ("orvane-" + std::to_string(currentUserId()));
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) {
        error = "cannot make " + folder.string() + ": " + std::strerror(errno);
        return {};
    }
    // Not followed through a link: whoever made the name first could point
    // it anywhere.
    if (::lstat(folder.c_str(), &status) != 0) {
        error = "cannot look at " + folder.string() + ": " + std::strerror(errno);
        return {};
    }
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::geteuid()) {
        error = folder.string() + " is not a folder of this user's";
        return {};
    }
    if ((status.st_mode & kOthersBits) != 0 && ::chmod(folder.c_str(), 0700) != 0) {
        error = "cannot close " + folder.string() + " to other users: " + std::strerror(errno);
        return {};
    }
    return folder;
}

}  // namespace orvane
