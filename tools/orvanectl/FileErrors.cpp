#include "FileErrors.h"

#include "profile/FileIO.h"

namespace orvanectl {

namespace fs = std::filesystem;

bool readFileForCommand(const fs::path& path, orvane::DataStream& stream, std::string& error) {
    if (orvane::readWholeFile(path, stream)) {
        return true;
    }
    std::error_code status;
    const std::string name = "cannot read " + path.string() + ": ";
    if (!fs::exists(path, status)) {
        error = name + "no such file";
    } else if (fs::is_directory(path, status)) {
        error = name + "it is a folder";
    } else if (!fs::is_regular_file(path, status)) {
        error = name + "not a regular file";
    } else if (fs::file_size(path, status) > orvane::kMaxFileSize) {
        error = name + "larger than 16 MiB, so not one of our files";
    } else {
        error = name + "permission denied or read error";
    }
    return false;
}

}  // namespace orvanectl
