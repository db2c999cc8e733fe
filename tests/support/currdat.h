#pragma once
// currdat.lst in the layout Heavy Weather writes, with the values a test
// chooses (as text, so "---", "" and "21,4" can be tried too).

#include <string>

namespace testing_support {

struct CurrdatValues {
    std::string forecast = "2", tendency = "1", storm = "0";
    std::string indoorC = "21.5", outdoorC = "12.8", outdoorF = "55.0";
    std::string indoorHumidity = "45", outdoorHumidity = "84";
    std::string dewPointC = "10.2", windChillC = "12.8";
    std::string windKmh = "12.2", windMph = "7.6", windDirection = "270.0";
    std::string rainTotalMm = "123.4", rain24hMm = "3.1", rain24hInch = "0.12";
    std::string rain1hMm = "0.0", rain1hInch = "0.00";
    std::string pressureAbsolute = "936.0", pressureRelative = "1013.2";
    std::string lineEnd = "\r\n";
};

std::string currdatFile(const CurrdatValues &v);

} // namespace testing_support
