#pragma once
// One reading of Heavy Weather's currdat.lst, made of numbers, with the
// local time of the tick. Each writer (APRS line, panel, store, summary,
// log) makes its own text of it.

#include <optional>
#include <string>

#include "station/calendar.h"

namespace station {

// The station's codes. A code the file does not hold ("---" or nothing) is
// Missing; one that is none of the station's values is Other; both select
// nothing.
enum class Forecast { Rain, Cloudy, Sunny, NotGiven, Other, Missing };     // 0, 1, 2, -1, "---"
enum class Tendency { Steady, Rising, Falling, NotGiven, Other, Missing }; // 0, 1, 2, -1, "---"
enum class StormAlarm { Off, Active, Fault, Other, Missing };              // 0, 1, -1, "---"

// nullopt: the file marks the sensor as missing ("---" or nothing).
using Value = std::optional<double>;

struct WeatherReading {
    Forecast forecast = Forecast::Rain;
    Tendency tendency = Tendency::Steady;
    StormAlarm stormAlarm = StormAlarm::Off;

    Value indoorTemperature;  // °C
    Value outdoorTemperature; // °C
    Value indoorHumidity;     // %
    Value outdoorHumidity;    // %
    Value dewPoint;           // °C
    Value windChill;          // °C
    Value windSpeed;          // km/h
    Value windDirection;      // whole degrees
    Value rainTotal;          // mm
    Value rain24h;            // mm
    Value rain1h;             // mm
    Value pressureAbsolute;   // hPa
    Value pressureRelative;   // hPa

    // The APRS line's units, which the file gives on lines of their own.
    Value outdoorTemperatureF;
    Value windSpeedMph;
    Value rain24hInch;
    Value rain1hInch;

    ClockTime time;
};

// Where a number is shown or kept, a missing sensor counts as 0.
inline double orZero(const Value &value) { return value.value_or(0.0); }

// nullopt when the file cannot be opened or read, or holds fewer than 73
// lines that end in a line end: the tick then goes on as if the file were
// missing.
std::optional<WeatherReading> readCurrentData(const std::string &path, const ClockTime &now);

// The same from the file's bytes (for tests and fuzzing).
std::optional<WeatherReading> parseCurrentData(const std::string &bytes, const ClockTime &now);

} // namespace station
