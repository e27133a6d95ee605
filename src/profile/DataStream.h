#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// Growable little-endian byte buffer with a read cursor; the one byte format
// shared by the profile files and the macro files.
//
// Reads never trust the data: a read that would run past the bytes written
// (or read from a file) returns zero, leaves the cursor where it was and sets
// a sticky failure flag. Parsers read a whole record into a temporary and
// commit it only when `failed()` is still false afterwards.
class DataStream {
  public:
    static constexpr std::uint32_t kInitialWriteCapacity = 1024;

    // An empty stream, ready to be filled by readWholeFile().
    DataStream() = default;
    virtual ~DataStream() = default;

    DataStream(const DataStream&) = default;
    DataStream& operator=(const DataStream&) = default;
    DataStream(DataStream&&) = default;
    DataStream& operator=(DataStream&&) = default;

    // A stream for writing: 1024 zeroed bytes of room, nothing written yet.
    static DataStream forWriting();
    // A stream for reading the given bytes from offset 0.
    static DataStream fromBytes(std::vector<std::uint8_t> bytes);

    // Makes room for n more bytes. Grows by the larger of 2n and 1024 bytes;
    // refuses (and marks the stream failed) when the buffer would pass 4 GiB.
    bool ensureSpace(std::uint32_t n);

    void putU8(std::uint8_t value);
    void putU16(std::uint16_t value);
    void putU32(std::uint32_t value);
    // u32 count of UTF-16 code units, then the code units; no terminator.
    void putText(const std::u16string& text);
    // The value as decimal digits ("-" for negatives), written with putText.
    void putDecimal(std::int32_t value);

    std::uint8_t getU8();
    std::uint16_t getU16();
    std::uint32_t getU32();
    // A count of 0, or one with its top bit set, gives an empty text.
    std::u16string getText();
    // getText(), then the leading integer of that text (0 when it has none).
    std::int32_t getDecimal();
    std::array<std::uint32_t, 4> getFourU32();

    // True when n more bytes are there to read; otherwise marks the stream
    // failed. Lets a reader check a whole counted run before taking it.
    bool require(std::uint64_t n);

    // Empties the stream: no buffer, nothing written, cursor at 0, no failure.
    void clear();

    const std::uint8_t* data() const { return buffer.data(); }
    std::uint32_t capacity() const { return static_cast<std::uint32_t>(buffer.size()); }
    std::uint32_t length() const { return writtenLength; }
    std::uint32_t readPosition() const { return readCursor; }
    std::uint32_t remaining() const { return writtenLength - readCursor; }
    bool failed() const { return failure; }
    // The written bytes, 0 to length - 1.
    std::vector<std::uint8_t> bytes() const;

  private:
    void putBytes(const std::uint8_t* bytes, std::uint32_t n);

    std::vector<std::uint8_t> buffer;  // size() is the capacity; zero-filled past length
    std::uint32_t writtenLength = 0;
    std::uint32_t readCursor = 0;
    bool failure = false;
};

// Parses decimal text the way the colour fields are read back: leading white
// space skipped, an optional sign, then digits up to the first other
// character. Values past the 32-bit range saturate at its ends, as the C
// library's conversions do; text without digits gives 0.
std::int32_t parseDecimal(const std::u16string& text);

}  // namespace orvane
