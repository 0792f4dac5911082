#include "analysis/Utf8.h"

#include <cstdint>

namespace {
constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Bytes of the well-formed sequence at the start of text; 0 when it does not start with one.
size_t SequenceLength(std::string_view text) {
    const auto b = static_cast<uint8_t>(text[0]);
    size_t extra = 0;
    uint32_t cp = 0;
    if (b < 0x80)
        return 1;
    if (b >= 0xC2 && b <= 0xDF) {
        extra = 1;
        cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
        extra = 2;
        cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
        extra = 3;
        cp = b & 0x07;
    } else {
        return 0;
    }
    if (text.size() <= extra)
        return 0;
    for (size_t k = 1; k <= extra; ++k) {
        const auto c = static_cast<uint8_t>(text[k]);
        if ((c & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (c & 0x3F);
    }
    if ((extra == 2 && cp < 0x800) || (extra == 3 && (cp < 0x10000 || cp > 0x10FFFF)) ||
        (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return extra + 1;
}
} // namespace

bool IsUtf8(std::string_view text) {
    while (!text.empty()) {
        const size_t n = SequenceLength(text);
        if (n == 0)
            return false;
        text.remove_prefix(n);
    }
    return true;
}

std::string ValidUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    while (!text.empty()) {
        const size_t n = SequenceLength(text);
        if (n == 0) {
            out += kReplacement;
            text.remove_prefix(1);
        } else {
            out += text.substr(0, n);
            text.remove_prefix(n);
        }
    }
    return out;
}
