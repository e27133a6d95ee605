#include "platform/linux/kde/KdeConfigFile.h"

#include <QFile>
#include <QSaveFile>

#include <fstream>
#include <iterator>
#include <string_view>

namespace orvane {

namespace {

constexpr std::string_view kBlanks = " \t\r";

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// The bracketed parts of a group line: "[Mouse][$i]" -> "Mouse", "$i".
// Empty when the line is not a well-formed group line.
std::vector<std::string_view> groupParts(std::string_view line) {
    std::vector<std::string_view> parts;
    while (!line.empty()) {
        if (line.front() != '[') {
            return {};
        }
        const auto close = line.find(']');
        if (close == std::string_view::npos) {
            return {};
        }
        parts.push_back(line.substr(1, close - 1));
        line = line.substr(close + 1);
    }
    return parts;
}

// A "$..." option ($e, $i, $ie...), as opposed to a locale or a group
// whose name starts with "$" ("[$Version]").
bool isOption(std::string_view part) {
    return part.size() >= 2 && part.front() == '$' &&
           part.find_first_not_of("ide", 1) == std::string_view::npos;
}

bool immutable(std::string_view option) {
    return option.find('i') != std::string_view::npos;
}

struct KeyLine {
    std::string_view key;
    bool localized = false;
    bool immutable = false;
};

// The key of an entry line, its locale marker and its options:
// "Key[de][$i]=x". Nothing for comments, blank and malformed lines.
std::optional<KeyLine> keyOf(std::string_view line) {
    const auto equals = line.find('=');
    if (equals == std::string_view::npos) {
        return std::nullopt;
    }
    std::string_view name = trimmed(line.substr(0, equals));
    KeyLine result;
    const auto bracket = name.find('[');
    result.key = trimmed(name.substr(0, bracket));
    if (result.key.empty()) {
        return std::nullopt;
    }
    if (bracket != std::string_view::npos) {
        for (std::string_view part : groupParts(name.substr(bracket))) {
            if (isOption(part)) {
                result.immutable = result.immutable || immutable(part);
            } else {
                result.localized = true;
            }
        }
    }
    return result;
}

struct Line {
    std::string_view text;  // without its '\n'
    bool hasNewline = false;
};

std::vector<Line> splitLines(std::string_view text) {
    std::vector<Line> lines;
    while (!text.empty()) {
        const auto end = text.find('\n');
        if (end == std::string_view::npos) {
            lines.push_back({text, false});
            break;
        }
        lines.push_back({text.substr(0, end), true});
        text = text.substr(end + 1);
    }
    return lines;
}

std::string entryLine(const std::pair<std::string, std::string>& entry) {
    return entry.first + "=" + entry.second;
}

}  // namespace

std::optional<std::string> editKdeConfigText(const std::string& text, const KdeConfigEdit& edit) {
    const std::vector<Line> lines = splitLines(text);
    std::vector<bool> written(edit.entries.size(), false);
    // One output string per input line, so that new keys can join the end
    // of the group's last block afterwards.
    std::vector<std::string> out;
    out.reserve(lines.size());
    bool inGroup = false;
    bool beforeAnyGroup = true;
    std::optional<std::size_t> lastOfGroup;
    for (const Line& line : lines) {
        std::string kept(line.text);
        const std::string_view content = trimmed(line.text);
        if (!content.empty() && content.front() == '[') {
            const std::vector<std::string_view> parts = groupParts(content);
            // "[$i]" ahead of every group locks the whole file.
            if (beforeAnyGroup && parts.size() == 1 && isOption(parts[0])) {
                if (immutable(parts[0])) {
                    return std::nullopt;
                }
            } else {
                beforeAnyGroup = false;
                inGroup = !parts.empty() && parts[0] == edit.group &&
                          (parts.size() == 1 || (parts.size() == 2 && isOption(parts[1])));
                if (inGroup && parts.size() == 2 && immutable(parts[1])) {
                    return std::nullopt;
                }
                if (inGroup) {
                    lastOfGroup = out.size();
                }
            }
        } else if (inGroup && !content.empty() && content.front() != '#') {
            lastOfGroup = out.size();
            if (const auto key = keyOf(content); key && !key->localized) {
                for (std::size_t i = 0; i < edit.entries.size(); ++i) {
                    if (key->key != edit.entries[i].first) {
                        continue;
                    }
                    if (key->immutable) {
                        return std::nullopt;
                    }
                    // A line that ended in "\r\n" keeps its ending.
                    const bool crlf = !line.text.empty() && line.text.back() == '\r';
                    kept = entryLine(edit.entries[i]) + (crlf ? "\r" : "");
                    written[i] = true;
                }
            }
        }
        out.push_back(std::move(kept));
    }

    std::string added;
    for (std::size_t i = 0; i < edit.entries.size(); ++i) {
        if (!written[i]) {
            added += entryLine(edit.entries[i]) + "\n";
        }
    }
    std::string result;
    for (std::size_t i = 0; i < out.size(); ++i) {
        result += out[i];
        if (lines[i].hasNewline) {
            result += '\n';
        }
        if (lastOfGroup && *lastOfGroup == i && !added.empty()) {
            if (!lines[i].hasNewline) {
                result += '\n';
            }
            result += added;
            added.clear();
        }
    }
    if (!added.empty()) {
        if (!result.empty() && result.back() != '\n') {
            result += '\n';
        }
        if (!result.empty()) {
            result += '\n';
        }
        result += "[" + edit.group + "]\n" + added;
    }
    return result;
}

bool editKdeConfigFile(const std::filesystem::path& file, const KdeConfigEdit& edit) {
    std::error_code error;
    std::string text;
    if (std::filesystem::exists(file, error)) {
        // A file we cannot read must not be replaced by our few keys.
        std::ifstream in(file, std::ios::binary);
        if (!in.is_open()) {
            return false;
        }
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        if (in.bad()) {
            return false;
        }
    } else if (error) {
        return false;
    } else if (const auto folder = file.parent_path(); !std::filesystem::is_directory(folder)) {
        // The configuration folder holds the user's settings: private, as
        // the desktop itself would create it.
        if (!std::filesystem::create_directories(folder, error)) {
            return false;
        }
        std::filesystem::permissions(folder, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::replace, error);
    }

    const std::optional<std::string> edited = editKdeConfigText(text, edit);
    if (!edited) {
        return false;
    }
    QSaveFile out(QFile::decodeName(file.c_str()));
    if (!out.open(QIODevice::WriteOnly)) {
        return false;
    }
    const auto size = static_cast<qint64>(edited->size());
    if (out.write(edited->data(), size) != size) {
        out.cancelWriting();
        return false;
    }
    return out.commit();
}

}  // namespace orvane
