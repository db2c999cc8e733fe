// The data line as a real APRS decoder (Dire Wolf's decode_aprs) reads it:
// every field must decode to the reading's value, a missing sensor to no
// value at all, and nothing may be left over in the comment.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <optional>
#include <sstream>
#include <unistd.h>

#include "aprs/weather_file.h"
#include "cycle/numbers.h"
#include "support/test_support.h"

namespace {

using Value = std::optional<double>;

// Values in the units of APRS (degrees, °F, inches, %, hPa) and the texts a
// reader makes of them.
struct Row {
    Value direction, fahrenheit, rain24h, rain1h, humidity, pressure;
    const char *directionText, *speedText, *temperatureText, *rain24hText, *rain1hText, *humidityText;
    const char *absoluteText, *relativeText;
    char pressureChoice;
    const char *comment;
};

const Value none;

const Row kRows[] = {
    {270, 54, 0, 0, 65, 1013.2, "270", "012", "054", "000", "000", "65", "10098", "10132", '2', "sereno-brezza"},
    {90, -5, 0.13, 0.01, 100, 998.7, "090", "003", "-05", "013", "001", "00", "09987", "10140", '1', "***"},
    {5, 23, 1.5, 0.125, 5, 1009.8, "005", "000", "023", "150", "013", "05", "10098", "10132", 'x', ""},
    {360, 102, 0.5, 0.25, 45, 1000, "360", "025", "102", "050", "025", "45", "09980", "10000", '2',
     " ALLARME TEMPORALE"},
    {none, none, none, none, none, none, "...", "...", "...", "...", "...", "..", ".....", ".....", '1', "+++"},
};

bool onPath(const std::string &program) {
    const char *path = std::getenv("PATH");
    std::stringstream dirs(path ? path : "/usr/bin");
    std::string dir;
    while (std::getline(dirs, dir, ':'))
        if (!dir.empty() && access((dir + "/" + program).c_str(), X_OK) == 0)
            return true;
    return false;
}

std::string withoutColours(const std::string &text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\x1b' && i + 1 < text.size() && text[i + 1] == '[') {
            i += 2;
            while (i < text.size() && !(text[i] >= '@' && text[i] <= '~'))
                ++i;
            continue;
        }
        out += text[i];
    }
    return out;
}

struct Decoded {
    std::map<std::string, double> fields; // "direction", "temperature", ...
    std::string comment;                  // what the decoder did not take as weather
    std::string complaints;               // any line it printed beyond the report
};

// Runs the decoder on one packet; its report is the line that holds "gust".
Decoded decode(const std::string &packet) {
    testing_support::TempDir dir;
    testing_support::writeBytes(dir.file("packet.txt"), packet + "\n");
    const std::string command = "decode_aprs '" + dir.file("packet.txt") + "' > '" + dir.file("out.txt") + "' 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << command;
    std::istringstream lines(withoutColours(testing_support::readBytes(dir.file("out.txt"))));
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
            double value = numbers::leadingNumber(part.substr(blank + 1));
            // Shown in inches of mercury with two decimals (0.01 inHg is 0.34 hPa).
            if (key == "barometer")
                value *= 33.8639;
            d.fields[key] = value;
        }
    }
    return d;
}

void expectField(const Decoded &d, const char *key, Value expected, double tolerance) {
    const auto found = d.fields.find(key);
    if (!expected) {
        EXPECT_TRUE(found == d.fields.end()) << key << " should be unknown";
        return;
    }
    ASSERT_TRUE(found != d.fields.end()) << key << " was not decoded";
    EXPECT_NEAR(found->second, *expected, tolerance) << key;
}

} // namespace

TEST(AprsDecoder, DataLinesDecodeToTheReadingsValues) {
    ASSERT_TRUE(onPath("decode_aprs"))
        << "decode_aprs (Debian package direwolf) is not installed: run ./test.sh or apt-get install direwolf";
    for (const auto &row : kRows) {
        cycle::WeatherReading r;
        r.windDirectionAprs = row.directionText;
        r.windSpeedAprs = row.speedText;
        r.outdoorTemperatureAprs = row.temperatureText;
        r.rain24hAprs = row.rain24hText;
        r.rain1hAprs = row.rain1hText;
        r.outdoorHumidityAprs = row.humidityText;
        r.pressureAbsoluteAprs = row.absoluteText;
        r.pressureRelativeAprs = row.relativeText;
        const auto line = aprs::dataLine(r, row.pressureChoice, row.comment);
        SCOPED_TRACE(line);
        const auto d = decode("N0CALL>APRS:!4530.00N/00910.00E_" + line);

        EXPECT_EQ(d.complaints, "");
        EXPECT_EQ(d.comment, "/" + std::string(row.comment) + "/WS3600/113W");
        expectField(d, "direction", row.direction, 0);
        expectField(d, "temperature", row.fahrenheit, 0);
        expectField(d, "rain24h", row.rain24h, 0.0051); // whole hundredths
        expectField(d, "rain1h", row.rain1h, 0.0051);
        expectField(d, "humidity", row.humidity, 0);
        expectField(d, "barometer", row.pressure, 0.2);
    }
}

#endif
