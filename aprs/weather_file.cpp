#include "aprs/weather_file.h"

#include <algorithm>

#include "station/version.h"
#include "io/text_codec.h"
#include "station/numbers.h"

namespace aprs {
namespace {

// Length of the UTF-8 sequence that starts with this byte; 1 for a stray
// continuation byte, so that malformed text still moves forward.
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

// The comment goes out over the air in one line of CP1252: a character the
// code page lacks, a control character (a CR LF would split the file) and
// the APRS-reserved "|" and "~" each become one "?".
std::string safeComment(const std::string &comment) {
    std::string out;
    out.reserve(comment.size());
    for (std::size_t i = 0; i < comment.size();) {
        const std::size_t n = std::min(sequenceLength(static_cast<unsigned char>(comment[i])), comment.size() - i);
        const std::string one = comment.substr(i, n);
        i += n;
        const auto byte = codec::utf8ToCp1252(one);
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
    return r.monthAbbrevEn + " " + r.day + " " + r.year + " " + r.hour + ":" + r.minute;
}

std::string dataLine(const station::WeatherReading &r, char pressureChoice, const std::string &comment) {
    const std::string &pressure = pressureChoice == '2' ? r.pressureRelativeAprs : r.pressureAbsoluteAprs;
    return r.windDirectionAprs + "/" + r.windSpeedAprs + "g000t" + r.outdoorTemperatureAprs + "p" +
           r.rain24hAprs + "r" + r.rain1hAprs + "b" + pressure + "h" + r.outdoorHumidityAprs + "/" +
           safeComment(comment) + "/" + r.stationModel + "/" + version::kVersionTag;
}

std::string pressureCaption(const station::WeatherReading &r, char pressureChoice) {
    if (pressureChoice == '2')
        return "Pressione rel.:  " + numbers::numberText(r.pressureRelative) + " hPa";
    return "Pressione ass.:  " + numbers::numberText(r.pressureAbsolute) + " hPa";
}

std::string weatherFileBytes(const std::string &dateLine, const std::string &dataLine) {
    return codec::utf8ToCp1252Lossy(dateLine) + "\r\n" + codec::utf8ToCp1252Lossy(dataLine) + "\r\n";
}

WeatherFileResult writeWeatherFile(const station::WeatherReading &r, char pressureChoice,
                                   const std::string &outputFolder, const std::string &comment) {
    WeatherFileResult result;
    result.dateLine = dateLine(r);
    result.dataLine = dataLine(r, pressureChoice, comment);
    result.text1 = result.dateLine + "\r\n" + result.dataLine;

    // An empty folder would put the file in the working directory, where
    // UI-View does not look.
    if (outputFolder.empty()) {
        result.written = {false, fileio::writeProblem(kWeatherFileName, outputFolder, "cartella non impostata")};
        return result;
    }
    // UI-View may hold the file open: it is rewritten in place in one write,
    // never replaced by a rename.
    const auto path = fileio::joinPath(outputFolder, kWeatherFileName);
    const auto written = fileio::writeInPlace(path, weatherFileBytes(result.dateLine, result.dataLine));
    if (!written.ok)
        result.written = {false, fileio::writeProblem(kWeatherFileName, outputFolder, written.reason)};
    return result;
}

} // namespace aprs
