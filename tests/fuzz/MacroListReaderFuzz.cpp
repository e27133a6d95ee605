// Whatever the bytes, the macro list reader hands over only whole paths, and
// what it handed over survives a write and a second read unchanged, so the
// next save keeps every macro the list named.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "macros/MacroFile.h"
#include "profile/TextCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    const std::vector<std::uint8_t> bytes(data, data + size);
    DataStream stream = DataStream::fromBytes(bytes);
    std::vector<std::u16string> paths;
    readMacroList(stream, [&paths](std::u16string path) {
        // Loading turns each path into a file name this way.
        (void)fromUtf8(toUtf8(path));
        paths.push_back(std::move(path));
    });
    DataStream written = DataStream::forWriting();
    writeMacroList(paths, written);
    DataStream reread = DataStream::fromBytes(written.bytes());
    std::vector<std::u16string> again;
    if (!readMacroList(reread,
                       [&again](std::u16string path) { again.push_back(std::move(path)); }) ||
        again != paths) {
        std::abort();
    }
    return 0;
}
