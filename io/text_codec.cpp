// Windows-1252 <-> UTF-8, and the walk over UTF-8 text.
#include "io/text_codec.h"

#include <cstdint>

namespace io {
namespace {

// Code points of the bytes 0x80..0x9F; the undefined ones keep their value.
const char32_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

void appendUtf8(std::string &out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at `i`; returns false on malformed input.
bool nextCodePoint(const std::string &s, std::size_t &i, char32_t &cp) {
    const auto b0 = static_cast<unsigned char>(s[i++]);
    const std::size_t length = sequenceLength(b0);
    if (length == 1 && b0 >= 0x80)
        return false;
    static const unsigned char kLeadBits[5] = {0, 0x7F, 0x1F, 0x0F, 0x07};
    cp = b0 & kLeadBits[length];
    for (std::size_t k = 1; k < length; ++k, ++i) {
        if (i >= s.size() || (static_cast<unsigned char>(s[i]) & 0xC0) != 0x80)
            return false;
        cp = (cp << 6) | (static_cast<unsigned char>(s[i]) & 0x3F);
    }
    // An overlong form ("\xC0\xAE" for ".") is no character: taken, it would
    // let a "/" or a control byte pass any check made on the UTF-8 text.
    static const char32_t kShortest[5] = {0, 0, 0x80, 0x800, 0x10000};
    return cp >= kShortest[length];
}

std::optional<char> toByte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF))
        return static_cast<char>(cp);
    for (int k = 0; k < 32; ++k)
        if (kHigh[k] == cp)
            return static_cast<char>(0x80 + k);
    return std::nullopt;
}

} // namespace

std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

std::string cp1252ToUtf8(const std::string &bytes) {
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 8);
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80)
            out += c;
        else if (b < 0xA0)
            appendUtf8(out, kHigh[b - 0x80]);
        else
            appendUtf8(out, b);
    }
    return out;
}

std::optional<std::string> utf8ToCp1252(const std::string &utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        if (!nextCodePoint(utf8, i, cp))
            return std::nullopt;
        const auto b = toByte(cp);
        if (!b)
            return std::nullopt;
        out += *b;
    }
    return out;
}

std::string utf8ToCp1252Lossy(const std::string &utf8, char replacement) {
    std::string out;
    out.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        char32_t cp = 0;
        const bool ok = nextCodePoint(utf8, i, cp);
        const auto b = ok ? toByte(cp) : std::nullopt;
        out += b ? *b : replacement;
    }
    return out;
}

} // namespace io
