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

namespace config {

inline constexpr const char *kFileName = "config.kwt";

// The four lines as bytes on disk; a line the file lacks is empty.
struct RawLines {
    std::array<std::string, 4> line;
    int present = 0; // how many of the four the file actually held
};

// Settings as the program uses them: choices reduced to their valid codes,
// folders as UTF-8 text.
struct Settings {
    char aprsChoice = '1';     // '1' forecast, '2' local situation, '3' none
    char pressureChoice = '1'; // '1' absolute, '2' relative
    std::string heavyWeatherFolder;
    std::string outputFolder;
};

bool isValidAprsChoice(const std::string &line);
bool isValidPressureChoice(const std::string &line);

// nullopt when the file is missing or cannot be read.
std::optional<RawLines> readRaw(const std::string &path);

// A missing or unreadable file reads as an empty one: choices "1", folders "".
Settings readSettings(const std::string &path);
Settings settingsFrom(const RawLines &raw);

// The bytes of the four lines, each ended by CR LF.
std::string format(const RawLines &raw);

enum class SaveStatus { Ok, NotRepresentable, WriteFailed };
struct SaveResult {
    SaveStatus status = SaveStatus::Ok;
    std::string reason; // Italian, for WriteFailed
    bool ok() const { return status == SaveStatus::Ok; }
};

// Lines 3 and 4 from the folders; lines 1 and 2 as the file holds them now,
// or "1" and "1" when there is no file yet.
SaveResult saveFolders(const std::string &path, const std::string &heavyWeatherFolder,
                       const std::string &outputFolder);

// Replaces one choice line (index 0 or 1) with `code`, the others carried over
// as they stand now. A missing file is created with empty folders.
SaveResult saveChoice(const std::string &path, int lineIndex, const std::string &code);

} // namespace config
