#pragma once
// config.kwt: four CR LF lines in Windows-1252: APRS choice, pressure choice,
// Heavy Weather folder, output folder. Every change is a read-modify-write of
// the whole file, done right before writing, so two dialogs never undo each
// other's saved line; lines that a writer does not own are carried over byte
// for byte.

#include <array>
#include <optional>
#include <string>

#include "io/file_io.h"

namespace settings {

inline constexpr const char *kConfigFileName = "config.kwt";

// The four lines as bytes on disk; a line the file lacks is empty.
struct ConfigLines {
    std::array<std::string, 4> line;
    int present = 0; // how many of the four the file actually held
};

// What the APRS comment carries: line 1, "1", "2" or "3".
enum class AprsChoice { Forecast, LocalSituation, NoWeather };
// Which pressure is shown and sent: line 2, "1" or "2".
enum class PressureChoice { Absolute, Relative };

// config.kwt as the program uses it: a choice line that holds anything but
// one of its codes reads as the first choice; folders as UTF-8 text.
struct Config {
    AprsChoice aprsChoice = AprsChoice::Forecast;
    PressureChoice pressureChoice = PressureChoice::Absolute;
    std::string heavyWeatherFolder;
    std::string outputFolder;
};

// The option (1 to `options`) that a choice line names; nullopt when the
// line is anything but one of those codes.
std::optional<int> choiceOf(const std::string &line, int options);
inline constexpr int kAprsOptions = 3;
inline constexpr int kPressureOptions = 2;

// nullopt when the file is missing or cannot be read.
std::optional<ConfigLines> readConfigLines(const std::string &path);

// A missing or unreadable file reads as an empty one: choices "1", folders "".
Config readConfig(const std::string &path);
Config configFrom(const ConfigLines &raw);

// The bytes of the four lines, each ended by CR LF.
std::string formatConfig(const ConfigLines &raw);

enum class SaveStatus { Ok, NotRepresentable, WriteFailed };
struct SaveResult {
    SaveStatus status = SaveStatus::Ok;
    std::string reason; // Italian, for WriteFailed
    bool ok() const { return status == SaveStatus::Ok; }
};

// Lines 3 and 4 from the folders; lines 1 and 2 as the file holds them now,
// or "1" and "1" when there is no file yet.
SaveResult saveFolders(const std::string &path, const std::string &heavyWeatherFolder,
                       const std::string &outputFolder, const io::Disk &disk = io::realDisk());

// Replaces one choice line (index 0 or 1) with the code of `option` (1 to 9),
// the others carried over as they stand now. A missing file is created with
// empty folders.
SaveResult saveChoice(const std::string &path, int lineIndex, int option,
                      const io::Disk &disk = io::realDisk());

} // namespace settings
