// The currdat.lst reader: values cut out of fixed lines at fixed positions.
#include "station/reading.h"

#include <cmath>
#include <string_view>
#include <vector>

#include "io/file_io.h"
#include "station/numbers.h"

namespace station {
namespace {

constexpr std::size_t kLinesNeeded = 73;

// The value that begins at character `position` (from 1) of line `number`
// (from 1), read as far as the number goes; nullopt when none begins there.
Value valueAt(const std::vector<std::string> &lines, std::size_t number, std::size_t position) {
    const std::string &line = lines[number - 1];
    if (line.size() < position)
        return std::nullopt;
    const std::string_view rest = std::string_view(line).substr(position - 1);
    return numbers::parseLeadingNumber(rest);
}

Value floorOf(const Value &value) { return value ? Value(std::floor(*value)) : std::nullopt; }

// Only exact whole values name a code: 0.5 is none of them.
int codeOf(const Value &value) {
    const double code = orZero(value);
    for (int c = -1; c <= 2; ++c)
        if (code == c)
            return c;
    return 3;
}

std::optional<WeatherReading> readingFromLines(const std::vector<std::string> &lines, const ClockTime &now) {
    if (lines.size() < kLinesNeeded)
        return std::nullopt;
    WeatherReading r;
    auto at = [&](std::size_t line, std::size_t position) { return valueAt(lines, line, position); };

    static const Forecast kForecasts[] = {Forecast::NotGiven, Forecast::Rain, Forecast::Cloudy, Forecast::Sunny,
                                          Forecast::Other};
    static const Tendency kTendencies[] = {Tendency::NotGiven, Tendency::Steady, Tendency::Rising, Tendency::Falling,
                                           Tendency::Other};
    static const StormAlarm kAlarms[] = {StormAlarm::Fault, StormAlarm::Off, StormAlarm::Active, StormAlarm::Other,
                                         StormAlarm::Other};
    r.forecast = kForecasts[codeOf(at(12, 8)) + 1];
    r.tendency = kTendencies[codeOf(at(17, 8)) + 1];
    r.stormAlarm = kAlarms[codeOf(at(21, 8)) + 1];
    r.indoorTemperature = at(24, 8);
    r.outdoorTemperature = at(28, 8);
    r.outdoorTemperatureF = at(29, 8);
    r.indoorHumidity = at(32, 10);
    r.outdoorHumidity = at(35, 10);
    r.dewPoint = at(38, 8);
    r.windChill = at(42, 8);
    r.windSpeed = at(47, 6);
    r.windSpeedMph = at(48, 6);
    r.windDirection = floorOf(at(53, 6));
    r.rainTotal = at(57, 5);
    r.rain24h = at(61, 5);
    r.rain24hInch = at(62, 7);
    r.rain1h = at(65, 5);
    r.rain1hInch = at(66, 7);
    r.pressureAbsolute = at(69, 6);
    r.pressureRelative = at(73, 6);
    r.time = now;
    return r;
}

// Heavy Weather rewrites the file while the cycle may be reading it: a last
// line without its line end may be cut short ("hpa=\"10" for 1013.2), so
// only lines that end count.
constexpr bool kKeepUnendedLine = false;

} // namespace

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
