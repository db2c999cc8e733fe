#include <gtest/gtest.h>

#include "aprs/descriptions.h"
#include "aprs/weather_file.h"
#include "support/currdat.h"

using aprs::kInternalError;
using station::WeatherReading;

namespace {

WeatherReading codes(double forecast, double tendency, double storm = 0) {
    WeatherReading r;
    r.forecastCode = forecast;
    r.tendencyCode = tendency;
    r.stormAlarmCode = storm;
    return r;
}

} // namespace

TEST(Descriptions, ForecastTableAndCodesOutsideIt) {
    const struct { double forecast, tendency; const char *text; } cases[] = {
        {0, 0, "Prev. pioggia"},  {0, 1, "Prev. molto nuvoloso"}, {0, 2, "Prev. pioggia"},
        {1, 0, "Prev. nuvoloso"}, {1, 1, "Prev. poco nuvoloso"},  {1, 2, "Prev. molto nuvoloso"},
        {2, 0, "Prev. sereno"},   {2, 1, "Prev. sereno"},         {2, 2, "Prev. variabile"},
        {-1, 0, ""},              {2, -1, ""},                    {0.5, 0, ""},  {1, 3, ""}};
    for (const auto &c : cases)
        EXPECT_EQ(aprs::forecastText(codes(c.forecast, c.tendency)), c.text) << c.forecast << "/" << c.tendency;
}

TEST(Descriptions, LocalSituationAtItsThresholds) {
    const struct { double forecast, rain, wind; const char *text; } cases[] = {
        {2, 0, 4, "sereno-brezza"},      {1, 5.2, 20, "pioggia-vento forte"}, {0, 0, 0, "nuvoloso"},
        {2, 0.001, 0, "pioviggine"},     {2, 2.99, 0, "pioviggine"},          {2, 3, 0, "pioggia"},
        {2, 14.99, 0, "pioggia"},        {2, 15, 0, "pioggia intensa"},       {1, 0, -2, "nuvoloso"},
        {1, 0, 7.49, "nuvoloso-brezza"}, {1, 0, 7.5, "nuvoloso-vento"},       {1, 0, 14.99, "nuvoloso-vento"},
        {1, 0, 15, "nuvoloso-vento forte"}, {-1, 20, 20, ""},                 {0.5, 0, 4, ""}};
    for (const auto &c : cases) {
        auto r = codes(c.forecast, 0);
        r.rain1h = c.rain;
        r.windSpeed = c.wind;
        EXPECT_EQ(aprs::localSituation(r), c.text) << c.forecast << " " << c.rain << " " << c.wind;
    }
}

// Later rules override earlier ones: APRS choice, user message, storm alarm, "***", "+++".
TEST(Descriptions, CommentOrderOfPrecedence) {
    const struct { char choice; bool ticked; std::string message; double storm, forecast, tendency; std::string want; }
    cases[] = {
        {'1', false, "ciao", 0, 2, 0, "Prev. sereno"},   {'2', false, "ciao", 0, 2, 0, "sereno-brezza"},
        {'3', false, "", 0, 2, 0, ""},                   {'7', false, "", 0, 2, 0, "Prev. sereno"},
        {'3', true, "", 0, 2, 0, ""},                    {'2', false, "", 0.5, 2, 0, "sereno-brezza"},
        {'3', true, "abcdefghijklmnopqrstuvwxy", 0, 2, 0, "abcdefghijklmnopqrst"},
        {'2', true, "\xc3\xa0" + std::string(21, 'x'), 0, 2, 0, "\xc3\xa0" + std::string(19, 'x')},
        {'1', true, "ciao", 1, 2, 0, " ALLARME TEMPORALE"}, {'1', true, "ciao", 1, -1, 0, "***"},
        {'1', true, "ciao", 1, -1, -1, "+++"},
    };
    for (const auto &c : cases) {
        const auto r = codes(c.forecast, c.tendency, c.storm);
        const auto comment = aprs::reportComment(r, c.choice, "Prev. sereno", "sereno-brezza", {c.ticked, c.message});
        EXPECT_EQ(comment, c.want) << c.choice << " " << c.ticked << " '" << c.message << "' " << c.storm;
    }
}

