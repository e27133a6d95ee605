#include "profile/FileIO.h"

#include <atomic>
#include <fstream>
#include <string>
#include <system_error>

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

fs::path temporaryPathFor(const fs::path& target) {
    // Unique within this process; the rename below makes the name irrelevant
    // to readers, and a leftover from a crash is swept by the next save of
    // the macro folder or overwritten by the next write of the same target.
    static std::atomic<unsigned> counter{0};
    fs::path temporary = target;
    temporary += ".tmp" + std::to_string(counter++);
    return temporary;
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
    fs::rename(temporary, path, error);
    if (error) {
        fs::remove(temporary, error);
        return false;
    }
    return true;
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
