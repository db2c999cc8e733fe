#include "soak/soak.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>

#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 33))
#include <malloc.h>
#define SOAK_HAVE_MALLINFO2 1
#endif

#include "io/file_io.h"
#include "station/numbers.h"
#include "cycle/tick.h"
#include "support/currdat.h"
#include "support/test_support.h"

namespace soak {
namespace {

using testing_support::readBytes;
using testing_support::writeBytes;

constexpr long long kHalfSecondsPerDay = 2LL * 86400;
constexpr long long kTickHalfSeconds = 119; // 59.5 s
constexpr std::size_t kFailuresKept = 20;

const char *const kMonthsEn[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
const char *const kLogHeader = "Data ; Ora ; T_int ; H_int ; Pres_ass ; Press_rel ; T_ext ; H_ext ; Vel_vento ; "
                               "Dir_vento ; Dewpoint ; Windchill ; Precip_1H ; Precip_24H ; Precip_TOT ";
const char *const kSummaryHeader = "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX";

// The soak's own calendar, so that it does not check the program's dates
// with the program's date arithmetic.
struct Date {
    int year, month, day;
};

int daysIn(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
    return month == 2 && leap ? 29 : days[month - 1];
}

Date nextDay(Date d) {
    if (++d.day > daysIn(d.year, d.month)) {
        d.day = 1;
        if (++d.month > 12) {
            d.month = 1;
            ++d.year;
        }
    }
    return d;
}

Date previousDay(Date d) {
    if (--d.day < 1) {
        if (--d.month < 1) {
            d.month = 12;
            --d.year;
        }
        d.day = daysIn(d.year, d.month);
    }
    return d;
}

std::string pad(long value, std::size_t width) {
    std::string s = std::to_string(value);
    if (s.size() < width)
        s.insert(0, width - s.size(), '0');
    return s;
}

std::string ymd(const Date &d) { return pad(d.year, 4) + pad(d.month, 2) + pad(d.day, 2); }

// Numbers as Heavy Weather writes them, from whole tenths or hundredths.
std::string tenths(long v) {
    const long a = v < 0 ? -v : v;
    return (v < 0 ? "-" : "") + std::to_string(a / 10) + "." + std::to_string(a % 10);
}
std::string hundredths(long v) { return std::to_string(v / 100) + "." + pad(v % 100, 2); }

std::vector<std::string> split(const std::string &text, const std::string &separator) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto at = text.find(separator, start);
        if (at == std::string::npos) {
            parts.push_back(text.substr(start));
            return parts;
        }
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
}

// The lines of a CR LF file; false when a line end is anything else or the
// last line has none.
bool crlfLines(const std::string &bytes, std::vector<std::string> &lines) {
    lines = split(bytes, "\r\n");
    if (lines.empty() || !lines.back().empty())
        return false;
    lines.pop_back();
    for (const auto &line : lines)
        if (line.find_first_of("\r\n") != std::string::npos)
            return false;
    return true;
}

// One tick's reading: what goes into currdat.lst, and what must come out of
// it in the files.
struct Feed {
    testing_support::CurrdatValues file;
    double temperature = 0; // a missing sensor reads as 0
    double pressure = 0;    // relative; 0 is no valid reading
    double windKmh = 0, windDirection = 0;
    std::string directionAprs, speedAprs, temperatureAprs, rain24hAprs, rain1hAprs, humidityAprs;
    std::string absoluteAprs, relativeAprs;
    bool missing = false;
};

// Weather of a winter with cold spells, drifting by small random steps.
class Weather {
public:
    explicit Weather(std::uint32_t seed) : rng_(seed) {}

