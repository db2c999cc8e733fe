// The calendar of the record files: valid dates, the day before, month names.
#include "station/calendar.h"

namespace station {
namespace {

const char *const kMonthNameIt[12] = {"gennaio", "febbraio", "marzo",     "aprile",  "maggio",   "giugno",
                                      "luglio",  "agosto",   "settembre", "ottobre", "novembre", "dicembre"};
const char *const kMonthAbbrevEn[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};

bool isLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int daysInMonth(int year, int month) {
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && isLeapYear(year) ? 29 : days[month - 1];
}

int monthIndex(int month) { return month >= 1 && month <= 12 ? month - 1 : 0; }

} // namespace

std::optional<CalendarDate> validDate(const CalendarDate &date) {
    if (date.month < 1 || date.month > 12 || date.day < 1 ||
        date.day > daysInMonth(date.year, date.month))
        return std::nullopt;
    return date;
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

const char *monthNameIt(int month) { return kMonthNameIt[monthIndex(month)]; }
const char *monthAbbrevEn(int month) { return kMonthAbbrevEn[monthIndex(month)]; }

} // namespace station
