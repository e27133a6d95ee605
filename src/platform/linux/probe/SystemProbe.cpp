#include "platform/linux/probe/SystemProbe.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <gio/gio.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <string>

namespace orvane {

namespace {

std::string modeText(const struct stat& info, bool hasAccessList) {
    std::string text = S_ISCHR(info.st_mode) ? "c" : S_ISDIR(info.st_mode) ? "d" : "-";
    const char* letters = "rwxrwxrwx";
    for (int bit = 0; bit < 9; ++bit) {
        text += (info.st_mode & (0400 >> bit)) != 0 ? letters[bit] : '-';
    }
    if (hasAccessList) {
        text += '+';
    }
    return text;
}

}  // namespace

std::optional<NodeAccess> nodeAccess(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    NodeAccess access;
    // uaccess grants the seat's user through an access list, not the mode
    // bits: without the "+" the rule has not acted on this node.
    const bool hasAccessList = ::getxattr(path.c_str(), "system.posix_acl_access", nullptr, 0) > 0;
    access.mode = modeText(info, hasAccessList);
    const passwd* user = ::getpwuid(info.st_uid);
    access.owner = user != nullptr ? user->pw_name : std::to_string(info.st_uid);
    const group* grp = ::getgrgid(info.st_gid);
    access.group = grp != nullptr ? grp->gr_name : std::to_string(info.st_gid);
    access.readWrite = ::access(path.c_str(), R_OK | W_OK) == 0;
    return access;
}

bool statusNotifierWatcherPresent() {
    GError* error = nullptr;
    GDBusConnection* bus = g_bus_get_sync(G_BUS_TYPE_SESSION, nullptr, &error);
    if (bus == nullptr) {
        g_clear_error(&error);
        return false;
    }
    GVariant* reply = g_dbus_connection_call_sync(
        bus, "org.freedesktop.DBus", "/org/freedesktop/DBus", "org.freedesktop.DBus",
        "NameHasOwner", g_variant_new("(s)", "org.kde.StatusNotifierWatcher"),
        G_VARIANT_TYPE("(b)"), G_DBUS_CALL_FLAGS_NONE, 2000, nullptr, &error);
    gboolean owned = FALSE;
    if (reply != nullptr) {
        g_variant_get(reply, "(b)", &owned);
        g_variant_unref(reply);
    }
    g_clear_error(&error);
    g_object_unref(bus);
    return owned != FALSE;
}

bool xembedTrayPresent(const std::string& displayName) {
    Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (display == nullptr) {
        return false;
    }
    const std::string selection = "_NET_SYSTEM_TRAY_S" + std::to_string(DefaultScreen(display));
    const Atom atom = XInternAtom(display, selection.c_str(), False);
    const bool present = XGetSelectionOwner(display, atom) != None;
    XCloseDisplay(display);
    return present;
}

std::string sharedObjectFile(const void* address) {
    Dl_info info{};
    if (::dladdr(address, &info) == 0 || info.dli_fname == nullptr) {
        return {};
    }
    char resolved[PATH_MAX];
    return ::realpath(info.dli_fname, resolved) != nullptr ? std::string(resolved)
                                                           : std::string(info.dli_fname);
}

}  // namespace orvane