    Feed next(long dayIndex, double dayFraction) {
        // Temperatures in tenths of a degree: a falling season, cold spells,
        // a day's swing of ±5 °C and a wandering offset.
        double base = 60 - 1.2 * static_cast<double>(dayIndex);
        if (dayIndex % 17 == 1 || dayIndex % 17 == 2)
            base -= 150;
        walk_ = clamp(walk_ + uniform(7) - 3, -60, 60);
        const long t = clamp(std::lround(base + 50 * std::sin(6.283185307 * (dayFraction - 0.375))) + walk_, -300, 400);
        humidity_ = clamp(humidity_ + uniform(3) - 1, 35, 100);
        wind_ = clamp(wind_ + uniform(21) - 10, 0, 700);
        direction_ = (direction_ + uniform(61) - 30 + 3600) % 3600;
        if (chance(400))
            rain24_ = clamp(rain24_ + 1 + uniform(20), 0, 600);
        if (chance(300))
            rain24_ = clamp(rain24_ - 10, 0, 600);
        rain1_ = rain24_ > 0 && chance(3) ? std::min(rain24_, uniform(30)) : 0;
        pressure_ = clamp(pressure_ + uniform(3) - 1, 9700, 10480);
        if (chance(500))
            forecast_ = uniform(4) - 1;
        if (chance(500))
            tendency_ = uniform(4) - 1;
        if (chance(3000))
            storm_ = storm_ == 0 ? 1 : 0;

        Feed f;
        auto &v = f.file;
        v.forecast = std::to_string(forecast_);
        v.tendency = std::to_string(tendency_);
        v.storm = std::to_string(storm_);
        v.outdoorC = tenths(t);
        f.temperature = static_cast<double>(t) / 10;
        const long fahrenheit = t * 9 / 5 + 320;
        v.outdoorF = tenths(fahrenheit);
        const long wholeF = fahrenheit / 10; // toward zero, as the APRS text is
        f.temperatureAprs = wholeF < 0 ? "-" + pad(-wholeF, 2) : pad(wholeF, 3);
        v.outdoorHumidity = std::to_string(humidity_);
        f.humidityAprs = humidity_ == 100 ? "00" : pad(humidity_, 2);
        v.windKmh = tenths(wind_);
        f.windKmh = static_cast<double>(wind_) / 10;
        const long mph = wind_ * 621 / 1000;
        v.windMph = tenths(mph);
        f.speedAprs = pad(mph / 10, 3);
        v.windDirection = tenths(direction_);
        f.windDirection = static_cast<double>(direction_ / 10);
        f.directionAprs = pad(direction_ / 10, 3);
        v.rain24hInch = hundredths(rain24_);
        v.rain24hMm = tenths(rain24_ * 254 / 100);
        f.rain24hAprs = pad(rain24_, 3);
        v.rain1hInch = hundredths(rain1_);
        v.rain1hMm = tenths(rain1_ * 254 / 100);
        f.rain1hAprs = pad(rain1_, 3);
        v.pressureRelative = tenths(pressure_);
        f.pressure = static_cast<double>(pressure_) / 10;
        f.relativeAprs = pad(pressure_, 5);
        v.pressureAbsolute = tenths(pressure_ - 770);
        f.absoluteAprs = pad(pressure_ - 770, 5);

        // The station's faults: a pressure of 0, now and then for a while,
        // and sensors that the file marks as missing.
        if (outage_ > 0 || chance(700)) {
            if (outage_ == 0)
                outage_ = chance(4) ? 5 + uniform(60) : 1;
            --outage_;
            v.pressureRelative = chance(2) ? "0" : "0.0";
            f.pressure = 0;
            f.relativeAprs = "00000";
            if (chance(2)) {
                v.pressureAbsolute = "0";
                f.absoluteAprs = "00000";
            }
        }
        if (chance(300)) {
            f.missing = true;
            const long mask = 1 + uniform(255);
            if (mask & 1) {
                v.outdoorC = v.outdoorF = "---";
                f.temperature = 0;
                f.temperatureAprs = "...";
            }
            if (mask & 2) {
                v.outdoorHumidity = "---";
                f.humidityAprs = "..";
            }
            if (mask & 4) {
                v.windKmh = v.windMph = "---";
                f.windKmh = 0;
                f.speedAprs = "...";
            }
            if (mask & 8) {
                v.windDirection = "---";
                f.windDirection = 0;
                f.directionAprs = "...";
            }
            if (mask & 16) {
                v.rain24hMm = v.rain24hInch = "---";
                f.rain24hAprs = "...";
            }
            if (mask & 32) {
                v.rain1hMm = v.rain1hInch = "---";
                f.rain1hAprs = "...";
            }
            if (mask & 64) {
                v.pressureAbsolute = "---";
                f.absoluteAprs = ".....";
            }
            if (mask & 128) {
                v.pressureRelative = "---";
                f.pressure = 0;
                f.relativeAprs = ".....";
            }
        }
        return f;
    }

private:
    long uniform(long n) { return static_cast<long>(rng_() % static_cast<std::uint32_t>(n)); }
    bool chance(long oneIn) { return uniform(oneIn) == 0; }
    static long clamp(long v, long lo, long hi) { return v < lo ? lo : v > hi ? hi : v; }

