// The data line as a real APRS decoder (Dire Wolf's decode_aprs) reads it:
// every field decodes to the reading's value, a missing sensor to no value at
// all, nothing is left over in the comment and nothing is complained about.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <optional>
#include <sstream>
#include <vector>

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
    // Direction, speed (mph), temperature (°F), rain 24 h and 1 h (inches), humidity, absolute and relative
    // pressure (hPa; 1013.2 hPa is 29.92 inHg), the pressure choice and the comment, and what is decoded.
    using V = std::optional<double>;
    using P = config::PressureChoice;
    const struct { std::vector<V> values; P pressure; const char *comment, *decoded; } rows[] = {
        {{5, 12, 54, 1.5, 0, 5, 1009.8, 1013.2}, P::Relative, "sereno-brezza",
         "direction 5, gust 0, temperature 54, rain 1.50 in last 24 hours, rain 0.00 in last hour, barometer 29.92, "
         "humidity 5"},
        {{360, 3, -5, 0.13, 0.01, 100, 998.7, 1014}, P::Absolute, "***",
         "direction 360, gust 0, temperature -5, rain 0.13 in last 24 hours, rain 0.01 in last hour, barometer 29.49, "
         "humidity 100"},
        {{V(), V(), V(), V(), V(), V(), V(), V()}, P::Absolute, "+++", ", gust 0"},
    };
    for (const auto &row : rows) {
        station::WeatherReading r;
        using R = station::WeatherReading;
        station::Value R::*const fields[] = {&R::windDirection,  &R::windSpeedMph,    &R::outdoorTemperatureF,
                                             &R::rain24hInch,    &R::rain1hInch,      &R::outdoorHumidity,
                                             &R::pressureAbsolute, &R::pressureRelative};
        for (std::size_t i = 0; i < row.values.size(); ++i)
            r.*fields[i] = row.values[i];
        const auto line = aprs::dataLine(r, row.pressure, row.comment);
        EXPECT_EQ(decoded("N0CALL>APRS:!4530.00N/00910.00E_" + line),
                  std::string(row.decoded) + ", \"/" + row.comment + "/WS3600/113W\"\n")
            << line;
    }
}

#endif
