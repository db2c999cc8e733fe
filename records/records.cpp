#include "records/records.h"

#include <charconv>

namespace records {
namespace {

std::optional<int> wholeNumber(const std::string &text) {
    int value = 0;
    const char *end = text.data() + text.size();
    const auto res = std::from_chars(text.data(), end, value);
    if (text.empty() || res.ec != std::errc() || res.ptr != end)
        return std::nullopt;
    return value;
}

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

std::string twoDigits(int value) {
    value %= 100;
    if (value < 0)
        value = -value;
    return std::string(1, static_cast<char>('0' + value / 10)) + static_cast<char>('0' + value % 10);
}

std::string lastTwo(const std::string &text) { return text.size() > 2 ? text.substr(text.size() - 2) : text; }

} // namespace

std::optional<CalendarDate> readingDate(const station::WeatherReading &r) {
    const auto year = wholeNumber(r.year);
    const auto month = wholeNumber(r.month);
    const auto day = wholeNumber(r.day);
    if (!year || !month || !day || *month < 1 || *month > 12 || *day < 1 || *day > daysInMonth(*year, *month))
        return std::nullopt;
    return CalendarDate{*year, *month, *day};
}

CalendarDate dayBefore(CalendarDate date) {
    if (--date.day >= 1)
        return date;
    if (--date.month < 1) {
        date.month = 12;
        --date.year;
    }
    date.day = daysInMonth(date.year, date.month);
    return date;
}

std::string storeFileName(const station::WeatherReading &r) {
    return "MM" + lastTwo(r.year) + r.month + r.day + ".kwt";
}

std::string storeFileName(const CalendarDate &date) {
    return "MM" + twoDigits(date.year) + twoDigits(date.month) + twoDigits(date.day) + ".kwt";
}

std::string summaryFileName(const station::WeatherReading &r) { return "MM" + r.year + r.month + ".TXT"; }

std::string logFileName(const station::WeatherReading &r) { return r.year + r.month + r.day + ".txt"; }

RecordsOutcome RecordKeeper::update(const station::WeatherReading &r, const std::string &outputFolder) {
    RecordsOutcome out;
    // The summary needs memory as the previous tick left it, before the store
    // moves it on to today.
    const KeptExtremes before = kept_;
    updateDailyExtremes(r, outputFolder, kept_, out);
    // The summary has one chance a day, the minute 00:00: a row that it
    // could not write is owed until a later tick of the same date writes it.
    const auto today = readingDate(r);
    const bool owed = owedRow_ && today && owedRow_->date == *today;
    if (r.isMidnight() || owed) {
        // Memory has moved on to the new day since a failed midnight tick.
        const auto ended = owed && owedRow_->extremes ? owedRow_->extremes
                                                      : extremesOfEndedDay(r, outputFolder, before);
        if (auto problem = writeSummaryRow(r, outputFolder, ended)) {
            if (today)
                owedRow_ = OwedRow{*today, ended};
            out.problems.push_back(std::move(*problem));
        } else {
            owedRow_.reset();
        }
    } else if (owedRow_) {
        owedRow_.reset(); // a row is dated by its midnight: a day late is too late
    }
    if (auto problem = writeWindFile(r, outputFolder))
        out.problems.push_back(std::move(*problem));
    if (auto problem = appendDataLog(r, outputFolder))
        out.problems.push_back(std::move(*problem));
    return out;
}

void RecordKeeper::tickMissed(const station::ClockTime &now) {
    if (now.hour != 0 || now.minute != 0)
        return;
    const CalendarDate date{now.year, now.month, now.day};
    if (!owedRow_ || owedRow_->date != date)
        owedRow_ = OwedRow{date, std::nullopt};
}

} // namespace records
