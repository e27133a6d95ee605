#include "platform/AppPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

namespace orvane {
namespace {

std::optional<std::string> nonEmpty(const std::optional<std::string>& value) {
    if (value && !value->empty()) {
        return value;
    }
    return std::nullopt;
}

std::optional<std::string> homeFromPasswordDatabase() {
    long bufferSize = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(static_cast<std::size_t>(bufferSize > 0 ? bufferSize : 16384));
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 ||
        found == nullptr || found->pw_dir == nullptr) {
        return std::nullopt;
    }
    return std::string(found->pw_dir);
}

std::filesystem::path below(const std::filesystem::path& data,
                            std::initializer_list<const char*> parts) {
    if (data.empty()) {
        return {};
    }
    std::filesystem::path path = data;
    for (const char* part : parts) {
        path /= part;
    }
    // The trailing separator: callers append file names to it.
    return path / "";
}

}  // namespace

AppPaths AppPaths::fromEnvironment(const EnvironmentLookup& environment,
                                   std::filesystem::path program) {
    AppPaths paths;
    paths.programDir = std::move(program);
    // A relative XDG_DATA_HOME is invalid by the base-directory rules and is
    // ignored like an unset one.
    if (const auto xdg = nonEmpty(environment("XDG_DATA_HOME"));
        xdg && std::filesystem::path(*xdg).is_absolute()) {
        paths.dataHome = *xdg;
    } else if (const auto home = nonEmpty(environment("HOME"))) {
        paths.dataHome = std::filesystem::path(*home) / ".local" / "share";
    }
    return paths;
}

AppPaths::EnvironmentLookup AppPaths::thisProcessEnvironment() {
    return [](std::string_view name) -> std::optional<std::string> {
        const std::string key(name);
        if (const char* value = std::getenv(key.c_str()); value != nullptr && *value != 0) {
            return std::string(value);
        }
        if (key == "HOME") {
            return homeFromPasswordDatabase();
        }
        return std::nullopt;
    };
}

AppPaths AppPaths::ofThisProcess() {
    return fromEnvironment(thisProcessEnvironment(), currentProgramFolder());
}

std::filesystem::path AppPaths::softwareFolder() const {
    return below(dataHome, {"Veltrac", "ORVANE PRO Software"});
}

std::filesystem::path AppPaths::profilesFolder() const {
    return below(dataHome, {"Veltrac", "ORVANE PRO Software", "Profiles"});
}

std::filesystem::path AppPaths::macroFolder() const {
    return below(dataHome, {"Veltrac", "ORVANE7000", "Macros"});
}

std::filesystem::path currentProgramFolder() {
    std::error_code error;
    const auto program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return {};
    }
    return program.parent_path();
}

}  // namespace orvane
