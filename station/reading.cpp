#include "station/reading.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "io/file_io.h"
#include "station/numbers.h"

namespace station {
namespace {

constexpr std::size_t kLinesNeeded = 73;

const char *const kMonthNameIt[12] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                      "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
const char *const kMonthAbbrevEn[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

std::string padded(int value, std::size_t width) {
    std::string text = std::to_string(value < 0 ? 0 : value);
    if (text.size() < width)
        text.insert(0, width - text.size(), '0');
    return text;
}

// The value that begins at character `position` (from 1) of line `number`
// (from 1), read as far as the number goes; nullopt when none begins there.
std::optional<double> valueAt(const std::vector<std::string> &lines, std::size_t number, std::size_t position) {
    const std::string &line = lines[number - 1];
    if (line.size() < position)
        return std::nullopt;
    const std::string_view rest = std::string_view(line).substr(position - 1);
    return numbers::parseLeadingNumber(rest);
}

// Digits of the bare numberText of a non-negative value, split at the point,
// so that scaling works on the decimal digits rather than on binary doubles.
struct Decimal {
    std::string whole;
    std::string fraction;
    bool huge = false; // beyond the plain decimal form
};

Decimal decimalOf(double value) {
    const std::string text = numbers::numberText(value).substr(1);
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
    if (roundHalfUp && static_cast<int>(d.fraction.size()) > places && d.fraction[static_cast<std::size_t>(places)] >= '5')
        ++n;
    return n > cap ? cap : n;
}

} // namespace

void setClockFields(WeatherReading &reading, const ClockTime &time) {
    reading.day = padded(time.day, 2);
    reading.month = padded(time.month, 2);
    reading.year = padded(time.year, 4);
    reading.hour = padded(time.hour, 2);
    reading.minute = padded(time.minute, 2);
    const int index = time.month >= 1 && time.month <= 12 ? time.month - 1 : 0;
    reading.monthNameIt = kMonthNameIt[index];
    reading.monthAbbrevEn = kMonthAbbrevEn[index];
}

std::string temperatureAprs(std::optional<double> fahrenheit) {
    if (!fahrenheit)
        return "...";
    double whole = std::trunc(*fahrenheit);
    if (whole < 0) {
        if (whole < -99)
            whole = -99;
        return "-" + padded(static_cast<int>(-whole), 2);
    }
    if (whole > 999)
        whole = 999;
    return padded(static_cast<int>(whole), 3);
}

std::string wholeAprs(std::optional<double> value) {
    if (!value)
        return "...";
    double whole = std::floor(*value);
    if (!(whole > 0))
        whole = 0;
    if (whole > 999)
        whole = 999;
    return padded(static_cast<int>(whole), 3);
}

std::string humidityAprs(std::optional<double> percent) {
    if (!percent)
        return "..";
    double whole = std::floor(*percent);
    if (!(whole > 0) || whole >= 100)
        return "00";
    return padded(static_cast<int>(whole), 2);
}

std::string rainAprs(std::optional<double> inches) {
    if (!inches)
        return "...";
    return padded(static_cast<int>(scaled(*inches, 2, true, 999)), 3);
}

std::string pressureAprs(std::optional<double> hpa) {
    if (!hpa)
        return ".....";
    return padded(static_cast<int>(scaled(*hpa, 1, false, 99999)), 5);
}

namespace {

std::optional<WeatherReading> readingFromLines(const std::vector<std::string> &lines, const ClockTime &now) {
    if (lines.size() < kLinesNeeded)
        return std::nullopt;
    WeatherReading r;
    auto value = [&](std::size_t line, std::size_t position) { return valueAt(lines, line, position).value_or(0.0); };

    r.forecastCode = value(12, 8);
    r.tendencyCode = value(17, 8);
    r.stormAlarmCode = value(21, 8);
    r.indoorTemperature = value(24, 8);
    r.outdoorTemperature = value(28, 8);
    r.indoorHumidity = value(32, 10);
    r.outdoorHumidity = value(35, 10);
    r.dewPoint = value(38, 8);
    r.windChill = value(42, 8);
    r.windSpeed = value(47, 6);
    r.windDirection = std::floor(value(53, 6));
    r.rainTotal = value(57, 5);
    r.rain24h = value(61, 5);
    r.rain1h = value(65, 5);
    r.pressureAbsolute = value(69, 6);
    r.pressureRelative = value(73, 6);

    r.outdoorTemperatureAprs = temperatureAprs(valueAt(lines, 29, 8));
    r.windSpeedAprs = wholeAprs(valueAt(lines, 48, 6));
    r.windDirectionAprs = wholeAprs(valueAt(lines, 53, 6));
    r.outdoorHumidityAprs = humidityAprs(valueAt(lines, 35, 10));
    r.rain24hAprs = rainAprs(valueAt(lines, 62, 7));
    r.rain1hAprs = rainAprs(valueAt(lines, 66, 7));
    r.pressureAbsoluteAprs = pressureAprs(valueAt(lines, 69, 6));
    r.pressureRelativeAprs = pressureAprs(valueAt(lines, 73, 6));

    setClockFields(r, now);
    return r;
}

} // namespace

// Heavy Weather rewrites the file while the cycle may be reading it: a last
// line without its line end may be cut short ("hpa=\"10" for 1013.2), so
// only lines that end count.
constexpr bool kKeepUnendedLine = false;

std::optional<WeatherReading> readCurrentData(const std::string &path, const ClockTime &now) {
    const auto lines = fileio::readLines(path, kLinesNeeded, 4096, kKeepUnendedLine);
    if (!lines)
        return std::nullopt;
    return readingFromLines(*lines, now);
}

std::optional<WeatherReading> parseCurrentData(const std::string &bytes, const ClockTime &now) {
    return readingFromLines(fileio::splitLines(bytes, kLinesNeeded, 4096, kKeepUnendedLine), now);
}

} // namespace station
