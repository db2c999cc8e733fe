// The APRS line's fixed-width fields, scaled on decimal digits, not doubles.
#include "aprs/aprs_fields.h"

#include <cmath>

#include "station/numbers.h"

namespace aprs {
namespace {

using station::zeroPadded;

// Digits of the bare numberText of a non-negative value, split at the point,
// so that scaling works on the decimal digits rather than on binary doubles.
struct Decimal {
    std::string whole;
    std::string fraction;
    bool huge = false; // beyond the plain decimal form
};

Decimal decimalOf(double value) {
    const std::string text = station::numberText(value).substr(1);
    Decimal d;
    if (text.find('E') != std::string::npos) {
        d.huge = text.find("E+") != std::string::npos;
        d.whole = "0";
        return d;
    }
    const auto point = text.find('.');
    d.whole = point == std::string::npos ? text : text.substr(0, point);
    if (d.whole.empty())
        d.whole = "0";
    if (point != std::string::npos)
        d.fraction = text.substr(point + 1);
    return d;
}

// The value scaled by 10^places, cut or rounded to a whole number and capped.
long long scaled(double value, int places, bool roundHalfUp, long long cap) {
    if (!(value > 0))
        return 0;
    const Decimal d = decimalOf(value);
    if (d.huge || d.whole.size() > 15)
        return cap;
    std::string digits = d.whole;
    for (int i = 0; i < places; ++i)
        digits += i < static_cast<int>(d.fraction.size()) ? d.fraction[static_cast<std::size_t>(i)] : '0';
    long long n = 0;
    for (char c : digits)
        n = n * 10 + (c - '0');
    if (roundHalfUp && static_cast<int>(d.fraction.size()) > places &&
        d.fraction[static_cast<std::size_t>(places)] >= '5')
        ++n;
    return n > cap ? cap : n;
}

} // namespace

std::string temperatureField(std::optional<double> fahrenheit) {
    if (!fahrenheit)
        return "...";
    double whole = std::trunc(*fahrenheit);
    if (whole < 0) {
        if (whole < -99)
            whole = -99;
        return "-" + zeroPadded(static_cast<int>(-whole), 2);
    }
    if (whole > 999)
        whole = 999;
    return zeroPadded(static_cast<int>(whole), 3);
}

std::string wholeField(std::optional<double> value) {
    if (!value)
        return "...";
    double whole = std::floor(*value);
    if (!(whole > 0))
        whole = 0;
    if (whole > 999)
        whole = 999;
    return zeroPadded(static_cast<int>(whole), 3);
}

std::string humidityField(std::optional<double> percent) {
    if (!percent)
        return "..";
    // APRS writes 100 % as "00"; below 1 % is no real outdoor reading (a
    // broken sensor or a bad file), and "00" would claim 100 %.
    const double whole = std::floor(*percent);
    if (!(whole >= 1))
        return "..";
    if (whole >= 100)
        return "00";
    return zeroPadded(static_cast<int>(whole), 2);
}

std::string rainField(std::optional<double> inches) {
    if (!inches)
        return "...";
    return zeroPadded(scaled(*inches, 2, true, 999), 3);
}

std::string pressureField(std::optional<double> hpa) {
    if (!hpa)
        return ".....";
    return zeroPadded(scaled(*hpa, 1, false, 99999), 5);
}

} // namespace aprs
