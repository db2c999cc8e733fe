// The data line as a real APRS decoder (Dire Wolf's decode_aprs) reads it:
// every field must decode to the reading's value, a missing sensor to no
// value at all, and nothing may be left over in the comment.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <regex>
#include <sstream>

#include "aprs/weather_file.h"
#include "cycle/numbers.h"
#include "support/test_support.h"

namespace {

struct Decoded {
    std::map<std::string, double> fields; // "direction", "temperature", "rain24h", ...
    std::string comment;                  // what the decoder did not take as weather
    std::string complaints;               // any line it printed beyond the report
};

// Runs the decoder on one packet; its report is the line that holds "gust".
Decoded decode(const std::string &packet) {
    testing_support::TempDir dir;
    testing_support::writeBytes(dir.file("packet.txt"), packet + "\n");
    const std::string command = "decode_aprs '" + dir.file("packet.txt") + "' > '" + dir.file("out.txt") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::regex colours("\x1b\\[[0-9;]*[@-~]");
    std::istringstream lines(std::regex_replace(testing_support::readBytes(dir.file("out.txt")), colours, ""));
    Decoded d;
    for (std::string line; std::getline(lines, line);) {
        if (line.empty() || line == packet || line.rfind("Weather Report, ", 0) == 0 || line.rfind("N 45 ", 0) == 0)
            continue;
        const auto quote = line.find(", \"");
        if (line.find("gust ") == std::string::npos || quote == std::string::npos || line.back() != '"') {
            d.complaints += line + "\n";
            continue;
        }
        d.comment = line.substr(quote + 3, line.size() - quote - 4);
        std::istringstream parts(line.substr(0, quote));
        for (std::string part; std::getline(parts, part, ',');) {
            part.erase(0, part.find_first_not_of(' '));
            const auto blank = part.find(' ');
            if (blank == std::string::npos)
                continue;
            std::string key = part.substr(0, blank);
            if (key == "rain")
                key = part.find("24 hours") != std::string::npos ? "rain24h" : "rain1h";
            // The barometer is shown in inches of mercury with two decimals (0.01 inHg is 0.34 hPa).
            d.fields[key] = numbers::leadingNumber(part.substr(blank + 1)) * (key == "barometer" ? 33.8639 : 1);
        }
    }
    return d;
}

} // namespace

TEST(AprsDecoder, DataLinesDecodeToTheReadingsValues) {
    ASSERT_EQ(std::system("command -v decode_aprs > /dev/null"), 0)
        << "decode_aprs (Debian package direwolf) is not installed: run ./test.sh or apt-get install direwolf";
    using Value = std::optional<double>;
    const Value none;
    // Values in the units of APRS (degrees, °F, inches, %, hPa) and the texts a reader makes of them.
    // texts: direction, speed, temperature, rain 24 h, 1 h, humidity, absolute and relative pressure.
    const struct { Value direction, fahrenheit, rain24h, rain1h, humidity, pressure; std::vector<std::string> texts;
                   char pressureChoice; const char *comment; } rows[] = {
        {270, 54, 0, 0, 65, 1013.2, {"270", "012", "054", "000", "000", "65", "10098", "10132"}, '2', "sereno-brezza"},
        {90, -5, 0.13, 0.01, 100, 998.7, {"090", "003", "-05", "013", "001", "00", "09987", "10140"}, '1', "***"},
        {5, 23, 1.5, 0.125, 5, 1009.8, {"005", "000", "023", "150", "013", "05", "10098", "10132"}, 'x', ""},
        {360, 102, 0.5, 0.25, 45, 1000, {"360", "025", "102", "050", "025", "45", "09980", "10000"}, '2',
         " ALLARME TEMPORALE"},
        {none, none, none, none, none, none, {"...", "...", "...", "...", "...", "..", ".....", "....."}, '1', "+++"},
    };
    for (const auto &row : rows) {
        cycle::WeatherReading r;
        r.windDirectionAprs = row.texts[0];
        r.windSpeedAprs = row.texts[1];
        r.outdoorTemperatureAprs = row.texts[2];
        r.rain24hAprs = row.texts[3];
        r.rain1hAprs = row.texts[4];
        r.outdoorHumidityAprs = row.texts[5];
        r.pressureAbsoluteAprs = row.texts[6];
        r.pressureRelativeAprs = row.texts[7];
        const auto line = aprs::dataLine(r, row.pressureChoice, row.comment);
        SCOPED_TRACE(line);
        const auto d = decode("N0CALL>APRS:!4530.00N/00910.00E_" + line);
        EXPECT_EQ(d.complaints, "");
        EXPECT_EQ(d.comment, "/" + std::string(row.comment) + "/WS3600/113W");
        const std::pair<const char *, Value> expected[] = {
            {"direction", row.direction}, {"temperature", row.fahrenheit}, {"rain24h", row.rain24h},
            {"rain1h", row.rain1h},       {"humidity", row.humidity},      {"barometer", row.pressure}};
        for (const auto &[key, value] : expected) {
            const auto found = d.fields.find(key);
            ASSERT_EQ(found != d.fields.end(), value.has_value()) << key;
            // Rain in whole hundredths; the barometer to 0.01 inHg.
            if (value) {
                EXPECT_NEAR(found->second, *value, std::string(key) == "barometer" ? 0.2 : 0.0051) << key;
            }
        }
    }
}

#endif
