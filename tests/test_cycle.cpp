#include <gtest/gtest.h>

#include <cstdio>
#include <limits>

#include "station/numbers.h"
#include "cycle/panel.h"
#include "station/reading.h"
#include "support/currdat.h"
#include "support/italian_locale.h"
#include "support/test_support.h"

using station::WeatherReading;
using testing_support::CurrdatValues;
using testing_support::currdatFile;
using testing_support::writeBytes;

namespace {

constexpr double kMax = std::numeric_limits<double>::max();

// numberText of each value, and what leadingNumber reads from each text.
void expectTables() {
    const struct { double value; const char *text; } texts[] = {
        {0.5, " .5"},      {-0.25, "-.25"},  {0.0, " 0"},        {-0.0, " 0"},          {1013, " 1013"},
        {21.4, " 21.4"},   {-3.2, "-3.2"},   {0.0001, " .0001"}, {1e-7, " 1E-07"},      {-1.5e-9, "-1.5E-09"},
        {1e15, " 1E+15"},  {1.5e20, " 1.5E+20"}, {0.1 + 0.2, " .3"}, {1.0 / 3, " .333333333333333"},
        {123456789012345.0, " 123456789012345"}, {std::numeric_limits<double>::infinity(), " 1.79769313486232E+308"},
    };
    for (const auto &row : texts)
        EXPECT_EQ(numbers::numberText(row.value), row.text) << row.value;

    const struct { std::string text; double value; bool isNumber; } numbers[] = {
        {"21.5\"", 21.5, true}, {"-12.3\"", -12.3, true}, {"21,4", 21, true}, {"  7", 7, true},
        {"+3", 3, true},        {" .5", 0.5, true},       {"-.25", -0.25, true}, {"5.", 5, true},
        {" 1E-07", 1e-7, true}, {"1D2", 100, true},       {"2E-1x", 0.2, true}, {"1e", 1, true},
        {"1.2.3", 1.2, true},   {"-0", 0, true},          {"1e999", kMax, true}, {"-1e999", -kMax, true},
        {"1e-999", 0, true},    {std::string(400, '9'), kMax, true}, {"0." + std::string(400, '0') + "1", 0, true},
        {"---", 0, false},      {"\"", 0, false},         {"", 0, false},       {"-", 0, false},
        {".", 0, false},        {"abc", 0, false},
    };
    for (const auto &row : numbers) {
        EXPECT_EQ(numbers::parseLeadingNumber(row.text).has_value(), row.isNumber) << row.text;
        EXPECT_EQ(numbers::leadingNumber(row.text), row.value) << row.text;
    }
}

const station::ClockTime kMarch5{2026, 3, 5, 9, 7};

WeatherReading parse(const CurrdatValues &v) {
    const auto r = station::parseCurrentData(currdatFile(v), kMarch5);
    EXPECT_TRUE(r.has_value());
    return r.value_or(WeatherReading{});
}

std::vector<std::string> aprsTexts(const WeatherReading &r) {
    return {r.outdoorTemperatureAprs, r.windSpeedAprs, r.windDirectionAprs,    r.outdoorHumidityAprs,
            r.rain24hAprs,            r.rain1hAprs,    r.pressureAbsoluteAprs, r.pressureRelativeAprs};
}

} // namespace

TEST(Numbers, TextAndLeadingNumberTables) { expectTables(); }

TEST(Numbers, NeverLookAtTheLocale) {
    if (!testing_support::useItalianLocale())
        GTEST_SKIP() << "no Italian locale on this machine";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%.1f", 1.5);
    EXPECT_STREQ(probe, "1,5") << "the locale did not take effect";
    expectTables();
    testing_support::restoreCLocale();
}

