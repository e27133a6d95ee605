#pragma once

// Names for the rows of parametrised tests, so that a failing case says which
// row it is. GoogleTest takes letters, digits and underscores only.

#include <cstdio>
#include <sstream>
#include <string>
#include <string_view>
#include <type_traits>

namespace orvane::test {

namespace detail {

inline bool isNameCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
}

template <typename Part>
std::string namePart(const Part& part) {
    if constexpr (std::is_integral_v<Part> || std::is_enum_v<Part>) {
        const auto value = static_cast<long long>(part);
        return value < 0 ? "Minus" + std::to_string(-value) : std::to_string(value);
    } else {
        std::ostringstream text;
        text << part;
        return text.str();
    }
}

}  // namespace detail

// The parts joined by underscores, every other character an underscore too;
// numbers below zero read "Minus5". "Empty" when nothing is left.
template <typename... Parts>
std::string caseName(const Parts&... parts) {
    std::string name;
    for (const std::string& part : {detail::namePart(parts)...}) {
        if (part.empty()) {
            continue;
        }
        if (!name.empty()) {
            name += '_';
        }
        for (char c : part) {
            name += detail::isNameCharacter(c) ? c : '_';
        }
    }
    return name.empty() ? "Empty" : name;
}

// A text spelled out so that different texts keep different names: letters
// and digits stay, every other character becomes "_" and its code in
// hexadecimal.
inline std::string spelled(std::string_view text) {
    std::string name;
    for (char c : text) {
        if (detail::isNameCharacter(c)) {
            name += c;
        } else {
            char hex[4];
            std::snprintf(hex, sizeof hex, "_%02X", static_cast<unsigned char>(c));
            name += hex;
        }
    }
    return name.empty() ? "Empty" : name;
}

inline std::string spelled(std::u16string_view text) {
    std::string name;
    for (char16_t c : text) {
        if (c < 0x80 && detail::isNameCharacter(static_cast<char>(c))) {
            name += static_cast<char>(c);
        } else {
            char hex[6];
            std::snprintf(hex, sizeof hex, "_%04X", static_cast<unsigned>(c));
            name += hex;
        }
    }
    return name.empty() ? "Empty" : name;
}

}  // namespace orvane::test
