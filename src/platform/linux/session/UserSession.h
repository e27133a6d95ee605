#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace orvane {

// The user this process runs as.
unsigned currentUserId();

// The user at the other end of a connected local socket, or none when the
// system will not say.
std::optional<unsigned> localPeerUserId(std::intptr_t socketDescriptor);

// A folder that only this user can enter, for sockets and their locks:
// $XDG_RUNTIME_DIR when it is such a folder, else "orvane-<uid>" in the
// temporary folder ($TMPDIR, else /tmp), made with mode 0700 when missing.
// Empty, with `error` saying why, when the name there is taken by someone
// else or by something that is not a folder.
std::filesystem::path privateRuntimeFolder(std::string& error);

}  // namespace orvane
