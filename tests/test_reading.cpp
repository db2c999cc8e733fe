#include <gtest/gtest.h>

#include "cycle/panel.h"
#include "cycle/reading.h"
#include "support/currdat.h"
#include "support/test_support.h"

using cycle::ClockTime;
using cycle::WeatherReading;
using testing_support::CurrdatValues;
using testing_support::currdatFile;

namespace {

const ClockTime kMarch5{2026, 3, 5, 9, 7};

WeatherReading parse(const CurrdatValues &v) {
    const auto r = cycle::parseCurrentData(currdatFile(v), kMarch5);
    EXPECT_TRUE(r.has_value());
    return r.value_or(WeatherReading{});
}

} // namespace

TEST(Reader, EveryFieldOfARealLayoutFile) {
    testing_support::TempDir dir;
    CurrdatValues v;
    v.forecast = "1";
    v.tendency = "0";
    v.storm = "-1";
    testing_support::writeBytes(dir.file("currdat.lst"), currdatFile(v));
    const auto r = cycle::readCurrentData(dir.file("currdat.lst"), kMarch5);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ(r->forecastCode, 1);
    EXPECT_EQ(r->tendencyCode, 0);
    EXPECT_EQ(r->stormAlarmCode, -1);
    EXPECT_EQ(r->indoorTemperature, 21.5);
    EXPECT_EQ(r->outdoorTemperature, 12.8);
    EXPECT_EQ(r->indoorHumidity, 45);
    EXPECT_EQ(r->outdoorHumidity, 84);
    EXPECT_EQ(r->dewPoint, 10.2);
    EXPECT_EQ(r->windChill, 12.8);
    EXPECT_EQ(r->windSpeed, 12.2);
    EXPECT_EQ(r->windDirection, 270);
    EXPECT_EQ(r->rainTotal, 123.4);
    EXPECT_EQ(r->rain24h, 3.1);
    EXPECT_EQ(r->rain1h, 0);
    EXPECT_EQ(r->pressureAbsolute, 936);
    EXPECT_EQ(r->pressureRelative, 1013.2);
    EXPECT_EQ(r->outdoorTemperatureAprs, "055");
    EXPECT_EQ(r->windSpeedAprs, "007");
    EXPECT_EQ(r->windDirectionAprs, "270");
    EXPECT_EQ(r->outdoorHumidityAprs, "84");
    EXPECT_EQ(r->rain24hAprs, "012");
    EXPECT_EQ(r->rain1hAprs, "000");
    EXPECT_EQ(r->pressureAbsoluteAprs, "09360");
    EXPECT_EQ(r->pressureRelativeAprs, "10132");
    EXPECT_EQ(r->stationModel, "WS3600");
}

TEST(Reader, WholeValuesAreReadPastTheOldFixedWidths) {
    CurrdatValues v;
    v.outdoorHumidity = "100";
    v.outdoorC = "-12.3";
    v.outdoorF = "102.4";
    v.windDirection = "270.6";
    v.rainTotalMm = "1234.56";
    const auto r = parse(v);
    EXPECT_EQ(r.outdoorHumidity, 100);
    EXPECT_EQ(r.outdoorHumidityAprs, "00");
    EXPECT_EQ(r.outdoorTemperature, -12.3);
    EXPECT_EQ(r.outdoorTemperatureAprs, "102");
    EXPECT_EQ(r.windDirection, 270);
    EXPECT_EQ(r.rainTotal, 1234.56);
}

TEST(Reader, MissingSensorsCountAsZeroButGoOutAsDots) {
    CurrdatValues v;
    v.outdoorC = v.outdoorF = v.windKmh = v.windMph = v.windDirection = "---";
    v.outdoorHumidity = "";
    v.rain24hInch = v.rain1hInch = "---";
    v.pressureAbsolute = v.pressureRelative = "---";
    const auto r = parse(v);
    EXPECT_EQ(r.outdoorTemperature, 0);
    EXPECT_EQ(r.windSpeed, 0);
    EXPECT_EQ(r.pressureRelative, 0);
    EXPECT_EQ(r.outdoorTemperatureAprs, "...");
    EXPECT_EQ(r.windSpeedAprs, "...");
    EXPECT_EQ(r.windDirectionAprs, "...");
    EXPECT_EQ(r.outdoorHumidityAprs, "..");
    EXPECT_EQ(r.rain24hAprs, "...");
    EXPECT_EQ(r.rain1hAprs, "...");
    EXPECT_EQ(r.pressureAbsoluteAprs, ".....");
    EXPECT_EQ(r.pressureRelativeAprs, ".....");
}

TEST(Reader, CommaDecimalsAndLoneCrLineEnds) {
    CurrdatValues v;
    v.outdoorC = "21,4";
    v.lineEnd = "\r";
    EXPECT_EQ(parse(v).outdoorTemperature, 21);
    v.lineEnd = "\n";
    EXPECT_EQ(parse(v).pressureRelative, 1013.2);
}

