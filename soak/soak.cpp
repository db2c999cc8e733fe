// The soak's run: its own calendar and weather, the real cycle ticked, every file held to the model.
#include "soak/soak.h"

#include <algorithm>
#include <cmath>
#include <random>

#include "cycle/tick.h"
#include "model/model.h"
#include "support/currdat.h"
#include "support/test_support.h"

#if defined(__GLIBC__) && (__GLIBC__ > 2 || __GLIBC_MINOR__ >= 33)
#include <malloc.h>
static long heapKb() { return static_cast<long>(mallinfo2().uordblks / 1024); }
#else
static long heapKb() { return 0; } // not measured here
#endif

namespace soak {
namespace {

using model::agrees;
using model::Cut;
using namespace testing_support;
using Value = std::optional<double>;
constexpr int kDay = 2 * 86400, kTick = 119; // in half-seconds

std::string pad(long v, std::size_t width) {
    const std::string s = std::to_string(v);
    return std::string(width > s.size() ? width - s.size() : 0, '0') + s;
}

// A reading written as Heavy Weather writes it, from whole units of
// 10^-decimals, and the value it stands for; "---" for a missing sensor.
Value put(std::string &field, long n, int decimals, bool missing) {
    const long scale = decimals == 1 ? 10 : decimals == 2 ? 100 : 1000, a = n < 0 ? -n : n;
    field = missing ? "---" : (n < 0 ? "-" : "") + std::to_string(a / scale) + "." + pad(a % scale, decimals);
    return missing ? Value() : Value(static_cast<double>(n) / scale);
}

bool holds(const std::string &text, Value want) { Value v; return model::numberField(text, &v) && v == want; }

struct Fed { Value c, f, degrees, absolute, relative; };

struct Run {
    Options o;
    std::string station, out, config;
    std::mt19937 rng = std::mt19937(static_cast<unsigned>(o.seed));
    int year = o.year, month = o.month, mday = o.day;
    long day = 0;             // days run
    int half = o.hour * 7200; // since the day's 00:00
    std::optional<cycle::ConversionCycle> program{std::in_place};
    Figures f{};
    Fed fed{};    // of the last tick that converted, as the files hold it
    Value sent{}; // its pressure of the chosen kind
    std::string date{}, stamp{}, lastMidnight{}, log{}, summary{};
    model::Extremes today{}, ended{};
    long cold = -180, humidity = 80, wind = 100, rain = 0, pressure = 10132, direction = 2700, outage = 0, gap = 0;

    long draw(long n) { return static_cast<long>(rng() % static_cast<unsigned long>(n)); }
    void walk(long &x, long step, long lo, long hi) { x = std::clamp(x + draw(2 * step + 1) - step, lo, hi); }

    void check(bool ok, const std::string &what) {
        if (!ok && f.failureCount++ < 20)
            f.failures.push_back(date + " +" + std::to_string(half / 2) + " s: " + what.substr(0, 300));
    }

    Figures run() {
        std::filesystem::create_directories(out);
        log.reserve(1 << 20); // a day's rows: their growth is not the program's
        long warm = 0;        // the heap in use after the first tenth of the ticks
        for (long k = 0; k < o.ticks; ++k, ++f.seen["ticks"]) {
            tick(k);
            warm = k == o.ticks / 10 ? heapKb() : warm;
        }
        // A leak of 16 bytes a tick would take 23 KiB a day.
        check(heapKb() - warm <= 64, "the heap in use grew by " + std::to_string(heapKb() - warm) + " KiB");
        return f;
    }

    // A random walk of weather, with missing sensors and spells of a relative pressure of 0.
    Fed weather(CurrdatValues &v) {
        walk(cold, 1, -220, 280);
        walk(humidity, 1, 0, 100);
        walk(wind, 8, 0, 900);
        walk(rain, draw(50) == 0 ? 40 : 0, 0, 9000);
        walk(pressure, 1, 9600, 10500);
        direction = (direction + draw(61) + 3570) % 3600;
        outage = outage > 0 ? outage - 1 : draw(700) ? 0 : draw(4) ? 1 : 1 + draw(60);
        const long c = cold + std::lround(50 * std::sin(6.2832 * static_cast<double>(half) / kDay));
        const long m = draw(300) ? 0 : 1 + draw(255); // the sensors missing
        v.outdoorHumidity = m & 2 ? "---" : std::to_string(humidity);
        put(v.windMph, wind * 621 / 1000, 1, m & 4), put(v.windKmh, wind, 1, m & 4);
        put(v.rain24hInch, rain, 3, m & 16), put(v.rain1hInch, rain / 7, 3, m & 32);
        const Fed x{put(v.outdoorC, c, 1, m & 1), put(v.outdoorF, c * 9 / 5 + 320, 1, m & 1),
                    put(v.windDirection, direction, 1, m & 8),
                    put(v.pressureAbsolute, (pressure - 770) * 10 + draw(10), 2, m & 64),
                    put(v.pressureRelative, outage > 0 ? 0 : pressure, 1, m & 128)};
        f.seen["ticks with pressure 0"] += x.relative == 0.0;
        f.seen["ticks missing a sensor"] += m != 0;
        return x;
    }

