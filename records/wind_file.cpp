// VENTO.TXT: the latest wind, rewritten in place on every tick.
#include "io/text_codec.h"
#include "station/numbers.h"
#include "records/records.h"
#include "records/records_internal.h"

namespace records {

std::optional<std::string> writeWindFile(const station::WeatherReading &r, const std::string &outputFolder,
                                         const io::Disk &disk) {
    if (auto problem = detail::folderProblem(kWindFileName, outputFolder))
        return problem;
    // A missing sensor leaves its value line empty, as in the other record
    // files: a 0 would be a calm that never was.
    auto value = [](const station::Value &x) { return x ? station::numberText(*x) : std::string(); };
    const std::string text =
        "Velocità [km/h]\r\n" + value(r.windSpeed) + "\r\nDirezione [gradi]\r\n" + value(r.windDirection) + "\r\n";
    // Other programs read this file at their own times: one write, in place.
    return detail::problemOf(disk.writeInPlace(io::joinPath(outputFolder, kWindFileName),
                                                  io::utf8ToCp1252Lossy(text)),
                             kWindFileName, outputFolder);
}

} // namespace records
