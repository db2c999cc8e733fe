// invio.kwt can be edited by hand, and decides what goes on the air. Whatever
// it holds: a file that reads as settings writes back to bytes that read to
// the same settings; and the frame built from them, with any data line,
// carries FEND only at its two ends and unescapes to the AX.25 frame.

#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "send/packet.h"
#include "send/settings.h"

namespace {

std::string unkiss(const std::string &kiss) {
    std::string out;
    for (std::size_t i = 2; i + 1 < kiss.size(); ++i) {
        if (kiss[i] != '\xdb') {
            out += kiss[i];
            continue;
        }
        ++i;
        FUZZ_CHECK(kiss[i] == '\xdc' || kiss[i] == '\xdd', "FESC followed by " + fuzz_support::shown(kiss.substr(i, 1)));
        out += kiss[i] == '\xdc' ? '\xc0' : '\xdb';
    }
    return out;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    // The file, then (after a NUL, if any) a data line.
    const std::string file = bytes.substr(0, bytes.find('\0'));
    const std::string dataLine = file.size() < bytes.size() ? bytes.substr(file.size() + 1) : std::string();
    const send::Parsed parsed = send::parseFile(file);
    if (!parsed.settings) {
        FUZZ_CHECK(!parsed.problem.empty(), "a damaged file without a reason: " + fuzz_support::shown(file));
        return 0;
    }
    const std::string written = send::format(*parsed.settings);
    const send::Parsed again = send::parseFile(written);
    FUZZ_CHECK(again.settings && send::format(*again.settings) == written, fuzz_support::shown(written));

    const send::Report report{parsed.settings->callsign, parsed.settings->position, parsed.settings->path,
                              {31, 23, 59}, dataLine};
    const auto frame = send::ax25Frame(report);
    if (!frame)
        return 0;
    const std::string kiss = send::kissFrame(*frame);
    FUZZ_CHECK(kiss.find('\xc0', 1) == kiss.size() - 1, fuzz_support::shown(kiss));
    FUZZ_CHECK(unkiss(kiss) == *frame, fuzz_support::shown(kiss));
    // Exactly one address carries the end bit, the last.
    const std::size_t addresses = 2 + report.path.size();
    for (std::size_t i = 0; i < addresses; ++i)
        FUZZ_CHECK(((*frame)[i * 7 + 6] & 1) == (i + 1 == addresses ? 1 : 0), fuzz_support::shown(*frame));
    FUZZ_CHECK(frame->compare(addresses * 7, 2, "\x03\xf0") == 0, fuzz_support::shown(*frame));
    return 0;
}
