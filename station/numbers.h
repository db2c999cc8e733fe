#pragma once
// The one number-to-text and text-to-number form of every caption and file.
// Neither depends on the C library's locale: Qt sets it from the environment,
// and an Italian locale must not turn "." into ",".

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace station {

// " 21.4", "-3.2", " .5", "-.25", " 0", " 1013": a blank for zero and positive
// values, 15 significant digits, no trailing zeros, no point for whole
// numbers, no "0" before the point. Magnitudes beyond that range use an
// exponent (" 1E-07", " 1.5E+20"), which leadingNumber reads back.
std::string numberText(double x);

// The number at the start of the text: leading blanks skipped, an optional
// sign, digits with at most one ".", an optional exponent (E or D). The first
// character that cannot continue the number ends it (a comma does). nullopt
// when the text does not start with a number. Values beyond the range of a
// double become the largest one of that sign; values too small become 0.
std::optional<double> parseLeadingNumber(std::string_view text);

// As above, with 0 for a text without a number.
double leadingNumber(std::string_view text);

// The whole number with leading zeros to `width` digits ("05", "2026"); a
// negative value counts as 0. Dates, times, file names and APRS fields.
std::string zeroPadded(long long value, std::size_t width);

} // namespace station
