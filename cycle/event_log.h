#pragma once
// The program's own record of what happened while nobody watched:
// meteo-aprs-eventi.txt in the working folder, one line per event with its
// date and time (start and end of the program, each problem of the status
// line on its first and last tick). Appended in CP1252 with CR LF, kept to
// about 1 MB with one older file beside it. It is only a record: a line that
// cannot be written is dropped and nothing else changes.

#include <cstdint>
#include <string>
#include <vector>

#include "io/file_io.h"
#include "station/calendar.h"

namespace cycle {

inline constexpr const char *kEventLogFileName = "meteo-aprs-eventi.txt";
inline constexpr const char *kOlderEventLogFileName = "meteo-aprs-eventi.1.txt";
inline constexpr std::uintmax_t kEventLogLimitBytes = 1024 * 1024;

class EventLog {
public:
    explicit EventLog(const io::Disk &disk = io::realDisk(), std::string path = kEventLogFileName,
                      std::string olderPath = kOlderEventLogFileName)
        : disk_(&disk), path_(std::move(path)), olderPath_(std::move(olderPath)) {}

    void programStarted(const station::ClockTime &now, const std::string &version);
    // Every problem the status line shows now (the cycle's and the sends').
    // A problem is the same one while its words before the first digit or
    // colon stay the same, so that "da 45 minuti" or a longer pause before
    // the next try is no new event; its last text is recorded at its end.
    void problemsNow(const station::ClockTime &now, const std::vector<std::string> &problems);
    // Problems still on view are recorded as lasting to the end.
    void programEnded(const station::ClockTime &now);

private:
    struct Open {
        std::string key, text;
        station::ClockTime first, last;
    };
    void write(const std::vector<std::string> &lines) const;

    const io::Disk *disk_;
    std::string path_, olderPath_;
    std::vector<Open> open_;
};

} // namespace cycle
