#include "platform/UpdateFolder.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>

namespace orvane {

namespace {

std::string trimmed(const std::string& text) {
    const auto isSpace = [](unsigned char c) { return std::isspace(c) != 0; };
    auto begin = std::find_if_not(text.begin(), text.end(), isSpace);
    auto end =
        std::find_if_not(text.rbegin(), std::string::const_reverse_iterator(begin), isSpace).base();
    return std::string(begin, end);
}

bool sameName(const std::string& a, const char* b) {
    const std::string other(b);
    return a.size() == other.size() &&
           std::equal(a.begin(), a.end(), other.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

int leadingNumber(const std::string& text) {
    std::size_t at = 0;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) {
        negative = text[at] == '-';
        ++at;
    }
    long value = 0;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])) != 0; ++at) {
        // Kept within int: a runaway number is not a version anyway.
        value = std::min(value * 10 + (text[at] - '0'), 1000000000L);
    }
    return static_cast<int>(negative ? -value : value);
}

}  // namespace

std::filesystem::path updateFolderFor(const std::filesystem::path& programFolder) {
    const std::filesystem::path beside = programFolder / kUpdateFolderName;
    std::error_code error;
    if (std::filesystem::is_directory(beside, error)) {
        return beside;
    }
    const std::filesystem::path installed =
        (programFolder / kInstalledUpdateFolderParent / kUpdateFolderName).lexically_normal();
    if (std::filesystem::is_directory(installed, error)) {
        return installed;
    }
    return beside;
}

int readConfiguredFirmwareVersion(const std::filesystem::path& configFile) {
    std::ifstream in(configFile);
    if (!in) {
        return kUpdateVersionWhenUnknown;
    }
    bool inFirmware = false;
    std::string line;
    while (std::getline(in, line)) {
        line = trimmed(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') {
            continue;
        }
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            inFirmware = close != std::string::npos &&
                         sameName(trimmed(line.substr(1, close - 1)), "Firmware");
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inFirmware && equals != std::string::npos &&
            sameName(trimmed(line.substr(0, equals)), "Version")) {
            return leadingNumber(trimmed(line.substr(equals + 1)));
        }
    }
    return kUpdateVersionWhenUnknown;
}

}  // namespace orvane
