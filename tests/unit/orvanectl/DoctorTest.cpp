#include "Doctor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "protocol/DeviceIds.h"
#include "support/ScriptedHid.h"
#include "support/TempDir.h"

namespace orvanectl {
namespace {

using orvane::HidDeviceInfo;
using orvane::HidError;
using orvane::test::ScriptedHidBus;
using orvane::test::TempDir;
using ::testing::HasSubstr;
using ::testing::Not;

HidDeviceInfo configInterface(const std::string& path) {
    return {path,
            orvane::kVendorId,
            orvane::kProductId,
            0x0105,
            orvane::kConfigUsagePage,
            orvane::kConfigUsage,
            orvane::kConfigInterfaceNumber};
}

// A desk where everything is in order, which each test then spoils.
struct Machine {
    Machine() {
        bus.add(configInterface("/dev/hidraw3"));
        std::filesystem::create_directories(dir / "etc");
        std::ofstream(dir / "etc" / ORVANE_UDEV_RULE_NAME) << "# rule\n";
        system.bus = &bus;
        system.busDescription = "hidapi";
        system.nodeAccess = [](const std::string&) {
            return std::optional<orvane::NodeAccess>({"crw-rw----+", "root", "root", true});
        };
        system.ruleFolders = {dir / "etc"};
        system.unreadRuleFolders = {dir / "local"};
        system.environment = [this](const char* name) -> std::optional<std::string> {
            const auto found = environment.find(name);
            return found != environment.end() ? std::optional(found->second) : std::nullopt;
        };
        system.keyboardHookProblem = [this] { return hookProblem; };
        system.pointerSettings = [](std::string&) { return std::string("GNOME"); };
        system.statusNotifierHost = [this] { return notifier; };
        system.xembedTray = [] { return false; };
        system.libraryFile = "/usr/lib/libOrvane_pro_dll.so.1";
    }

    std::pair<int, std::string> run() {
        std::ostringstream out;
        const int status = runDoctor(system, out);
        return {status, out.str()};
    }

    TempDir dir;
    ScriptedHidBus bus;
    std::map<std::string, std::string> environment{{"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}};
    std::string hookProblem;
    bool notifier = true;
    DoctorSystem system;
};

TEST(Doctor, AnOrderlyDeskPassesEveryLine) {
    Machine machine;
    const auto [status, out] = machine.run();
    EXPECT_EQ(status, 0) << out;
    EXPECT_THAT(out, Not(HasSubstr("[FAIL]")));
    EXPECT_THAT(out, HasSubstr("[ ok ] mouse 1209:0001 configuration interface at /dev/hidraw3 "
                               "(crw-rw----+ root root): opens"));
    EXPECT_THAT(out, HasSubstr("[ ok ] session: x11 on :0; the keyboard hook starts"));
    EXPECT_THAT(out, HasSubstr("[ ok ] pointer settings: GNOME"));
    EXPECT_THAT(out, HasSubstr("[ ok ] notification area: StatusNotifier"));
    EXPECT_THAT(out, HasSubstr("[ ok ] library: /usr/lib/libOrvane_pro_dll.so.1"));
}

TEST(Doctor, AMousePresentButNotReadableFailsWithTheFix) {
    Machine machine;
    machine.bus.infos.clear();
    machine.bus.addRefusing(configInterface("/dev/hidraw3"), HidError::AccessDenied);
    machine.system.nodeAccess = [](const std::string&) {
        return std::optional<orvane::NodeAccess>({"crw-------", "root", "root", false});
    };
    const auto [status, out] = machine.run();
    EXPECT_EQ(status, 1);
    EXPECT_THAT(out, HasSubstr("[FAIL] mouse 1209:0001 configuration interface at /dev/hidraw3 "
                               "(crw------- root root): present but not readable by this user"));
    EXPECT_THAT(out, HasSubstr("orvane-config package"));
    EXPECT_THAT(out, HasSubstr("sudo udevadm control --reload-rules"));
    EXPECT_THAT(out, Not(HasSubstr("no ORVANE PRO mouse found")));
}

TEST(Doctor, EachMissingPieceFailsItsOwnLine) {
    struct Case {
        const char* what;
        std::function<void(Machine&)> spoil;
        const char* line;
    };
    const Case cases[] = {
        {"no mouse", [](Machine& m) { m.bus.infos.clear(); },
         "[FAIL] no ORVANE PRO mouse found (hidapi, 1209:0001 or 1209:0002)"},
        {"other interfaces only",
         [](Machine& m) {
             m.bus.infos.clear();
             HidDeviceInfo pointer = configInterface("/dev/hidraw4");
             pointer.usagePage = 1;
             m.bus.add(pointer);
         },
         "[FAIL] no ORVANE PRO mouse found"},
        {"no rule",
         [](Machine& m) { std::filesystem::remove(m.dir / "etc" / ORVANE_UDEV_RULE_NAME); },
         "[FAIL] udev rule: " ORVANE_UDEV_RULE_NAME " is not installed"},
        {"rule where udev does not look",
         [](Machine& m) {
             std::filesystem::create_directories(m.dir / "local");
             std::filesystem::rename(m.dir / "etc" / ORVANE_UDEV_RULE_NAME,
                                     m.dir / "local" / ORVANE_UDEV_RULE_NAME);
         },
         ", where udev does not read rules"},
        {"wayland without X",
         [](Machine& m) {
             m.environment = {{"XDG_SESSION_TYPE", "wayland"}};
             m.hookProblem = "no X server";
         },
         "[FAIL] session: wayland; the keyboard hook cannot start: no X server"},
        {"no pointer backend",
         [](Machine& m) {
             m.system.pointerSettings = [](std::string& why) {
                 why = "no desktop";
                 return std::string();
             };
         },
         "[FAIL] pointer settings: none"},
        {"no tray", [](Machine& m) { m.notifier = false; },
         "[FAIL] notification area: none (neither StatusNotifier nor XEmbed)"},
    };
    for (const Case& c : cases) {
        Machine machine;
        c.spoil(machine);
        const auto [status, out] = machine.run();
        EXPECT_EQ(status, 1) << c.what;
        EXPECT_THAT(out, HasSubstr(c.line)) << c.what << "\n" << out;
        // Exactly one failing check per spoilt piece.
        std::size_t fails = 0;
        for (std::size_t at = out.find("[FAIL]"); at != std::string::npos;
             at = out.find("[FAIL]", at + 1)) {
            ++fails;
        }
        EXPECT_EQ(fails, 1U) << c.what << "\n" << out;
    }
}

}  // namespace
}  // namespace orvanectl
