#include <gtest/gtest.h>

#include <filesystem>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "aprs/descriptions.h"
#include "aprs/weather_file.h"
#include "support/italian_locale.h"
#include "support/test_support.h"

using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

#ifdef _WIN32
const char kSeparator = '\\';
#else
const char kSeparator = '/';
#endif

// 270°, 12 mph, 54 °F, no rain, 1009.8 / 1013.2 hPa, 65 %, 7 March 2008 9:05.
cycle::WeatherReading sample() {
    cycle::WeatherReading r;
    r.windDirectionAprs = "270";
    r.windSpeedAprs = "012";
    r.outdoorTemperatureAprs = "054";
    r.rain24hAprs = "000";
    r.rain1hAprs = "000";
    r.pressureAbsoluteAprs = "10098";
    r.pressureRelativeAprs = "10132";
    r.outdoorHumidityAprs = "65";
    r.pressureAbsolute = 1009.8;
    r.pressureRelative = 1013.2;
    cycle::setClockFields(r, {2008, 3, 7, 9, 5});
    return r;
}

} // namespace

TEST(WeatherFile, DateLineUsesEnglishMonthAndPaddedFields) {
    auto r = sample();
    EXPECT_EQ(aprs::dateLine(r), "Mar 07 2008 09:05");
    cycle::setClockFields(r, {2027, 1, 1, 0, 0});
    EXPECT_EQ(aprs::dateLine(r), "Jan 01 2027 00:00");
    if (testing_support::useItalianLocale()) {
        cycle::setClockFields(r, {2027, 12, 1, 0, 0});
        EXPECT_EQ(aprs::dateLine(r), "Dec 01 2027 00:00");
        testing_support::restoreCLocale();
    }
}

TEST(WeatherFile, PressureChoicePicksTextAndCaption) {
    const auto r = sample();
    struct Case {
        char choice;
        const char *line, *caption;
    } cases[] = {
        {'2', "270/012g000t054p000r000b10132h65/sereno-brezza/WS3600/113W", "Pressione rel.:   1013.2 hPa"},
        {'1', "270/012g000t054p000r000b10098h65/sereno-brezza/WS3600/113W", "Pressione ass.:   1009.8 hPa"},
        {'x', "270/012g000t054p000r000b10098h65/sereno-brezza/WS3600/113W", "Pressione ass.:   1009.8 hPa"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(aprs::dataLine(r, c.choice, "sereno-brezza"), c.line) << c.choice;
        EXPECT_EQ(aprs::pressureCaption(r, c.choice), c.caption) << c.choice;
    }
}

TEST(WeatherFile, BytesForEachAprsChoice) {
    auto r = sample();
    r.forecastCode = 2;
    r.windSpeed = 4;
    struct Case {
        char choice;
        const char *comment;
    } cases[] = {{'1', "Prev. sereno"}, {'2', "sereno-brezza"}, {'3', ""}};
    for (const auto &c : cases) {
        TempDir dir;
        const auto comment =
            aprs::reportComment(r, c.choice, aprs::forecastText(r), aprs::localSituation(r), {});
        const auto result = aprs::writeWeatherFile(r, '2', dir.path(), comment);
        ASSERT_TRUE(result.written.ok) << result.written.reason;
        const std::string data = "270/012g000t054p000r000b10132h65/" + std::string(c.comment) + "/WS3600/113W";
        EXPECT_EQ(readBytes(dir.file("my_meteo.txt")), "Mar 07 2008 09:05\r\n" + data + "\r\n") << c.choice;
        EXPECT_EQ(result.text1, "Mar 07 2008 09:05\r\n" + data);
    }
}

TEST(WeatherFile, SecondWriteReplacesTheFirstWhole) {
    TempDir dir;
    auto r = sample();
    ASSERT_TRUE(aprs::writeWeatherFile(r, '1', dir.path(), "un commento lungo").written.ok);
    r.minute = "06";
    ASSERT_TRUE(aprs::writeWeatherFile(r, '1', dir.path(), "").written.ok);
    EXPECT_EQ(readBytes(dir.file("my_meteo.txt")),
              "Mar 07 2008 09:06\r\n270/012g000t054p000r000b10098h65//WS3600/113W\r\n");
}

TEST(WeatherFile, FolderWithOrWithoutTrailingSeparatorGivesOneFile) {
    TempDir dir;
    const auto r = sample();
    ASSERT_TRUE(aprs::writeWeatherFile(r, '1', dir.path(), "a").written.ok);
    const auto first = readBytes(dir.file("my_meteo.txt"));
    ASSERT_TRUE(aprs::writeWeatherFile(r, '1', dir.path() + kSeparator, "b").written.ok);
    EXPECT_NE(readBytes(dir.file("my_meteo.txt")), first);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

TEST(WeatherFile, CommentIsCp1252WithUnsafeCharactersReplaced) {
    TempDir dir;
    // "Città 東" then "|", "~", CR, LF, a C1 control, and "€" which CP1252 has.
    const std::string comment = "Citt\xc3\xa0 \xe6\x9d\xb1|~\r\n\xc2\x81\xe2\x82\xac";
    const auto result = aprs::writeWeatherFile(sample(), '1', dir.path(), comment);
    ASSERT_TRUE(result.written.ok);
    EXPECT_EQ(result.dataLine, "270/012g000t054p000r000b10098h65/Citt\xc3\xa0 ??????\xe2\x82\xac/WS3600/113W");
    EXPECT_EQ(readBytes(dir.file("my_meteo.txt")),
              "Mar 07 2008 09:05\r\n270/012g000t054p000r000b10098h65/Citt\xe0 ??????\x80/WS3600/113W\r\n");
}

TEST(WeatherFile, UnusableFolderStillGivesTheLines) {
    TempDir dir;
    writeBytes(dir.file("plain"), "x");
    const auto r = sample();
    const bool hadLocal = std::filesystem::exists("my_meteo.txt");

    const auto empty = aprs::writeWeatherFile(r, '1', "", "x");
    EXPECT_FALSE(empty.written.ok);
    EXPECT_EQ(empty.written.reason, "Cartella di uscita non impostata: my_meteo.txt non scritto");
    EXPECT_EQ(empty.dataLine, "270/012g000t054p000r000b10098h65/x/WS3600/113W");
    EXPECT_EQ(std::filesystem::exists("my_meteo.txt"), hadLocal);

    for (const auto &folder : {dir.file("missing"), dir.file("plain")}) {
        const auto result = aprs::writeWeatherFile(r, '1', folder, "x");
        EXPECT_FALSE(result.written.ok) << folder;
        EXPECT_EQ(result.written.reason.rfind("Impossibile scrivere my_meteo.txt in " + folder + ": ", 0), 0u)
            << result.written.reason;
        EXPECT_EQ(result.text1, "Mar 07 2008 09:05\r\n" + result.dataLine);
    }
#ifndef _WIN32
    if (geteuid() != 0) { // root writes anywhere
        const auto locked = dir.file("locked");
        std::filesystem::create_directory(locked);
        chmod(locked.c_str(), 0500);
        const auto result = aprs::writeWeatherFile(r, '1', locked, "x");
        EXPECT_FALSE(result.written.ok);
        EXPECT_NE(result.written.reason.find("accesso negato"), std::string::npos) << result.written.reason;
    }
#endif
}
