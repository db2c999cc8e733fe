// currdat.lst in Heavy Weather's layout, with the values a test chooses.
#include "support/currdat.h"

namespace testing_support {

std::string currdatFile(const CurrdatValues &v) {
    const auto q = [](const std::string &value) { return "\"" + value + "\""; };
    // One section an entry, its lines split at " | "; in the file every
    // section follows an empty line.
    const std::string sections[] = {
        R"([header] | version="wws3600 1.0" | last_actualisation="1765012920" | dateformat="%d.%m.%Y")"
        R"( | timeformat="%H:%M:%S")",
        R"([weather_state] | text="Sunny")",
        "[forecast] | number=" + v.forecast + R"( | text="Sunny")",
        R"([tendency] | text="Rising" | number=)" + v.tendency,
        R"([storm_warning] | text="Off" | number=)" + v.storm,
        "[indoor_temperature] | deg_C=" + q(v.indoorC) + R"( | deg_F="70.7")",
        "[outdoor_temperature] | deg_C=" + q(v.outdoorC) + " | deg_F=" + q(v.outdoorF),
        "[indoor_humidity] | percent=" + q(v.indoorHumidity),
        "[outdoor_humidity] | percent=" + q(v.outdoorHumidity),
        "[dewpoint] | deg_C=" + q(v.dewPointC) + R"( | deg_F="50.4")",
        "[windchill] | deg_C=" + q(v.windChillC) + R"( | deg_F="55.0")",
        R"([wind_speed] | m/s="3.4" | kmh=)" + q(v.windKmh) + " | mph=" + q(v.windMph) + R"( | knots="6.6" | bft="3")",
        "[wind_direction] | deg=" + q(v.windDirection) + R"( | text="W")",
        "[rain_total] | mm=" + q(v.rainTotalMm) + R"( | inch="4.86")",
        "[rain_24h] | mm=" + q(v.rain24hMm) + " | inch=" + q(v.rain24hInch),
        "[rain_1h] | mm=" + q(v.rain1hMm) + " | inch=" + q(v.rain1hInch),
        "[pressure_absolute] | hpa=" + q(v.pressureAbsolute) + R"( | inHg="27.64")",
        "[pressure_relative] | hpa=" + q(v.pressureRelative) + R"( | inHg="29.92")",
    };
    std::string out;
    for (std::string section : sections) {
        out += v.lineEnd;
        section += " | ";
        for (std::size_t start = 0, bar; (bar = section.find(" | ", start)) != std::string::npos; start = bar + 3)
            out += section.substr(start, bar - start) + v.lineEnd;
    }
    return out;
}

} // namespace testing_support
