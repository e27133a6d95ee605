#include "platform/linux/session/AutostartEntry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <sstream>

#include "support/TempDir.h"

namespace orvane {
namespace {

using ::testing::HasSubstr;

std::string readText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(AutostartEntry, LivesInTheUsersConfigFolder) {
    std::map<std::string, std::string> variables{{"HOME", "/home/ann"}};
    auto lookup = [&](std::string_view name) -> std::optional<std::string> {
        const auto found = variables.find(std::string(name));
        return found != variables.end() ? std::optional(found->second) : std::nullopt;
    };
    EXPECT_EQ(AutostartEntry::fileFor(lookup, "x.Y"), "/home/ann/.config/autostart/x.Y.desktop");
    variables["XDG_CONFIG_HOME"] = "/cfg";
    EXPECT_EQ(AutostartEntry::fileFor(lookup, "x.Y"), "/cfg/autostart/x.Y.desktop");
}

TEST(AutostartEntry, SwitchingOnWritesAHiddenStartAndOffRemovesIt) {
    test::TempDir dir;
    const AutostartEntry entry(dir / "autostart" / "x.Y.desktop", "ORVANE PRO Software",
                               "/usr/bin/OrvaneConfig --hidden", "x.Y");
    EXPECT_FALSE(entry.enabled());

    std::string error;
    ASSERT_TRUE(entry.setEnabled(true, error)) << error;
    EXPECT_TRUE(entry.enabled());
    const std::string text = readText(entry.file());
    EXPECT_THAT(text, HasSubstr("[Desktop Entry]\nType=Application\n"));
    EXPECT_THAT(text, HasSubstr("\nExec=/usr/bin/OrvaneConfig --hidden\n"));
    EXPECT_THAT(text, HasSubstr("\nIcon=x.Y\n"));
    EXPECT_FALSE(std::filesystem::exists(entry.file().string() + ".new"));

    ASSERT_TRUE(entry.setEnabled(false, error)) << error;
    EXPECT_FALSE(entry.enabled());
    EXPECT_FALSE(std::filesystem::exists(entry.file()));
    EXPECT_TRUE(entry.setEnabled(false, error)) << "off twice is still off";
}

TEST(AutostartEntry, AnEntryTheDesktopMarkedHiddenCountsAsOff) {
    test::TempDir dir;
    const AutostartEntry entry(dir / "x.Y.desktop", "N", "prog", "x.Y");
    std::ofstream(entry.file()) << "[Desktop Entry]\nExec=prog\nHidden=true\n";
    EXPECT_FALSE(entry.enabled());
}

TEST(AutostartEntry, AFolderThatCannotBeMadeIsReportedAndNothingClaimed) {
    test::TempDir dir;
    std::ofstream(dir / "file") << "in the way";
    const AutostartEntry entry(dir / "file" / "autostart" / "x.Y.desktop", "N", "prog", "x.Y");
    std::string error;
    EXPECT_FALSE(entry.setEnabled(true, error));
    EXPECT_THAT(error, HasSubstr("file"));
    EXPECT_FALSE(entry.enabled());
}

TEST(AutostartEntry, ProgramPathsAreQuotedAsTheExecLineNeeds) {
    const std::pair<std::string, std::string> table[] = {
        {"/usr/bin/OrvaneConfig", "/usr/bin/OrvaneConfig"},
        {"/opt/my apps/OrvaneConfig", "\"/opt/my apps/OrvaneConfig\""},
        {"/opt/a$b", "\"/opt/a\\\\$b\""},
        {"/opt/a\\b", "\"/opt/a\\\\\\\\b\""},
        {"/opt/100%", "\"/opt/100%%\""},
    };
    for (const auto& [program, quoted] : table) {
        EXPECT_EQ(desktopExecQuoted(program), quoted) << program;
    }
}

}  // namespace
}  // namespace orvane
