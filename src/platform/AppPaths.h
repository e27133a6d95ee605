#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orvane {

// Where the application keeps its files: the per-user data folder for
// profiles and macros, and the folder of the program itself. Built from an
// environment lookup so that tests can hand in any environment.
struct AppPaths {
    // Answers the value of an environment variable, or nothing when unset.
    using EnvironmentLookup = std::function<std::optional<std::string>(std::string_view name)>;

    // $XDG_DATA_HOME when it is an absolute path, else $HOME/.local/share;
    // empty when neither is known, so that nothing lands in the current folder.
    std::filesystem::path dataHome;
    // The folder of the running program; empty when it cannot be found.
    std::filesystem::path programDir;

    static AppPaths fromEnvironment(const EnvironmentLookup& environment,
                                    std::filesystem::path program);
    // This process: its environment (with the password database standing in
    // for a missing $HOME) and its program file.
    static AppPaths ofThisProcess();
    // This process's environment, with the password database standing in
    // for a missing $HOME.
    static EnvironmentLookup thisProcessEnvironment();

    // The software's own folder in the data folder, and the profiles and
    // macros below it. All end with a separator; empty when the data folder
    // is unknown.
    std::filesystem::path softwareFolder() const;
    std::filesystem::path profilesFolder() const;
    std::filesystem::path macroFolder() const;
    // Without a trailing separator.
    const std::filesystem::path& programFolder() const { return programDir; }
};

// The folder of the running program's file.
std::filesystem::path currentProgramFolder();

}  // namespace orvane
