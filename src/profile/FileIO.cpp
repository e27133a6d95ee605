#include "profile/FileIO.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <random>
#include <string>
#include <system_error>

#include "platform/FileDurability.h"

namespace orvane {

namespace fs = std::filesystem;

bool readWholeFile(const fs::path& path, DataStream& stream) {
    stream.clear();
    std::error_code error;
    if (!fs::is_regular_file(path, error)) {
        return false;
    }
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        return false;
    }
    // The size is taken from the open file, not from a second look at the
    // path, and the read must deliver exactly that many bytes.
    file.seekg(0, std::ios::end);
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFileSize) {
        return false;
    }
    file.seekg(0, std::ios::beg);
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !file.read(reinterpret_cast<char*>(bytes.data()), size)) {
        return false;
    }
    // A file that grew after we measured it is not read in part.
    if (file.peek() != std::ifstream::traits_type::eof()) {
        return false;
    }
    stream = DataStream::fromBytes(std::move(bytes));
    return true;
}

namespace {

fs::path folderOf(const fs::path& target) {
    return target.has_parent_path() ? target.parent_path() : fs::path(".");
}

constexpr std::string_view kTemporaryMark = ".tmp";

fs::path temporaryPathFor(const fs::path& target) {
    // Unique within this process, and from a random start so that another
    // program writing the same target at the same moment (orvanectl beside
    // the application) does not share the name and mix its bytes into ours.
    // At most ten digits: macro file names leave room for no more.
    static std::atomic<std::uint32_t> counter{std::random_device{}()};
    fs::path temporary = target;
    temporary += std::string(kTemporaryMark) + std::to_string(counter++);
    return temporary;
}

bool isTemporaryOf(const std::string& name, const std::string& target) {
    const std::string prefix = target + std::string(kTemporaryMark);
    return name.size() > prefix.size() && name.compare(0, prefix.size(), prefix) == 0 &&
           std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                       [](char c) { return c >= '0' && c <= '9'; });
}

// A write killed before its rename leaves its temporary file behind, and no
// later write would reuse the name; the next write of the same target clears
// them away, or a profile folder would collect one for every crash.
void removeTemporariesLeftFor(const fs::path& target) {
    const std::string name = target.filename().string();
    std::error_code error;
    std::vector<fs::path> leftovers;
    for (fs::directory_iterator it(folderOf(target), error);
         !error && it != fs::directory_iterator(); it.increment(error)) {
        if (isTemporaryOf(it->path().filename().string(), name)) {
            leftovers.push_back(it->path());
        }
    }
    for (const fs::path& leftover : leftovers) {
        fs::remove(leftover, error);
    }
}

bool holdsExactly(const fs::path& path, const DataStream& stream) {
    DataStream existing;
    return readWholeFile(path, existing) && existing.length() == stream.length() &&
           std::equal(stream.data(), stream.data() + stream.length(), existing.data());
}

}  // namespace

bool writeWholeFile(const fs::path& path, const DataStream& stream) {
    if (stream.failed() || stream.length() > kMaxFileSize) {
        return false;
    }
    // The folders leading to the file, whatever its name: guessing the file
    // name from a "." would turn a target without one into a folder.
    std::error_code error;
    if (path.has_parent_path()) {
        fs::create_directories(path.parent_path(), error);
    }
    if (fs::is_directory(path, error)) {
        return false;
    }
    // A file that holds these bytes already stays as it is: an Apply saves
    // five profiles and every macro, most of them unchanged, and each write
    // that reaches the disk costs milliseconds (the macros' on the
    // user-interface thread).
    if (holdsExactly(path, stream)) {
        removeTemporariesLeftFor(path);
        return true;
    }
    const fs::path temporary = temporaryPathFor(path);
    {
        std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
        if (!file) {
            return false;
        }
        file.write(reinterpret_cast<const char*>(stream.data()), stream.length());
        file.flush();
        if (!file) {
            file.close();
            fs::remove(temporary, error);
            return false;
        }
        file.close();
        if (!file) {
            fs::remove(temporary, error);
            return false;
        }
    }
    // The bytes reach the disk before the name points at them: journalling
    // file systems may commit the rename first, and a power cut would then
    // leave the target empty instead of old or new.
    if (!syncToDisk(temporary)) {
        fs::remove(temporary, error);
        return false;
    }
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    removeTemporariesLeftFor(path);
    // The rename is an entry of the folder; until the folder is on the disk
    // a power cut can bring the old file back after the user was told it was
    // saved.
    return syncToDisk(folderOf(path));
}

void ensureFolderFor(const fs::path& path) {
    std::error_code error;
    if (path.empty() || fs::exists(path, error)) {
        return;
    }
    fs::path folder = path;
    if (path.filename().string().find('.') != std::string::npos) {
        folder = path.parent_path();
    }
    if (!folder.empty()) {
        fs::create_directories(folder, error);
    }
}

void emptyFolder(const fs::path& folder) {
    std::error_code error;
    if (!fs::is_directory(fs::symlink_status(folder, error))) {
        return;
    }
    fs::directory_iterator entries(folder, error);
    if (error) {
        return;
    }
    for (const fs::directory_entry& entry : entries) {
        std::error_code entryError;
        if (entry.is_directory(entryError) && !entry.is_symlink(entryError)) {
            removeFolderTree(entry.path());
        } else {
            fs::remove(entry.path(), entryError);
        }
    }
}

void removeFolderTree(const fs::path& folder) {
    emptyFolder(folder);
    std::error_code error;
    fs::remove(folder, error);
}

}  // namespace orvane
