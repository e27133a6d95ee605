// orvanectl doctor: whether this system lets the user reach the mouse and
// gives the application what it needs, one check a line.
#include "Doctor.h"

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "Command.h"
#include "CommandLine.h"
#include "Orvane_pro_dll.h"
#include "platform/desktop/PointerSettingsSelection.h"
#include "platform/linux/x11/X11KeyboardHook.h"
#include "platform/selection/HidBusSelection.h"
#include "protocol/DeviceIds.h"

namespace orvanectl {

namespace {

namespace fs = std::filesystem;
using orvane::HidDeviceInfo;
using orvane::HidError;

constexpr const char* kRuleName = ORVANE_UDEV_RULE_NAME;
constexpr const char* kReloadRules =
    "sudo udevadm control --reload-rules && sudo udevadm trigger --subsystem-match=hidraw";

class Report {
  public:
    explicit Report(std::ostream& out) : out(out) {}

    void pass(const std::string& line) { out << "[ ok ] " << line << '\n'; }
    void fail(const std::string& line, const std::vector<std::string>& fixes) {
        failed = true;
        out << "[FAIL] " << line << '\n';
        for (const std::string& fix : fixes) {
            out << "       " << fix << '\n';
        }
    }
    bool anyFailed() const { return failed; }

  private:
    std::ostream& out;
    bool failed = false;
};

std::string hex4(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "%04x", value & 0xFFFFU);
    return text;
}

// The interfaces the software opens: the configuration collection in
// application mode, and the boot loader's.
const char* roleOf(const HidDeviceInfo& info) {
    if (info.vendorId != orvane::kVendorId) {
        return nullptr;
    }
    if (info.productId == orvane::kBootLoaderProductId) {
        return "boot loader";
    }
    if (info.productId == orvane::kProductId && info.usagePage == orvane::kConfigUsagePage &&
        info.usage == orvane::kConfigUsage) {
        return "configuration interface";
    }
    return nullptr;
}

void checkNodes(const DoctorSystem& system, Report& report) {
    if (system.bus == nullptr) {
        report.fail("HID backend: " + system.busError, {"Unset ORVANE_HID to use the real mouse."});
        return;
    }
    int found = 0;
    for (const HidDeviceInfo& info : system.bus->enumerate()) {
        const char* role = roleOf(info);
        if (role == nullptr) {
            continue;
        }
        ++found;
        std::string line = "mouse " + hex4(info.vendorId) + ":" + hex4(info.productId) + " " +
                           role + " at " + info.path;
        const std::optional<orvane::NodeAccess> node =
            system.nodeAccess ? system.nodeAccess(info.path) : std::nullopt;
        if (node) {
            line += " (" + node->mode + " " + node->owner + " " + node->group + ")";
        }
        HidError error = HidError::None;
        const std::unique_ptr<orvane::HidDevice> device = system.bus->open(info.path, error);
        if (device != nullptr) {
            report.pass(line + ": opens");
        } else if (error == HidError::AccessDenied) {
            report.fail(line + ": present but not readable by this user",
                        {"Install the orvane-config package, whose udev rule gives the user at",
                         "the seat access; with the rule in place, reload it and replug the mouse:",
                         kReloadRules});
        } else {
            report.fail(line + ": cannot be opened (error " +
                            std::to_string(static_cast<unsigned>(error)) + ")",
                        {"Unplug the mouse and plug it in again."});
        }
    }
    if (found == 0) {
        report.fail("no ORVANE PRO mouse found (" + system.busDescription + ", " +
                        hex4(orvane::kVendorId) + ":" + hex4(orvane::kProductId) + " or " +
                        hex4(orvane::kVendorId) + ":" + hex4(orvane::kBootLoaderProductId) + ")",
                    {system.busDescription.rfind("emulator", 0) == 0
                         ? "Start orvane-emud, or plug its mouse in: orvane-emu plug."
                         : "Plug the mouse in; with no mouse, try the simulated one: "
                           "ORVANE_HID=emulator."});
    }
}

void checkRule(const DoctorSystem& system, Report& report) {
    std::error_code error;
    for (const fs::path& folder : system.ruleFolders) {
        if (fs::is_regular_file(folder / kRuleName, error)) {
            report.pass("udev rule: " + (folder / kRuleName).string());
            return;
        }
    }
    for (const fs::path& folder : system.unreadRuleFolders) {
        if (fs::is_regular_file(folder / kRuleName, error)) {
            report.fail("udev rule: only " + (folder / kRuleName).string() +
                            ", where udev does not read rules",
                        {"sudo cp '" + (folder / kRuleName).string() + "' /etc/udev/rules.d/",
                         std::string("then: ") + kReloadRules});
            return;
        }
    }
    report.fail(std::string("udev rule: ") + kRuleName + " is not installed",
                {"Install the orvane-config package (or copy the rule from a build tree's",
                 std::string("packaging/ folder to /etc/udev/rules.d/), then: ") + kReloadRules});
}

void checkSession(const DoctorSystem& system, Report& report) {
    auto variable = [&](const char* name) {
        return system.environment ? system.environment(name).value_or("") : std::string();
    };
    std::string type = variable("XDG_SESSION_TYPE");
    if (type.empty()) {
        type = !variable("WAYLAND_DISPLAY").empty() ? "wayland"
               : !variable("DISPLAY").empty()       ? "x11"
                                                    : "none";
    }
    std::string line = "session: " + type;
    const std::string display = variable("DISPLAY");
    if (!display.empty()) {
        line += (type == "wayland" ? " with XWayland on " : " on ") + display;
    }
    const std::string problem = system.keyboardHookProblem ? system.keyboardHookProblem() : "";
    if (problem.empty()) {
        report.pass(line + "; the keyboard hook starts");
    } else {
        report.fail(line + "; the keyboard hook cannot start: " + problem,
                    {"Macro recording and key capture need an X11 session or XWayland."});
    }
}

void checkPointerSettings(const DoctorSystem& system, Report& report) {
    std::string why;
    const std::string desktop = system.pointerSettings ? system.pointerSettings(why) : "";
    if (!desktop.empty()) {
        report.pass("pointer settings: " + desktop + (why.empty() ? "" : " (" + why + ")"));
    } else {
        report.fail("pointer settings: none; Apply leaves the desktop's pointer as it is",
                    {why.empty() ? "No GNOME, KDE Plasma or X11 session was found." : why});
    }
}

void checkTray(const DoctorSystem& system, Report& report) {
    const bool notifier = system.statusNotifierHost && system.statusNotifierHost();
    const bool xembed = system.xembedTray && system.xembedTray();
    if (notifier || xembed) {
        std::string hosts = notifier ? "StatusNotifier" : "";
        if (xembed) {
            hosts += notifier ? " and XEmbed" : "XEmbed";
        }
        report.pass("notification area: " + hosts);
    } else {
        report.fail("notification area: none (neither StatusNotifier nor XEmbed)",
                    {"Closing the window then minimises it; add a tray to the panel",
                     "(on GNOME: the AppIndicator extension) to keep the program there."});
    }
}

void checkLibrary(const DoctorSystem& system, Report& report) {
    if (system.libraryFile.empty()) {
        report.fail("library: the loaded file is unknown", {});
        return;
    }
    std::uint16_t version = 0;
    Get_dll_version(&version);
    report.pass("library: " + system.libraryFile + " (version " + std::to_string(version) + ")");
}

// Kept for the whole run: the bus the doctor asks must outlive the checks.
struct OwnedSystem {
    orvane::HidBusSelection selection;
    DoctorSystem system;
};

}  // namespace

