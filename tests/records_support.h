#pragma once
// Readings for the record tests at a given local time.

#include "station/reading.h"

namespace records_test {

inline station::WeatherReading at(int year, int month, int day, int hour, int minute, double temperature = 10,
                                  double pressure = 1013) {
    station::WeatherReading r;
    r.time = {year, month, day, hour, minute};
    r.outdoorTemperature = temperature;
    r.pressureRelative = pressure;
    return r;
}

} // namespace records_test
