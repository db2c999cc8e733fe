#pragma once
// Readings for the record tests, with the clock fields set as the reader
// would set them for the given local time.

#include "station/reading.h"

namespace records_test {

inline station::WeatherReading at(int year, int month, int day, int hour, int minute, double temperature = 10,
                                double pressure = 1013) {
    station::WeatherReading r;
    station::setClockFields(r, {year, month, day, hour, minute});
    r.outdoorTemperature = temperature;
    r.pressureRelative = pressure;
    return r;
}

} // namespace records_test
