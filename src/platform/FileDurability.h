#pragma once

#include <filesystem>

namespace orvane {

// Returns once what was written to the file, or the entries of the folder
// (a rename into it), are on the disk rather than in the system's cache.
// False when the disk reported an error; a file system that has nothing to
// sync (it keeps no cache of its own) counts as done.
bool syncToDisk(const std::filesystem::path& fileOrFolder);

}  // namespace orvane
