// my_meteo.txt: its two lines, and the file rewritten in place in one write.
#include "aprs/weather_file.h"

#include <algorithm>

#include "aprs/aprs_fields.h"
#include "io/text_codec.h"
#include "station/numbers.h"
#include "station/version.h"

namespace aprs {
namespace {

// The comment goes out over the air in one line of CP1252: a character the
// code page lacks, a control character (a CR LF would split the file) and
// the APRS-reserved "|" and "~" each become one "?".
std::string safeComment(const std::string &comment) {
    std::string out;
    out.reserve(comment.size());
    for (std::size_t i = 0; i < comment.size();) {
        const std::size_t n =
            std::min(io::sequenceLength(static_cast<unsigned char>(comment[i])), comment.size() - i);
        const std::string one = comment.substr(i, n);
        i += n;
        const auto byte = io::utf8ToCp1252(one);
        if (!byte || byte->size() != 1) {
            out += '?';
            continue;
        }
        const auto b = static_cast<unsigned char>((*byte)[0]);
        // 0x81, 0x8D, 0x8F, 0x90 and 0x9D stand for C1 control characters.
        const bool control = b < 0x20 || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 ||
                             b == 0x9D;
        if (control || b == '|' || b == '~')
            out += '?';
        else
            out += one;
    }
    return out;
}

} // namespace

// The clock fields are zero-padded and the month abbreviation comes from the
// program's own English table, never from the regional settings: UI-View
// parses this line itself.
std::string dateLine(const station::WeatherReading &r) {
    const station::ClockTime &t = r.time;
    return std::string(station::monthAbbrevEn(t.month)) + " " + station::zeroPadded(t.day, 2) + " " +
           station::zeroPadded(t.year, 4) + " " + station::zeroPadded(t.hour, 2) + ":" +
           station::zeroPadded(t.minute, 2);
}

std::string dataLine(const station::WeatherReading &r, settings::PressureChoice pressure, const std::string &comment) {
    const bool relative = pressure == settings::PressureChoice::Relative;
    // The station has no gust sensor: dots say "unknown", where 000 would
    // be read as a measured calm.
    return wholeField(r.windDirection) + "/" + wholeField(r.windSpeedMph) + "g...t" +
           temperatureField(r.outdoorTemperatureF) + "p" + rainField(r.rain24hInch) + "r" + rainField(r.rain1hInch) +
           "b" + pressureField(relative ? r.pressureRelative : r.pressureAbsolute) + "h" +
           humidityField(r.outdoorHumidity) + "/" + safeComment(comment) + "/" + kStationModel + "/" +
           version::kVersionTag;
}

std::string weatherFileBytes(const std::string &dateLine, const std::string &dataLine) {
    return io::utf8ToCp1252Lossy(dateLine) + "\r\n" + io::utf8ToCp1252Lossy(dataLine) + "\r\n";
}

WeatherFileResult writeWeatherFile(const station::WeatherReading &r, settings::PressureChoice pressure,
                                   const std::string &outputFolder, const std::string &comment,
                                   const io::Disk &disk) {
    WeatherFileResult result;
    result.dateLine = dateLine(r);
    result.dataLine = dataLine(r, pressure, comment);
    result.text1 = result.dateLine + "\r\n" + result.dataLine;

    // An empty folder would put the file in the working directory, where
    // UI-View does not look.
    if (outputFolder.empty()) {
        result.written = {false, io::writeProblem(kWeatherFileName, outputFolder, "cartella non impostata")};
        return result;
    }
    // UI-View may hold the file open: it is rewritten in place in one write,
    // never replaced by a rename.
    const auto path = io::joinPath(outputFolder, kWeatherFileName);
    const auto written = disk.writeInPlace(path, weatherFileBytes(result.dateLine, result.dataLine));
    if (!written.ok)
        result.written = {false, io::writeProblem(kWeatherFileName, outputFolder, written.reason)};
    return result;
}

} // namespace aprs
