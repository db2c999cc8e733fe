// numberText and leadingNumber carry every value between the program's files
// and its captions. Whatever text a file holds, leadingNumber gives a finite
// number, the one the C library reads from the same characters; whatever
// finite number is written, it reads back as itself rounded to the 15
// significant digits that numberText keeps. All of it in a locale with a
// decimal comma, as the C library's may be once Qt has set it from an
// Italian user's environment.

#include <cfloat>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

#include "station/numbers.h"
#include "fuzz_support.h"

#ifndef _WIN32
#include <locale.h>
#endif

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
        // Below 1E-04 the exponent form is due: ".0001" at most.
        if (mantissa[0] == '.' && mantissa.find_first_not_of('0', 1) > 4)
            return false;
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
    // Only where the plain form would need more than 15 digits or 4 zeros.
    const long power = std::strtol(exponent.c_str(), nullptr, 10);
    return power >= 15 || power <= -5;
}

#ifndef _WIN32
locale_t cLocale() {
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t(0));
    return c;
}
#endif

// The number a text starts with as the C library reads it, from only the
// characters that the program's number form allows: blanks, a sign, digits
// with one point, an exponent after E or D with at least one digit.
std::optional<double> libraryNumber(std::string_view t) {
    std::size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t'))
        ++i;
    std::string form;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        form += t[i++];
    std::size_t digits = 0;
    const auto takeDigits = [&] {
        for (; i < t.size() && isDigit(t[i]); ++i, ++digits)
            form += t[i];
    };
    takeDigits();
    if (i < t.size() && t[i] == '.') {
        form += t[i++];
        takeDigits();
    }
    if (digits == 0)
        return std::nullopt;
    if (i < t.size() && std::string_view("EeDd").find(t[i]) != std::string_view::npos) {
        std::size_t j = i + 1;
        std::string exponent = "e";
        if (j < t.size() && (t[j] == '+' || t[j] == '-'))
            exponent += t[j++];
        const std::size_t first = j;
        for (; j < t.size() && isDigit(t[j]); ++j)
            exponent += t[j];
        if (j > first)
            form += exponent;
    }
#ifdef _WIN32
    double x = std::strtod(form.c_str(), nullptr);
#else
    double x = strtod_l(form.c_str(), nullptr, cLocale());
#endif
    // Beyond the range: the largest number of that sign.
    if (std::isinf(x))
        x = std::copysign(DBL_MAX, x);
    return x;
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
    const std::string t = station::numberText(x);
    FUZZ_CHECK(wellFormed(t), "numberText gave [" + t + "] for " + origin);
    FUZZ_CHECK((t[0] == '-') == (x < 0 && t != " 0"), "sign of [" + t + "] for " + origin);
    const double y = station::leadingNumber(t);
    FUZZ_CHECK(std::isfinite(y), "[" + t + "] reads as a non-finite number");
    FUZZ_CHECK(station::numberText(y) == t, "[" + t + "] reads back as [" + station::numberText(y) + "] for " + origin);
    if (const auto r = roundedTo15(x))
        FUZZ_CHECK(y == *r, "[" + t + "] is not " + origin + " rounded to 15 digits");
}

// A decimal comma for the whole run, from a locale made for it: the systems
// the fuzzers run on seldom have an Italian one generated. Where none can be
// made, the run goes on in the C locale and says so.
void useDecimalComma() {
#ifndef _WIN32
    const std::string folder = fuzz_support::scratchFolder();
    std::ofstream(folder + "/comma.def") << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\n"
                                             "grouping 3;3\nEND LC_NUMERIC\n";
    // -c: localedef writes the locale though it warns that the other
    // categories are missing, and ends with 1; whether it took is told by
    // setlocale.
    const std::string make = "localedef -c -i " + folder + "/comma.def " + folder + "/comma >/dev/null 2>&1";
    const int ignored = std::system(make.c_str());
    (void)ignored;
    if (setenv("LOCPATH", folder.c_str(), 1) == 0 && std::setlocale(LC_NUMERIC, "comma")) {
        char probe[8];
        std::snprintf(probe, sizeof probe, "%.1f", 1.5);
        if (std::string(probe) == "1,5")
            return;
    }
#endif
    std::setlocale(LC_NUMERIC, "C");
    std::cerr << "fuzz_numbers: no locale with a decimal comma, the C locale is used\n";
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***) {
    useDecimalComma();
    return 0;
}

fuzz_support::Check aNumber("a text that reads as a number"), noNumber("a text that holds none"),
    aDouble("bytes that are a finite double"), notFinite("bytes that are no finite double");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char *>(data), size);
    const std::string shown = fuzz_support::shown(std::string(text));

    // Any text: a finite number or none, and leadingNumber finite either way.
    const auto parsed = station::parseLeadingNumber(text);
    FUZZ_CHECK(std::isfinite(station::leadingNumber(text)), shown);
    FUZZ_CHECK(station::leadingNumber(text) == parsed.value_or(0), shown);
    const auto expected = libraryNumber(text);
    FUZZ_CHECK(parsed.has_value() == expected.has_value(), shown);
    if (parsed && expected)
        FUZZ_CHECK(*parsed == *expected && std::signbit(*parsed) == std::signbit(*expected),
                   "[" + shown + "] reads as [" + station::numberText(*parsed) + "], the C library's [" +
                       station::numberText(*expected) + "]");
    (parsed ? aNumber : noNumber).reached();
    if (parsed) {
        FUZZ_CHECK(std::isfinite(*parsed), shown);
        checkRoundTrip(*parsed, "the text [" + shown + "]");
    }

    // The same bytes as doubles, so every bit pattern gets written too.
    for (std::size_t at = 0; at + sizeof(double) <= size && at < 8 * sizeof(double); at += sizeof(double)) {
        double x;
        std::memcpy(&x, data + at, sizeof x);
        (std::isfinite(x) ? aDouble : notFinite).reached();
        if (!std::isfinite(x)) {
            // Infinity is written as the largest number of its sign.
            const std::string t = station::numberText(x);
            FUZZ_CHECK(wellFormed(t), "numberText gave [" + t + "] for a non-finite number");
            if (std::isinf(x))
                FUZZ_CHECK(t == station::numberText(std::copysign(DBL_MAX, x)), t);
        } else {
            std::uint64_t bits;
            std::memcpy(&bits, &x, sizeof bits);
            char hex[24] = "bits 0x";
            *std::to_chars(hex + 7, hex + sizeof hex - 1, bits, 16).ptr = '\0';
            checkRoundTrip(x, hex);
        }
    }
    return 0;
}
