// The day's min/max store survives restarts, so it is read back from disk
// and may have been cut short by a crash, edited by hand or overwritten by
// anything. Loading it must never give a non-number, and a store is taken
// only when it holds four numbers (the two temperatures may both be
// unknown). A tick over any store must keep every extreme it held: the new
// minimum is the lower of the stored one and the reading, the new maximum
// the higher; its indicators and the file agree with an account of their
// own, for readings at, beyond and a hair inside the stored extremes, with
// and without a temperature, and without a pressure (no reading at all),
// also when memory is ahead of the file after a save that failed.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "io/file_io.h"
#include "station/numbers.h"
#include "records/records.h"
#include "fuzz_support.h"

namespace {

using records::DailyExtremes;
using records::Look;
using Temperature = std::optional<double>;
using Shapes = std::array<std::optional<Look>, 4>;

station::WeatherReading readingAt(Temperature temperature, double pressure) {
    station::WeatherReading r;
    r.time = {2026, 3, 7, 9, 5};
    r.outdoorTemperature = temperature;
    r.pressureRelative = pressure;
    return r;
}

std::string text(const DailyExtremes &x) {
    return records::recordText(x.temperatureMin) + "|" + records::recordText(x.temperatureMax) + "|" +
           station::numberText(x.pressureMin) + station::numberText(x.pressureMax);
}

std::string readAll(const std::string &path) { return io::readTail(path, 1 << 20).value_or("<unreadable>"); }

bool blank(const std::string &line) { return line.find_first_not_of(' ') == std::string::npos; }

// Blanks, a sign, then a digit, or a point and a digit.
bool holdsNumber(const std::string &line) {
    std::size_t i = line.find_first_not_of(" \t");
    if (i < line.size() && (line[i] == '+' || line[i] == '-'))
        ++i;
    if (i < line.size() && line[i] == '.')
        ++i;
    return i < line.size() && line[i] >= '0' && line[i] <= '9';
}

// Whether a store of these bytes is to be taken; judged only when its first
// lines are as short as the ones this program writes.
std::optional<bool> takenAsStore(const std::string &bytes) {
    const auto lines = io::splitLines(bytes, 4);
    for (const auto &line : lines)
        if (line.size() > 32)
            return std::nullopt;
    if (lines.size() < 4)
        return false;
    const bool temperatures = (holdsNumber(lines[0]) && holdsNumber(lines[1])) || (blank(lines[0]) && blank(lines[1]));
    return temperatures && holdsNumber(lines[2]) && holdsNumber(lines[3]);
}

bool fourCrLfLines(const std::string &bytes) {
    std::size_t lines = 0;
    std::size_t at = 0;
    for (std::size_t end; (end = bytes.find_first_of("\r\n", at)) != std::string::npos; at = end + 2) {
        if (bytes.compare(end, 2, "\r\n") != 0)
            return false;
        ++lines;
    }
    return at == bytes.size() && lines == 4;
}

// What a tick must make of the stored day: an extreme that the reading
// reaches (equality included) takes the reading and lights its indicator,
// one it does not reach puts it off; a temperature the reading lacks, or a
// reading without pressure, leaves the indicators as they are. A flat or
// unknown pair is off either way. The file is written only when something
// moved, or to start the day.
struct Account {
    std::optional<DailyExtremes> shown;
    Shapes shapes;
    bool saved = false;
};

Account account(const std::optional<DailyExtremes> &stored, Temperature t, double p) {
    Account a;
    if (!stored && p == 0)
        return a;
    DailyExtremes x = stored ? *stored : DailyExtremes{t, t, p, p};
    a.saved = !stored;
    const auto reach = [&](bool reached, auto &extreme, double value, std::optional<Look> &shape, Look look) {
        shape = reached ? look : Look::Off;
        if (reached)
            extreme = value;
        a.saved = a.saved || reached;
    };
    if (p != 0) {
        if (t) {
            reach(!x.temperatureMax || *t >= *x.temperatureMax, x.temperatureMax, *t, a.shapes[0], Look::Maximum);
            reach(!x.temperatureMin || *t <= *x.temperatureMin, x.temperatureMin, *t, a.shapes[1], Look::Minimum);
        }
        reach(p >= x.pressureMax, x.pressureMax, p, a.shapes[2], Look::Maximum);
        reach(p <= x.pressureMin, x.pressureMin, p, a.shapes[3], Look::Minimum);
    }
    if (x.temperatureMin == x.temperatureMax)
        a.shapes[0] = a.shapes[1] = Look::Off;
    if (x.pressureMin == x.pressureMax)
        a.shapes[2] = a.shapes[3] = Look::Off;
    a.shown = x;
    return a;
}

} // namespace

