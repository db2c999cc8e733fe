// currdat.lst belongs to another program and may hold anything: a half
// written file, another station's layout, binary garbage. Whatever it holds,
// the reading must come out with finite values and APRS texts that keep their
// exact width and alphabet, so that the data line UI-View sends is always
// well formed. And in a file of Heavy Weather's layout, whatever its values,
// each value must be the one that its section names.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "aprs/aprs_fields.h"
#include "aprs/descriptions.h"
#include "aprs/weather_file.h"
#include "cycle/window_view.h"
#include "io/file_io.h"
#include "station/numbers.h"
#include "station/reading.h"
#include "station/version.h"
#include "fuzz_support.h"

namespace {

bool allOf(const std::string &text, std::size_t from, std::size_t count, bool (*accept)(char)) {
    if (text.size() < from + count)
        return false;
    for (std::size_t i = from; i < from + count; ++i)
        if (!accept(text[i]))
            return false;
    return true;
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isDot(char c) { return c == '.'; }

// Digits throughout, or dots throughout (a missing sensor), at full width.
bool digitsOrDots(const std::string &text, std::size_t width) {
    return text.size() == width && (allOf(text, 0, width, isDigit) || allOf(text, 0, width, isDot));
}

// As above, or "-" and two digits for a temperature below 0 °F.
bool temperatureText(const std::string &text) {
    return digitsOrDots(text, 3) || (text.size() == 3 && text[0] == '-' && allOf(text, 1, 2, isDigit));
}

void checkAprsTexts(const station::WeatherReading &r) {
    const std::string temperature = aprs::temperatureField(r.outdoorTemperatureF);
    FUZZ_CHECK(temperatureText(temperature), temperature);
    for (const std::string &text : {aprs::wholeField(r.windSpeedMph), aprs::wholeField(r.windDirection),
                                     aprs::rainField(r.rain24hInch), aprs::rainField(r.rain1hInch)})
        FUZZ_CHECK(digitsOrDots(text, 3), text);
    const std::string humidity = aprs::humidityField(r.outdoorHumidity);
    FUZZ_CHECK(digitsOrDots(humidity, 2), humidity);
    for (const auto &value : {r.pressureAbsolute, r.pressureRelative}) {
        const std::string text = aprs::pressureField(value);
        FUZZ_CHECK(digitsOrDots(text, 5), text);
    }
}

void checkValues(const station::WeatherReading &r) {
    for (const auto &v : {r.indoorTemperature, r.outdoorTemperature, r.indoorHumidity, r.outdoorHumidity, r.dewPoint,
                          r.windChill, r.windSpeed, r.windDirection, r.rainTotal, r.rain24h, r.rain1h,
                          r.pressureAbsolute, r.pressureRelative, r.outdoorTemperatureF, r.windSpeedMph,
                          r.rain24hInch, r.rain1hInch})
        FUZZ_CHECK(!v || std::isfinite(*v), std::to_string(*v));
    const double direction = station::orZero(r.windDirection);
    FUZZ_CHECK(direction == std::floor(direction), std::to_string(direction));
}

// "DDD/DDDg...tTTTpRRRrRRRbPPPPPhHH/" comment "/WS3600/" tag, one line with
// no control characters and neither "|" nor "~" (APRS reserves them).
void checkDataLine(const std::string &line) {
    const std::string tail = "/WS3600/" + std::string(version::kVersionTag);
    FUZZ_CHECK(line.size() >= 33 + tail.size(), fuzz_support::shown(line));
    FUZZ_CHECK(line.compare(line.size() - tail.size(), tail.size(), tail) == 0, fuzz_support::shown(line));
    const struct {
        std::size_t at;
        const char *text;
    } fixed[] = {{3, "/"}, {7, "g...t"}, {15, "p"}, {19, "r"}, {23, "b"}, {29, "h"}, {32, "/"}};
    for (const auto &f : fixed)
        FUZZ_CHECK(line.compare(f.at, std::string(f.text).size(), f.text) == 0, fuzz_support::shown(line));
    FUZZ_CHECK(digitsOrDots(line.substr(0, 3), 3), fuzz_support::shown(line));
    FUZZ_CHECK(digitsOrDots(line.substr(4, 3), 3), fuzz_support::shown(line));
    FUZZ_CHECK(temperatureText(line.substr(12, 3)), fuzz_support::shown(line));
    FUZZ_CHECK(digitsOrDots(line.substr(16, 3), 3), fuzz_support::shown(line));
    FUZZ_CHECK(digitsOrDots(line.substr(20, 3), 3), fuzz_support::shown(line));
    FUZZ_CHECK(digitsOrDots(line.substr(24, 5), 5), fuzz_support::shown(line));
    FUZZ_CHECK(digitsOrDots(line.substr(30, 2), 2), fuzz_support::shown(line));
}

void checkFileBytes(const std::string &bytes, const std::string &dataLine) {
    // Exactly two lines, each ended by CR LF: the date line and the data line.
    const auto first = bytes.find("\r\n");
    FUZZ_CHECK(first != std::string::npos && first + 2 < bytes.size(), fuzz_support::shown(bytes));
    const std::string second = bytes.substr(first + 2);
    FUZZ_CHECK(second.size() >= 2 && second.compare(second.size() - 2, 2, "\r\n") == 0, fuzz_support::shown(bytes));
    const std::string data = second.substr(0, second.size() - 2);
    for (unsigned char c : data) {
        // The five bytes CP1252 leaves undefined read as C1 controls.
        const bool control = c < 0x20 || c == 0x7F || c == 0x81 || c == 0x8D || c == 0x8F || c == 0x90 || c == 0x9D;
        FUZZ_CHECK(!control && c != '|' && c != '~', fuzz_support::shown(bytes));
    }
    // Plain ASCII apart from the comment, so the CP1252 form of the line is
    // the line itself wherever the comment is ASCII.
    FUZZ_CHECK(data.compare(0, 33, dataLine, 0, 33) == 0, fuzz_support::shown(bytes));
}

// Heavy Weather's layout: an empty line, then each section's name and the
// beginnings of its lines, as far as the reader needs them. Values stand in
// quotes but the codes, which are bare numbers.
const std::pair<const char *, std::vector<const char *>> kLayout[] = {
    {"header", {"version=\"", "last_actualisation=\"", "dateformat=\"", "timeformat=\""}},
    {"weather_state", {"text=\""}},
    {"forecast", {"number=", "text=\""}},
    {"tendency", {"text=\"", "number="}},
    {"storm_warning", {"text=\"", "number="}},
    {"indoor_temperature", {"deg_C=\"", "deg_F=\""}},
    {"outdoor_temperature", {"deg_C=\"", "deg_F=\""}},
    {"indoor_humidity", {"percent=\""}},
    {"outdoor_humidity", {"percent=\""}},
    {"dewpoint", {"deg_C=\"", "deg_F=\""}},
    {"windchill", {"deg_C=\"", "deg_F=\""}},
    {"wind_speed", {"m/s=\"", "kmh=\"", "mph=\"", "knots=\"", "bft=\""}},
    {"wind_direction", {"deg=\"", "text=\""}},
    {"rain_total", {"mm=\"", "inch=\""}},
    {"rain_24h", {"mm=\"", "inch=\""}},
    {"rain_1h", {"mm=\"", "inch=\""}},
    {"pressure_absolute", {"hpa=\"", "inHg=\""}},
    {"pressure_relative", {"hpa=\""}},
};

struct Named {
    std::string_view section, key, text;
};

// The text after each key of a file in that layout (none when the file is in
// another), found by name rather than by line.
std::optional<std::vector<Named>> valuesByName(const std::vector<std::string> &lines) {
    std::vector<Named> values;
    std::size_t at = 0;
    const auto next = [&]() -> const std::string * { return at < lines.size() ? &lines[at++] : nullptr; };
    for (const auto &[section, keys] : kLayout) {
        const std::string *blank = next(), *heading = next();
        const std::string_view name(section);
        if (!blank || !blank->empty() || !heading || heading->size() != name.size() + 2 || (*heading)[0] != '[' ||
            heading->compare(1, name.size(), name) != 0 || heading->back() != ']')
            return std::nullopt;
        for (const std::string_view key : keys) {
            const std::string *line = next();
            if (!line || line->compare(0, key.size(), key) != 0)
                return std::nullopt;
            values.push_back({name, key.substr(0, key.find('=')), std::string_view(*line).substr(key.size())});
        }
    }
    return values;
}

// A Heavy Weather file: each value the reader gives is the number at the
// start of the text its section and key name; a code is one of the
// station's only when it is exactly -1, 0, 1 or 2.
void checkValuesByName(const std::string &bytes, const station::WeatherReading &r) {
    const auto lines = io::splitLines(bytes, 73, 4096, false);
    const auto values = valuesByName(lines);
    if (!values)
        return;
    // "section/key"
    const auto number = [&](std::string_view name) {
        const auto slash = name.find('/');
        for (const Named &v : *values)
            if (v.section == name.substr(0, slash) && v.key == name.substr(slash + 1))
                return station::parseLeadingNumber(v.text);
        FUZZ_CHECK(false, std::string(name) + " is not in the layout");
        return station::Value();
    };
    const struct {
        const station::Value &value;
        const char *name;
    } fields[] = {
        {r.indoorTemperature, "indoor_temperature/deg_C"},   {r.outdoorTemperature, "outdoor_temperature/deg_C"},
        {r.outdoorTemperatureF, "outdoor_temperature/deg_F"}, {r.indoorHumidity, "indoor_humidity/percent"},
        {r.outdoorHumidity, "outdoor_humidity/percent"},     {r.dewPoint, "dewpoint/deg_C"},
        {r.windChill, "windchill/deg_C"},                    {r.windSpeed, "wind_speed/kmh"},
        {r.windSpeedMph, "wind_speed/mph"},                  {r.rainTotal, "rain_total/mm"},
        {r.rain24h, "rain_24h/mm"},                          {r.rain24hInch, "rain_24h/inch"},
        {r.rain1h, "rain_1h/mm"},                            {r.rain1hInch, "rain_1h/inch"},
        {r.pressureAbsolute, "pressure_absolute/hpa"},       {r.pressureRelative, "pressure_relative/hpa"},
    };
    const std::string shownBytes = fuzz_support::shown(bytes);
    for (const auto &field : fields)
        FUZZ_CHECK(field.value == number(field.name), std::string(field.name) + " in " + shownBytes);
    // Whole degrees: the direction's fraction is dropped.
    const auto direction = number("wind_direction/deg");
    FUZZ_CHECK(r.windDirection == (direction ? station::Value(std::floor(*direction)) : std::nullopt), shownBytes);

    // The code's place among -1, 0, 1, 2, or 4 for another number, 5 for none.
    const auto code = [&](std::string_view name) {
        const auto x = number(name);
        if (!x)
            return 5;
        for (int c = -1; c <= 2; ++c)
            if (*x == c)
                return c + 1;
        return 4;
    };
    using station::Forecast;
    using station::StormAlarm;
    using station::Tendency;
    const Forecast forecasts[] = {Forecast::NotGiven, Forecast::Rain, Forecast::Cloudy, Forecast::Sunny,
                                  Forecast::Other, Forecast::Missing};
    const Tendency tendencies[] = {Tendency::NotGiven, Tendency::Steady, Tendency::Rising, Tendency::Falling,
                                   Tendency::Other, Tendency::Missing};
    const StormAlarm alarms[] = {StormAlarm::Fault, StormAlarm::Off, StormAlarm::Active, StormAlarm::Other,
                                 StormAlarm::Other, StormAlarm::Missing};
    FUZZ_CHECK(r.forecast == forecasts[code("forecast/number")], shownBytes);
    FUZZ_CHECK(r.tendency == tendencies[code("tendency/number")], shownBytes);
    FUZZ_CHECK(r.stormAlarm == alarms[code("storm_warning/number")], shownBytes);
}

} // namespace

fuzz_support::Check refused("a file turned away"), taken("a file read"),
    missing("a sensor reported missing");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const station::ClockTime now{2026, 3, 7, 9, 5};
    const auto reading = station::parseCurrentData(bytes, now);
    (reading ? taken : refused).reached();
    if (!reading) {
        // Only a file with fewer than 73 ended lines is turned away (a last
        // line without its line end may be cut short).
        FUZZ_CHECK(io::splitLines(bytes, 73, 4096, false).size() < 73, "a 73-line file was refused");
        return 0;
    }
    const station::WeatherReading &r = *reading;
    if (!r.outdoorTemperature || !r.windSpeed || !r.outdoorHumidity)
        missing.reached();
    checkValues(r);
    checkAprsTexts(r);
    checkValuesByName(bytes, r);

