// The day's min/max store survives restarts, so it is read back from disk
// and may have been cut short by a crash, edited by hand or overwritten by
// anything. Loading it must never give a non-number, and a tick over any
// store must keep every extreme it held: the new minimum is the lower of the
// stored one and the reading, the new maximum the higher.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "io/file_io.h"
#include "station/numbers.h"
#include "records/records.h"
#include "fuzz_support.h"

namespace {

station::WeatherReading readingAt(double temperature, double pressure) {
    station::WeatherReading r;
    r.time = {2026, 3, 7, 9, 5};
    r.outdoorTemperature = temperature;
    r.pressureRelative = pressure;
    return r;
}

std::string text(const records::DailyExtremes &x) {
    return records::recordText(x.temperatureMin) + "|" + records::recordText(x.temperatureMax) + "|" +
           numbers::numberText(x.pressureMin) + numbers::numberText(x.pressureMax);
}

std::string readAll(const std::string &path) { return fileio::readTail(path, 1 << 20).value_or("<unreadable>"); }

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string folder = fuzz_support::scratchFolder();
    const station::WeatherReading valid = readingAt(12.8, 1013.2);
    const std::string path = fileio::joinPath(folder, records::storeFileName(valid.time.date()));
    FUZZ_CHECK(fileio::realDisk().writeInPlace(path, bytes).ok, path);

    const auto stored = records::loadStore(path);
    if (stored) {
        FUZZ_CHECK(stored->temperatureMin.has_value() == stored->temperatureMax.has_value(),
                   fuzz_support::shown(bytes));
        for (const double v : {stored->temperatureMin.value_or(0), stored->temperatureMax.value_or(0),
                               stored->pressureMin, stored->pressureMax})
            FUZZ_CHECK(std::isfinite(v), fuzz_support::shown(bytes));
    }

    // A reading without pressure never starts, changes or saves a store.
    {
        records::KeptExtremes kept;
        records::RecordsOutcome out;
        records::updateDailyExtremes(readingAt(12.8, 0), folder, kept, out, fileio::realDisk());
        FUZZ_CHECK(readAll(path) == bytes, fuzz_support::shown(bytes));
    }

    // A good reading: the store afterwards holds both the old extremes and
    // this reading.
    records::KeptExtremes kept;
    records::RecordsOutcome out;
    records::updateDailyExtremes(valid, folder, kept, out, fileio::realDisk());
    FUZZ_CHECK(out.problems.empty(), out.problems.empty() ? "" : out.problems.front());
    const auto after = records::loadStore(path);
    FUZZ_CHECK(after.has_value(), fuzz_support::shown(readAll(path)));
    records::DailyExtremes expected{12.8, 12.8, 1013.2, 1013.2};
    if (stored) {
        expected.temperatureMin = std::min(stored->temperatureMin.value_or(12.8), *expected.temperatureMin);
        expected.temperatureMax = std::max(stored->temperatureMax.value_or(12.8), *expected.temperatureMax);
        expected.pressureMin = std::min(stored->pressureMin, expected.pressureMin);
        expected.pressureMax = std::max(stored->pressureMax, expected.pressureMax);
    }
    // Compared in the 15 digits the file keeps.
    FUZZ_CHECK(text(*after) == text(expected),
               fuzz_support::shown(bytes) + " -> " + fuzz_support::shown(readAll(path)));
    FUZZ_CHECK(text(kept.values) == text(expected), fuzz_support::shown(bytes));
    FUZZ_CHECK(out.shown.has_value(), fuzz_support::shown(bytes));
    return 0;
}