fuzz_support::Check aStore("a file read as the day's store"), noStore("a file that is no store"),
    rewritten("a store saved with a new extreme");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string folder = fuzz_support::scratchFolder();
    const std::string path = io::joinPath(folder, records::storeFileName(readingAt(0, 0).time.date()));
    FUZZ_CHECK(io::realDisk().writeInPlace(path, bytes).ok, path);

    const auto stored = records::loadStore(path);
    (stored ? aStore : noStore).reached();
    if (stored) {
        FUZZ_CHECK(stored->temperatureMin.has_value() == stored->temperatureMax.has_value(),
                   fuzz_support::shown(bytes));
        for (const double v : {stored->temperatureMin.value_or(0), stored->temperatureMax.value_or(0),
                               stored->pressureMin, stored->pressureMax})
            FUZZ_CHECK(std::isfinite(v), fuzz_support::shown(bytes));
    }
    const auto taken = takenAsStore(bytes);
    FUZZ_CHECK(!taken || *taken == stored.has_value(), fuzz_support::shown(bytes));

    std::vector<std::pair<Temperature, double>> readings = {{12.8, 1013.2}, {std::nullopt, 1013.2}, {12.8, 0},
                                                            {std::nullopt, 0}};
    if (stored) {
        // At the stored extremes and a hair inside them: compared exactly as read.
        const double up = std::numeric_limits<double>::infinity();
        const auto inside = [](const Temperature &t, double toward) {
            return t ? Temperature(std::nextafter(*t, toward)) : std::nullopt;
        };
        readings.push_back({stored->temperatureMax, stored->pressureMin});
        readings.push_back({stored->temperatureMin, stored->pressureMax});
        readings.push_back({inside(stored->temperatureMax, -up), std::nextafter(stored->pressureMin, up)});
        readings.push_back({inside(stored->temperatureMin, up), std::nextafter(stored->pressureMax, -up)});
    }

    // Memory that a failed save left ahead of the file (its folder was away
    // for a tick) wins when the folder is back, together with what the file
    // holds beyond it, and is saved with the next reading.
    records::KeptExtremes away;
    away.date = station::dayBefore(readingAt(0, 0).time.date()); // a day this run saw begin
    {
        records::RecordsOutcome out;
        const std::string gone = io::joinPath(folder, "away");
        records::updateDailyExtremes(readingAt(-3, 1000), gone, away, out, io::realDisk());
        FUZZ_CHECK(!out.problems.empty(), "a save into a folder that is away");
    }
    DailyExtremes ahead = away.values; // -3 and 1000, both known
    if (stored) {
        const double inf = std::numeric_limits<double>::infinity();
        ahead.temperatureMin = std::min(*ahead.temperatureMin, stored->temperatureMin.value_or(inf));
        ahead.temperatureMax = std::max(*ahead.temperatureMax, stored->temperatureMax.value_or(-inf));
        ahead.pressureMin = std::min(ahead.pressureMin, stored->pressureMin);
        ahead.pressureMax = std::max(ahead.pressureMax, stored->pressureMax);
    }

    for (const auto &[t, p] : readings) {
        for (const bool behind : {false, true}) {
            FUZZ_CHECK(io::realDisk().writeInPlace(path, bytes).ok, path);
            const std::string what = fuzz_support::shown(bytes) + " with " + records::recordText(t) + " " +
                                     station::numberText(p) + (behind ? " after a save that failed" : "");
            Account expected = account(behind ? std::optional<DailyExtremes>(ahead) : stored, t, p);
            expected.saved = expected.saved || (behind && p != 0);
            records::KeptExtremes kept = behind ? away : records::KeptExtremes{};
            records::RecordsOutcome out;
            records::updateDailyExtremes(readingAt(t, p), folder, kept, out, io::realDisk());
            FUZZ_CHECK(out.problems.empty(), out.problems.empty() ? "" : out.problems.front());
            FUZZ_CHECK(out.shapes == expected.shapes, "indicators: " + what);
            FUZZ_CHECK(out.shown.has_value() == expected.shown.has_value(), what);
            const std::string now = readAll(path);
            if (!expected.saved)
                FUZZ_CHECK(now == bytes, "rewritten: " + what + " -> " + fuzz_support::shown(now));
            if (!expected.shown)
                continue;
            // Compared in the 15 digits the file keeps.
            FUZZ_CHECK(text(*out.shown) == text(*expected.shown), what);
            FUZZ_CHECK(text(kept.values) == text(*expected.shown), what);
            if (p == 0)
                continue;
            const auto after = records::loadStore(path);
            FUZZ_CHECK(after.has_value(), fuzz_support::shown(now));
            FUZZ_CHECK(text(*after) == text(*expected.shown), what + " -> " + fuzz_support::shown(now));
            if (expected.saved) {
                rewritten.reached();
                FUZZ_CHECK(fourCrLfLines(now), what + " -> " + fuzz_support::shown(now));
            }
        }
    }
    return 0;
}
