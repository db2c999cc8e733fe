#pragma once
// my_meteo.txt, the weather file that UI-View transmits: a time stamp line
// and one APRS weather data line, CP1252 with CR LF.

#include <string>

#include "io/file_io.h"
#include "settings/config.h"
#include "station/reading.h"

namespace aprs {

inline constexpr const char *kWeatherFileName = "my_meteo.txt";
inline constexpr const char *kStationModel = "WS3600";

// "Mar 07 2008 09:05"
std::string dateLine(const station::WeatherReading &r);

// "270/012g...t054p000r000b10132h65/sereno-brezza/WS3600/113W" (UTF-8).
// Characters of the comment that CP1252 cannot hold, control characters and
// the APRS-reserved "|" and "~" become "?".
std::string dataLine(const station::WeatherReading &r, settings::PressureChoice pressure, const std::string &comment);

// The file's bytes: both lines in CP1252, each ended by CR LF.
std::string weatherFileBytes(const std::string &dateLine, const std::string &dataLine);

struct WeatherFileResult {
    std::string dateLine;
    std::string dataLine;
    std::string text1;           // dateLine CR LF dataLine, for the window
    // Whether the file was written in one piece; `reason` is then the whole
    // status-bar text ("Impossibile scrivere my_meteo.txt in ...").
    io::WriteResult written;
};

// Builds both lines and rewrites my_meteo.txt in place in the output folder.
WeatherFileResult writeWeatherFile(const station::WeatherReading &r, settings::PressureChoice pressure,
                                   const std::string &outputFolder, const std::string &comment,
                                   const io::Disk &disk = io::realDisk());

} // namespace aprs
