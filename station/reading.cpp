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
    return station::parseLeadingNumber(rest);
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

// Where each value stands: line and first character, both counted from 1.
struct Field {
    Value WeatherReading::*value;
    std::size_t line, position;
};
const Field kFields[] = {
    {&WeatherReading::indoorTemperature, 24, 8},   {&WeatherReading::outdoorTemperature, 28, 8},
    {&WeatherReading::outdoorTemperatureF, 29, 8}, {&WeatherReading::indoorHumidity, 32, 10},
    {&WeatherReading::outdoorHumidity, 35, 10},    {&WeatherReading::dewPoint, 38, 8},
    {&WeatherReading::windChill, 42, 8},           {&WeatherReading::windSpeed, 47, 6},
    {&WeatherReading::windSpeedMph, 48, 6},        {&WeatherReading::windDirection, 53, 6},
    {&WeatherReading::rainTotal, 57, 5},           {&WeatherReading::rain24h, 61, 5},
    {&WeatherReading::rain24hInch, 62, 7},         {&WeatherReading::rain1h, 65, 5},
    {&WeatherReading::rain1hInch, 66, 7},          {&WeatherReading::pressureAbsolute, 69, 6},
    {&WeatherReading::pressureRelative, 73, 6},
};
// The codes' lines, and what each code (-1, 0, 1, 2, other) stands for.
constexpr std::size_t kForecastLine = 12, kTendencyLine = 17, kStormAlarmLine = 21, kCodePosition = 8;
const Forecast kForecasts[] = {Forecast::NotGiven, Forecast::Rain, Forecast::Cloudy, Forecast::Sunny,
                               Forecast::Other};
const Tendency kTendencies[] = {Tendency::NotGiven, Tendency::Steady, Tendency::Rising, Tendency::Falling,
                                Tendency::Other};
const StormAlarm kAlarms[] = {StormAlarm::Fault, StormAlarm::Off, StormAlarm::Active, StormAlarm::Other,
                              StormAlarm::Other};

std::optional<WeatherReading> readingFromLines(const std::vector<std::string> &lines, const ClockTime &now) {
    if (lines.size() < kLinesNeeded)
        return std::nullopt;
    WeatherReading r;
    auto code = [&](std::size_t line) { return codeOf(valueAt(lines, line, kCodePosition)) + 1; };
    // Only a code the file holds tells anything: a missing one is no 0
    // ("rain", "steady", "off").
    auto holds = [&](std::size_t line) { return valueAt(lines, line, kCodePosition).has_value(); };
    r.forecast = holds(kForecastLine) ? kForecasts[code(kForecastLine)] : Forecast::Missing;
    r.tendency = holds(kTendencyLine) ? kTendencies[code(kTendencyLine)] : Tendency::Missing;
    r.stormAlarm = holds(kStormAlarmLine) ? kAlarms[code(kStormAlarmLine)] : StormAlarm::Missing;
    for (const Field &field : kFields)
        r.*field.value = valueAt(lines, field.line, field.position);
    r.windDirection = floorOf(r.windDirection); // whole degrees
    r.time = now;
    return r;
}

// Heavy Weather rewrites the file while the cycle may be reading it: a last
// line without its line end may be cut short ("hpa=\"10" for 1013.2), so
// only lines that end count.
constexpr bool kKeepUnendedLine = false;

} // namespace

std::optional<WeatherReading> readCurrentData(const std::string &path, const ClockTime &now) {
    const auto lines = io::readLines(path, kLinesNeeded, 4096, kKeepUnendedLine);
    if (!lines)
        return std::nullopt;
    return readingFromLines(*lines, now);
}

std::optional<WeatherReading> parseCurrentData(const std::string &bytes, const ClockTime &now) {
    return readingFromLines(io::splitLines(bytes, kLinesNeeded, 4096, kKeepUnendedLine), now);
}

} // namespace station