// Every value differs from the others, so that a field read from the wrong
// line shows; some are edge values or wider than the old fixed widths.
TEST(Reader, EveryFieldOfARealLayoutFile) {
    testing_support::TempDir dir;
    CurrdatValues v;
    v.forecast = "1";
    v.tendency = "0";
    v.storm = "-1";
    v.outdoorC = "-12.3";
    v.outdoorF = "102.4";
    v.outdoorHumidity = "100";
    v.windChillC = "11.9";
    v.windDirection = "270.6";
    v.rainTotalMm = "1234.56";
    v.rain1hMm = "0.4";
    v.rain1hInch = "0.02";
    writeBytes(dir.file("currdat.lst"), currdatFile(v));
    const auto r = station::readCurrentData(dir.file("currdat.lst"), kMarch5);
    ASSERT_TRUE(r.has_value());
    EXPECT_EQ((std::vector<double>{r->forecastCode, r->tendencyCode, r->stormAlarmCode, r->indoorTemperature,
                                   r->outdoorTemperature, r->indoorHumidity, r->outdoorHumidity, r->dewPoint,
                                   r->windChill, r->windSpeed, r->windDirection, r->rainTotal, r->rain24h, r->rain1h,
                                   r->pressureAbsolute, r->pressureRelative}),
              (std::vector<double>{1, 0, -1, 21.5, -12.3, 45, 100, 10.2, 11.9, 12.2, 270, 1234.56, 3.1, 0.4, 936,
                                   1013.2}));
    EXPECT_EQ(aprsTexts(*r), (std::vector<std::string>{"102", "007", "270", "00", "012", "002", "09360", "10132"}));
    EXPECT_EQ(r->stationModel, "WS3600");
}

// A missing sensor counts as 0 but goes out as dots; a comma ends a number.
TEST(Reader, MissingSensorsCommaDecimalsAndLoneCrOrLfLineEnds) {
    CurrdatValues v;
    v.outdoorC = v.outdoorF = v.windKmh = v.windMph = v.windDirection = "---";
    v.outdoorHumidity = "";
    v.rain24hInch = v.rain1hInch = v.pressureAbsolute = v.pressureRelative = "---";
    v.dewPointC = "21,4";
    for (const char *lineEnd : {"\r", "\n"}) {
        v.lineEnd = lineEnd;
        const auto r = parse(v);
        EXPECT_EQ(r.outdoorTemperature + r.windSpeed + r.pressureRelative, 0);
        EXPECT_EQ(r.dewPoint, 21);
        EXPECT_EQ(aprsTexts(r), (std::vector<std::string>{"...", "...", "...", "..", "...", "...", ".....", "....."}));
    }
}

// Edges and rounding; ordinary values are checked by the soak in every line it
// sends.
TEST(Reader, AprsTextsAtTheirEdges) {
    using namespace station;
    const struct { std::string got, want; } table[] = {
        {temperatureAprs(70.5), "070"},  {temperatureAprs(-0.5), "000"}, {temperatureAprs(-12.9), "-12"},
        {temperatureAprs(-150), "-99"},  {temperatureAprs(1500), "999"}, {wholeAprs(-3), "000"},
        {wholeAprs(5000), "999"},        {humidityAprs(100), "00"},      {humidityAprs(0), "00"},
        {rainAprs(0.125), "013"},        {rainAprs(0.124), "012"},       {rainAprs(12.5), "999"},
        {rainAprs(0.005), "001"},        {rainAprs(0.29), "029"},        {pressureAprs(0), "00000"},
        {pressureAprs(1013.29), "10132"}, {pressureAprs(1e20), "99999"}, {pressureAprs(std::nullopt), "....."},
    };
    for (const auto &row : table)
        EXPECT_EQ(row.got, row.want);
}

TEST(Panel, CaptionsWithTheirBlanks) {
    CurrdatValues v;
    v.outdoorC = "-3.2";
    v.rain24hMm = "0.3";
    auto r = parse(v);
    auto p = cycle::panelCaptions(r);
    EXPECT_EQ(p.label2, "Situazione meteo di    05 marzo 2026  alle ore 09:07");
    EXPECT_EQ((std::vector<std::string>{p.label6, p.label7, p.label8, p.label9, p.label10, p.label11, p.label13,
                                        p.label14, p.label15, p.label17}),
              (std::vector<std::string>{"T ext:  -3.2 °C", "Hrel ext:   84 %", "Dewpoint:   10.2 °C",
                                        "Windchill:   12.8 °C", "Vento:   12.2 km/h", "Direzione:   270 °",
                                        "Totali:   123.4 mm", "24 H [mm]:   .3 mm", "1 H [mm]:   0 mm",
                                        "Allarme temporale:  "}));
    const struct { double tendency, storm; const char *label5, *label18; std::optional<std::uint32_t> color; }
    codes[] = {{-1, 1, "Tendenza:  ", "** ATTIVO **", 255u},
               {0, 0, "Tendenza:  pressione costante", "non attivo", 0u},
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
