// config.kwt can be edited by hand. Whatever it holds: a choice is its code
// or the first; the folders come back as the very bytes of the file; what
// was read writes back and reads again as the same lines, and writes twice
// as the same bytes; a dialog's save carries the lines it does not own over
// byte for byte.

#include <cstdint>

#include "fuzz_support.h"
#include "io/text_codec.h"
#include "settings/config.h"

namespace {

fuzz_support::Check whole("a file of four lines"), shorter("a file of fewer lines"),
    chosen("a valid choice other than the first");

settings::ConfigLines written(const std::string &path, const std::string &bytes) {
    FUZZ_CHECK(io::realDisk().writeInPlace(path, bytes).ok && settings::readConfigLines(path));
    return *settings::readConfigLines(path);
}

// Only the very code counts ("2", not " 2" or "02").
int choice(const std::string &line, int options) {
    return line.size() == 1 && line[0] >= '1' && line[0] < '1' + options ? line[0] - '0' : 1;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string path = io::joinPath(fuzz_support::scratchFolder(), settings::kConfigFileName);
    const settings::ConfigLines raw = written(path, bytes);
    (raw.present == 4 ? whole : shorter).reached();
    const settings::Config s = settings::configFrom(raw);
    const int aprs = choice(raw.line[0], 3), pressure = choice(raw.line[1], 2);
    if (aprs > 1 || pressure > 1)
        chosen.reached();
    FUZZ_CHECK(static_cast<int>(s.aprsChoice) + 1 == aprs && static_cast<int>(s.pressureChoice) + 1 == pressure);
    FUZZ_CHECK(io::utf8ToCp1252(s.heavyWeatherFolder) == raw.line[2] && io::utf8ToCp1252(s.outputFolder) == raw.line[3]);

    const std::string formatted = settings::formatConfig(raw);
    const settings::ConfigLines again = written(path, formatted);
    FUZZ_CHECK(again.present == 4 && again.line == raw.line && settings::formatConfig(again) == formatted);

    // The option dialog's save changes line 1 alone (a choice line the file
    // lacked is written as "1"); the folders dialog's save of the folders it
    // was shown moves nothing.
    written(path, bytes);
    FUZZ_CHECK(settings::saveChoice(path, 0, 2).ok() && settings::saveFolders(path, s.heavyWeatherFolder, s.outputFolder).ok());
    const settings::ConfigLines saved = *settings::readConfigLines(path);
    FUZZ_CHECK(saved.line[0] == "2" && saved.line[1] == (raw.present >= 2 ? raw.line[1] : "1"));
    FUZZ_CHECK(saved.line[2] == raw.line[2] && saved.line[3] == raw.line[3]);
    return 0;
}
