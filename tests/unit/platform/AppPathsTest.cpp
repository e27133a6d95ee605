#include "platform/AppPaths.h"
#include "support/CaseName.h"

#include <gtest/gtest.h>

#include <map>

namespace orvane {
namespace {

AppPaths pathsWith(std::map<std::string, std::string> variables) {
    return AppPaths::fromEnvironment(
        [variables](std::string_view name) -> std::optional<std::string> {
            const auto found = variables.find(std::string(name));
            if (found == variables.end()) {
                return std::nullopt;
            }
            return found->second;
        },
        "/opt/orvane/bin");
}

struct DataCase {
    const char* what;
    std::map<std::string, std::string> environment;
    const char* profiles;
    const char* macros;
};

class AppPathsData : public testing::TestWithParam<DataCase> {};

TEST_P(AppPathsData, FoldersFollowTheUsersDataHome) {
    const AppPaths paths = pathsWith(GetParam().environment);
    EXPECT_EQ(paths.profilesFolder().string(), GetParam().profiles) << GetParam().what;
    EXPECT_EQ(paths.macroFolder().string(), GetParam().macros) << GetParam().what;
}

INSTANTIATE_TEST_SUITE_P(
    Environments, AppPathsData,
    testing::Values(DataCase{"XDG_DATA_HOME wins",
                             {{"XDG_DATA_HOME", "/data/u"}, {"HOME", "/home/u"}},
                             "/data/u/Veltrac/ORVANE PRO Software/Profiles/",
                             "/data/u/Veltrac/ORVANE7000/Macros/"},
                    DataCase{"HOME alone",
                             {{"HOME", "/home/u"}},
                             "/home/u/.local/share/Veltrac/ORVANE PRO Software/Profiles/",
                             "/home/u/.local/share/Veltrac/ORVANE7000/Macros/"},
                    DataCase{"empty XDG_DATA_HOME counts as unset",
                             {{"XDG_DATA_HOME", ""}, {"HOME", "/home/u"}},
                             "/home/u/.local/share/Veltrac/ORVANE PRO Software/Profiles/",
                             "/home/u/.local/share/Veltrac/ORVANE7000/Macros/"},
                    DataCase{"relative XDG_DATA_HOME is ignored",
                             {{"XDG_DATA_HOME", "data"}, {"HOME", "/home/u"}},
                             "/home/u/.local/share/Veltrac/ORVANE PRO Software/Profiles/",
                             "/home/u/.local/share/Veltrac/ORVANE7000/Macros/"},
                    DataCase{
                        "nothing known gives no folder rather than the current one", {}, "", ""}),
    [](const testing::TestParamInfo<DataCase>& info) { return test::caseName(info.param.what); });

TEST(AppPaths, ProgramFolderIsTheOneGiven) {
    EXPECT_EQ(pathsWith({}).programFolder(), std::filesystem::path("/opt/orvane/bin"));
}

TEST(AppPaths, ThisProcessLivesInTheFolderOfItsProgramFile) {
    const AppPaths paths = AppPaths::ofThisProcess();
    EXPECT_TRUE(std::filesystem::is_regular_file(paths.programFolder() / "platform_tests"));
    EXPECT_FALSE(paths.profilesFolder().empty());
}

}  // namespace
}  // namespace orvane
