#pragma once
// The fixed-width fields of the APRS weather line. nullopt is a missing
// sensor, sent as dots ("...", "..", "....."), which decoders read as
// unknown rather than as a real 0.

#include <optional>
#include <string>

namespace aprs {

std::string temperatureField(std::optional<double> fahrenheit); // "070", "-05"
std::string wholeField(std::optional<double> value);            // wind mph, degrees
std::string humidityField(std::optional<double> percent);       // 100 is "00", below 1 unknown
std::string rainField(std::optional<double> inches);            // hundredths of an inch
std::string pressureField(std::optional<double> hpa);           // tenths of hPa, 0 unknown

} // namespace aprs