TEST(Descriptions, FogAndIceRulesAtTheirBounds) {
    enum Kind { None, Fog, Ice, Both };
    const struct { double wind, humidity, temperature, dewPoint; Kind kind; } cases[] = {
        {0, 78, 10, 7, Fog},       {0, 80, 10.7, 7, None},     // B holds; 80 is not above 80 for A
        {0.5, 81, 10.99, 7, Fog},  {0, 81, 11, 7, None},       // A: spread below 4
        {0, 75, 10.25, 7, Fog},    {0, 75, 10.5, 7, None},     // B: 75 included, spread below 3.5
        {0, 80, 10.25, 7, Fog},    {0, 74.9, 9.75, 7, Fog},    // B: 80 included; C
        {0, 74.9, 10, 7, None},    {0, 74, 10.25, 7, None},    // C: spread below 3
        {1, 95, 0.5, 0.5, Ice},    {0.99, 95, 0.5, 0.5, Both}, // wind 1 tests no fog rule
        {5, 50, 1, -5, None},      {5, 50, 0.99, -5, Ice},     // ice below 1 °C
    };
    const char *texts[] = {
        "Nessuna segnalazione attiva",
        "*** Condizioni favorevoli alla formazione di foschia o nebbia ***",
        "*** Condizioni favorevoli alla formazione di ghiaccio ***",
        "*** Condizioni favorevoli alla formazione di foschia o nebbia - Possibilit\xc3\xa0 di ghiaccio ***",
    };
    for (const auto &c : cases) {
        WeatherReading r;
        r.windSpeed = c.wind;
        r.outdoorHumidity = c.humidity;
        r.outdoorTemperature = c.temperature;
        r.dewPoint = c.dewPoint;
        const auto a = aprs::evaluateAlerts(r, "Previsione:  sereno");
        SCOPED_TRACE(testing::Message() << c.wind << " " << c.humidity << " " << c.temperature << " " << c.dewPoint);
        EXPECT_EQ(a.fogRisk, c.kind == Fog || c.kind == Both);
        EXPECT_EQ(a.iceRisk, c.kind == Ice || c.kind == Both);
        EXPECT_EQ(a.text, texts[c.kind]);
        EXPECT_EQ(a.color, c.kind == None ? aprs::kBlack : aprs::kRed);
    }
}

TEST(Descriptions, Label19AndAMissingForecastShownAsTheInternalErrorInRed) {
    EXPECT_EQ(aprs::forecastCaption("Prev. poco nuvoloso"), "Previsione:  poco nuvoloso");
    WeatherReading r = codes(2, -1);
    r.outdoorTemperature = 20;
    const auto caption = aprs::forecastCaption(aprs::forecastText(r));
    EXPECT_EQ(caption, kInternalError);
    const auto a = aprs::evaluateAlerts(r, caption);
    EXPECT_EQ(a.text, kInternalError);
    EXPECT_EQ(a.color, aprs::kRed);
}

// The comment goes out on one line of CP1252: what the code page lacks,
// control characters and the APRS-reserved "|" and "~" each become "?".
TEST(WeatherFile, TheBytesWithAnUnsafeComment) {
    // "Città 東" then "|", "~", CR, LF, a C1 control, and "€" which CP1252 has.
    const std::string comment = "Citt\xc3\xa0 \xe6\x9d\xb1|~\r\n\xc2\x81\xe2\x82\xac";
    const auto r = station::parseCurrentData(testing_support::currdatFile({}), {2008, 3, 7, 9, 5});
    ASSERT_TRUE(r);
    EXPECT_EQ(aprs::weatherFileBytes(aprs::dateLine(*r), aprs::dataLine(*r, '1', comment)),
              "Mar 07 2008 09:05\r\n270/007g000t055p012r000b09360h84/Citt\xe0 ??????\x80/WS3600/113W\r\n");
}
