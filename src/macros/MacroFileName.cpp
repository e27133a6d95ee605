#include "macros/MacroFileName.h"

#include <algorithm>

#include "profile/TextCodec.h"

namespace orvane {

namespace {

constexpr std::size_t kMaxStemBytes = kMaxMacroFileNameBytes - kMacroFileExtension.size();

// A name's own trailing ones are cut when they leave less room than this for
// appended ones, so that at least this many macros whose names differ only
// in letter case still get files of their own.
constexpr std::size_t kMinAppendableOnes = 100;

bool isUnsafe(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F || c == '/' || c == '\\';
}

// The longest prefix of at most n bytes that does not split a UTF-8 sequence.
std::string_view cutUtf8(std::string_view text, std::size_t n) {
    if (text.size() <= n) {
        return text;
    }
    while (n > 0 && (static_cast<unsigned char>(text[n]) & 0xC0) == 0x80) {
        --n;
    }
    return text.substr(0, n);
}

std::size_t trailingOnes(std::string_view text) {
    const std::size_t last = text.find_last_not_of('1');
    return last == std::string_view::npos ? text.size() : text.size() - last - 1;
}

}  // namespace

std::string safeMacroFileStem(std::u16string_view name) {
    std::string stem = toUtf8(name);
    std::replace_if(stem.begin(), stem.end(), isUnsafe, '_');
    for (char& c : stem) {
        if (c != '.') {
            break;
        }
        c = '_';
    }
    if (stem.empty()) {
        stem = "_";
    }
    return stem;
}

std::optional<std::string> macroFileName(std::u16string_view name, std::size_t extraOnes) {
    // The stem is split into a base that does not end in "1" and the run of
    // ones after it. Every candidate ends in exactly `ones` ones behind a
    // base that does not end in "1", so no two counts can give one name.
    const std::string stem = safeMacroFileStem(name);
    const std::size_t ownOnes = trailingOnes(stem);
    const std::string_view base = std::string_view(stem).substr(0, stem.size() - ownOnes);
    const std::size_t keptOnes = std::min(ownOnes, kMaxStemBytes - kMinAppendableOnes);
    if (extraOnes > kMaxStemBytes - keptOnes) {
        return std::nullopt;
    }
    const std::size_t ones = keptOnes + extraOnes;

    std::string result;
    if (base.size() + ones <= kMaxStemBytes) {
        result = base;
    } else {
        std::string_view cut = cutUtf8(base, kMaxStemBytes - ones);
        cut = cut.substr(0, cut.size() - trailingOnes(cut));
        result = cut;
        // A base that starts with many ones may be cut down to nothing; with
        // no ones to follow, the stem would be empty.
        if (result.empty() && ones == 0) {
            result = "_";
        }
    }
    result.append(ones, '1');
    result += kMacroFileExtension;
    return result;
}

}  // namespace orvane
