#include "macros/MacroFile.h"

#include <array>
#include <utility>

namespace orvane {

namespace {

void putRect(DataStream& stream, const MacroRect& rect) {
    stream.putU32(static_cast<std::uint32_t>(rect.left));
    stream.putU32(static_cast<std::uint32_t>(rect.top));
    stream.putU32(static_cast<std::uint32_t>(rect.right));
    stream.putU32(static_cast<std::uint32_t>(rect.bottom));
}

MacroRect getRect(DataStream& stream) {
    const std::array<std::uint32_t, 4> values = stream.getFourU32();
    return {static_cast<std::int32_t>(values[0]), static_cast<std::int32_t>(values[1]),
            static_cast<std::int32_t>(values[2]), static_cast<std::int32_t>(values[3])};
}

bool isNoCount(std::uint32_t count) {
    return count == 0 || (count & 0x80000000U) != 0;
}

}  // namespace

void writeMacro(const CMacro& macro, DataStream& stream) {
    stream.putText(macro.name);
    stream.putU32(static_cast<std::uint32_t>(macro.id));
    putRect(stream, macro.layoutRect);
    stream.putU32(static_cast<std::uint32_t>(macro.events.size()));
    for (const CEventItem& event : macro.events) {
        stream.putU8(event.type);
        stream.putU16(event.code);
        stream.putU8(event.state);
        stream.putU32(event.delay);
        putRect(stream, event.rowRect);
        stream.putU32(static_cast<std::uint32_t>(event.selected));
        stream.putU32(event.id);
    }
}

bool readMacro(DataStream& stream, CMacro& macro) {
    CMacro read;
    read.name = stream.getText();
    read.id = static_cast<std::int32_t>(stream.getU32());
    read.layoutRect = getRect(stream);
    const std::uint32_t count = stream.getU32();
    // The whole run of steps must be there before anything is allocated, so
    // a damaged count cannot make us reserve gigabytes.
    if (!isNoCount(count) && stream.require(std::uint64_t{count} * kMacroStepBytes)) {
        read.events.resize(count);
        for (CEventItem& event : read.events) {
            event.type = stream.getU8();
            event.code = stream.getU16();
            event.state = stream.getU8();
            event.delay = stream.getU32();
            event.rowRect = getRect(stream);
            event.selected = static_cast<std::int32_t>(stream.getU32());
            event.id = stream.getU32();
        }
    }
    if (stream.failed()) {
        return false;
    }
    macro.name = std::move(read.name);
    macro.id = read.id;
    macro.layoutRect = read.layoutRect;
    macro.events = std::move(read.events);
    return true;
}

void writeMacroList(const std::vector<std::u16string>& paths, DataStream& stream) {
    stream.putU32(static_cast<std::uint32_t>(paths.size()));
    for (const std::u16string& path : paths) {
        stream.putText(path);
    }
}

bool readMacroList(DataStream& stream, const std::function<void(std::u16string path)>& visit) {
    // Entries are read one by one rather than collected, so a count far
    // beyond the file's size costs nothing before the first short read.
    const std::uint32_t count = stream.getU32();
    for (std::uint32_t i = 0; i < count; ++i) {
        std::u16string path = stream.getText();
        if (stream.failed()) {
            return false;
        }
        visit(std::move(path));
    }
    return !stream.failed();
}

}  // namespace orvane
