#pragma once

#include <cstdint>
#include <filesystem>

#include "profile/DataStream.h"

namespace orvane {

// No file of ours comes near this; anything larger is damaged or not ours.
inline constexpr std::uintmax_t kMaxFileSize = 16U * 1024U * 1024U;

// Empties the stream, then fills it with the whole file. False (and an empty
// stream) when the file cannot be opened or read, is not a regular file, or is
// larger than kMaxFileSize.
bool readWholeFile(const std::filesystem::path& path, DataStream& stream);

// Writes bytes 0 to length - 1 of the stream to the path, creating the
// missing folders that lead to it first. The file is replaced atomically: the bytes go to a
// temporary file in the same folder, which reaches the disk and is then renamed over the target,
// and the folder reaches the disk after the rename, so a failed or interrupted write (a crash, a
// power cut) leaves the old file or the new one, never a part. False when anything failed (the
// target is then untouched, except when only the folder could not be synced: then the new file
// is in place but not known to survive a power cut), or when the stream holds more than
// kMaxFileSize bytes and so could never be read back. A file that already holds exactly these
// bytes is left untouched.
bool writeWholeFile(const std::filesystem::path& path, const DataStream& stream);

// Creates the folders leading to a path. When the path exists nothing
// happens; otherwise a last component that contains a "." is taken for a file
// name and dropped, and every folder of the rest is created. Failures are
// ignored: the write that follows reports them.
void ensureFolderFor(const std::filesystem::path& path);

// Deletes every file and every sub-folder tree inside the folder; the folder
// stays. Symbolic links are removed, never followed. Failures are ignored.
void emptyFolder(const std::filesystem::path& folder);

// emptyFolder(), then the folder itself.
void removeFolderTree(const std::filesystem::path& folder);

}  // namespace orvane
