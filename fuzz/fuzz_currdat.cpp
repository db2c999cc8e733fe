// currdat.lst belongs to another program and may hold anything. Whatever it
// holds, my_meteo.txt is two CR LF lines whose data line an APRS decoder
// reads back as the reading's numbers in the field's units, cut to whole
// ones and held in the field's range; its comment (the file's first line
// stands in for the user's message) holds no control byte nor APRS's
// reserved "|" and "~".
// The same bytes go through the text forms every file and caption uses, as
// round trips: numberText and leadingNumber (in a locale with a decimal
// comma, as Qt may set it for an Italian user), and CP1252 and UTF-8 both ways.

#include <algorithm>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "aprs/descriptions.h"
#include "aprs/weather_file.h"
#include "fuzz_support.h"
#include "io/text_codec.h"
#include "model/model.h"
#include "station/numbers.h"

fuzz_support::Check refused("a file turned away"), taken("a file read with every sensor"),
    missing("a file read with a sensor reported missing"), message("a message CP1252 cannot hold"),
    aNumber("a text that starts with a number"), reserved("a comment with APRS's reserved | or ~");

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

// Written in the files' form, x reads back as itself to 15 digits (infinity
// as the largest number), and that writes as the same text again.
void roundTrip(double x) {
    const std::string t = station::numberText(x);
    const double back = station::leadingNumber(t);
    FUZZ_CHECK(model::numberField(t) && station::numberText(back) == t);
    x = std::isinf(x) ? std::copysign(1.7976931348623157e308, x) : x;
    FUZZ_CHECK(std::isnan(x) || std::fabs(back - x) <= 5.1e-15 * std::fabs(x));
}

#ifndef _WIN32
// A locale of our own: the systems the fuzzers run on seldom have an Italian
// one generated. Where none can be made, C's is used.
bool useDecimalComma() {
    const std::string folder = fuzz_support::scratchFolder();
    std::ofstream(folder + "/comma.def") << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\nEND LC_NUMERIC\n";
    const std::string make = "localedef -c -i " + folder + "/comma.def " + folder + "/comma >/dev/null 2>&1";
    return std::system(make.c_str()) >= 0 && !setenv("LOCPATH", folder.c_str(), 1) &&
           std::setlocale(LC_NUMERIC, "comma");
}
const bool comma = useDecimalComma() || std::fprintf(stderr, "no locale with a decimal comma\n");
#endif

void numbers(const std::uint8_t *data, const std::string &bytes) {
    const auto parsed = station::parseLeadingNumber(bytes);
    FUZZ_CHECK(station::leadingNumber(bytes) == parsed.value_or(0) && (!parsed || std::isfinite(*parsed)));
    if (parsed)
        aNumber.reached(), roundTrip(*parsed);
    // The same bytes as doubles, so that every bit pattern is written too.
    for (std::size_t at = 0; at + sizeof(double) <= bytes.size() && at < 64; at += sizeof(double)) {
        double x;
        std::memcpy(&x, data + at, sizeof x);
        roundTrip(x);
    }
    // Every byte is a character of CP1252 and comes back as itself; so does
    // UTF-8 that CP1252 holds.
    const auto encoded = io::utf8ToCp1252(bytes);
    FUZZ_CHECK(io::utf8ToCp1252(io::cp1252ToUtf8(bytes)) == bytes && (!encoded || io::cp1252ToUtf8(*encoded) == bytes));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    numbers(data, bytes);
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
    if (comment.find_first_of("|~") != std::string::npos)
        reserved.reached();
    checkLine(*r, settings::PressureChoice::Absolute, comment);
    checkLine(*r, settings::PressureChoice::Relative, comment);
    return 0;
}
