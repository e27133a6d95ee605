#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvane {

// Keys of one group of a KDE configuration file ("kdeglobals", "kcminputrc")
// and the values they are to hold.
struct KdeConfigEdit {
    std::string group;
    std::vector<std::pair<std::string, std::string>> entries;
};

// `text` with the edit made: each key's lines in the group get the new
// value, missing keys join the group's last block, a missing group goes at
// the end. Every other line stays as it was, byte for byte. Nothing when
// the file, the group or one of the keys is marked immutable ([$i]).
std::optional<std::string> editKdeConfigText(const std::string& text, const KdeConfigEdit& edit);

// Makes the edit in `file`, creating it and its folder when missing, and
// replaces the file in one step so that a reader never sees half of it.
// False when the file cannot be read or written or refuses the edit; the
// old file is then untouched.
bool editKdeConfigFile(const std::filesystem::path& file, const KdeConfigEdit& edit);

}  // namespace orvane
