// numberText and leadingNumber: the number forms of every caption and file.
#include "station/numbers.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace station {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

std::string exponentText(int e) { return std::string(e < 0 ? "E-" : "E+") + zeroPadded(e < 0 ? -e : e, 2); }

} // namespace

std::string numberText(double x) {
    if (std::isnan(x) || x == 0.0)
        return " 0";
    const bool negative = x < 0;
    double magnitude = std::fabs(x);
    if (std::isinf(magnitude))
        magnitude = std::numeric_limits<double>::max();

    // 15 significant digits: d.dddddddddddddde±xx
    char buffer[64];
    const auto res = std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, 14);
    const std::string sci(buffer, res.ptr);
    const std::size_t ePos = sci.find('e');
    std::string digits = sci.substr(0, 1) + sci.substr(2, ePos - 2);
    int exponent = 0;
    std::from_chars(sci.data() + ePos + (sci[ePos + 1] == '+' ? 2 : 1), sci.data() + sci.size(), exponent);
    while (digits.size() > 1 && digits.back() == '0')
        digits.pop_back();

    std::string body;
    if (exponent >= 15 || exponent < -4) {
        body = digits.substr(0, 1);
        if (digits.size() > 1)
            body += "." + digits.substr(1);
        body += exponentText(exponent);
    } else if (exponent >= 0) {
        const auto intDigits = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= intDigits) {
            body = digits + std::string(intDigits - digits.size(), '0');
        } else {
            body = digits.substr(0, intDigits) + "." + digits.substr(intDigits);
        }
    } else {
        body = "." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    }
    return (negative ? "-" : " ") + body;
}

std::optional<double> parseLeadingNumber(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::string normal; // digits '.' digits ['e' sign digits], for from_chars
    const std::size_t intStart = i;
    while (i < text.size() && isDigit(text[i]))
        ++i;
    const std::string_view intPart = text.substr(intStart, i - intStart);
    std::string_view fracPart;
    if (i < text.size() && text[i] == '.') {
        const std::size_t fracStart = ++i;
        while (i < text.size() && isDigit(text[i]))
            ++i;
        fracPart = text.substr(fracStart, i - fracStart);
    }
    if (intPart.empty() && fracPart.empty())
        return std::nullopt;
    normal.append(intPart.empty() ? "0" : intPart);
    if (!fracPart.empty())
        normal.append(".").append(fracPart);

    long exponent = 0; // clamped, only to tell overflow from underflow
    if (i < text.size() && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
        std::size_t j = i + 1;
        bool expNegative = false;
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) {
            expNegative = text[j] == '-';
            ++j;
        }
        const std::size_t expStart = j;
        while (j < text.size() && isDigit(text[j])) {
            if (exponent < 1000000)
                exponent = exponent * 10 + (text[j] - '0');
            ++j;
        }
        if (j > expStart) {
            normal.append(expNegative ? "e-" : "e").append(text.substr(expStart, j - expStart));
            if (expNegative)
                exponent = -exponent;
        } else {
            exponent = 0;
        }
    }

    double value = 0;
    const auto res = std::from_chars(normal.data(), normal.data() + normal.size(), value);
    if (res.ec == std::errc::result_out_of_range) {
        // Decimal magnitude of the mantissa's first significant digit.
        long magnitude;
        const auto firstInt = intPart.find_first_not_of('0');
        if (firstInt != std::string_view::npos) {
            magnitude = static_cast<long>(intPart.size() - firstInt) - 1;
        } else {
            const auto firstFrac = fracPart.find_first_not_of('0');
            magnitude = -static_cast<long>(firstFrac == std::string_view::npos ? 0 : firstFrac) - 1;
        }
        value = magnitude + exponent > 0 ? std::numeric_limits<double>::max() : 0.0;
    } else if (res.ec != std::errc()) {
        value = 0.0;
    }
    return negative ? -value : value;
}

double leadingNumber(std::string_view text) { return parseLeadingNumber(text).value_or(0.0); }

std::string zeroPadded(long long value, std::size_t width) {
    std::string text = std::to_string(value < 0 ? 0 : value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

} // namespace station
