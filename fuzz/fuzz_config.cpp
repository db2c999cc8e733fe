// config.kwt can be edited by hand. Whatever it holds, the settings must come
// out as valid codes; what was read must write back and read again to the
// same lines; and a dialog's save must carry the lines it does not own over
// byte for byte.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/config.h"
#include "io/file_io.h"
#include "io/text_codec.h"
#include "fuzz_support.h"

namespace {

constexpr std::size_t kLineLength = 32768; // as readRaw cuts them

std::string linesShown(const settings::ConfigLines &raw) {
    std::string out = "present=" + std::to_string(raw.present);
    for (const auto &line : raw.line)
        out += " [" + fuzz_support::shown(line) + "]";
    return out;
}

settings::ConfigLines reread(const std::string &path) {
    const auto raw = settings::readConfigLines(path);
    FUZZ_CHECK(raw.has_value(), "a file just written cannot be read");
    return *raw;
}

} // namespace

fuzz_support::Check whole("a file of four lines"), shorter("a file of fewer lines");

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const std::string path = io::joinPath(fuzz_support::scratchFolder(), settings::kConfigFileName);
    FUZZ_CHECK(io::realDisk().writeInPlace(path, bytes).ok, path);

    const settings::ConfigLines raw = reread(path);
    (raw.present == 4 ? whole : shorter).reached();

    // The file is read in blocks, the same bytes split at once must agree,
    // and so must any other cut of them (a CR LF across two blocks).
    const auto whole = io::splitLines(bytes, 4, kLineLength);
    FUZZ_CHECK(static_cast<int>(whole.size()) == raw.present, linesShown(raw));
    for (std::size_t i = 0; i < whole.size(); ++i)
        FUZZ_CHECK(whole[i] == raw.line[i], linesShown(raw));
    const std::size_t step = size == 0 ? 1 : data[0] % 7 + 1;
    io::LineCollector pieces(4, kLineLength);
    for (std::size_t at = 0; at < size; at += step)
        pieces.feed(bytes.data() + at, std::min(step, size - at));
    FUZZ_CHECK(pieces.finish() == whole, "lines depend on how the bytes arrive");

    const settings::Config s = settings::configFrom(raw);
    // A valid line is the choice it names; any other line reads as the first.
    const int aprs = static_cast<int>(s.aprsChoice) + 1, pressure = static_cast<int>(s.pressureChoice) + 1;
    FUZZ_CHECK(aprs >= 1 && aprs <= 3 && pressure >= 1 && pressure <= 2, linesShown(raw));
    FUZZ_CHECK(settings::choiceOf(raw.line[0], 3).value_or(1) == aprs, linesShown(raw));
    FUZZ_CHECK(settings::choiceOf(raw.line[1], 2).value_or(1) == pressure, linesShown(raw));
    FUZZ_CHECK(settings::choiceOf(raw.line[0], 3).has_value() == (raw.line[0] == std::string(1, char('0' + aprs))),
               linesShown(raw));
    // Folders travel as UTF-8 inside the program and must come back as the
    // very bytes of the file, or a save would move the user's folder.
    FUZZ_CHECK(io::utf8ToCp1252(s.heavyWeatherFolder) == raw.line[2], linesShown(raw));
    FUZZ_CHECK(io::utf8ToCp1252(s.outputFolder) == raw.line[3], linesShown(raw));

    // format(read(file)), read again, gives the same lines.
    FUZZ_CHECK(io::realDisk().writeInPlace(path, settings::formatConfig(raw)).ok, path);
    const settings::ConfigLines again = reread(path);
    FUZZ_CHECK(again.present == 4, linesShown(again));
    FUZZ_CHECK(again.line == raw.line, linesShown(raw) + " / " + linesShown(again));

    // The option dialog's save: line 1 changes, the others stay as they were
    // (a choice line the file lacked is written as "1").
    FUZZ_CHECK(io::realDisk().writeInPlace(path, bytes).ok, path);
    FUZZ_CHECK(settings::saveChoice(path, 0, 2).ok(), path);
    const settings::ConfigLines chosen = reread(path);
    FUZZ_CHECK(chosen.line[0] == "2", linesShown(chosen));
    FUZZ_CHECK(chosen.line[1] == (raw.present >= 2 ? raw.line[1] : "1"), linesShown(raw) + " / " + linesShown(chosen));
    FUZZ_CHECK(chosen.line[2] == raw.line[2] && chosen.line[3] == raw.line[3],
               linesShown(raw) + " / " + linesShown(chosen));

    // The folders dialog's save of the folders it was shown: nothing moves.
    FUZZ_CHECK(settings::saveFolders(path, s.heavyWeatherFolder, s.outputFolder).ok(), path);
    const settings::ConfigLines saved = reread(path);
    FUZZ_CHECK(saved.line[2] == raw.line[2] && saved.line[3] == raw.line[3] && saved.line[0] == "2",
               linesShown(raw) + " / " + linesShown(saved));
    return 0;
}
