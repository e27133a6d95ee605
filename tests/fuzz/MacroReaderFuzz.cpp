// Whatever the bytes, reading a macro file never crashes; a rejected macro is
// left exactly as it was, and an accepted one survives a write and a second
// read unchanged.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "macros/MacroFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orvane;
    const std::vector<std::uint8_t> bytes(data, data + size);
    DataStream stream = DataStream::fromBytes(bytes);
    CMacro macro;
    macro.name = u"before";
    macro.addEvent(1, 65, 0, 10, kAppendEvent);
    const CMacro before = macro;
    if (!readMacro(stream, macro)) {
        if (macro.name != before.name || macro.id != before.id ||
            !(macro.layoutRect == before.layoutRect) || macro.events != before.events) {
            std::abort();
        }
    } else {
        DataStream written = DataStream::forWriting();
        writeMacro(macro, written);
        CMacro again;
        if (!readMacro(written, again) || again.name != macro.name || again.id != macro.id ||
            !(again.layoutRect == macro.layoutRect) || again.events != macro.events) {
            std::abort();
        }
    }
    return 0;
}
