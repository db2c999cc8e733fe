#pragma once
// The local date and time of a tick, passed in so that tests and the soak
// set the clock, and the calendar that the record files are named by.

#include <optional>
#include <string>

namespace station {

struct CalendarDate {
    int year = 0;
    int month = 0; // 1..12
    int day = 0;   // 1..31
};
inline bool operator==(const CalendarDate &a, const CalendarDate &b) {
    return a.year == b.year && a.month == b.month && a.day == b.day;
}
inline bool operator!=(const CalendarDate &a, const CalendarDate &b) { return !(a == b); }

struct ClockTime {
    int year = 2000;
    int month = 1; // 1..12
    int day = 1;   // 1..31
    int hour = 0;  // 0..23
    int minute = 0;

    CalendarDate date() const { return {year, month, day}; }
    // The minute 00:00, when a day's summary row is due.
    bool isMidnight() const { return hour == 0 && minute == 0; }
};

// nullopt when the fields name no day of the calendar (30 February).
std::optional<CalendarDate> validDate(const CalendarDate &date);
// The day before, across month and year ends and 29 February.
CalendarDate dayBefore(CalendarDate date);

// "marzo", "Mar": from the program's own tables, never from the regional
// settings; a month outside 1..12 counts as January.
const char *monthNameIt(int month);
const char *monthAbbrevEn(int month);

} // namespace station
