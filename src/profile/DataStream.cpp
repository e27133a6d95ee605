#include "profile/DataStream.h"

#include <algorithm>
#include <limits>

namespace orvane {

DataStream DataStream::forWriting() {
    DataStream stream;
    stream.buffer.assign(kInitialWriteCapacity, 0);
    return stream;
}

DataStream DataStream::fromBytes(std::vector<std::uint8_t> bytes) {
    DataStream stream;
    if (bytes.size() > std::numeric_limits<std::uint32_t>::max()) {
        stream.failure = true;
        return stream;
    }
    stream.writtenLength = static_cast<std::uint32_t>(bytes.size());
    stream.buffer = std::move(bytes);
    return stream;
}

bool DataStream::ensureSpace(std::uint32_t n) {
    const std::uint64_t room = buffer.size() - writtenLength;
    if (room >= n) {
        return true;
    }
    const std::uint64_t growth = std::max<std::uint64_t>(2ULL * n, 1024);
    const std::uint64_t newCapacity = buffer.size() + growth;
    if (newCapacity > std::numeric_limits<std::uint32_t>::max()) {
        failure = true;
        return false;
    }
    buffer.resize(static_cast<std::size_t>(newCapacity), 0);
    return true;
}

void DataStream::putBytes(const std::uint8_t* bytes, std::uint32_t n) {
    if (!ensureSpace(n)) {
        return;
    }
    std::copy(bytes, bytes + n, buffer.begin() + writtenLength);
    writtenLength += n;
}

void DataStream::putU8(std::uint8_t value) {
    putBytes(&value, 1);
}

void DataStream::putU16(std::uint16_t value) {
    const std::uint8_t bytes[2] = {static_cast<std::uint8_t>(value),
                                   static_cast<std::uint8_t>(value >> 8)};
    putBytes(bytes, 2);
}

void DataStream::putU32(std::uint32_t value) {
    const std::uint8_t bytes[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    putBytes(bytes, 4);
}

void DataStream::putText(const std::u16string& text) {
    if (text.size() > std::numeric_limits<std::uint32_t>::max() / 2) {
        failure = true;
        return;
    }
    const auto count = static_cast<std::uint32_t>(text.size());
    if (!ensureSpace(4 + 2 * count)) {
        return;
    }
    putU32(count);
    for (char16_t unit : text) {
        putU16(static_cast<std::uint16_t>(unit));
    }
}

void DataStream::putDecimal(std::int32_t value) {
    const std::string digits = std::to_string(value);
    putText(std::u16string(digits.begin(), digits.end()));
}

bool DataStream::require(std::uint64_t n) {
    if (failure || remaining() < n) {
        failure = true;
        return false;
    }
    return true;
}

std::uint8_t DataStream::getU8() {
    if (!require(1)) {
        return 0;
    }
    return buffer[readCursor++];
}

std::uint16_t DataStream::getU16() {
    if (!require(2)) {
        return 0;
    }
    const auto value =
        static_cast<std::uint16_t>(buffer[readCursor] | (buffer[readCursor + 1] << 8));
    readCursor += 2;
    return value;
}

std::uint32_t DataStream::getU32() {
    if (!require(4)) {
        return 0;
    }
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | buffer[readCursor + static_cast<std::uint32_t>(i)];
    }
    readCursor += 4;
    return value;
}

std::u16string DataStream::getText() {
    const std::uint32_t count = getU32();
    if (count == 0 || (count & 0x80000000U) != 0) {
        return {};
    }
    // Check the whole run before allocating, so a damaged count cannot make
    // us reserve gigabytes.
    if (!require(2ULL * count)) {
        return {};
    }
    std::u16string text;
    text.reserve(count);
    for (std::uint32_t i = 0; i < count; ++i) {
        text.push_back(static_cast<char16_t>(getU16()));
    }
    return text;
}

std::int32_t DataStream::getDecimal() {
    return parseDecimal(getText());
}

std::array<std::uint32_t, 4> DataStream::getFourU32() {
    std::array<std::uint32_t, 4> values{};
    for (auto& value : values) {
        value = getU32();
    }
    return values;
}

void DataStream::clear() {
    buffer.clear();
    buffer.shrink_to_fit();
    writtenLength = 0;
    readCursor = 0;
    failure = false;
}

std::vector<std::uint8_t> DataStream::bytes() const {
    return {buffer.begin(), buffer.begin() + writtenLength};
}

std::int32_t parseDecimal(const std::u16string& text) {
    auto isSpace = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    std::size_t i = 0;
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr std::int64_t kLimit = std::int64_t{1} << 31;  // |INT32_MIN|
    std::int64_t magnitude = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        magnitude = std::min<std::int64_t>(magnitude * 10 + (text[i] - u'0'), kLimit);
    }
    const std::int64_t value = negative ? -magnitude : std::min(magnitude, kLimit - 1);
    return static_cast<std::int32_t>(value);
}

}  // namespace orvane