    std::mt19937 rng_;
    long walk_ = 0, humidity_ = 80, wind_ = 100, direction_ = 2700;
    long rain24_ = 0, rain1_ = 0, pressure_ = 10132, outage_ = 0;
    long forecast_ = 2, tendency_ = 1, storm_ = 0;
};

// The day's extremes by the store's rules: only ticks with a relative
// pressure other than 0 count.
struct Extremes {
    bool any = false;
    double tMin = 0, tMax = 0, pMin = 0, pMax = 0;
    void add(double t, double p) {
        if (!any) {
            any = true;
            tMin = tMax = t;
            pMin = pMax = p;
            return;
        }
        tMin = std::min(tMin, t);
        tMax = std::max(tMax, t);
        pMin = std::min(pMin, p);
        pMax = std::max(pMax, p);
    }
};

struct LogRow {
    std::string time; // "HH:MM"
    double temperature, pressure, windKmh, windDirection;
};

struct SummaryRow {
    std::string date; // "DD/Mon/YYYY"
    Extremes x;
};

class Soak {
public:
    Soak(const Options &options, const std::string &folder)
        : options_(options), folder_(folder), station_(fileio::joinPath(folder, "station")),
          out_(fileio::joinPath(folder, "out")), config_(fileio::joinPath(folder, "config.kwt")),
          weather_(options.seed), cycle_(std::make_unique<cycle::ConversionCycle>()) {
        std::filesystem::create_directories(fileio::nativePath(station_));
        std::filesystem::create_directories(fileio::nativePath(out_));
        date_ = {options.year, options.month, options.day};
        // A day has at most 1,453 ticks, one more with a restart before its
        // midnight: reserved now, the day's rows do not count as growth.
        today_.reserve(1500);
        clock_ = (static_cast<long long>(options.hour) * 3600 + options.minute * 60) * 2 + options.halfSeconds;
    }

    Figures run() {
        const auto started = std::chrono::steady_clock::now();
        figures_.rssStartKb = residentKb();
        writeConfig();
        const long warmAt = std::max(1L, options_.ticks / 10);
        for (long k = 0; k < options_.ticks; ++k) {
            tick(k);
            if (k + 1 == warmAt) {
                figures_.rssWarmKb = residentKb();
                figures_.heapWarmKb = heapInUseKb();
            }
            if (options_.progress && (k + 1) % std::max(1L, options_.ticks / 10) == 0)
                options_.progress(std::to_string(k + 1) + " ticks, clock " + now_ + ", VmRSS " +
                                  std::to_string(residentKb()) + " KiB, heap in use " +
                                  std::to_string(heapInUseKb()) + " KiB, " + std::to_string(figures_.failureCount) +
                                  " failures");
        }
        figures_.rssEndKb = residentKb();
        figures_.heapEndKb = heapInUseKb();
        checkLog(date_, today_);
        for (const auto &month : summaries_)
            checkSummary(month.first);
        checkFolder();
        figures_.ticks = options_.ticks;
        figures_.simulatedDays = static_cast<double>(options_.ticks) * 59.5 / 86400;
        figures_.calendarDays = static_cast<long>(days_.size());
        figures_.wallSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        return figures_;
    }

private:
    std::string out(const std::string &name) const { return fileio::joinPath(out_, name); }

    void fail(const std::string &what) {
        if (figures_.failures.size() < kFailuresKept)
            figures_.failures.push_back(now_ + ": " + what);
        ++figures_.failureCount;
    }
    void expect(bool ok, const std::string &what) {
        if (!ok)
            fail(what);
    }

    // The choices change every day and the output folder is written with a
    // trailing separator every other week, so all of them meet every rule.
    void writeConfig() {
        aprsChoice_ = static_cast<char>('1' + dayIndex_ % 3);
        pressureChoice_ = dayIndex_ % 2 == 0 ? '2' : '1';
        const std::string folder = (dayIndex_ / 7) % 2 == 0 ? out_ : out_ + "/";
        writeBytes(config_, std::string(1, aprsChoice_) + "\r\n" + pressureChoice_ + "\r\n" + station_ + "\r\n" +
                                folder + "\r\n");
    }

