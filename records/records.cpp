// The record files' names, and the keeper that runs them on every tick.
#include "records/records.h"

#include "station/numbers.h"

namespace records {

using station::zeroPadded;

std::string storeFileName(const CalendarDate &date) {
    return "MM" + zeroPadded(date.year % 100, 2) + zeroPadded(date.month, 2) + zeroPadded(date.day, 2) + ".kwt";
}

std::string summaryFileName(const CalendarDate &date) {
    return "MM" + zeroPadded(date.year, 4) + zeroPadded(date.month, 2) + ".TXT";
}

std::string logFileName(const CalendarDate &date) {
    return zeroPadded(date.year, 4) + zeroPadded(date.month, 2) + zeroPadded(date.day, 2) + ".txt";
}

std::string recordText(const std::optional<double> &value) {
    return value ? station::numberText(*value) : std::string();
}

namespace {

// "MM261205.kwt", "MM202612.TXT", "20261205.txt": the names replaced through
// a temporary file. The folder may be shared with other programs, whose
// temporary files are not ours to remove.
bool replacedRecordFile(const std::string &name) {
    const auto digits = [&](std::size_t from, std::size_t count) {
        return name.find_first_not_of("0123456789", from) >= from + count;
    };
    if (name.size() != 12)
        return false;
    if (name.compare(0, 2, "MM") == 0 && digits(2, 6))
        return name.compare(8, 4, ".kwt") == 0 || name.compare(8, 4, ".TXT") == 0;
    return digits(0, 8) && name.compare(8, 4, ".txt") == 0;
}

} // namespace

RecordsOutcome RecordKeeper::update(const station::WeatherReading &r, const std::string &outputFolder) {
    RecordsOutcome out;
    // Once per folder and run: nothing of ours writes there between ticks,
    // so a temporary file seen now was left by a run that died.
    if (outputFolder != tidiedFolder_ && io::removeLeftoverTemporaries(outputFolder, replacedRecordFile))
        tidiedFolder_ = outputFolder;
    // The summary needs memory as the previous tick left it, before the store
    // moves it on to today.
    const KeptExtremes before = kept_;
    updateDailyExtremes(r, outputFolder, kept_, out, *disk_);
    // The summary has one chance a day, the minute 00:00: a row that it
    // could not write is owed until a later tick of the same date writes it.
    const auto today = station::validDate(r.time.date());
    // A run's first tick may follow a midnight that no copy of the program
    // saw (killed in it, the power gone, the PC off): the ended day's row
    // is owed then too, from its store, unless the summary already has it.
    if (firstTick_ && today && !r.time.isMidnight())
        owedRow_ = OwedRow{*today, std::nullopt};
    firstTick_ = false;
    const bool owed = owedRow_ && today && owedRow_->date == *today;
    if (r.time.isMidnight() || owed) {
        // Memory has moved on to the new day since a failed midnight tick.
        const auto ended = owed && owedRow_->extremes ? owedRow_->extremes
                                                      : extremesOfEndedDay(r, outputFolder, before);
        if (auto problem = writeSummaryRow(r, outputFolder, ended, *disk_)) {
            if (today)
                owedRow_ = OwedRow{*today, ended};
            out.problems.push_back(std::move(*problem));
        } else {
            owedRow_.reset();
        }
    } else if (owedRow_) {
        owedRow_.reset(); // a row is dated by its midnight: a day late is too late
    }
    if (auto problem = writeWindFile(r, outputFolder, *disk_))
        out.problems.push_back(std::move(*problem));
    if (auto problem = appendDataLog(r, outputFolder, *disk_))
        out.problems.push_back(std::move(*problem));
    return out;
}

void RecordKeeper::tickMissed(const station::ClockTime &now) {
    if (now.hour != 0 || now.minute != 0)
        return;
    const CalendarDate date = now.date();
    if (!owedRow_ || owedRow_->date != date)
        owedRow_ = OwedRow{date, std::nullopt};
}

} // namespace records
