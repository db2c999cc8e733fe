// The conversion cycle under faults of the file system and of its input, on
// real files: each case breaks one thing for the midnight tick, then repairs
// it. The broken tick must not crash and must say in Italian what went wrong;
// every file stays whole and keeps what it held; the next tick runs as usual
// and writes the summary row that the midnight owed.

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>


#include "io/file_io.h"
#include "cycle/tick.h"
#include "model/model.h"
#include "support/currdat.h"
#include "support/test_support.h"
#include "support/unprivileged.h"

namespace fs = std::filesystem;
using cycle::Gate;
using testing_support::currdatFile;
using testing_support::readBytes;
using testing_support::writeBytes;
using Files = std::map<std::string, std::string>;

namespace {

const testing_support::CurrdatValues kBase; // 12.8 °C
const std::string kWarmer = [] {
    testing_support::CurrdatValues v;
    v.outdoorC = "14.5";
    return currdatFile(v);
}();
const std::string kOldSummary = std::string(model::kSummaryHeader) + "\r\n04/Dec/2026 ;  1 ;  2 ;  3 ;  4\r\n";

// The first `lines` lines of a file, each with its line end.
std::string firstLines(const std::string &file, int lines) {
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i)
        end = file.find('\n', end) + 1;
    return file.substr(0, end);
}

// What each file of the output folder may hold at any moment: whole lines and
// whole rows, or nothing for the two that are rewritten in place.
bool whole(const std::string &name, const std::string &bytes) {
    const auto lines = model::crlfLines(bytes);
    const auto rows = [&](const char *header, bool (*row)(const std::string &)) {
        return lines && !lines->empty() && lines->front() == header &&
               std::all_of(lines->begin() + 1, lines->end(), row);
    };
    if (name == "my_meteo.txt")
        return bytes.empty() || (lines && lines->size() == 2 && model::readDataLine(lines->back()));
    if (name == "VENTO.TXT")
        return bytes.empty() || model::windFile(bytes);
    if (std::regex_match(name, std::regex("MM[0-9]{6}\\.kwt")))
        return model::storeFile(bytes);
    if (std::regex_match(name, std::regex("MM[0-9]{6}\\.TXT")))
        return rows(model::kSummaryHeader, model::summaryRow);
    if (std::regex_match(name, std::regex("[0-9]{8}\\.txt")))
        return rows(model::kLogHeader, model::logRow);
    return name == "notes.txt.tmp" && bytes == "another program's";
}

// Every file is of a known kind and whole; no temporary file is left.
void expectWhole(const Files &files) {
    for (const auto &[name, bytes] : files)
        EXPECT_TRUE(whole(name, bytes)) << name << " is not whole or not the program's:\n" << bytes;
}

// A station folder, an output folder and config.kwt, with the cycle that the
// window would hold; every tick falls in December 2026.
struct Station {
    Station() {
        fs::create_directory(station);
        fs::create_directory(out);
        writeConfig();
        writeBytes(currdat, currdatFile(kBase));
    }
    void writeConfig() const { writeBytes(config, "1\r\n1\r\n" + station + "\r\n" + out + "\r\n"); }
    cycle::TickOutcome tick(int day, int hour, int minute) {
        return cycle.tick({config, {2026, 12, day, hour, minute}, {}});
    }
    Files files() const {
        Files all;
        if (fs::is_directory(out))
            for (const auto &entry : fs::directory_iterator(out))
                all[entry.path().filename().string()] = readBytes(entry.path().string());
        return all;
    }

    const testing_support::TempDir dir;
    const std::string station = dir.file("station"), out = dir.file("out"), config = dir.file("config.kwt");
    const std::string currdat = io::joinPath(station, "currdat.lst");
    testing_support::FullDisk disk;
    cycle::ConversionCycle cycle{disk};
};

struct Fault {
    std::string name;
    std::function<void(Station &)> breakIt, repair; // currdat.lst is restored after any repair
    Gate gate;
    const char *problem;           // how the first status text begins; nullptr: none
    bool needsPermissions = false; // run as an unprivileged user, since permissions do not bite for root
};

void PrintTo(const Fault &f, std::ostream *os) { *os << f.name; }

