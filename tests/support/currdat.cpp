#include "support/currdat.h"

#include <vector>

namespace testing_support {

std::string currdatFile(const CurrdatValues &v) {
    auto q = [](const std::string &value) { return "\"" + value + "\""; };
    const std::vector<std::string> lines = {
        "",                                   // 1
        "[header]",                           // 2
        "version=\"wws3600 1.0\"",            // 3
        "last_actualisation=\"1765012920\"",  // 4
        "dateformat=\"%d.%m.%Y\"",            // 5
        "timeformat=\"%H:%M:%S\"",            // 6
        "",                                   // 7
        "[weather_state]",                    // 8
        "text=\"Sunny\"",                     // 9
        "",                                   // 10
        "[forecast]",                         // 11
        "number=" + v.forecast,               // 12
        "text=\"Sunny\"",                     // 13
        "",                                   // 14
        "[tendency]",                         // 15
        "text=\"Rising\"",                    // 16
        "number=" + v.tendency,               // 17
        "",                                   // 18
        "[storm_warning]",                    // 19
        "text=\"Off\"",                       // 20
        "number=" + v.storm,                  // 21
        "",                                   // 22
        "[indoor_temperature]",               // 23
        "deg_C=" + q(v.indoorC),              // 24
        "deg_F=\"70.7\"",                     // 25
        "",                                   // 26
        "[outdoor_temperature]",              // 27
        "deg_C=" + q(v.outdoorC),             // 28
        "deg_F=" + q(v.outdoorF),             // 29
        "",                                   // 30
        "[indoor_humidity]",                  // 31
        "percent=" + q(v.indoorHumidity),     // 32
        "",                                   // 33
        "[outdoor_humidity]",                 // 34
        "percent=" + q(v.outdoorHumidity),    // 35
        "",                                   // 36
        "[dewpoint]",                         // 37
        "deg_C=" + q(v.dewPointC),            // 38
        "deg_F=\"50.4\"",                     // 39
        "",                                   // 40
        "[windchill]",                        // 41
        "deg_C=" + q(v.windChillC),           // 42
        "deg_F=\"55.0\"",                     // 43
        "",                                   // 44
        "[wind_speed]",                       // 45
        "m/s=\"3.4\"",                        // 46
        "kmh=" + q(v.windKmh),                // 47
        "mph=" + q(v.windMph),                // 48
        "knots=\"6.6\"",                      // 49
        "bft=\"3\"",                          // 50
        "",                                   // 51
        "[wind_direction]",                   // 52
        "deg=" + q(v.windDirection),          // 53
        "text=\"W\"",                         // 54
        "",                                   // 55
        "[rain_total]",                       // 56
        "mm=" + q(v.rainTotalMm),             // 57
        "inch=\"4.86\"",                      // 58
        "",                                   // 59
        "[rain_24h]",                         // 60
        "mm=" + q(v.rain24hMm),               // 61
        "inch=" + q(v.rain24hInch),           // 62
        "",                                   // 63
        "[rain_1h]",                          // 64
        "mm=" + q(v.rain1hMm),                // 65
        "inch=" + q(v.rain1hInch),            // 66
        "",                                   // 67
        "[pressure_absolute]",                // 68
        "hpa=" + q(v.pressureAbsolute),       // 69
        "inHg=\"27.64\"",                     // 70
        "",                                   // 71
        "[pressure_relative]",                // 72
        "hpa=" + q(v.pressureRelative),       // 73
        "inHg=\"29.92\"",                     // 74
    };
    std::string out;
    for (const auto &line : lines)
        out += line + v.lineEnd;
    return out;
}

} // namespace testing_support
