// The day's data log: a header, then one row appended per reading.
#include "station/numbers.h"
#include "records/records.h"
#include "records/records_internal.h"

namespace records {
namespace {

const char *const kLogHeader = "Data ; Ora ; T_int ; H_int ; Pres_ass ; Press_rel ; T_ext ; H_ext ; Vel_vento ; "
                               "Dir_vento ; Dewpoint ; Windchill ; Precip_1H ; Precip_24H ; Precip_TOT \r\n";

std::string logRow(const station::WeatherReading &r) {
    const station::ClockTime &t = r.time;
    std::string row = station::zeroPadded(t.year, 4) + station::zeroPadded(t.month, 2) + station::zeroPadded(t.day, 2) +
                      " ; " + station::zeroPadded(t.hour, 2) + ":" + station::zeroPadded(t.minute, 2);
    // A missing sensor leaves its field empty: spreadsheets draw a gap, not a 0.
    for (const station::Value &value :
         {r.indoorTemperature, r.indoorHumidity, r.pressureAbsolute, r.pressureRelative, r.outdoorTemperature,
          r.outdoorHumidity, r.windSpeed, r.windDirection, r.dewPoint, r.windChill, r.rain1h, r.rain24h, r.rainTotal})
        row += " ; " + recordText(value);
    return row + "\r\n";
}

} // namespace

std::optional<std::string> appendDataLog(const station::WeatherReading &r, const std::string &outputFolder,
                                         const io::Disk &disk) {
    const std::string name = logFileName(r.time.date());
    if (auto problem = detail::folderProblem(name, outputFolder))
        return problem;
    const std::string path = io::joinPath(outputFolder, name);
    // A new day's file gets header and first row in one atomic step: a failed
    // attempt leaves no file behind, so the next tick still writes the header
    // (an existing file, even an empty one, never gets one).
    if (!io::exists(path))
        return detail::problemOf(disk.replaceAtomically(path, kLogHeader + logRow(r)), name, outputFolder);
    // Only appended to; of what is there only the last byte is read (is the
    // last line finished?), so a row costs the same whatever the size.
    return detail::problemOf(disk.appendLines(path, logRow(r)), name, outputFolder);
}

} // namespace records