    void tick(long k) {
        const bool newDay = half >= kDay || k == 0;
        if (newDay && k > 0) {
            // A calendar of its own, never the program's date arithmetic
            // (every fourth year a leap year, as until 2100).
            if (++mday > (month == 2 ? 28 + (year % 4 == 0) : 30 + (month + month / 8) % 2))
                mday = 1, month = month % 12 + 1, year += month == 1, summary.clear();
            ++day;
            half %= kDay;
            ended = today;
            today = {};
            log.clear();
        }
        if (newDay) // each day other choices: all three APRS ones, both pressures, a final separator or none
            writeBytes(config, std::to_string(1 + day % 3) + (day % 2 ? "\r\n1\r\n" : "\r\n2\r\n") + station + "\r\n" +
                                   out.substr(0, out.size() - day / 7 % 2) + "\r\n");
        const station::ClockTime now{year, month, mday, half / 7200, half / 120 % 60};
        date = pad(now.year, 4) + pad(now.month, 2) + pad(now.day, 2);
        const bool midnight = now.hour == 0 && now.minute == 0, firstMidnight = midnight && lastMidnight != date;
        // currdat.lst missing now and then, never at midnight: the summary row
        // such a midnight owes is the fault matrix's.
        gap = gap > 0 ? gap - 1 : draw(500) ? 0 : 1 + draw(5);
        const bool converted = midnight || gap == 0;
        CurrdatValues v;
        fed = converted ? weather(v) : fed;
        if (converted)
            writeBytes(station + "currdat.lst", currdatFile(v));
        else
            f.seen["ticks without currdat.lst"] += std::filesystem::remove(station + "currdat.lst") || true;
        const auto outcome = program->tick({config, now, {}});
        check(converted == (outcome.gate == cycle::Gate::Converted), "converted or not, against currdat.lst");
        check(!converted || outcome.problems.empty(), outcome.problems.empty() ? "" : outcome.problems[0]);
        if (converted) {
            stamp = std::string(model::kMonths[now.month - 1]) + " " + date.substr(6) + " " + date.substr(0, 4) + " " +
                    pad(now.hour, 2) + ":" + pad(now.minute, 2);
            sent = day % 2 ? fed.absolute : fed.relative;
            today.add(fed.c, fed.relative.value_or(0));
        }
        f.seen["midnights"] += firstMidnight;
        f.seen["midnights with two ticks"] += midnight && !firstMidnight;
        lastMidnight = midnight ? date : lastMidnight;
        checkFiles(converted, firstMidnight && ended.pMin);

        // Restarts, memory lost and files kept: now and then, and before some
        // midnights, whose first tick then falls on 00:00:00.0 and gets a
        // second in its minute; every other day once more between those two.
        half += kTick;
        if ((k + 1) % o.restartEvery == 0 || (half == kTick && day % 2 == 0) || (half >= kDay && day % 3 == 0)) {
            half = std::min(half, kDay);
            program.emplace();
            ++f.seen["restarts"];
        }
        if ((k + 1) % o.restartEvery == 0 && half > 4 * 7200) // the clock set back an hour, times of the day again
            half -= 7200, ++f.seen["clock set back"];
    }

    void checkFiles(bool converted, bool newRow) {
        const std::string meteo = readBytes(out + "my_meteo.txt");
        const auto lines = model::crlfLines(meteo);
        const auto r = lines && lines->size() == 2 ? model::readDataLine((*lines)[1]) : std::nullopt;
        // Each field's rounding is fuzz_currdat's; here the day's choice of pressure.
        check(r && (*lines)[0] == stamp && agrees(r->direction, fed.degrees, 0, 360, Cut::Down) &&
                  agrees(r->temperatureF, fed.f, -99, 999, Cut::TowardZero) &&
                  agrees(r->pressure, sent ? Value(*sent * 10) : sent, 0, 99999, Cut::Down),
              "my_meteo.txt: " + meteo);

        // The log and the summary keep what they held, and gain one line or none.
        const auto grew = [&](const std::string &name, std::string &before, const char *header, bool by) {
            const std::string bytes = readBytes(out + name);
            if (before.empty() && by)
                before.assign(header).append("\r\n");
            const auto added = model::crlfLines(bytes.substr(std::min(bytes.size(), before.size())));
            const bool ok = bytes.compare(0, before.size(), before) == 0 && added && added->size() == (by ? 1U : 0U);
            check(ok, name + " lost lines or gained other than " + (by ? "one" : "none"));
            before = ok && by ? bytes : before;
            return ok && by ? added->front() : std::string();
        };
        const std::string row = grew(date + ".txt", log, model::kLogHeader, converted);
        check(!converted || (model::logRow(row) && row.rfind(date + " ; " + stamp.substr(12) + " ; ", 0) == 0),
              "log row: " + row);
        const std::string line = grew("MM" + date.substr(0, 6) + ".TXT", summary, model::kSummaryHeader, newRow);
        const auto x = model::split(line, " ; ");
        check(!newRow || (model::summaryRow(line) && x[0] == stamp.substr(4, 2) + "/" + stamp.substr(0, 3) + "/" +
                          date.substr(0, 4) && holds(x[1], ended.tMin) && holds(x[2], ended.tMax) &&
                          holds(x[3], ended.pMin) && holds(x[4], ended.pMax)),
              "summary row: " + line);
        f.seen["summary rows"] += newRow;
    }
};

} // namespace

Figures run(const Options &options, const std::string &folder) {
    return Run{options, folder + "/", folder + "/out/", folder + "/config.kwt"}.run();
}

} // namespace soak