DoctorSystem thisSystem() {
    static OwnedSystem owned;
    owned.selection = orvane::selectHidBusFromEnvironment();
    DoctorSystem& system = owned.system;
    system.bus = owned.selection.bus.get();
    system.busDescription = owned.selection.description;
    system.busError = owned.selection.error;
    system.nodeAccess = &orvane::nodeAccess;
    system.ruleFolders = {"/etc/udev/rules.d", "/run/udev/rules.d", "/usr/lib/udev/rules.d",
                          "/lib/udev/rules.d"};
    system.unreadRuleFolders = {"/usr/local/lib/udev/rules.d"};
    system.environment = [](const char* name) -> std::optional<std::string> {
        const char* value = std::getenv(name);
        return value != nullptr ? std::optional<std::string>(value) : std::nullopt;
    };
    system.keyboardHookProblem = [] {
        std::string error;
        const auto hook =
            orvane::X11KeyboardHook::create([](std::function<void()>) {}, std::string(), error);
        return hook != nullptr ? std::string() : error;
    };
    system.pointerSettings = [](std::string& why) {
        const auto settings = orvane::createPointerSettingsForThisProcess(why);
        return settings != nullptr ? settings->desktopName() : std::string();
    };
    system.statusNotifierHost = &orvane::statusNotifierWatcherPresent;
    system.xembedTray = [] { return orvane::xembedTrayPresent(std::string()); };
    system.libraryFile = orvane::sharedObjectFile(reinterpret_cast<const void*>(&Get_dll_version));
    return system;
}

int runDoctor(const DoctorSystem& system, std::ostream& out) {
    Report report(out);
    checkNodes(system, report);
    checkRule(system, report);
    checkSession(system, report);
    checkPointerSettings(system, report);
    checkTray(system, report);
    checkLibrary(system, report);
    return report.anyFailed() ? kExitFailure : kExitOk;
}

void addDoctorCommand(CLI::App& parent, Action& chosen) {
    parent
        .add_subcommand("doctor",
                        "Check that this system lets you reach the mouse: device nodes, udev "
                        "rule, session, pointer settings, tray, library")
        ->callback([&chosen] {
            chosen = [](std::ostream& out, std::ostream&) { return runDoctor(thisSystem(), out); };
        });
}

}  // namespace orvanectl
