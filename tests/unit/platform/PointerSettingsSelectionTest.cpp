#include "platform/desktop/PointerSettingsSelection.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <map>

#include "platform/FakePointerSettings.h"
#include "support/CaseName.h"

namespace orvane {
namespace {

using Environment = std::map<std::string, std::string>;

AppPaths::EnvironmentLookup lookupIn(const Environment& environment) {
    return [environment](std::string_view name) -> std::optional<std::string> {
        const auto found = environment.find(std::string(name));
        return found != environment.end() ? std::optional(found->second) : std::nullopt;
    };
}

// Backends that note what was made and with what; "gnome" fails when asked
// to.
PointerSettingsBackends fakes(std::string& made, bool gnomeFails) {
    const auto make = [&made](std::string what) {
        made = std::move(what);
        return std::make_unique<FakePointerSettings>();
    };
    return {[make, gnomeFails](std::string& error) -> std::unique_ptr<PointerSettings> {
                error = gnomeFails ? "no schema" : "";
                return gnomeFails ? nullptr : make("gnome");
            },
            [make](const std::filesystem::path& folder, std::string&) {
                return make("kde " + folder.string());
            },
            [make](const std::string& display, std::string&) { return make("x11 " + display); }};
}

struct Case {
    Environment environment;
    const char* chosen;  // "" for none
    const char* why;     // part of the reason, "" for none
    bool gnomeFails = false;
};

class PointerSettingsSelection : public testing::TestWithParam<Case> {};

TEST_P(PointerSettingsSelection, PicksTheDesktopsOwnSettingsThenTheXServer) {
    const Case& c = GetParam();
    std::string why;
    std::string made;
    const auto settings =
        createPointerSettings(lookupIn(c.environment), fakes(made, c.gnomeFails), why);
    EXPECT_EQ(settings ? made : "", c.chosen);
    EXPECT_THAT(why, *c.why != 0 ? testing::Matcher<std::string>(testing::HasSubstr(c.why))
                                 : testing::IsEmpty());
}

// Named after the values of the session's environment.
std::string sessionCaseName(const testing::TestParamInfo<Case>& info) {
    std::string session;
    for (const auto& entry : info.param.environment) {
        session += entry.second + " ";
    }
    return test::caseName("Session", session);
}

INSTANTIATE_TEST_SUITE_P(
    Sessions, PointerSettingsSelection,
    testing::Values(
        Case{{{"XDG_CURRENT_DESKTOP", "KDE"}, {"XDG_SESSION_TYPE", "wayland"}, {"HOME", "/h"}},
             "kde /h/.config",
             ""},
        Case{{{"XDG_CURRENT_DESKTOP", "KDE"}, {"XDG_CONFIG_HOME", "/c"}, {"HOME", "/h"}},
             "kde /c",
             ""},
        Case{{{"XDG_CURRENT_DESKTOP", "KDE"}, {"XDG_CONFIG_HOME", "c"}, {"HOME", "/h"}},
             "kde /h/.config",
             ""},
        Case{{{"XDG_CURRENT_DESKTOP", "ubuntu:GNOME"}, {"XDG_SESSION_TYPE", "wayland"}},
             "gnome",
             ""},
        Case{{{"XDG_CURRENT_DESKTOP", "Pantheon:KDE"}, {"DISPLAY", ":0"}}, "gnome", ""},
        Case{
            {{"XDG_CURRENT_DESKTOP", "X-Cinnamon"}, {"XDG_SESSION_TYPE", "x11"}, {"DISPLAY", ":0"}},
            "x11 :0",
            ""},
        Case{{{"XDG_CURRENT_DESKTOP", "GNOME"}, {"DISPLAY", ":1"}}, "x11 :1", "no schema", true},
        Case{{{"XDG_CURRENT_DESKTOP", "GNOME"}, {"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}},
             "",
             "no schema",
             true},
        Case{{{"XDG_CURRENT_DESKTOP", "sway"}, {"XDG_SESSION_TYPE", "wayland"}, {"DISPLAY", ":1"}},
             "",
             "\"sway\" cannot be changed"},
        Case{{}, "", "no desktop session"}),
    sessionCaseName);

// The real backends behind the names, where making one cannot fail.
TEST(PointerSettingsSelectionOfThisSystem, NamesTheDesktopOrTheMissingDisplay) {
    std::string why;
    const auto kde = createPointerSettings(
        lookupIn({{"XDG_CURRENT_DESKTOP", "KDE"}, {"XDG_CONFIG_HOME", "/nowhere"}}), why);
    ASSERT_NE(kde, nullptr) << why;
    EXPECT_EQ(kde->desktopName(), "KDE Plasma");

    EXPECT_EQ(createPointerSettings(lookupIn({{"DISPLAY", ":65000"}}), why), nullptr);
    EXPECT_THAT(why, testing::HasSubstr("\":65000\""));
}

}  // namespace
}  // namespace orvane
