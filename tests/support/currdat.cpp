// currdat.lst in Heavy Weather's layout, with the values a test chooses.
#include "support/currdat.h"

#include <sstream>

namespace testing_support {
namespace {

// One section a line (a line that starts with " | " goes on with the one
// above), its lines split at " | "; in the file every section follows an
// empty line. {name} is a field of CurrdatValues, filled in in order.
const char *const kLayout = R"([header] | version="wws3600 1.0" | last_actualisation="1765012920"
 | dateformat="%d.%m.%Y" | timeformat="%H:%M:%S"
[weather_state] | text="Sunny"
[forecast] | number={forecast} | text="Sunny"
[tendency] | text="Rising" | number={tendency}
[storm_warning] | text="Off" | number={storm}
[indoor_temperature] | deg_C="{indoorC}" | deg_F="70.7"
[outdoor_temperature] | deg_C="{outdoorC}" | deg_F="{outdoorF}"
[indoor_humidity] | percent="{indoorHumidity}"
[outdoor_humidity] | percent="{outdoorHumidity}"
[dewpoint] | deg_C="{dewPointC}" | deg_F="50.4"
[windchill] | deg_C="{windChillC}" | deg_F="55.0"
[wind_speed] | m/s="3.4" | kmh="{windKmh}" | mph="{windMph}" | knots="6.6" | bft="3"
[wind_direction] | deg="{windDirection}" | text="W"
[rain_total] | mm="{rainTotalMm}" | inch="4.86"
[rain_24h] | mm="{rain24hMm}" | inch="{rain24hInch}"
[rain_1h] | mm="{rain1hMm}" | inch="{rain1hInch}"
[pressure_absolute] | hpa="{pressureAbsolute}" | inHg="27.64"
[pressure_relative] | hpa="{pressureRelative}" | inHg="29.92")";

} // namespace

std::string currdatFile(const CurrdatValues &v) {
    using V = CurrdatValues;
    std::string layout = kLayout;
    std::size_t at = 0;
    for (std::string V::*field : {&V::forecast, &V::tendency, &V::storm, &V::indoorC, &V::outdoorC, &V::outdoorF,
                                  &V::indoorHumidity, &V::outdoorHumidity, &V::dewPointC, &V::windChillC,
                                  &V::windKmh, &V::windMph, &V::windDirection, &V::rainTotalMm, &V::rain24hMm,
                                  &V::rain24hInch, &V::rain1hMm, &V::rain1hInch, &V::pressureAbsolute,
                                  &V::pressureRelative}) {
        at = layout.find('{', at); // after the values filled in so far, which may hold braces
        layout.replace(at, layout.find('}', at) + 1 - at, v.*field);
        at += (v.*field).size();
    }
    while ((at = layout.find("\n | ")) != std::string::npos)
        layout.erase(at, 1);
    std::istringstream sections(layout);
    std::string out;
    for (std::string section; std::getline(sections, section);) {
        out += v.lineEnd;
        section += " | ";
        for (std::size_t start = 0, bar; (bar = section.find(" | ", start)) != std::string::npos; start = bar + 3)
            out += section.substr(start, bar - start) + v.lineEnd;
    }
    return out;
}

} // namespace testing_support
