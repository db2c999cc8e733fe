#pragma once
// One reading of Heavy Weather's currdat.lst, with the clock fields of the
// tick and the short texts that the APRS weather line needs.

#include <optional>
#include <string>

namespace station {

// The local date and time of a tick. Passed in, so tests set the clock.
struct ClockTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;
};

struct WeatherReading {
    // Station codes, compared with whole values by their users.
    double forecastCode = 0;   // 0 rain, 1 cloudy, 2 sunny, -1 none
    double tendencyCode = 0;   // 0 steady, 1 rising, 2 falling, -1 none
    double stormAlarmCode = 0; // 0 off, 1 active, -1 fault

    // Values; a sensor the file marks as missing counts as 0 here.
    double indoorTemperature = 0;  // °C
    double outdoorTemperature = 0; // °C
    double indoorHumidity = 0;     // %
    double outdoorHumidity = 0;    // %
    double dewPoint = 0;           // °C
    double windChill = 0;          // °C
    double windSpeed = 0;          // km/h
    double windDirection = 0;      // whole degrees
    double rainTotal = 0;          // mm
    double rain24h = 0;            // mm
    double rain1h = 0;             // mm
    double pressureAbsolute = 0;   // hPa
    double pressureRelative = 0;   // hPa

    // APRS texts of fixed width; a missing sensor is dots ("..." / ".." /
    // "....."), which decoders read as unknown rather than as a real 0.
    std::string outdoorTemperatureAprs = "..."; // °F: "070", "-05"
    std::string windSpeedAprs = "...";          // mph
    std::string windDirectionAprs = "...";      // degrees
    std::string outdoorHumidityAprs = "..";     // %, 100 is "00", 0 unknown
    std::string rain24hAprs = "...";            // hundredths of an inch
    std::string rain1hAprs = "...";             // hundredths of an inch
    std::string pressureAbsoluteAprs = "....."; // tenths of hPa, 0 unknown
    std::string pressureRelativeAprs = "....."; // tenths of hPa, 0 unknown

    // Clock fields, zero-padded: "05", "03", "2026", "09", "07".
    std::string day, month, year, hour, minute;
    std::string monthNameIt;   // "marzo"
    std::string monthAbbrevEn; // "Mar"
    std::string stationModel = "WS3600";

    // The midnight tick: hour and minute both "00".
    bool isMidnight() const { return hour == "00" && minute == "00"; }
};

// Fills the clock fields of the reading from the time.
void setClockFields(WeatherReading &reading, const ClockTime &time);

// nullopt when the file cannot be opened or read, or holds fewer than 73
// lines that end in a line end: the tick then goes on as if the file were
// missing.
std::optional<WeatherReading> readCurrentData(const std::string &path, const ClockTime &now);

// The same from the file's bytes (for tests and fuzzing).
std::optional<WeatherReading> parseCurrentData(const std::string &bytes, const ClockTime &now);

// APRS texts, exposed for tests. nullopt is a missing value (dots).
std::string temperatureAprs(std::optional<double> fahrenheit);
std::string wholeAprs(std::optional<double> value);     // wind speed, direction
std::string humidityAprs(std::optional<double> percent);
std::string rainAprs(std::optional<double> inches);
std::string pressureAprs(std::optional<double> hpa);

} // namespace station
