#include "platform/linux/session/AutostartEntry.h"

#include <fstream>
#include <sstream>
#include <system_error>

namespace orvane {

namespace fs = std::filesystem;

fs::path AutostartEntry::fileFor(const AppPaths::EnvironmentLookup& environment,
                                 const std::string& desktopId) {
    fs::path config;
    if (const auto value = environment("XDG_CONFIG_HOME"); value && !value->empty()) {
        config = *value;
    } else if (const auto home = environment("HOME"); home && !home->empty()) {
        config = fs::path(*home) / ".config";
    }
    return config / "autostart" / (desktopId + ".desktop");
}

AutostartEntry::AutostartEntry(fs::path file, std::string name, std::string command,
                               std::string icon)
    : path(std::move(file)),
      name(std::move(name)),
      command(std::move(command)),
      icon(std::move(icon)) {}

bool AutostartEntry::enabled() const {
    std::ifstream in(path);
    if (!in) {
        return false;
    }
    // A desktop that turned the entry off in its own settings marks it Hidden.
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("Hidden=true", 0) == 0) {
            return false;
        }
    }
    return true;
}

std::string AutostartEntry::contents() const {
    std::ostringstream text;
    text << "[Desktop Entry]\n"
         << "Type=Application\n"
         << "Name=" << name << "\n"
         << "Exec=" << command << "\n"
         << "Icon=" << icon << "\n"
         << "Terminal=false\n"
         << "NoDisplay=true\n"
         << "X-GNOME-Autostart-enabled=true\n";
    return text.str();
}

bool AutostartEntry::setEnabled(bool on, std::string& error) const {
    std::error_code failure;
    if (!on) {
        fs::remove(path, failure);
        if (failure) {
            error = path.string() + ": " + failure.message();
            return false;
        }
        return true;
    }
    fs::create_directories(path.parent_path(), failure);
    if (failure) {
        error = path.parent_path().string() + ": " + failure.message();
        return false;
    }
    const fs::path temporary = path.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << contents();
        out.flush();
        if (!out) {
            error = temporary.string() + ": cannot be written";
            out.close();
            fs::remove(temporary, failure);
            return false;
        }
    }
    fs::rename(temporary, path, failure);
    if (failure) {
        error = path.string() + ": " + failure.message();
        fs::remove(temporary, failure);
        return false;
    }
    return true;
}

std::string desktopExecQuoted(const std::string& program) {
    bool plain = !program.empty();
    for (const char c : program) {
        const bool safe = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                          (c >= '0' && c <= '9') || c == '/' || c == '.' || c == '-' || c == '_';
        plain = plain && safe;
    }
    if (plain) {
        return program;
    }
    // Inside quotes the format reserves ", `, $ and \ (each escaped with a
    // backslash), and the whole value's own escaping doubles each backslash.
    std::string quoted = "\"";
    for (const char c : program) {
        if (c == '\\') {
            quoted += "\\\\\\\\";
            continue;
        }
        if (c == '"' || c == '`' || c == '$') {
            quoted += "\\\\";
        }
        if (c == '%') {
            quoted += '%';  // %% is a literal percent sign, not a field code
        }
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

}  // namespace orvane
