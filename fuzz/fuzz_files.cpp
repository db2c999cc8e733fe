// The files that anything may have edited, cut short or overwritten, each
// holding the input's bytes. config.kwt: a choice is its very code ("2", not
// " 2" or "02") or else the first; the folders come back as the very bytes of
// the file; what was read writes back and reads again as the same lines, and
// writes twice as the same bytes. (The dialogs' saves, carrying the lines they
// do not own: gui_option_dialogs, gui_startup.)
// The day's min/max store: taken with finite values only; ticks over it (a
// hair inside its extremes, at them, without a temperature, without a
// pressure) keep the day's extremes as the rule does fed the same ticks; a
// lamp lights when its reading reaches its extreme, equality included; the
// file is rewritten only when a reading reaches an extreme, and then in its own
// form. (Memory ahead of a file a save missed: test_records.)
// The monthly summary and the data log, appended to below whatever they hold,
// never shrink and none of it changes; the new row stands on a line of its own
// in the file's form; the summary's row carries the ended day's values and
// comes once per date. (A write that fails part-way: the fault matrix.)

#include <cmath>
#include <cstdint>

#include "fuzz_support.h"
#include "io/text_codec.h"
#include "model/model.h"
#include "records/records.h"
#include "settings/config.h"
#include "station/numbers.h"

using records::Look;
using Value = std::optional<double>;

fuzz_support::Check whole("a config of four lines"), shorter("a config of fewer lines"),
    aStore("a file read as the day's store"), noStore("a file that is no store"),
    rewritten("a store saved with a new extreme"), kept("a store kept as it was"), rowAdded("a summary row appended"),
    rowThere("a summary that has the date's row"), lineEndAdded("a row after a last line without its line end");

std::string put(const std::string &name, const std::string &bytes) {
    const std::string path = io::joinPath(fuzz_support::scratchFolder(), name);
    return FUZZ_CHECK(io::realDisk().writeInPlace(path, bytes).ok), path;
}

// A choice's place from 0 on.
int choice(const std::string &line, char last) {
    return line.size() == 1 && line[0] > '1' && line[0] <= last ? line[0] - '1' : 0;
}

void config(const std::string &bytes) {
    const auto raw = settings::readConfigLines(put(settings::kConfigFileName, bytes));
    FUZZ_CHECK(raw.has_value());
    (raw->present == 4 ? whole : shorter).reached();
    const settings::Config s = settings::configFrom(*raw);
    FUZZ_CHECK(static_cast<int>(s.aprsChoice) == choice(raw->line[0], '3') &&
               static_cast<int>(s.pressureChoice) == choice(raw->line[1], '2'));
    FUZZ_CHECK(io::utf8ToCp1252(s.heavyWeatherFolder) == raw->line[2] &&
               io::utf8ToCp1252(s.outputFolder) == raw->line[3]);
    const std::string formatted = settings::formatConfig(*raw);
    const auto again = settings::readConfigLines(put(settings::kConfigFileName, formatted));
    FUZZ_CHECK(again && again->present == 4 && again->line == raw->line && settings::formatConfig(*again) == formatted);
}

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

void store(const std::string &bytes) {
    station::WeatherReading r;
    r.time = {2026, 3, 7, 9, 5};
    const std::string path = put(records::storeFileName(r.time.date()), bytes);
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
        records::updateDailyExtremes(r, fuzz_support::scratchFolder(), memory, out, io::realDisk());
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
}

// The row a write added below `before`, after the line end that finishes
// an unfinished last line (or the LF of a CR LF cut after its CR), or on a
// month's first day below the header of a file started afresh; nullopt when
// it added nothing.
template <typename Write>
std::optional<std::string> added(const std::string &name, const std::string &before, bool afresh, Write write) {
    const std::string path = put(name, before);
    FUZZ_CHECK(!write());
    const std::string after = io::readTail(path, 1 << 20).value_or("");
    const std::string end = before.empty() || before.back() == '\n' ? "" : before.back() == '\r' ? "\n" : "\r\n";
    if (after == before)
        return std::nullopt;
    if (!end.empty() && !afresh)
        lineEndAdded.reached();
    const std::string kept = afresh ? std::string(model::kSummaryHeader) + "\r\n" : before + end;
    const auto lines = model::crlfLines(after.substr(std::min(after.size(), kept.size())));
    FUZZ_CHECK(after.compare(0, kept.size(), kept) == 0 && lines && lines->size() == 1);
    return lines->front();
}

void appended(const std::string &before) {
    const std::string folder = fuzz_support::scratchFolder();
    station::WeatherReading r; // no sensor: its log columns are empty
    // The midnight of a 7th, for a day with temperatures, and of a 1st, for
    // one without.
    const records::DailyExtremes days[] = {{-1.5, 9.25, 1003.1, 1015.8}, {std::nullopt, std::nullopt, 1003.1, 1015.8}};
    for (int month = 3; month <= 4; ++month) {
        const records::DailyExtremes &ended = days[month - 3];
        r.time = {2026, month, month == 3 ? 7 : 1, 0, 0};
        const std::string name = records::summaryFileName(r.time.date());
        const auto row = added(name, before, month == 4, [&] { return records::writeSummaryRow(r, folder, ended); });
        const auto once = io::readTail(io::joinPath(folder, name), 1 << 20);
        FUZZ_CHECK(!records::writeSummaryRow(r, folder, ended) &&
                   io::readTail(io::joinPath(folder, name), 1 << 20) == once);
        (row ? rowAdded : rowThere).reached();
        const auto fields = model::split(row.value_or(""), " ; ");
        const auto holds = [&](int i, Value want) { Value v; return model::numberField(fields[i], &v) && v == want; };
        FUZZ_CHECK(!row || (model::summaryRow(*row) && fields[0] == (month == 3 ? "07/Mar/2026" : "01/Apr/2026") &&
                            holds(1, ended.temperatureMin) && holds(2, ended.temperatureMax) &&
                            holds(3, ended.pressureMin) && holds(4, ended.pressureMax)));
    }
    // The day's log: one row per tick.
    r.time = {2026, 3, 7, 0, 0};
    const auto row = added(records::logFileName(r.time.date()), before, false,
                           [&] { return records::appendDataLog(r, folder); });
    FUZZ_CHECK(row && model::logRow(*row) && row->rfind("20260307 ; 00:00 ; ", 0) == 0);
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    config(bytes);
    store(bytes);
    appended(bytes);
    return 0;
}
