#pragma once
// The rules the proof checks against, each written once from the rule and
// never from the program: the files' shapes, the APRS line read back, the
// day's extremes, and the alert and forecast rules as their bound cases.
// The unit tests, the fuzz targets and the soak all use these.

#include <optional>
#include <string>
#include <vector>

namespace model {

inline const char *const kMonths[12] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
inline const char *const kLogHeader =
    "Data ; Ora ; T_int ; H_int ; Pres_ass ; Press_rel ; T_ext ; H_ext ; Vel_vento ; Dir_vento ; Dewpoint ; "
    "Windchill ; Precip_1H ; Precip_24H ; Precip_TOT ";
inline const char *const kSummaryHeader = "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX";

// The lines of a file whose every line ends in CR LF; nullopt otherwise.
std::optional<std::vector<std::string>> crlfLines(const std::string &bytes);
std::vector<std::string> split(const std::string &text, const std::string &separator);

// A value as the files write it (" 21.4", "-3.2", " .5", " 0", " 1E-07"),
// or the empty field of an unknown value: nullopt when it is neither.
// `value` receives the number, or stays nullopt for the empty field.
bool numberField(const std::string &text, std::optional<double> *value = nullptr);

// Shapes of the record files' lines and of the two small files.
bool logRow(const std::string &line);     // "20261205 ; 09:22 ; ..." 15 columns
bool summaryRow(const std::string &line); // "06/Dec/2026 ;  -1.5 ; ..."
bool storeFile(const std::string &bytes); // four number lines
bool windFile(const std::string &bytes);  // caption, speed, caption, direction

// The APRS weather line read back by its markers and widths; nullopt for
// any line out of form. A field of dots is nullopt.
struct Report {
    std::optional<long> direction, speed, gust, temperatureF, rain24h, rain1h, pressure, humidity;
    std::string comment, model, version;
};
std::optional<Report> readDataLine(const std::string &line);

// Whether the APRS field agrees with the value measured: the value in the
// field's units made whole by `cut` and held within the field's range.
enum class Cut { TowardZero, Down, Nearest };
bool agrees(std::optional<long> field, std::optional<double> valueInFieldUnits, long lowest, long highest, Cut cut);

// The day's extremes: each tick with a relative pressure other than 0
// counts; a missing temperature leaves the temperatures alone.
struct Extremes {
    std::optional<double> tMin, tMax, pMin, pMax;
    void add(std::optional<double> temperature, double relativePressure);
};

// The alerts at their bounds: fog only in a wind below 1 km/h, by three
// humidity bands with their spreads; ice below 1 degree.
struct AlertCase {
    double wind, humidity, temperature, dewPoint;
    bool fog, ice;
};
extern const std::vector<AlertCase> kAlertBounds;

// The local situation at its bounds, forecast code 2 (sunny) or 1 (cloudy).
struct SituationCase {
    int forecast;
    double rain1h, wind;
    const char *text;
};
extern const std::vector<SituationCase> kSituationBounds;

// Every forecast cell, by forecast code (row) and tendency code (column).
extern const char *const kForecastCells[3][3];

} // namespace model
