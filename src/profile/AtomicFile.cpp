#include "profile/AtomicFile.h"

#include <vector>

#include "profile/DataStream.h"
#include "profile/FileIO.h"

namespace orvane {

// One atomic writer for the whole project: the core's.
bool writeFileAtomically(const std::filesystem::path& path, std::string_view text,
                         std::string& error) {
    const DataStream stream =
        DataStream::fromBytes(std::vector<std::uint8_t>(text.begin(), text.end()));
    if (!writeWholeFile(path, stream)) {
        error = "cannot write " + path.string() +
                " (is its folder writable, is it a folder itself?); the old file is unchanged";
        return false;
    }
    return true;
}

}  // namespace orvane
