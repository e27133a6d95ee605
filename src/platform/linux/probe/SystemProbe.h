#pragma once

#include <optional>
#include <string>

namespace orvane {

// A device node's permissions as `ls -l` shows them, and whether the user
// this process runs as may open it for reading and writing.
struct NodeAccess {
    std::string mode;   // "crw-rw----", with "+" when an access list adds users
    std::string owner;  // user and group names, or their numbers
    std::string group;
    bool readWrite = false;
};

// None when there is no such node.
std::optional<NodeAccess> nodeAccess(const std::string& path);

// Whether a notification area runs: a StatusNotifierItem host (its watcher
// on the session bus) or an XEmbed system tray (the manager selection of the
// X display `displayName`, empty for $DISPLAY).
bool statusNotifierWatcherPresent();
bool xembedTrayPresent(const std::string& displayName);

// The file of the shared object that holds `address`; empty when unknown.
std::string sharedObjectFile(const void* address);

}  // namespace orvane