    void tick(long k) {
        if (clock_ >= kHalfSecondsPerDay) {
            checkLog(date_, today_);
            today_.clear();
            clock_ -= kHalfSecondsPerDay;
            date_ = nextDay(date_);
            ++dayIndex_;
            writeConfig();
        }
        const long second = static_cast<long>(clock_ / 2);
        const station::ClockTime now{date_.year, date_.month, date_.day, static_cast<int>(second / 3600),
                                   static_cast<int>(second % 3600 / 60)};
        now_ = pad(now.year, 4) + "-" + pad(now.month, 2) + "-" + pad(now.day, 2) + " " + pad(now.hour, 2) + ":" +
               pad(now.minute, 2) + ":" + pad(second % 60, 2) + (clock_ % 2 ? ".5" : ".0");
        days_.insert(ymd(date_));

        const Feed f = weather_.next(dayIndex_, static_cast<double>(clock_) / kHalfSecondsPerDay);
        writeBytes(fileio::joinPath(station_, "currdat.lst"), testing_support::currdatFile(f.file));
        cycle::TickInputs in;
        in.heavyWeatherFolder = station_;
        in.configPath = config_;
        in.now = now;
        const auto outcome = cycle_->tick(in);
        expect(outcome.gate == cycle::Gate::Converted, "the tick did not convert currdat.lst");
        for (const auto &problem : outcome.problems)
            fail("problem reported: " + problem);

        // The account of what the files must hold.
        Extremes &day = extremes_[ymd(date_)];
        if (f.pressure != 0)
            day.add(f.temperature, f.pressure);
        figures_.zeroPressureTicks += f.pressure == 0;
        figures_.missingSensorTicks += f.missing;
        figures_.negativeTemperatureTicks += f.temperature < 0;
        figures_.negativeFahrenheitTicks += f.temperatureAprs[0] == '-';
        today_.push_back({pad(now.hour, 2) + ":" + pad(now.minute, 2), f.temperature, f.pressure, f.windKmh,
                          f.windDirection});
        const bool midnight = now.hour == 0 && now.minute == 0;
        if (midnight) {
            if (lastMidnight_ && ymd(*lastMidnight_) == ymd(date_)) {
                ++figures_.doubleMidnights;
                figures_.doubleMidnightDates.push_back(ymd(date_));
            } else {
                ++figures_.midnights;
                const Extremes &ended = extremes_[ymd(previousDay(date_))];
                if (ended.any)
                    summaries_[ymd(date_).substr(0, 6)].push_back(
                        {pad(date_.day, 2) + "/" + kMonthsEn[date_.month - 1] + "/" + pad(date_.year, 4), ended});
            }
            lastMidnight_ = date_;
            checkSummary(ymd(date_).substr(0, 6));
        }

        checkWeatherFile(f, now);
        checkWindFile(f);
        checkStore(day);

        // Restarts: memory is lost, the files stay.
        const bool onMidnight = clock_ == 0;
        if ((options_.restartEvery > 0 && (k + 1) % options_.restartEvery == 0) || (onMidnight && dayIndex_ % 2 == 0))
            restart();
        clock_ += kTickHalfSeconds;
        const Date tomorrow = nextDay(date_);
        const int every = options_.midnightRestartEvery;
        if (clock_ >= kHalfSecondsPerDay && every > 0 && (tomorrow.day == 1 || tomorrow.day % every == 0)) {
            // Started again at 23:59:59.9: the first tick comes on the stroke.
            clock_ = kHalfSecondsPerDay;
            restart();
        }
    }

    void restart() {
        cycle_ = std::make_unique<cycle::ConversionCycle>();
        ++figures_.restarts;
    }

    void checkWeatherFile(const Feed &f, const station::ClockTime &now) {
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
        expect(markers == "/g000tprbh/", "my_meteo.txt markers out of place: " + d);
        const std::string comment = d.substr(33, d.size() - 33 - tail.size());
        expect(comment.find('/') == std::string::npos, "my_meteo.txt comment holds a separator: " + d);
    }

    void checkWindFile(const Feed &f) {
        ++figures_.filesChecked;
        std::vector<std::string> lines;
        const std::string bytes = readBytes(out("VENTO.TXT"));
        const bool ok = crlfLines(bytes, lines) && lines.size() == 4 && lines[0] == "Velocit\xE0 [km/h]" &&
                        lines[2] == "Direzione [gradi]" && numbers::leadingNumber(lines[1]) == f.windKmh &&
                        numbers::leadingNumber(lines[3]) == f.windDirection;
        expect(ok, "VENTO.TXT does not hold the last wind: " + bytes);
    }

