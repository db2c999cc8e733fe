// config.kwt can be edited by hand. Whatever it holds: a choice is its very
// code ("2", not " 2" or "02") or else the first; the folders come back as
// the very bytes of the file; what was read writes back and reads again as
// the same lines, and writes twice as the same bytes. (The dialogs' saves,
// carrying the lines they do not own: gui_option_dialogs, gui_startup.)

#include <cstdint>

#include "fuzz_support.h"
#include "io/text_codec.h"
#include "settings/config.h"

fuzz_support::Check whole("a file of four lines"), shorter("a file of fewer lines");

// The choice's place from 0 on.
int choice(const std::string &line, char last) {
    return line.size() == 1 && line[0] > '1' && line[0] <= last ? line[0] - '1' : 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string path = io::joinPath(fuzz_support::scratchFolder(), settings::kConfigFileName);
    FUZZ_CHECK(io::realDisk().writeInPlace(path, std::string(reinterpret_cast<const char *>(data), size)).ok);
    const auto raw = settings::readConfigLines(path);
    FUZZ_CHECK(raw.has_value());
    (raw->present == 4 ? whole : shorter).reached();
    const int aprs = choice(raw->line[0], '3'), pressure = choice(raw->line[1], '2');
    const settings::Config s = settings::configFrom(*raw);
    FUZZ_CHECK(static_cast<int>(s.aprsChoice) == aprs && static_cast<int>(s.pressureChoice) == pressure);
    FUZZ_CHECK(io::utf8ToCp1252(s.heavyWeatherFolder) == raw->line[2]);
    FUZZ_CHECK(io::utf8ToCp1252(s.outputFolder) == raw->line[3]);
    const std::string formatted = settings::formatConfig(*raw);
    FUZZ_CHECK(io::realDisk().writeInPlace(path, formatted).ok);
    const auto again = settings::readConfigLines(path);
    FUZZ_CHECK(again && again->present == 4 && again->line == raw->line && settings::formatConfig(*again) == formatted);
    return 0;
}
