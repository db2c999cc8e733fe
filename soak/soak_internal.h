#pragma once
// The soak's pieces: its own calendar and weather, what it expects of each
// file, and the run that ticks the real cycle and checks every file.

#include <map>
#include <memory>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "cycle/tick.h"
#include "soak/soak.h"
#include "support/currdat.h"
#include "support/test_support.h"

namespace soak::detail {

using testing_support::readBytes;
using testing_support::writeBytes;

inline constexpr long long kHalfSecondsPerDay = 2LL * 86400;
inline constexpr long long kTickHalfSeconds = 119; // 59.5 s
inline constexpr std::size_t kFailuresKept = 20;

inline const char *const kMonthsEn[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                   "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
inline const char *const kLogHeader = "Data ; Ora ; T_int ; H_int ; Pres_ass ; Press_rel ; T_ext ; H_ext ; Vel_vento ; "
                               "Dir_vento ; Dewpoint ; Windchill ; Precip_1H ; Precip_24H ; Precip_TOT ";
inline const char *const kSummaryHeader = "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX";

// The soak's own calendar, so that it does not check the program's dates
// with the program's date arithmetic.
struct Date {
    int year, month, day;
};

int daysIn(int year, int month);
Date nextDay(Date d);
Date previousDay(Date d);
std::string pad(long value, std::size_t width);
// Numbers as Heavy Weather writes them, from whole tenths or hundredths.
std::string tenths(long v);
std::string hundredths(long v);
// "20261205"
std::string ymd(const Date &d);
std::vector<std::string> split(const std::string &text, const std::string &separator);
// The lines of a CR LF file; false when a line end is anything else or the
// last line has none.
bool crlfLines(const std::string &bytes, std::vector<std::string> &lines);

struct Feed {
    testing_support::CurrdatValues file;
    std::optional<double> temperature; // nullopt: the sensor is missing
    double pressure = 0;    // relative; 0 is no valid reading
    std::optional<double> windKmh, windDirection; // nullopt: the sensor is missing
    std::string directionAprs, speedAprs, temperatureAprs, rain24hAprs, rain1hAprs, humidityAprs;
    std::string absoluteAprs, relativeAprs;
    bool missing = false;
    bool calm = false; // a calm spell: fog may come
    // What the window must show of it; nullopt: the sensor is missing.
    std::optional<double> humidity, dewPoint, windChill, rainTotal, rain24hMm, rain1hMm;
    std::optional<double> absolute, relative;
    bool codesKnown = true; // forecast and tendency both among the station's
};

// Weather of a winter with cold spells, drifting by small random steps.
class Weather {
public:
    explicit Weather(std::uint32_t seed) : rng_(seed), air_(seed + 7919) {}

    Feed next(long dayIndex, double dayFraction);

private:
    long uniform(long n) { return static_cast<long>(rng_() % static_cast<std::uint32_t>(n)); }
    bool chance(long oneIn) { return uniform(oneIn) == 0; }
    static long clamp(long v, long lo, long hi) { return v < lo ? lo : v > hi ? hi : v; }

    std::mt19937 rng_;
    // Calm spells and the dew point draw from their own stream, so the rest
    // of the weather stays as it always was for a seed.
    std::mt19937 air_;
    long calm_ = 0;
    long walk_ = 0, humidity_ = 80, wind_ = 100, direction_ = 2700;
    long rain24_ = 0, rain1_ = 0, pressure_ = 10132, outage_ = 0;
    long forecast_ = 2, tendency_ = 1, storm_ = 0;
};

// The day's extremes by the store's rules: only ticks with a relative
// pressure other than 0 count.
// A missing temperature never enters the day's extremes: they stay unknown
// until the day's first reading that has one.
struct Extremes {
    bool any = false;
    std::optional<double> tMin, tMax;
    double pMin = 0, pMax = 0;
    void add(std::optional<double> t, double p) {
        if (t) {
            tMin = tMin ? std::min(*tMin, *t) : *t;
            tMax = tMax ? std::max(*tMax, *t) : *t;
        }
        if (!any) {
            any = true;
            pMin = pMax = p;
            return;
        }
        pMin = std::min(pMin, p);
        pMax = std::max(pMax, p);
    }
};

struct LogRow {
    std::string time; // "HH:MM"
    std::optional<double> temperature;
    double pressure;
    std::optional<double> windKmh, windDirection;
};

struct SummaryRow {
    std::string date; // "DD/Mon/YYYY"
    Extremes x;
};

class Soak {
public:
    Soak(const Options &options, const std::string &folder)
        : options_(options), folder_(folder), station_(io::joinPath(folder, "station")),
          out_(io::joinPath(folder, "out")), config_(io::joinPath(folder, "config.kwt")),
          weather_(options.seed), cycle_(std::make_unique<cycle::ConversionCycle>()) {
        std::filesystem::create_directories(io::nativePath(station_));
        std::filesystem::create_directories(io::nativePath(out_));
        date_ = {options.year, options.month, options.day};
        // A day has at most 1,453 ticks, one more with a restart before its
        // midnight: reserved now, the day's rows do not count as growth.
        today_.reserve(1500);
        clock_ = (static_cast<long long>(options.hour) * 3600 + options.minute * 60) * 2 + options.halfSeconds;
    }

    Figures run();

private:
    std::string out(const std::string &name) const { return io::joinPath(out_, name); }

    void fail(const std::string &what);
    void expect(bool ok, const std::string &what);

    // The choices change every day and the output folder is written with a
    // trailing separator every other week, so all of them meet every rule.
    void writeConfig();

    void tick(long k);

    void restart();

    void checkWeatherFile(const Feed &f, const station::ClockTime &now);

    void checkWindFile(const Feed &f);

    void checkWindow(const Feed &f, const cycle::TickOutcome &outcome, const Extremes &day);

    void checkStore(const Extremes &day);

    void checkLog(const Date &date, const std::vector<LogRow> &rows);

    void checkSummary(const std::string &yyyymm);

    // Nothing in the output folder but the files the readings call for.
    void checkFolder();

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

} // namespace soak::detail
