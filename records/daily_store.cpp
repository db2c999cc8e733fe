// The day's min/max store: loaded, compared with the reading, saved when moved.
#include <algorithm>

#include "station/numbers.h"
#include "records/records.h"
#include "records/records_internal.h"

namespace records {
namespace {

// Far more than a number written by numberText needs.
constexpr std::size_t kStoreLineLength = 64;

DailyExtremes seededBy(const station::WeatherReading &r) {
    const double p = station::orZero(r.pressureRelative);
    return {r.outdoorTemperature, r.outdoorTemperature, p, p};
}

// The lower or higher of two values, either of which may be unknown.
std::optional<double> lower(const std::optional<double> &a, const std::optional<double> &b) {
    return a && b ? std::min(*a, *b) : a ? a : b;
}
std::optional<double> higher(const std::optional<double> &a, const std::optional<double> &b) {
    return a && b ? std::max(*a, *b) : a ? a : b;
}

DailyExtremes widest(const DailyExtremes &a, const DailyExtremes &b) {
    return {lower(a.temperatureMin, b.temperatureMin), higher(a.temperatureMax, b.temperatureMax),
            std::min(a.pressureMin, b.pressureMin), std::max(a.pressureMax, b.pressureMax)};
}

std::string storeText(const DailyExtremes &x) {
    return recordText(x.temperatureMin) + "\r\n" + recordText(x.temperatureMax) + "\r\n" +
           station::numberText(x.pressureMin) + "\r\n" + station::numberText(x.pressureMax) + "\r\n";
}

} // namespace

std::optional<DailyExtremes> loadStore(const std::string &path) {
    if (path.empty())
        return std::nullopt;
    const auto lines = io::readLines(path, 4, kStoreLineLength);
    if (!lines || lines->size() < 4)
        return std::nullopt;
    std::optional<double> values[4];
    for (std::size_t i = 0; i < 4; ++i) {
        // An empty temperature line is a day without a temperature yet.
        if (i < 2 && (*lines)[i].find_first_not_of(' ') == std::string::npos)
            continue;
        // A line without a number would load as 0 and become a minimum that
        // never happened; the day starts afresh instead.
        values[i] = station::parseLeadingNumber((*lines)[i]);
        if (!values[i])
            return std::nullopt;
    }
    // Both temperatures or neither: one alone is no store of this program's.
    if (values[0].has_value() != values[1].has_value())
        return std::nullopt;
    return DailyExtremes{values[0], values[1], *values[2], *values[3]};
}

void updateDailyExtremes(const station::WeatherReading &r, const std::string &outputFolder, KeptExtremes &kept,
                         RecordsOutcome &out, const io::Disk &disk) {
    const auto today = station::validDate(r.time.date());
    const std::string name = storeFileName(r.time.date());
    const std::string path = io::joinPath(outputFolder, name);
    // A relative pressure of exactly 0 is no reading at all: it may show the
    // day's store but never starts, changes or saves one.
    const bool valid = station::orZero(r.pressureRelative) != 0;
    // Memory that a failed save left ahead of the file belongs to today only.
    const bool ahead = kept.aheadOfFile && today && kept.date == today;
    const auto stored = loadStore(path);
    const KeptExtremes before = kept;

    DailyExtremes x;
    bool rewriteNeeded = false;
    bool seeded = false;
    if (ahead) {
        // The file is stale, or missing when the folder was away; what it may
        // hold beyond memory (another day start, a restart) is kept too.
        x = stored ? widest(kept.values, *stored) : kept.values;
        rewriteNeeded = true;
    } else if (stored) {
        x = *stored;
    } else if (today && kept.date == today) {
        // The store of a day this run already knows cannot be read (its
        // folder is away) or is gone: memory holds it.
        x = kept.values;
        rewriteNeeded = true;
    } else if (valid) {
        x = seededBy(r);
        rewriteNeeded = true;
        seeded = true;
    } else {
        out.shapes = {};
        out.shown.reset();
        return;
    }

    out.shapes = {};
    if (valid) {
        const double p = station::orZero(r.pressureRelative);
        const auto check = [&](bool reached, auto &field, double value, std::size_t shape, Look look) {
            if (reached) {
                field = value;
                rewriteNeeded = true;
                out.shapes[shape] = look;
            } else {
                out.shapes[shape] = Look::Off;
            }
        };
        // A missing temperature is no extreme: its indicators keep their look.
        if (const auto &t = r.outdoorTemperature) {
            check(!x.temperatureMax || *t >= *x.temperatureMax, x.temperatureMax, *t, 0, Look::Maximum);
            check(!x.temperatureMin || *t <= *x.temperatureMin, x.temperatureMin, *t, 1, Look::Minimum);
        }
        check(p >= x.pressureMax, x.pressureMax, p, 2, Look::Maximum);
        check(p <= x.pressureMin, x.pressureMin, p, 3, Look::Minimum);
    }
    // A flat pair is no extreme: both its indicators go off.
    if (x.temperatureMax == x.temperatureMin)
        out.shapes[0] = out.shapes[1] = Look::Off;
    if (x.pressureMax == x.pressureMin)
        out.shapes[2] = out.shapes[3] = Look::Off;

    kept.values = x;
    kept.date = today;
    kept.aheadOfFile = ahead;
    if (rewriteNeeded && valid) {
        std::optional<std::string> problem = detail::folderProblem(name, outputFolder);
        if (!problem)
            problem = detail::problemOf(disk.replaceAtomically(path, storeText(x)), name, outputFolder);
        if (problem)
            out.problems.push_back(std::move(*problem));
        // A day started by an unsaved reading is a guess, unless this run
        // saw the day before end: a store it cannot read may hold more.
        if (problem && seeded && !(today && before.date == station::dayBefore(*today))) {
            kept = before;
            out.shapes.fill(Look::Off);
            out.shown.reset();
            return;
        }
        kept.aheadOfFile = problem.has_value();
    }
    out.shown = x;
}

} // namespace records