    // Line 1 is never read: its bytes serve as the user's message, so the
    // comment is fuzzed too (the window passes any text the user types).
    const auto lines = io::splitLines(bytes, 1);
    const aprs::UserMessage message{!lines.empty() && !lines[0].empty(), lines.empty() ? "" : lines[0]};

    cycle::TickOutcome outcome;
    outcome.gate = cycle::Gate::Converted;
    outcome.reading = r;
    outcome.forecast = aprs::forecast(r);
    outcome.localSituation = aprs::localSituation(r);
    outcome.alerts = aprs::evaluateAlerts(r);
    using settings::AprsChoice;
    using settings::PressureChoice;
    for (const auto aprsChoice : {AprsChoice::Forecast, AprsChoice::LocalSituation, AprsChoice::NoWeather}) {
        for (const bool withMessage : {false, true}) {
            const aprs::UserMessage m = withMessage ? message : aprs::UserMessage{};
            const std::string comment =
                aprs::reportComment(r, aprsChoice, outcome.forecast, outcome.localSituation, m);
            for (const auto pressure : {PressureChoice::Absolute, PressureChoice::Relative}) {
                outcome.pressure = pressure;
                (void)cycle::windowView(outcome);
                const std::string line = aprs::dataLine(r, pressure, comment);
                checkDataLine(line);
                checkFileBytes(aprs::weatherFileBytes(aprs::dateLine(r), line), line);
            }
        }
    }
    return 0;
}
