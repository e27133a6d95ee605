#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "platform/HidBus.h"
#include "platform/linux/probe/SystemProbe.h"

namespace orvanectl {

// What the doctor looks at, so that tests can hand in a machine of their own.
struct DoctorSystem {
    orvane::HidBus* bus = nullptr;  // null: `busError` says why there is none
    std::string busDescription;     // "hidapi", "emulator at ..."
    std::string busError;
    std::function<std::optional<orvane::NodeAccess>(const std::string& path)> nodeAccess;
    // Folders udev reads rules from, in its order, and folders where an
    // install to another prefix may have left the rule unread.
    std::vector<std::filesystem::path> ruleFolders;
    std::vector<std::filesystem::path> unreadRuleFolders;
    std::function<std::optional<std::string>(const char* name)> environment;
    // Empty when the keyboard hook can start, else why not.
    std::function<std::string()> keyboardHookProblem;
    // The desktop whose pointer settings Apply sets, empty with `why` when none.
    std::function<std::string(std::string& why)> pointerSettings;
    std::function<bool()> statusNotifierHost;
    std::function<bool()> xembedTray;
    std::string libraryFile;  // empty when unknown
};

DoctorSystem thisSystem();

// Prints one line per check with its mark, and what to do under each failure;
// exit status 0 when every check passed, else 1.
int runDoctor(const DoctorSystem& system, std::ostream& out);

}  // namespace orvanectl
