// The record files' names, and the keeper that runs them on every tick.
#include "records/records.h"

#include "station/numbers.h"

namespace records {

using numbers::zeroPadded;

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
    return value ? numbers::numberText(*value) : std::string();
}

RecordsOutcome RecordKeeper::update(const station::WeatherReading &r, const std::string &outputFolder) {
    RecordsOutcome out;
    // The summary needs memory as the previous tick left it, before the store
    // moves it on to today.
    const KeptExtremes before = kept_;
    updateDailyExtremes(r, outputFolder, kept_, out, *disk_);
    // The summary has one chance a day, the minute 00:00: a row that it
    // could not write is owed until a later tick of the same date writes it.
    const auto today = station::validDate(r.time.date());
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
