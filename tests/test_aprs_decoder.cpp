// The data line as a real APRS decoder (Dire Wolf's decode_aprs) reads it:
// every field decodes to the reading's value, a missing sensor to no value at
// all, nothing is left over in the comment and nothing is complained about.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>

#include "aprs/weather_file.h"
#include "support/test_support.h"

namespace {

// What the decoder prints beyond its echo of the packet, the station type and
// the position; the wind speed is left out.
std::string decoded(const std::string &packet) {
    testing_support::TempDir dir;
    testing_support::writeBytes(dir.file("packet.txt"), packet + "\n");
    const std::string command = "decode_aprs '" + dir.file("packet.txt") + "' > '" + dir.file("out.txt") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    const std::regex colours("\x1b\\[[0-9;]*[@-~]"), skipped("Weather Report, .*|N 45 .*|");
    const std::regex speed("^wind [0-9.]+ mph, ");
    std::istringstream lines(std::regex_replace(testing_support::readBytes(dir.file("out.txt")), colours, ""));
    std::string out;
    for (std::string line; std::getline(lines, line);)
        if (line != packet && !std::regex_match(line, skipped))
            out += std::regex_replace(line, speed, "") + "\n";
    return out;
}

} // namespace

TEST(AprsDecoder, DataLinesDecodeToTheReadingsValues) {
    ASSERT_EQ(std::system("command -v decode_aprs > /dev/null"), 0)
        << "decode_aprs (Debian package direwolf) is not installed: run ./test.sh or apt-get install direwolf";
    // The texts a reader makes (direction, speed, temperature, rain 24 h and 1 h, humidity, absolute and
    // relative pressure), the choices, and the values in APRS units (°F, inches, %; 1013.2 hPa is 29.92 inHg).
    const struct { std::vector<std::string> texts; char pressureChoice; const char *comment, *values; } rows[] = {
        {{"270", "012", "054", "000", "000", "65", "10098", "10132"}, '2', "sereno-brezza",
         "direction 270, gust 0, temperature 54, rain 0.00 in last 24 hours, rain 0.00 in last hour, barometer 29.92, "
         "humidity 65"},
        {{"090", "003", "-05", "013", "001", "00", "09987", "10140"}, '1', "***",
         "direction 90, gust 0, temperature -5, rain 0.13 in last 24 hours, rain 0.01 in last hour, barometer 29.49, "
         "humidity 100"},
        {{"005", "000", "023", "150", "013", "05", "10098", "10132"}, 'x', "",
         "direction 5, gust 0, temperature 23, rain 1.50 in last 24 hours, rain 0.13 in last hour, barometer 29.82, "
         "humidity 5"},
        {{"360", "025", "102", "050", "025", "45", "09980", "10000"}, '2', " ALLARME TEMPORALE",
         "direction 360, gust 0, temperature 102, rain 0.50 in last 24 hours, rain 0.25 in last hour, barometer 29.53, "
         "humidity 45"},
        {{"...", "...", "...", "...", "...", "..", ".....", "....."}, '1', "+++", ", gust 0"},
    };
    for (const auto &row : rows) {
        station::WeatherReading r;
        r.windDirectionAprs = row.texts[0];
        r.windSpeedAprs = row.texts[1];
        r.outdoorTemperatureAprs = row.texts[2];
        r.rain24hAprs = row.texts[3];
        r.rain1hAprs = row.texts[4];
        r.outdoorHumidityAprs = row.texts[5];
        r.pressureAbsoluteAprs = row.texts[6];
        r.pressureRelativeAprs = row.texts[7];
        const auto line = aprs::dataLine(r, row.pressureChoice, row.comment);
        EXPECT_EQ(decoded("N0CALL>APRS:!4530.00N/00910.00E_" + line),
                  std::string(row.values) + ", \"/" + row.comment + "/WS3600/113W\"\n")
            << line;
    }
}

#endif
