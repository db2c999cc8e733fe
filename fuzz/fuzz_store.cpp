// The day's min/max store survives restarts, so it is read back from disk
// and may have been cut short, edited by hand or overwritten by anything.
// Whatever it holds, a store is taken with finite values only; ticks over it
// (a hair inside its extremes, at them, without a temperature, without a
// pressure) keep the day's extremes as the rule does fed the same ticks;
// a lamp lights when its reading reaches its extreme, equality included;
// the file is rewritten only when a reading reaches an extreme, and then in
// its own form. (Memory ahead of a file a save missed: test_records.)

#include <cmath>
#include <cstdint>

#include "fuzz_support.h"
#include "model/model.h"
#include "records/records.h"
#include "station/numbers.h"

using records::Look;
using Value = std::optional<double>;

fuzz_support::Check aStore("a file read as the day's store"), noStore("a file that is no store"),
    rewritten("a store saved with a new extreme"), kept("a store kept as it was");

model::Extremes of(const records::DailyExtremes &x) {
    return {x.temperatureMin, x.temperatureMax, x.pressureMin, x.pressureMax};
}

// In the 15 digits the file keeps.
std::string text(const model::Extremes &x) {
    std::string out;
    for (const Value &v : {x.tMin, x.tMax, x.pMin, x.pMax})
        out += (v ? station::numberText(*v) : "none") + "|";
    return out;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    station::WeatherReading r;
    r.time = {2026, 3, 7, 9, 5};
    const std::string folder = fuzz_support::scratchFolder();
    const std::string path = io::joinPath(folder, records::storeFileName(r.time.date()));
    FUZZ_CHECK(io::realDisk().writeInPlace(path, std::string(reinterpret_cast<const char *>(data), size)).ok);
    const auto stored = records::loadStore(path);
    (stored ? aStore : noStore).reached();
    model::Extremes day = stored ? of(*stored) : model::Extremes{};
    std::vector<std::pair<Value, double>> ticks = {{12.8, 0}, {12.8, 1013.2}, {{}, 1013.2}, {{}, 0}};
    if (stored) {
        FUZZ_CHECK(day.tMin.has_value() == day.tMax.has_value() &&
                   std::isfinite(day.tMin.value_or(0) + day.tMax.value_or(0) + *day.pMin + *day.pMax));
        const auto hair = [](Value v, double toward) { return v ? Value(std::nextafter(*v, toward)) : v; };
        ticks.insert(ticks.begin(), {{hair(day.tMax, -1e300), *hair(day.pMin, 1e300)},
                                     {hair(day.tMin, 1e300), *hair(day.pMax, -1e300)},
                                     {day.tMax, *day.pMin}, {day.tMin, *day.pMax}});
    }
    records::KeptExtremes memory;
    for (const auto &[t, p] : ticks) {
        const std::string before = io::readTail(path, 1 << 20).value_or("");
        const model::Extremes was = day;
        day.add(t, p);
        r.outdoorTemperature = t;
        r.pressureRelative = p;
        records::RecordsOutcome out;
        records::updateDailyExtremes(r, folder, memory, out, io::realDisk());
        FUZZ_CHECK(out.problems.empty() && out.shown.has_value() == day.pMin.has_value() &&
                   (!out.shown || text(of(*out.shown)) == text(day)));
        // A lamp of a flat or unknown pair is off; without a reading of its
        // own a lamp keeps its look.
        const auto lamp = [&, p = p](Value v, Value lo, Value hi, Value extreme, Look lit) -> std::optional<Look> {
            if (!day.pMin || !v || p == 0)
                return day.pMin && lo == hi ? std::optional<Look>(Look::Off) : std::nullopt;
            return lo == hi || *v != *extreme ? Look::Off : lit;
        };
        FUZZ_CHECK(out.shapes[0] == lamp(t, day.tMin, day.tMax, day.tMax, Look::Maximum) &&
                   out.shapes[1] == lamp(t, day.tMin, day.tMax, day.tMin, Look::Minimum) &&
                   out.shapes[2] == lamp(p, day.pMin, day.pMax, day.pMax, Look::Maximum) &&
                   out.shapes[3] == lamp(p, day.pMin, day.pMax, day.pMin, Look::Minimum));
        const std::string now = io::readTail(path, 1 << 20).value_or("");
        (now == before ? kept : rewritten).reached();
        const bool reaches = p != 0 && (!was.pMin || (t && (!was.tMin || *t <= *was.tMin || *t >= *was.tMax)) ||
                                        p <= *was.pMin || p >= *was.pMax);
        const auto back = records::loadStore(path);
        FUZZ_CHECK(reaches ? model::storeFile(now) && back && text(of(*back)) == text(day) : now == before);
        day = reaches ? of(*back) : day; // the next tick starts from the file
    }
    return 0;
}