    void checkStore(const Extremes &day) {
        ++figures_.filesChecked;
        const std::string name = "MM" + ymd(date_).substr(2) + ".kwt";
        if (!day.any) {
            expect(!fileio::exists(out(name)), name + " exists before the day's first valid pressure");
            return;
        }
        std::vector<std::string> lines;
        const std::string bytes = readBytes(out(name));
        const bool ok = crlfLines(bytes, lines) && lines.size() == 4 &&
                        numbers::leadingNumber(lines[0]) == day.tMin && numbers::leadingNumber(lines[1]) == day.tMax &&
                        numbers::leadingNumber(lines[2]) == day.pMin && numbers::leadingNumber(lines[3]) == day.pMax;
        expect(ok, name + " holds " + bytes + ", expected the extremes " + numbers::numberText(day.tMin) + " " +
                       numbers::numberText(day.tMax) + " " + numbers::numberText(day.pMin) + " " +
                       numbers::numberText(day.pMax));
    }

    void checkLog(const Date &date, const std::vector<LogRow> &rows) {
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
                            numbers::leadingNumber(fields[5]) == row.pressure &&
                            numbers::leadingNumber(fields[6]) == row.temperature &&
                            numbers::leadingNumber(fields[8]) == row.windKmh &&
                            numbers::leadingNumber(fields[9]) == row.windDirection;
            if (!ok) {
                fail(name + " row " + std::to_string(i + 1) + " is " + lines[i + 1] + ", expected time " + row.time);
                return;
            }
        }
    }

    void checkSummary(const std::string &yyyymm) {
        ++figures_.filesChecked;
        const std::string name = "MM" + yyyymm + ".TXT";
        const auto &rows = summaries_[yyyymm];
        if (rows.empty()) {
            expect(!fileio::exists(out(name)), name + " exists with no day to sum up");
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
                            numbers::leadingNumber(fields[1]) == row.x.tMin &&
                            numbers::leadingNumber(fields[2]) == row.x.tMax &&
                            numbers::leadingNumber(fields[3]) == row.x.pMin &&
                            numbers::leadingNumber(fields[4]) == row.x.pMax;
            expect(ok, name + " row " + lines[i + 1] + ", expected " + row.date + " " +
                           numbers::numberText(row.x.tMin) + " " + numbers::numberText(row.x.tMax) + " " +
                           numbers::numberText(row.x.pMin) + " " + numbers::numberText(row.x.pMax));
        }
    }

    // Nothing in the output folder but the files the readings call for.
    void checkFolder() {
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
        for (const auto &entry : std::filesystem::directory_iterator(fileio::nativePath(out_)))
            found.insert(entry.path().filename().u8string());
        for (const auto &name : found)
            expect(expected.count(name) == 1, "unexpected file in the output folder: " + name);
        for (const auto &name : expected)
            expect(found.count(name) == 1, "missing from the output folder: " + name);
    }

    Options options_;
    std::string folder_, station_, out_, config_;
    Weather weather_;
    std::unique_ptr<cycle::ConversionCycle> cycle_;
    Date date_{};
    long dayIndex_ = 0;
    long long clock_ = 0; // half-seconds since the day's 00:00
    std::string now_;
    char aprsChoice_ = '1', pressureChoice_ = '1';
    std::optional<Date> lastMidnight_;
    std::vector<LogRow> today_;
    std::map<std::string, Extremes> extremes_;             // by YYYYMMDD
    std::map<std::string, std::vector<SummaryRow>> summaries_; // by YYYYMM
    std::set<std::string> days_;
    Figures figures_;
};

} // namespace

Figures run(const Options &options, const std::string &folder) { return Soak(options, folder).run(); }

long residentKb() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return static_cast<long>(numbers::leadingNumber(line.substr(6)));
    return 0;
}

std::string memoryVerdict(const Figures &f) {
    if (sanitized())
        return {};
    std::string why;
    if (f.rssEndKb - f.rssWarmKb > 1024)
        why += "VmRSS grew from " + std::to_string(f.rssWarmKb) + " KiB to " + std::to_string(f.rssEndKb) + " KiB. ";
    const long heapMargin = 16 + static_cast<long>(f.simulatedDays + 1);
    if (f.heapEndKb - f.heapWarmKb > heapMargin)
        why += "The heap in use grew from " + std::to_string(f.heapWarmKb) + " KiB to " +
               std::to_string(f.heapEndKb) + " KiB, more than " + std::to_string(heapMargin) + " KiB.";
    return why;
}

long heapInUseKb() {
#ifdef SOAK_HAVE_MALLINFO2
    return static_cast<long>(mallinfo2().uordblks / 1024);
#else
    return 0;
#endif
}

bool sanitized() {
#if defined(__SANITIZE_ADDRESS__)
    return true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
    return true;
#else
    return false;
#endif
#else
    return false;
#endif
}

} // namespace soak
