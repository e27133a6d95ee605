#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orvane {

// Replaces the file whole, creating the folders that lead to it: the text
// goes to a temporary file in the same folder, reaches the disk, and is then
// renamed over the target, so that a crash at any point leaves the old file
// or the new one and never a part. False, with the reason, when it failed;
// the target is then as it was.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view text,
                         std::string& error);

}  // namespace orvane
