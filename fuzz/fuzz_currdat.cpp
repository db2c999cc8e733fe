// currdat.lst belongs to another program and may hold anything. Whatever it
// holds, my_meteo.txt is two CR LF lines whose data line an APRS decoder
// reads back as the reading's numbers in the field's units, cut to whole
// ones and held in the field's range; its comment (the file's first line
// stands in for the user's message) holds no control byte nor APRS's
// reserved "|" and "~".

#include <algorithm>
#include <cstdint>

#include "aprs/descriptions.h"
#include "aprs/weather_file.h"
#include "fuzz_support.h"
#include "io/text_codec.h"
#include "model/model.h"

fuzz_support::Check refused("a file turned away"), taken("a file read with every sensor"),
    missing("a file read with a sensor reported missing"), message("a message CP1252 cannot hold");

std::optional<double> times(const station::Value &v, double k) { return v ? std::optional<double>(*v * k) : v; }

void checkLine(const station::WeatherReading &r, settings::PressureChoice choice, const std::string &comment) {
    const std::string line = aprs::dataLine(r, choice, comment);
    const auto lines = model::crlfLines(aprs::weatherFileBytes(aprs::dateLine(r), line));
    const auto report = model::readDataLine(line);
    FUZZ_CHECK(lines && lines->size() == 2 && report && report->model == "WS3600");
    FUZZ_CHECK((*lines)[0] == "Mar 07 2026 09:05" && (*lines)[1] == io::utf8ToCp1252(line));
    // Nor a C1 control, of the bytes CP1252 leaves undefined.
    FUZZ_CHECK(std::all_of((*lines)[1].begin(), (*lines)[1].end(), [](char c) {
        const std::string decoded = io::cp1252ToUtf8(std::string(1, c));
        return (c & 0xE0) && c != 0x7F && c != '|' && c != '~' && (decoded < "\xC2\x80" || decoded >= "\xC2\xA0");
    }));
    // Below 1 % is no real outdoor humidity; 100 % is sent as "00".
    const auto humidity = r.outdoorHumidity >= 1 ? r.outdoorHumidity : std::nullopt;
    const auto pressure = choice == settings::PressureChoice::Relative ? r.pressureRelative : r.pressureAbsolute;
    using model::Cut;
    FUZZ_CHECK(model::agrees(report->direction, r.windDirection, 0, 999, Cut::Down) &&
               model::agrees(report->speed, r.windSpeedMph, 0, 999, Cut::Down) &&
               model::agrees(report->temperatureF, r.outdoorTemperatureF, -99, 999, Cut::TowardZero) &&
               model::agrees(report->rain24h, times(r.rain24hInch, 100), 0, 999, Cut::Nearest) &&
               model::agrees(report->rain1h, times(r.rain1hInch, 100), 0, 999, Cut::Nearest) &&
               model::agrees(report->pressure, times(pressure, 10), 0, 99999, Cut::TowardZero) &&
               model::agrees(report->humidity, humidity, 1, 100, Cut::Down));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const auto r = station::parseCurrentData(bytes, {2026, 3, 7, 9, 5});
    (!r ? refused : r->outdoorTemperature && r->windSpeed && r->outdoorHumidity ? taken : missing).reached();
    // Only a file of fewer than 73 ended lines is turned away.
    FUZZ_CHECK(r || (std::count(bytes.begin(), bytes.end(), '\n') < 73 &&
                     std::count(bytes.begin(), bytes.end(), '\r') < 73));
    if (!r)
        return 0;
    // The file's first line as the message, without the slashes that end
    // the comment for a decoder.
    std::string text = bytes.substr(0, bytes.find_first_of("\r\n"));
    std::replace(text.begin(), text.end(), '/', '-');
    if (!io::utf8ToCp1252(text))
        message.reached();
    const auto comment = aprs::reportComment(*r, settings::AprsChoice::LocalSituation, aprs::forecast(*r),
                                             aprs::localSituation(*r), {true, text});
    checkLine(*r, settings::PressureChoice::Absolute, comment);
    checkLine(*r, settings::PressureChoice::Relative, comment);
    return 0;
}
