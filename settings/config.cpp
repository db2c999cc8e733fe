// config.kwt: its four lines read, and rewritten whole with one line changed.
#include "settings/config.h"

#include "io/text_codec.h"

namespace settings {

std::optional<int> choiceOf(const std::string &line, int options) {
    if (line.size() != 1 || line[0] < '1' || line[0] >= '1' + options)
        return std::nullopt;
    return line[0] - '0';
}

std::optional<ConfigLines> readConfigLines(const std::string &path) {
    if (!io::exists(path))
        return std::nullopt;
    const auto lines = io::readLines(path, 4, 32768);
    if (!lines)
        return std::nullopt;
    ConfigLines raw;
    raw.present = static_cast<int>(lines->size());
    for (std::size_t i = 0; i < lines->size(); ++i)
        raw.line[i] = (*lines)[i];
    return raw;
}

Config configFrom(const ConfigLines &raw) {
    Config s;
    s.aprsChoice = static_cast<AprsChoice>(choiceOf(raw.line[0], kAprsOptions).value_or(1) - 1);
    s.pressureChoice = static_cast<PressureChoice>(choiceOf(raw.line[1], kPressureOptions).value_or(1) - 1);
    s.heavyWeatherFolder = io::cp1252ToUtf8(raw.line[2]);
    s.outputFolder = io::cp1252ToUtf8(raw.line[3]);
    return s;
}

Config readConfig(const std::string &path) {
    const auto raw = readConfigLines(path);
    return raw ? configFrom(*raw) : Config{};
}

std::string formatConfig(const ConfigLines &raw) {
    std::string out;
    for (const auto &line : raw.line)
        out += line + "\r\n";
    return out;
}

namespace {

const char *const kUnreadable = "il file esistente non è leggibile";

SaveResult write(const std::string &path, const ConfigLines &raw, const io::Disk &disk) {
    const auto res = disk.replaceAtomically(path, formatConfig(raw));
    if (!res.ok)
        return {SaveStatus::WriteFailed, res.reason};
    return {};
}

// nullopt when the file exists but cannot be read: writing then would lose
// the lines that should have been carried over.
// A choice line that the file lacks counts as "1" and is written so; a
// missing folder line stays empty.
std::optional<ConfigLines> currentOrNew(const std::string &path) {
    ConfigLines raw;
    if (auto read = readConfigLines(path))
        raw = *read;
    else if (io::exists(path))
        return std::nullopt;
    for (int i = raw.present; i < 2; ++i)
        raw.line[static_cast<std::size_t>(i)] = "1";
    raw.present = 4;
    return raw;
}

} // namespace

SaveResult saveFolders(const std::string &path, const std::string &heavyWeatherFolder,
                       const std::string &outputFolder, const io::Disk &disk) {
    const auto hw = io::utf8ToCp1252(heavyWeatherFolder);
    const auto out = io::utf8ToCp1252(outputFolder);
    if (!hw || !out)
        return {SaveStatus::NotRepresentable, {}};
    auto current = currentOrNew(path);
    if (!current)
        return {SaveStatus::WriteFailed, kUnreadable};
    ConfigLines raw = *current;
    raw.line[2] = *hw;
    raw.line[3] = *out;
    return write(path, raw, disk);
}

SaveResult saveChoice(const std::string &path, int lineIndex, int option, const io::Disk &disk) {
    auto current = currentOrNew(path);
    if (!current)
        return {SaveStatus::WriteFailed, kUnreadable};
    ConfigLines raw = *current;
    raw.line[static_cast<std::size_t>(lineIndex)] = std::string(1, static_cast<char>('0' + option));
    return write(path, raw, disk);
}

} // namespace settings
