#pragma once
// Readings for the record tests, with the clock fields set as the reader
// would set them for the given local time.

#include <string>

#include "cycle/reading.h"

namespace records_test {

inline std::string pad2(int v) {
    return std::string(1, static_cast<char>('0' + v / 10)) + static_cast<char>('0' + v % 10);
}

inline cycle::WeatherReading at(int year, int month, int day, int hour, int minute, double temperature = 10,
                                double pressure = 1013) {
    static const char *const abbrev[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                         "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    static const char *const nameIt[] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                         "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
    cycle::WeatherReading r;
    r.year = std::to_string(year);
    r.month = pad2(month);
    r.day = pad2(day);
    r.hour = pad2(hour);
    r.minute = pad2(minute);
    r.monthAbbrevEn = abbrev[month - 1];
    r.monthNameIt = nameIt[month - 1];
    r.outdoorTemperature = temperature;
    r.pressureRelative = pressure;
    return r;
}

} // namespace records_test
