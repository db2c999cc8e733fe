// The day's min/max store survives restarts, so it is read back from disk
// and may have been cut short, edited by hand or overwritten by anything.
// Whatever it holds, a store is taken with finite values only; ticks over it
// (at its extremes, a hair inside them, without a temperature, without a
// pressure) keep the day's extremes as the rule does fed the same ticks;
// each lamp lights when its reading reaches its extreme, equality included;
// the file is rewritten only when a reading reaches an extreme, and then in
// its own form.

#include <cmath>
#include <cstdint>
#include <limits>

#include "fuzz_support.h"
#include "model/model.h"
#include "records/records.h"
#include "station/numbers.h"

namespace {

fuzz_support::Check aStore("a file read as the day's store"), noStore("a file that is no store"),
    rewritten("a store saved with a new extreme"), kept("a store kept as it was");

using records::Look;
using Value = std::optional<double>;

std::string text(Value tMin, Value tMax, Value pMin, Value pMax) {
    std::string out;
    for (const Value &v : {tMin, tMax, pMin, pMax})
        out += (v ? station::numberText(*v) : "none") + "|";
    return out;
}
std::string text(const records::DailyExtremes &x) {
    return text(x.temperatureMin, x.temperatureMax, x.pressureMin, x.pressureMax);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    station::WeatherReading r;
    r.time = {2026, 3, 7, 9, 5};
    const std::string folder = fuzz_support::scratchFolder();
    const std::string path = io::joinPath(folder, records::storeFileName(r.time.date()));
    FUZZ_CHECK(io::realDisk().writeInPlace(path, bytes).ok);

    const auto stored = records::loadStore(path);
    (stored ? aStore : noStore).reached();
    model::Extremes day;
    std::vector<std::pair<Value, double>> ticks = {{12.8, 0}, {12.8, 1013.2}, {std::nullopt, 1013.2}, {std::nullopt, 0}};
    if (stored) {
        const auto &s = *stored;
        FUZZ_CHECK(s.temperatureMin.has_value() == s.temperatureMax.has_value() && std::isfinite(s.pressureMin) &&
                   std::isfinite(s.pressureMax) && std::isfinite(s.temperatureMin.value_or(0)) &&
                   std::isfinite(s.temperatureMax.value_or(0)));
        day = {s.temperatureMin, s.temperatureMax, s.pressureMin, s.pressureMax};
        const double up = std::numeric_limits<double>::infinity();
        const auto inside = [](Value t, double toward) { return t ? Value(std::nextafter(*t, toward)) : t; };
        ticks.insert(ticks.begin(), {{inside(day.tMax, -up), std::nextafter(s.pressureMin, up)},
                                     {inside(day.tMin, up), std::nextafter(s.pressureMax, -up)},
                                     {day.tMax, s.pressureMin}, {day.tMin, s.pressureMax}});
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
        const std::string expected = text(day.tMin, day.tMax, day.pMin, day.pMax);
        FUZZ_CHECK(out.problems.empty() && out.shown.has_value() == day.pMin.has_value());
        FUZZ_CHECK(!out.shown || text(*out.shown) == expected);
        // A lamp of a pair that is flat or unknown is off; one without a
        // reading of its own keeps its look.
        const auto lamp = [&](Value v, Value lo, Value hi, Value extreme, Look lit) -> std::optional<Look> {
            if (!day.pMin || !v || p == 0)
                return day.pMin && lo == hi ? std::optional<Look>(Look::Off) : std::nullopt;
            return lo == hi || *v != *extreme ? Look::Off : lit;
        };
        const std::array<std::optional<Look>, 4> lamps = {
            lamp(t, day.tMin, day.tMax, day.tMax, Look::Maximum), lamp(t, day.tMin, day.tMax, day.tMin, Look::Minimum),
            lamp(p, day.pMin, day.pMax, day.pMax, Look::Maximum), lamp(p, day.pMin, day.pMax, day.pMin, Look::Minimum)};
        FUZZ_CHECK(out.shapes == lamps);

        const std::string now = io::readTail(path, 1 << 20).value_or("");
        (now == before ? kept : rewritten).reached();
        const bool reaches = p != 0 && (!was.pMin || (t && (!was.tMin || *t <= *was.tMin || *t >= *was.tMax)) ||
                                        p <= *was.pMin || p >= *was.pMax);
        FUZZ_CHECK(reaches || now == before);
        FUZZ_CHECK(!reaches || (model::storeFile(now) && records::loadStore(path) &&
                                text(*records::loadStore(path)) == expected));
        // The next tick starts from the file, which keeps 15 digits.
        for (Value *v : {&day.tMin, &day.tMax, &day.pMin, &day.pMax})
            *v = *v ? Value(station::leadingNumber(station::numberText(**v))) : *v;
    }
    return 0;
}