std::vector<Fault> faults() {
    const auto currdat = [](std::string bytes) { return [bytes](Station &s) { writeBytes(s.currdat, bytes); }; };
    const auto config = [](std::string bytes) { return [bytes](Station &s) { writeBytes(s.config, bytes); }; };
    const auto configBack = [](Station &s) { s.writeConfig(); };
    const auto away = [](Station &s) { fs::rename(s.out, s.dir.file("away")); };
    const auto back = [](Station &s) { fs::rename(s.dir.file("away"), s.out); };
    const auto writable = [](bool on, const std::string Station::*path) {
        const auto how = on ? fs::perm_options::add : fs::perm_options::remove;
        return [=](Station &s) { fs::permissions(s.*path, fs::perms::owner_write, how); };
    };
    const char *const unreadable = "currdat.lst illeggibile o incompleto";
    const char *const missing = "Cartella di uscita inesistente: ";
    std::vector<Fault> all = {
        {"OutputFolderMissing", away, back, Gate::Converted, missing},
        {"OutputFolderReadOnly", writable(false, &Station::out), writable(true, &Station::out), Gate::Converted,
         "Impossibile scrivere MM261205.kwt in ", true},
        // Heavy Weather rewriting the file while it is read: cut inside the
        // value of line 73, the last one read.
        {"CurrdatCutInTheLastValue", currdat(firstLines(kWarmer, 72) + "hpa=\"10"), {}, Gate::Unreadable, unreadable},
        // Heavy Weather stopped: the file is whole, only old.
        {"CurrdatNotRewrittenFor45Minutes",
         [](Station &s) {
             fs::last_write_time(io::nativePath(s.currdat), fs::file_time_type::clock::now() - std::chrono::minutes(45));
         },
         {}, Gate::Converted, "currdat.lst non aggiornato da 45 minuti: "},
        {"CurrdatUnreadable", [](Station &s) { fs::permissions(s.currdat, fs::perms::none); }, {}, Gate::Unreadable,
         unreadable, true},
        {"ConfigEmpty", config(""), configBack, Gate::NoFolder, "Cartella di Heavy Weather non impostata"},
        {"ConfigRemoved", [](Station &s) { fs::remove(s.config); }, configBack, Gate::NoFolder,
         "config.kwt mancante: "},
        // A run that died before its renames: the next run removes its own
        // temporary files, and nobody else's.
        {"RestartOverLeftoverTemporaries",
         [](Station &s) {
             for (const char *name : {"MM261205.kwt.tmp", "MM261204.kwt.tmp", "MM202612.TXT.tmp", "20261204.txt.tmp",
                                      "notes.txt.tmp"})
                 writeBytes(io::joinPath(s.out, name), "another program's");
             s.cycle = cycle::ConversionCycle{s.disk};
         },
         [](Station &s) { EXPECT_TRUE(fs::remove(io::joinPath(s.out, "notes.txt.tmp"))); }, Gate::Converted,
         nullptr},
    };
    // A full disk: every write of the tick stops after so many bytes; 40
    // spares the store, 90 all but the new day's log.
    for (const std::size_t cut : {0, 40, 90})
        all.push_back({"DiskFullAfter" + std::to_string(cut) + "Bytes",
                       [cut](Station &s) { s.disk.stopAfter = cut; }, {}, Gate::Converted,
                       "Impossibile scrivere "});
    return all;
}

class FaultMatrix : public ::testing::TestWithParam<Fault> {};

void brokenMidnight(const Fault &f) {
    Station s;
    s.tick(4, 23, 58);
    s.tick(4, 23, 59);
    writeBytes(io::joinPath(s.out, "MM202612.TXT"), kOldSummary);
    const Files before = s.files();
    const std::string config = readBytes(s.config);

    writeBytes(s.currdat, kWarmer);
    f.breakIt(s);
    const auto broken = s.tick(5, 0, 0);
    EXPECT_EQ(broken.gate, f.gate);
    EXPECT_EQ(broken.problems.empty(), f.problem == nullptr);
    if (f.problem && !broken.problems.empty()) {
        EXPECT_EQ(broken.problems.front().rfind(f.problem, 0), 0u) << broken.problems.front();
    }
    Files now = s.files();
    expectWhole(now);
    for (const auto &[name, bytes] : before) {
        if (!fs::is_directory(s.out)) // away with its folder
            break;
        const std::string &held = now[name];
        if (name == "my_meteo.txt") { // this tick's lines, the last tick's, or none
            EXPECT_TRUE(held.empty() || held == bytes || held == broken.text1 + "\r\n") << held;
        } else if (name != "VENTO.TXT") {
            EXPECT_EQ(held.compare(0, bytes.size(), bytes), 0) << name << " lost what it held:\n" << held;
        }
    }
    for (const char *name : {"my_meteo.txt", "VENTO.TXT", "MM261205.kwt", "MM202612.TXT", "20261205.txt"})
        EXPECT_FALSE(fs::exists(name)) << name << " written into the working directory";

    if (f.repair)
        f.repair(s);
    s.disk.stopAfter.reset();
    fs::remove_all(s.currdat);
    writeBytes(s.currdat, currdatFile(kBase));
    const auto next = s.tick(5, 0, 1);
    EXPECT_EQ(next.gate, Gate::Converted);
    EXPECT_TRUE(next.problems.empty()) << next.problems.front();
    now = s.files();
    expectWhole(now);
    EXPECT_EQ(readBytes(s.config), config);
    for (const char *name : {"MM261204.kwt", "20261204.txt"})
        EXPECT_EQ(now[name], before.at(name)) << name;
    EXPECT_EQ(now["my_meteo.txt"], next.text1 + "\r\n");
    EXPECT_EQ(now["VENTO.TXT"], "Velocit\xE0 [km/h]\r\n 12.2\r\nDirezione [gradi]\r\n 270\r\n");
    EXPECT_EQ(now["MM202612.TXT"], kOldSummary + "05/Dec/2026 ;  12.8 ;  12.8 ;  1013.2 ;  1013.2\r\n");
    EXPECT_EQ(now["MM261205.kwt"], f.gate == Gate::Converted ? " 12.8\r\n 14.5\r\n 1013.2\r\n 1013.2\r\n"
                                                             : " 12.8\r\n 12.8\r\n 1013.2\r\n 1013.2\r\n");
    EXPECT_NE(now["20261205.txt"].find("\r\n20261205 ; 00:01 ; "), std::string::npos) << now["20261205.txt"];
}

} // namespace

TEST_P(FaultMatrix, ABrokenMidnightTickLosesNothingAndTheNextTickMakesUpForIt) {
    const Fault &f = GetParam();
    if (f.needsPermissions)
        testing_support::asUnprivilegedUser([&] { brokenMidnight(f); });
    else
        brokenMidnight(f);
}

INSTANTIATE_TEST_SUITE_P(Cases, FaultMatrix, ::testing::ValuesIn(faults()),
                         [](const ::testing::TestParamInfo<Fault> &info) { return info.param.name; });
