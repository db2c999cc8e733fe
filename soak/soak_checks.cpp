// What the soak expects of each file after a tick, checked against its own account.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <string_view>

#include "cycle/window_view.h"
#include "io/file_io.h"
#include "soak/soak_internal.h"
#include "station/numbers.h"

namespace soak::detail {
namespace {

// A field or line that is empty stands for an unknown value; anything else
// must be a number.
std::optional<double> known(const std::string &text) {
    return text.empty() ? std::nullopt : std::optional<double>(station::leadingNumber(text));
}

std::string shown(const std::optional<double> &value) { return value ? station::numberText(*value) : "(unknown)"; }

// A value of whole tenths (every value the soak feeds is one) as the window
// shows it: " 21.4", "-3.2", " .5", " 12", " 0", with its unit; or Heavy
// Weather's "---" for a sensor that the file marks as missing.
std::string caption(const char *prefix, const std::optional<double> &value, const char *unit) {
    std::string text = prefix;
    if (!value)
        return text + " ---";
    text.reserve(40);
    const long t = std::lround(*value * 10), a = t < 0 ? -t : t;
    text += t < 0 ? '-' : ' ';
    char digits[24];
    if (a >= 10 || a == 0)
        text.append(digits, std::to_chars(digits, digits + sizeof digits, a / 10).ptr);
    if (a % 10 != 0) {
        text += '.';
        text += static_cast<char>('0' + a % 10);
    }
    return text += unit;
}

// The fog and ice rules, on the values fed: fog only in a calm, and no
// warning resting on a sensor that has no value.
std::string alertText(const Feed &f) {
    bool fog = false;
    if (f.windKmh && *f.windKmh < 1 && f.temperature && f.humidity && f.dewPoint) {
        const double spread = *f.temperature - *f.dewPoint, humidity = *f.humidity;
        fog = (humidity > 80 && spread < 4) || (humidity >= 75 && humidity <= 80 && spread < 3.5) ||
              (humidity < 75 && spread < 3);
    }
    const bool ice = f.temperature && *f.temperature < 1;
    if (fog && ice)
        return "*** Condizioni favorevoli alla formazione di foschia o nebbia - Possibilità di ghiaccio ***";
    if (fog)
        return "*** Condizioni favorevoli alla formazione di foschia o nebbia ***";
    if (ice)
        return "*** Condizioni favorevoli alla formazione di ghiaccio ***";
    return "Nessuna segnalazione attiva";
}

} // namespace

void Soak::checkWeatherFile(const Feed &f, const station::ClockTime &now) {
    ++figures_.filesChecked;
    std::vector<std::string> lines;
    const std::string bytes = readBytes(out("my_meteo.txt"));
    if (!crlfLines(bytes, lines) || lines.size() != 2) {
        fail("my_meteo.txt is not two CR LF lines: " + bytes);
        return;
    }
    const std::string date = std::string(kMonthsEn[now.month - 1]) + " " + pad(now.day, 2) + " " +
                             pad(now.year, 4) + " " + pad(now.hour, 2) + ":" + pad(now.minute, 2);
    expect(lines[0] == date, "my_meteo.txt time stamp " + lines[0] + ", expected " + date);
    const std::string &d = lines[1];
    const std::string tail = "/WS3600/113W";
    if (d.size() < 33 + tail.size() || d.compare(d.size() - tail.size(), tail.size(), tail) != 0) {
        fail("my_meteo.txt data line malformed: " + d);
        return;
    }
    const std::string pressure = pressureChoice_ == '2' ? f.relativeAprs : f.absoluteAprs;
    const struct {
        std::size_t at, length;
        const std::string &expected;
        const char *name;
    } fields[] = {{0, 3, f.directionAprs, "direction"},  {4, 3, f.speedAprs, "speed"},
                  {12, 3, f.temperatureAprs, "temperature"}, {16, 3, f.rain24hAprs, "rain 24h"},
                  {20, 3, f.rain1hAprs, "rain 1h"},      {24, 5, pressure, "pressure"},
                  {30, 2, f.humidityAprs, "humidity"}};
    for (const auto &field : fields)
        expect(d.compare(field.at, field.length, field.expected) == 0,
               std::string("my_meteo.txt ") + field.name + " " + d.substr(field.at, field.length) + ", expected " +
                   field.expected + ": " + d);
    const std::string markers = std::string(1, d[3]) + d.substr(7, 5) + d[15] + d[19] + d[23] + d[29] + d[32];
    expect(markers == "/g...tprbh/", "my_meteo.txt markers out of place: " + d);
    const std::string comment = d.substr(33, d.size() - 33 - tail.size());
    expect(comment.find('/') == std::string::npos, "my_meteo.txt comment holds a separator: " + d);
}

void Soak::checkWindFile(const Feed &f) {
    ++figures_.filesChecked;
    std::vector<std::string> lines;
    const std::string bytes = readBytes(out("VENTO.TXT"));
    const bool ok = crlfLines(bytes, lines) && lines.size() == 4 && lines[0] == "Velocit\xE0 [km/h]" &&
                    lines[2] == "Direzione [gradi]" && known(lines[1]) == f.windKmh &&
                    known(lines[3]) == f.windDirection;
    expect(ok, "VENTO.TXT does not hold the last wind: " + bytes);
}

void Soak::checkWindow(const Feed &f, const cycle::TickOutcome &outcome, const Extremes &day) {
    const cycle::WindowView view = cycle::windowView(outcome);
    const std::string error = "Errore interno di programma";
    const std::string alert = f.codesKnown ? alertText(f) : error;
    // The day's extremes, from the account of the store; "---" before its
    // first valid pressure.
    const auto extreme = [&](const char *prefix, const std::optional<double> &value, const char *unit) {
        return caption(prefix, day.any ? value : std::nullopt, unit);
    };
    const std::pair<std::string_view, std::string> want[] = {
        {"Label6", caption("T ext:  ", f.temperature, " °C")},
        {"Label7", caption("Hrel ext:  ", f.humidity, " %")},
        {"Label8", caption("Dewpoint:  ", f.dewPoint, " °C")},
        {"Label9", caption("Windchill:  ", f.windChill, " °C")},
        {"Label10", caption("Vento:  ", f.windKmh, " km/h")},
        {"Label11", caption("Direzione:  ", f.windDirection, " °")},
        {"Label13", caption("Totali:  ", f.rainTotal, " mm")},
        {"Label14", caption("24 H [mm]:  ", f.rain24hMm, " mm")},
        {"Label15", caption("1 H [mm]:  ", f.rain1hMm, " mm")},
        {"Label16", pressureChoice_ == '2' ? caption("Pressione rel.:  ", f.relative, " hPa")
                                           : caption("Pressione ass.:  ", f.absolute, " hPa")},
        {"Label4", "Condizioni attuali:  " + outcome.localSituation},
        {"Label19", f.codesKnown ? "Previsione:  " + outcome.forecast.value_or("(none)") : error},
        {"Label29", alert},
        {"Label24", extreme("T ext MAX = ", day.tMax, " °C")},
        {"Label25", extreme("T ext min = ", day.tMin, " °C")},
        {"Label26", extreme("Press. MAX = ", day.pMax, " hPa")},
        {"Label27", extreme("Press. min = ", day.pMin, " hPa")},
    };
    // Each of them set once: the window applies the captions in their order.
    for (const auto &[name, text] : want) {
        int times = 0;
        const std::string *shownText = nullptr;
        for (const auto &[label, caption] : view.captions) {
            if (cycle::objectName(label) == name) {
                ++times;
                shownText = &caption;
            }
        }
        if (times != 1 || *shownText != text)
            fail("the window's " + std::string(name) + " shows [" + (shownText ? *shownText : "") + "] (set " +
                 std::to_string(times) + " times), expected [" + text + "]");
    }
    const bool alarm = alert != "Nessuna segnalazione attiva";
    figures_.fogTicks += alert.find("nebbia") != std::string::npos;
    const auto colour = std::find_if(view.colours.begin(), view.colours.end(),
                                     [](const auto &c) { return c.first == cycle::Role::Alerts; });
    if (colour == view.colours.end() || colour->second != (alarm ? cycle::Colour::Red : cycle::Colour::Black))
        fail("the window's Label29 has the wrong colour for [" + alert + "]");
}

void Soak::checkStore(const Extremes &day) {
    ++figures_.filesChecked;
    const std::string name = "MM" + ymd(date_).substr(2) + ".kwt";
    if (!day.any) {
        expect(!io::exists(out(name)), name + " exists before the day's first valid pressure");
        return;
    }
    std::vector<std::string> lines;
    const std::string bytes = readBytes(out(name));
    // An unknown temperature is an empty line.
    const bool ok = crlfLines(bytes, lines) && lines.size() == 4 && known(lines[0]) == day.tMin &&
                    known(lines[1]) == day.tMax && station::leadingNumber(lines[2]) == day.pMin &&
                    station::leadingNumber(lines[3]) == day.pMax;
    expect(ok, name + " holds " + bytes + ", expected the extremes " + shown(day.tMin) + " " + shown(day.tMax) +
                   " " + station::numberText(day.pMin) + " " + station::numberText(day.pMax));
}

void Soak::checkLog(const Date &date, const std::vector<LogRow> &rows) {
    if (rows.empty())
        return;
    ++figures_.filesChecked;
    const std::string name = ymd(date) + ".txt";
    std::vector<std::string> lines;
    if (!crlfLines(readBytes(out(name)), lines) || lines.empty() || lines[0] != kLogHeader) {
        fail(name + " does not start with its header or has a broken line end");
        return;
    }
    if (lines.size() != rows.size() + 1) {
        fail(name + " has " + std::to_string(lines.size() - 1) + " rows for " + std::to_string(rows.size()) +
             " ticks");
        return;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto fields = split(lines[i + 1], " ; ");
        const LogRow &row = rows[i];
        const bool ok = fields.size() == 15 && fields[0] == ymd(date) && fields[1] == row.time &&
                        station::leadingNumber(fields[5]) == row.pressure &&
                        known(fields[6]) == row.temperature &&
                        known(fields[8]) == row.windKmh && known(fields[9]) == row.windDirection;
        if (!ok) {
            fail(name + " row " + std::to_string(i + 1) + " is " + lines[i + 1] + ", expected time " + row.time);
            return;
        }
    }
}

void Soak::checkSummary(const std::string &yyyymm) {
    ++figures_.filesChecked;
    const std::string name = "MM" + yyyymm + ".TXT";
    const auto &rows = summaries_[yyyymm];
    if (rows.empty()) {
        expect(!io::exists(out(name)), name + " exists with no day to sum up");
        return;
    }
    std::vector<std::string> lines;
    if (!crlfLines(readBytes(out(name)), lines) || lines.empty() || lines[0] != kSummaryHeader) {
        fail(name + " does not start with its header or has a broken line end");
        return;
    }
    if (lines.size() != rows.size() + 1) {
        fail(name + " has " + std::to_string(lines.size() - 1) + " rows, expected " + std::to_string(rows.size()));
        return;
    }
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto fields = split(lines[i + 1], " ; ");
        const SummaryRow &row = rows[i];
        const bool ok = fields.size() == 5 && fields[0] == row.date &&
                        known(fields[1]) == row.x.tMin && known(fields[2]) == row.x.tMax &&
                        station::leadingNumber(fields[3]) == row.x.pMin &&
                        station::leadingNumber(fields[4]) == row.x.pMax;
        expect(ok, name + " row " + lines[i + 1] + ", expected " + row.date + " " +
                       shown(row.x.tMin) + " " + shown(row.x.tMax) + " " +
                       station::numberText(row.x.pMin) + " " + station::numberText(row.x.pMax));
    }
}

void Soak::checkFolder() {
    std::set<std::string> expected = {"my_meteo.txt", "VENTO.TXT"};
    for (const auto &day : days_) {
        expected.insert(day + ".txt");
        if (extremes_[day].any)
            expected.insert("MM" + day.substr(2) + ".kwt");
    }
    for (const auto &month : summaries_) {
        if (!month.second.empty())
            expected.insert("MM" + month.first + ".TXT");
        figures_.summaryRows += static_cast<long>(month.second.size());
    }
    std::set<std::string> found;
    for (const auto &entry : std::filesystem::directory_iterator(io::nativePath(out_)))
        found.insert(entry.path().filename().u8string());
    for (const auto &name : found)
        expect(expected.count(name) == 1, "unexpected file in the output folder: " + name);
    for (const auto &name : expected)
        expect(found.count(name) == 1, "missing from the output folder: " + name);
}

} // namespace soak::detail
