// numberText and leadingNumber carry every value between the program's files
// and its captions. Whatever text a file holds, leadingNumber gives a finite
// number; whatever finite number is written, it reads back as itself
// rounded to the 15 significant digits that numberText keeps.

#include <charconv>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "station/numbers.h"
#include "fuzz_support.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// " 21.4", "-.25", " 0", " 1.5E+20": sign place, then either a plain decimal
// with no leading "0" before the point and no trailing zeros after it, or a
// mantissa with one digit before the point and a signed exponent.
bool wellFormed(const std::string &t) {
    if (t.size() < 2 || (t[0] != ' ' && t[0] != '-'))
        return false;
    const std::string body = t.substr(1);
    if (body == "0")
        return t[0] == ' ';
    const auto e = body.find('E');
    const std::string mantissa = body.substr(0, e);
    std::size_t digits = 0, points = 0;
    for (char c : mantissa) {
        if (isDigit(c))
            ++digits;
        else if (c == '.')
            ++points;
        else
            return false;
    }
    if (digits == 0 || points > 1 || mantissa.back() == '.')
        return false;
    if (points == 1 && mantissa.back() == '0')
        return false;
    if (e == std::string::npos) {
        if (mantissa[0] == '0')
            return false;
        const auto point = mantissa.find('.');
        std::string significant = mantissa;
        if (point != std::string::npos)
            significant.erase(point, 1);
        significant.erase(0, significant.find_first_not_of('0'));
        if (point == std::string::npos)
            significant.erase(significant.find_last_not_of('0') + 1);
        return significant.size() <= 15 && (point == std::string::npos ? mantissa.size() : point) <= 15;
    }
    if (!isDigit(mantissa[0]) || mantissa[0] == '0' || (mantissa.size() > 1 && mantissa[1] != '.') || digits > 15)
        return false;
    const std::string exponent = body.substr(e + 1);
    if (exponent.size() < 3 || (exponent[0] != '+' && exponent[0] != '-'))
        return false;
    for (std::size_t i = 1; i < exponent.size(); ++i)
        if (!isDigit(exponent[i]))
            return false;
    return true;
}

// x rounded to 15 significant digits, as the nearest double; nullopt when
// that rounding leaves the range of a double.
std::optional<double> roundedTo15(double x) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, x, std::chars_format::scientific, 14);
    double y = 0;
    const auto read = std::from_chars(buffer, written.ptr, y);
    if (read.ec != std::errc())
        return std::nullopt;
    return y;
}

void checkRoundTrip(double x, const std::string &origin) {
    const std::string t = numbers::numberText(x);
    FUZZ_CHECK(wellFormed(t), "numberText gave [" + t + "] for " + origin);
    FUZZ_CHECK((t[0] == '-') == (x < 0 && t != " 0"), "sign of [" + t + "] for " + origin);
    const double y = numbers::leadingNumber(t);
    FUZZ_CHECK(std::isfinite(y), "[" + t + "] reads as a non-finite number");
    FUZZ_CHECK(numbers::numberText(y) == t, "[" + t + "] reads back as [" + numbers::numberText(y) + "] for " + origin);
    if (const auto r = roundedTo15(x))
        FUZZ_CHECK(y == *r, "[" + t + "] is not " + origin + " rounded to 15 digits");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::string shown = fuzz_support::shown(std::string(text));

    // Any text: a finite number or none, and leadingNumber finite either way.
    const auto parsed = numbers::parseLeadingNumber(text);
    FUZZ_CHECK(std::isfinite(numbers::leadingNumber(text)), shown);
    if (parsed) {
        FUZZ_CHECK(std::isfinite(*parsed), shown);
        checkRoundTrip(*parsed, "the text [" + shown + "]");
    }

    // The same bytes as doubles, so every bit pattern gets written too.
    for (std::size_t at = 0; at + sizeof(double) <= size && at < 8 * sizeof(double); at += sizeof(double)) {
        double x;
        std::memcpy(&x, data + at, sizeof x);
        if (std::isfinite(x)) {
            std::uint64_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            char hex[24] = "bits 0x";
            *std::to_chars(hex + 7, hex + sizeof hex - 1, bits, 16).ptr = '\0';
            checkRoundTrip(x, hex);
        }
    }
    return 0;
}
