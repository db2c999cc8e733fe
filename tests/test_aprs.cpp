// The weather texts, the comment's precedence, my_meteo.txt's bytes. The fog
// and ice rules at their bounds and over missing sensors: the soak, on the
// window's alert line in its calm spells.
#include <gtest/gtest.h>

#include "aprs/descriptions.h"
#include "aprs/weather_file.h"
#include "support/currdat.h"

using station::Forecast;
using station::StormAlarm;
using station::Tendency;
using station::WeatherReading;

namespace {

WeatherReading codes(Forecast forecast, Tendency tendency, StormAlarm storm = StormAlarm::Off) {
    WeatherReading r;
    r.forecast = forecast;
    r.tendency = tendency;
    r.stormAlarm = storm;
    return r;
}

} // namespace

// A few cells of the table, each row and column reached once, and the codes
// that name no forecast.
TEST(Descriptions, ForecastFromTheTableOrNone) {
    const struct { Forecast forecast; Tendency tendency; const char *text; } cases[] = {
        {Forecast::Rain, Tendency::Rising, "molto nuvoloso"}, {Forecast::Cloudy, Tendency::Steady, "nuvoloso"},
        {Forecast::Sunny, Tendency::Falling, "variabile"},    {Forecast::NotGiven, Tendency::Steady, nullptr},
        {Forecast::Sunny, Tendency::NotGiven, nullptr},       {Forecast::Other, Tendency::Steady, nullptr},
        {Forecast::Cloudy, Tendency::Other, nullptr}};
    for (const auto &c : cases)
        EXPECT_EQ(aprs::forecast(codes(c.forecast, c.tendency)).value_or("none"), c.text ? c.text : "none");
}

TEST(Descriptions, LocalSituationAtItsThresholds) {
    const Forecast sunny = Forecast::Sunny, cloudy = Forecast::Cloudy;
    const auto none = std::nullopt; // a missing sensor leaves out the words that rest on it
    const struct { Forecast forecast; station::Value rain, wind; const char *text; } cases[] = {
        {sunny, 0, 4, "sereno-brezza"}, {cloudy, 5.2, 20, "pioggia-vento forte"}, {Forecast::Rain, 0, 0, "nuvoloso"},
        {sunny, 0.001, 0, "pioviggine"},  {sunny, 2.99, 0, "pioviggine"},   {sunny, 3, 0, "pioggia"},
        {sunny, 14.99, 0, "pioggia"},     {sunny, 15, 0, "pioggia intensa"}, {cloudy, 0, -2, "nuvoloso"},
        {cloudy, 0, 7.49, "nuvoloso-brezza"}, {cloudy, 0, 7.5, "nuvoloso-vento"}, {cloudy, 0, 14.99, "nuvoloso-vento"},
        {cloudy, 0, 15, "nuvoloso-vento forte"}, {Forecast::NotGiven, 20, 20, ""}, {Forecast::Other, 0, 4, ""},
        {sunny, none, 4, "-brezza"}, {cloudy, 5.2, none, "pioggia"}, {Forecast::Missing, 5.2, 20, "pioggia-vento forte"},
        {Forecast::Missing, 0, 4, "-brezza"}};
    for (const auto &c : cases) {
        auto r = codes(c.forecast, Tendency::Steady);
        r.rain1h = c.rain;
        r.windSpeed = c.wind;
        EXPECT_EQ(aprs::localSituation(r), c.text) << c.rain.value_or(-99) << " " << c.wind.value_or(-99);
    }
}

// Later rules override earlier ones: APRS choice, user message, storm alarm, "***", "+++".
TEST(Descriptions, CommentOrderOfPrecedence) {
    using A = settings::AprsChoice;
    const auto sunny = Forecast::Sunny, none = Forecast::NotGiven;
    const auto off = StormAlarm::Off, on = StormAlarm::Active;
    const struct { A choice; bool ticked; std::string message; StormAlarm storm; Forecast forecast; std::string want;
                   Tendency tendency = Tendency::Steady; }
    cases[] = {
        {A::Forecast, false, "ciao", off, sunny, "Prev. sereno"}, {A::NoWeather, true, "", off, sunny, ""},
        {A::LocalSituation, false, "ciao", off, sunny, "sereno-brezza"}, {A::NoWeather, false, "", off, sunny, ""},
        {A::LocalSituation, false, "", StormAlarm::Other, sunny, "sereno-brezza"},
        {A::NoWeather, true, "abcdefghijklmnopqrstuvwxy", off, sunny, "abcdefghijklmnopqrst"},
        {A::LocalSituation, true, "\xc3\xa0" + std::string(21, 'x'), off, sunny, "\xc3\xa0" + std::string(19, 'x')},
        {A::Forecast, true, "ciao", on, sunny, " ALLARME TEMPORALE"}, {A::Forecast, true, "ciao", on, none, "***"},
        {A::Forecast, true, "ciao", on, none, "+++", Tendency::NotGiven},
    };
    for (const auto &c : cases)
        EXPECT_EQ(aprs::reportComment(codes(c.forecast, c.tendency, c.storm), c.choice, "sereno", "sereno-brezza",
                                      {c.ticked, c.message}), c.want)
            << static_cast<int>(c.choice) << " " << c.ticked << " '" << c.message << "'";
}

// The comment goes out on one line of CP1252: what the code page lacks,
// control characters and the APRS-reserved "|" and "~" each become "?".
TEST(WeatherFile, TheBytesWithAnUnsafeComment) {
    // "Città 東" then "|", "~", CR, LF, a C1 control, and "€" which CP1252 has.
    const std::string comment = "Citt\xc3\xa0 \xe6\x9d\xb1|~\r\n\xc2\x81\xe2\x82\xac";
    const auto r = station::parseCurrentData(testing_support::currdatFile({}), {2008, 3, 7, 9, 5});
    ASSERT_TRUE(r);
    EXPECT_EQ(aprs::weatherFileBytes(aprs::dateLine(*r), aprs::dataLine(*r, settings::PressureChoice::Absolute, comment)),
              "Mar 07 2008 09:05\r\n270/007g...t055p012r000b09360h84/Citt\xe0 ??????\x80/WS3600/113W\r\n");
}