TEST(Reader, ShortOrUnreadableFileIsNotAReading) {
    const std::string full = currdatFile({});
    std::string lines72 = full.substr(0, full.find("hpa=\"1013.2\""));
    EXPECT_FALSE(cycle::parseCurrentData(lines72, kMarch5).has_value());
    EXPECT_FALSE(cycle::parseCurrentData("", kMarch5).has_value());
    // The 73rd line counts only with its line end: without it, it may be
    // a file cut short while Heavy Weather rewrites it.
    EXPECT_FALSE(cycle::parseCurrentData(lines72 + "hpa=\"1000\"", kMarch5).has_value());
    EXPECT_TRUE(cycle::parseCurrentData(lines72 + "hpa=\"1000\"\r\n", kMarch5).has_value());

    testing_support::TempDir dir;
    EXPECT_FALSE(cycle::readCurrentData(dir.path(), kMarch5).has_value()); // a folder
    EXPECT_FALSE(cycle::readCurrentData(dir.file("none"), kMarch5).has_value());
}

TEST(AprsTexts, Table) {
    using cycle::humidityAprs;
    using cycle::pressureAprs;
    using cycle::rainAprs;
    using cycle::temperatureAprs;
    using cycle::wholeAprs;
    const struct {
        std::string got, want;
    } table[] = {
        {temperatureAprs(70.5), "070"},  {temperatureAprs(5.2), "005"},   {temperatureAprs(0), "000"},
        {temperatureAprs(-0.5), "000"},  {temperatureAprs(-5), "-05"},    {temperatureAprs(-12.9), "-12"},
        {temperatureAprs(-150), "-99"},  {temperatureAprs(1500), "999"},  {temperatureAprs(102.4), "102"},
        {wholeAprs(7.9), "007"},         {wholeAprs(270), "270"},         {wholeAprs(-3), "000"},
        {wholeAprs(5000), "999"},        {humidityAprs(45), "45"},        {humidityAprs(5), "05"},
        {humidityAprs(100), "00"},       {humidityAprs(0), ".."}  ,         {rainAprs(0.12), "012"},
        {rainAprs(0), "000"},            {rainAprs(1.5), "150"},          {rainAprs(0.125), "013"},
        {rainAprs(0.124), "012"},        {rainAprs(12.5), "999"},         {rainAprs(0.005), "001"},
        {pressureAprs(1013.2), "10132"}, {pressureAprs(998.7), "09987"},  {pressureAprs(1013), "10130"},
        {pressureAprs(1000), "10000"},   {pressureAprs(999), "09990"},    {pressureAprs(0), "....."},
        {pressureAprs(1013.29), "10132"}, {pressureAprs(1e20), "99999"},  {pressureAprs(std::nullopt), "....."},
    };
    for (const auto &row : table)
        EXPECT_EQ(row.got, row.want);
}

TEST(ClockFields, AreZeroPaddedWithMonthNames) {
    WeatherReading r;
    cycle::setClockFields(r, kMarch5);
    EXPECT_EQ(r.day, "05");
    EXPECT_EQ(r.month, "03");
    EXPECT_EQ(r.year, "2026");
    EXPECT_EQ(r.hour, "09");
    EXPECT_EQ(r.minute, "07");
    EXPECT_EQ(r.monthNameIt, "marzo");
    EXPECT_EQ(r.monthAbbrevEn, "Mar");
    cycle::setClockFields(r, {2026, 12, 31, 0, 0});
    EXPECT_EQ(r.monthNameIt, "dicembre");
    EXPECT_EQ(r.monthAbbrevEn, "Dec");
    EXPECT_TRUE(r.isMidnight());
}

TEST(Panel, CaptionsWithTheirBlanks) {
    CurrdatValues v;
    v.outdoorC = "-3.2";
    v.rain24hMm = "0.3";
    v.tendency = "-1";
    v.storm = "1";
    auto r = cycle::parseCurrentData(currdatFile(v), {2026, 12, 5, 9, 22}).value();
    auto p = cycle::panelCaptions(r);
    EXPECT_EQ(p.label2, "Situazione meteo di    05 dicembre 2026  alle ore 09:22");
    EXPECT_EQ(p.label5, "Tendenza:  ");
    EXPECT_EQ(p.label6, "T ext:  -3.2 °C");
    EXPECT_EQ(p.label7, "Hrel ext:   84 %");
    EXPECT_EQ(p.label10, "Vento:   12.2 km/h");
    EXPECT_EQ(p.label11, "Direzione:   270 °");
    EXPECT_EQ(p.label14, "24 H [mm]:   .3 mm");
    EXPECT_EQ(p.label15, "1 H [mm]:   0 mm");
    EXPECT_EQ(p.label17, "Allarme temporale:  ");
    EXPECT_EQ(p.label18, "** ATTIVO **");
    EXPECT_EQ(p.label18Color, 255u);

    const struct {
        double tendency, storm;
        const char *label5, *label18;
        std::optional<std::uint32_t> color;
    } codes[] = {{0, 0, "Tendenza:  pressione costante", "non attivo", 0u},
                 {1, -1, "Tendenza:  pressione in aumento", "* GUASTO *", 255u},
                 {2, 2, "Tendenza:  pressione in diminuzione", "", std::nullopt},
                 {0.5, 0.5, "Tendenza:  ", "", std::nullopt}};
    for (const auto &c : codes) {
        r.tendencyCode = c.tendency;
        r.stormAlarmCode = c.storm;
        p = cycle::panelCaptions(r);
        EXPECT_EQ(p.label5, c.label5);
        EXPECT_EQ(p.label18, c.label18);
        EXPECT_EQ(p.label18Color, c.color);
    }
}
