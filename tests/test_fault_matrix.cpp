// The conversion cycle under faults of the file system and bad input, on real
// files: each case breaks one thing for one tick, then repairs it. The broken
// tick must not crash and must say in Italian what went wrong; the next tick
// must run as usual; and nothing already on disk may be lost.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>
#include <regex>

#ifndef _WIN32
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "config/file_io.h"
#include "cycle/reading.h"
#include "cycle/tick.h"
#include "support/currdat.h"
#include "support/test_support.h"

namespace fs = std::filesystem;
using testing_support::currdatFile;
using testing_support::CurrdatValues;
using testing_support::readBytes;
using testing_support::TempDir;
using testing_support::writeBytes;

namespace {

bool permissionsBite() {
#ifdef _WIN32
    return false;
#else
    return geteuid() != 0;
#endif
}

const char *const kRootSkip = "running as root, where file permissions do not bite: the unwritable-folder "
                              "and unreadable-file cases are covered by a folder replaced by a file, a folder "
                              "of the file's name and the write-fault seam";

// Bytes of a fixed pseudo-random sequence, without the ones in `excluded`.
std::string garbage(std::size_t size, const std::string &excluded, unsigned seed = 12345) {
    std::string out;
    out.reserve(size);
    unsigned x = seed;
    while (out.size() < size) {
        x = x * 1103515245u + 12345u;
        const char c = static_cast<char>((x >> 16) & 0xFF);
        if (excluded.find(c) == std::string::npos)
            out += c;
    }
    return out;
}

// The first `lines` lines of a good file, each with its line end.
std::string firstLines(const std::string &file, int lines) {
    std::size_t end = 0;
    for (int i = 0; i < lines; ++i)
        end = file.find('\n', end) + 1;
    return file.substr(0, end);
}

// A weather file is a time stamp line and a complete APRS weather line.
bool isCompleteWeatherFile(const std::string &bytes) {
    static const std::regex form("[A-Z][a-z]{2} \\d{2} \\d{4} \\d{2}:\\d{2}\r\n"
                                 "(\\d{3}|\\.{3})/(\\d{3}|\\.{3})g000t(\\d{3}|-\\d{2}|\\.{3})p(\\d{3}|\\.{3})"
                                 "r(\\d{3}|\\.{3})b(\\d{5}|\\.{5})h(\\d{2}|\\.{2})/[^\r\n]*/WS3600/113W\r\n");
    return std::regex_match(bytes, form);
}

const CurrdatValues kBase;
CurrdatValues warmer() {
    CurrdatValues v;
    v.outdoorC = "14.5";
    return v;
}

// A station folder, an output folder and config.kwt, with the cycle that the
// window would hold. The clock starts on the evening of 4 December.
class Station {
public:
    Station() {
        fs::create_directory(station());
        fs::create_directory(out());
        writeConfig(out());
        writeCurrdat(kBase);
    }
    std::string station() const { return dir_.file("station"); }
    std::string out() const { return dir_.file("out"); }
    std::string out(const std::string &name) const { return fileio::joinPath(out(), name); }
    std::string currdat() const { return fileio::joinPath(station(), "currdat.lst"); }
    std::string config() const { return dir_.file("config.kwt"); }
    std::string file(const std::string &name) const { return dir_.file(name); }

    void writeConfig(const std::string &outputFolder) {
        writeBytes(config(), "1\r\n1\r\n" + station() + "\r\n" + outputFolder + "\r\n");
    }
    void writeCurrdat(const CurrdatValues &v) { writeBytes(currdat(), currdatFile(v)); }

    cycle::TickOutcome tick(cycle::ClockTime now) {
        cycle::TickInputs in;
        in.heavyWeatherFolder = station();
        in.configPath = config();
        in.now = now;
        return cycle_.tick(in);
    }

    // Every file of the output folder and config.kwt, by name.
    std::map<std::string, std::string> files() const {
        std::map<std::string, std::string> all;
        if (fs::is_directory(out()))
            for (const auto &entry : fs::directory_iterator(out()))
                all[entry.path().filename().string()] = readBytes(entry.path().string());
        all["config.kwt"] = readBytes(config());
        return all;
    }

private:
    TempDir dir_;
    cycle::ConversionCycle cycle_;
};

const cycle::ClockTime kFaultTime{2026, 12, 5, 0, 2};
const cycle::ClockTime kRepairTime{2026, 12, 5, 0, 3};

// Three good ticks across midnight, so that every kind of file exists.
void runUpToTheFault(Station &s) {
    for (const cycle::ClockTime t : {cycle::ClockTime{2026, 12, 4, 23, 59}, cycle::ClockTime{2026, 12, 5, 0, 0},
                                     cycle::ClockTime{2026, 12, 5, 0, 1}}) {
        const auto o = s.tick(t);
        ASSERT_EQ(o.gate, cycle::Gate::Converted);
        ASSERT_TRUE(o.problems.empty()) << o.problems.front();
    }
}

bool startsWith(const std::string &text, const std::string &prefix) { return text.rfind(prefix, 0) == 0; }

// Record files only grow, config.kwt never changes, the files that are
// rewritten every tick are whole or empty, and no temporary file is left.
void expectNothingLost(const std::map<std::string, std::string> &before,
                       const std::map<std::string, std::string> &after) {
    for (const auto &[name, bytes] : before) {
        const auto found = after.find(name);
        ASSERT_TRUE(found != after.end()) << name << " is gone";
        const std::string &now = found->second;
        if (name == "config.kwt")
            EXPECT_EQ(now, bytes) << name;
        else if (name == "my_meteo.txt")
            EXPECT_TRUE(now.empty() || isCompleteWeatherFile(now)) << name << ": " << now;
        else if (name == "VENTO.TXT")
            EXPECT_TRUE(now.empty() || std::count(now.begin(), now.end(), '\n') == 4) << name << ": " << now;
        else if (name.size() == 12 && name.substr(name.size() - 4) == ".kwt")
            EXPECT_EQ(std::count(now.begin(), now.end(), '\n'), 4) << name << ": " << now;
        else
            EXPECT_TRUE(startsWith(now, bytes)) << name << " lost what it held:\n" << bytes << "\nnow:\n" << now;
    }
    for (const auto &entry : after)
        EXPECT_EQ(entry.first.find(".tmp"), std::string::npos) << entry.first << " left behind";
}

struct Fault {
    const char *name;
    bool needsPermissions; // only meaningful where permissions bite
    std::function<void(Station &)> breakIt, repair;
    cycle::Gate gate;
    const char *problem; // the first status text begins so; nullptr: none
    bool warmerKept;     // the broken tick's warmer reading reaches the store
};

void moveOutputAway(Station &s) { fs::rename(s.out(), s.file("out.away")); }
void moveOutputBack(Station &s) { fs::rename(s.file("out.away"), s.out()); }

std::vector<Fault> faults() {
    using cycle::Gate;
    const std::string good = currdatFile(warmer());
    auto currdat = [](std::string bytes) {
        return [bytes](Station &s) { writeBytes(s.currdat(), bytes); };
    };
    auto config = [](std::string bytes) {
        return [bytes](Station &s) { writeBytes(s.config(), bytes); };
    };
    const auto configBack = [](Station &s) { s.writeConfig(s.out()); };
    const auto currdatBack = [](Station &s) {
        fs::remove_all(s.currdat());
        s.writeCurrdat(kBase);
    };
    // A 10 MB line where the reader expects nothing of interest.
    std::string longLine = good;
    const auto weather = longLine.find("text=\"Sunny\"");
    longLine.replace(weather, 12, "text=\"" + std::string(10 * 1024 * 1024, 'S') + "\"");
    // Heavy Weather rewriting the file while it is read: cut inside line 40,
    // and inside the value of line 73, the last one read.
    const std::string cutInLine40 = firstLines(good, 39) + "deg_F=\"5";
    const std::string cutInLine73 = firstLines(good, 72) + "hpa=\"10";
    std::string garbageLines;
    for (int i = 0; i < 100; ++i)
        garbageLines += garbage(60, "\r\n0123456789+-.", static_cast<unsigned>(i)) + "\r\n";

    std::vector<Fault> all = {
        {"OutputFolderMissing", false, moveOutputAway, moveOutputBack, Gate::Converted,
         "Cartella di uscita inesistente: ", true},
        {"OutputFolderReplacedByAFile", false,
         [](Station &s) {
             moveOutputAway(s);
             writeBytes(s.out(), "the user's own file");
         },
         [](Station &s) {
             EXPECT_EQ(readBytes(s.out()), "the user's own file");
             fs::remove(s.out());
             moveOutputBack(s);
         },
         Gate::Converted, "Impossibile scrivere my_meteo.txt in ", true},
        {"OutputFolderReadOnly", true,
         [](Station &s) { fs::permissions(s.out(), fs::perms::owner_write, fs::perm_options::remove); },
         [](Station &s) { fs::permissions(s.out(), fs::perms::owner_write, fs::perm_options::add); },
         Gate::Converted, "Impossibile scrivere MM261205.kwt in ", true},
        {"CurrdatEmpty", false, currdat(""), currdatBack, Gate::Unreadable, "currdat.lst illeggibile", false},
        {"Currdat72Lines", false, currdat(firstLines(good, 72)), currdatBack, Gate::Unreadable,
         "currdat.lst illeggibile", false},
        {"CurrdatBinaryWithoutLines", false, currdat(garbage(8192, "\r\n")), currdatBack, Gate::Unreadable,
         "currdat.lst illeggibile", false},
        {"CurrdatBinaryLines", false, currdat(garbageLines), currdatBack, Gate::Converted, nullptr, false},
        {"CurrdatTenMegabyteLine", false, currdat(longLine), currdatBack, Gate::Converted, nullptr, true},
        {"CurrdatIsAFolder", false, [](Station &s) {
             fs::remove(s.currdat());
             fs::create_directory(s.currdat());
         },
         currdatBack, Gate::Unreadable, "currdat.lst illeggibile", false},
        {"CurrdatUnreadable", true,
         [](Station &s) { fs::permissions(s.currdat(), fs::perms::none); },
         [](Station &s) { fs::permissions(s.currdat(), fs::perms::owner_read | fs::perms::owner_write); },
         Gate::Unreadable, "currdat.lst illeggibile", false},
        {"CurrdatCutInLine40", false, currdat(cutInLine40), currdatBack, Gate::Unreadable,
         "currdat.lst illeggibile", false},
        {"CurrdatCutInTheLastValue", false, currdat(cutInLine73), currdatBack, Gate::Unreadable,
         "currdat.lst illeggibile", false},
        {"ConfigEmpty", false, config(""), configBack, Gate::Converted,
         "Cartella di uscita non impostata in config.kwt", true},
        {"ConfigGarbage", false, config("hello\r\nworld\r\nno such\r\nno such folder either\r\n"), configBack,
         Gate::Converted, "Cartella di uscita inesistente: no such folder either", true},
        {"ConfigBinary", false, config(garbage(4096, "")), configBack, Gate::Converted, "Cartella di uscita ",
         true},
        {"ConfigRemoved", false, [](Station &s) { fs::remove(s.config()); }, configBack, Gate::Converted,
         "config.kwt mancante o illeggibile", true},
        {"ConfigIsAFolder", false, [](Station &s) {
             fs::remove(s.config());
             fs::create_directory(s.config());
         },
         [](Station &s) {
             fs::remove(s.config());
             s.writeConfig(s.out());
         },
         Gate::Converted, "config.kwt mancante o illeggibile", true},
        // The cycle only reads config.kwt: a read-only one is no fault.
        {"ConfigReadOnly", false,
         [](Station &s) { fs::permissions(s.config(), fs::perms::owner_write, fs::perm_options::remove); },
         [](Station &s) { fs::permissions(s.config(), fs::perms::owner_write, fs::perm_options::add); },
         Gate::Converted, nullptr, true},
        {"DiskFullHalfWay", false, [](Station &) { fileio::setWriteFaultAfterBytes(20); },
         [](Station &) { fileio::setWriteFaultAfterBytes(std::nullopt); }, Gate::Converted,
         "Impossibile scrivere my_meteo.txt in ", true},
    };
#ifndef _WIN32
    // A FIFO blocks whoever opens it for reading until a writer comes.
    all.push_back({"CurrdatIsAFifo", false,
                   [](Station &s) {
                       fs::remove(s.currdat());
                       ASSERT_EQ(mkfifo(s.currdat().c_str(), 0600), 0);
                   }, currdatBack,
                   Gate::Unreadable, "currdat.lst illeggibile", false});
    // What the reader meets when the file vanishes after the existence test:
    // a name that leads nowhere. Before that test it is simply missing.
    all.push_back({"CurrdatDanglingLink", false,
                   [](Station &s) {
                       fs::remove(s.currdat());
                       fs::create_symlink(s.file("gone"), s.currdat());
                   },
                   currdatBack, Gate::Missing, nullptr, false});
#endif
    return all;
}

void PrintTo(const Fault &f, std::ostream *os) { *os << f.name; }

class FaultMatrix : public ::testing::TestWithParam<Fault> {
protected:
    void TearDown() override { fileio::setWriteFaultAfterBytes(std::nullopt); }
};

} // namespace

TEST_P(FaultMatrix, OneBrokenTickThenTheCycleGoesOnAndNothingIsLost) {
    const Fault &f = GetParam();
    if (f.needsPermissions && !permissionsBite())
        GTEST_SKIP() << kRootSkip;
    Station s;
    runUpToTheFault(s);
    const auto before = s.files();

    s.writeCurrdat(warmer());
    f.breakIt(s);
    const auto broken = s.tick(kFaultTime);
    EXPECT_EQ(broken.gate, f.gate);
    if (f.problem) {
        ASSERT_FALSE(broken.problems.empty());
        EXPECT_TRUE(startsWith(broken.problems.front(), f.problem)) << broken.problems.front();
    } else {
        EXPECT_TRUE(broken.problems.empty()) << broken.problems.front();
    }
    if (broken.gate == cycle::Gate::Converted && fs::exists(s.out("my_meteo.txt"))) {
        const std::string weather = readBytes(s.out("my_meteo.txt"));
        EXPECT_TRUE(weather.empty() || weather == before.at("my_meteo.txt") || weather == broken.text1 + "\r\n")
            << weather;
    }
    for (const char *name : {"my_meteo.txt", "VENTO.TXT", "MM261205.kwt", "20261205.txt"})
        EXPECT_FALSE(fs::exists(name)) << name << " written into the working directory";

    f.repair(s);
    fileio::setWriteFaultAfterBytes(std::nullopt);
    s.writeCurrdat(kBase);
    const auto next = s.tick(kRepairTime);
    EXPECT_EQ(next.gate, cycle::Gate::Converted);
    EXPECT_TRUE(next.problems.empty()) << next.problems.front();

    const auto after = s.files();
    expectNothingLost(before, after);
    EXPECT_EQ(after.at("my_meteo.txt"), next.text1 + "\r\n");
    const std::string &log = after.at("20261205.txt");
    EXPECT_NE(log.find("20261205 ; 00:03 "), std::string::npos) << log;
    EXPECT_EQ(after.at("MM261205.kwt"), f.warmerKept ? " 12.8\r\n 14.5\r\n 1013.2\r\n 1013.2\r\n"
                                                     : " 12.8\r\n 12.8\r\n 1013.2\r\n 1013.2\r\n");
}

INSTANTIATE_TEST_SUITE_P(Cases, FaultMatrix, ::testing::ValuesIn(faults()),
                         [](const ::testing::TestParamInfo<Fault> &info) { return std::string(info.param.name); });

// A full disk at the midnight tick, cut after every size a write may stop at:
// each file is either written whole or left as it was, every failure is
// named, and the next tick makes up for the broken one.
TEST(FaultAtMidnight, AWriteThatStopsHalfWayLosesNothingAndIsMadeUpForNextTick) {
    const std::string header = "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX\r\n";
    const std::string old = header + "04/Dec/2026 ;  1 ;  2 ;  3 ;  4\r\n";
    const std::string row = "05/Dec/2026 ;  12.8 ;  12.8 ;  1013.2 ;  1013.2\r\n";
    const std::string wind = "Velocit\xE0 [km/h]\r\n 12.2\r\nDirezione [gradi]\r\n 270\r\n";
    for (const std::size_t cut : {0u, 1u, 10u, 20u, 30u, 40u, 50u, 60u, 70u, 90u, 120u, 200u, 400u}) {
        SCOPED_TRACE("fault after " + std::to_string(cut) + " bytes");
        Station s;
        s.tick({2026, 12, 4, 23, 58});
        s.tick({2026, 12, 4, 23, 59});
        writeBytes(s.out("MM202612.TXT"), old);
        const auto before = s.files();

        s.writeCurrdat(warmer());
        fileio::setWriteFaultAfterBytes(cut);
        const auto broken = s.tick({2026, 12, 5, 0, 0});
        fileio::setWriteFaultAfterBytes(std::nullopt);
        const auto failed = [&](const std::string &name) {
            return std::any_of(broken.problems.begin(), broken.problems.end(),
                               [&](const std::string &p) { return p.find(" " + name + " ") != std::string::npos; });
        };
        auto now = s.files();
        EXPECT_EQ(now.at("my_meteo.txt"), failed("my_meteo.txt") ? "" : broken.text1 + "\r\n");
        EXPECT_EQ(now.at("VENTO.TXT"), failed("VENTO.TXT") ? "" : wind);
        EXPECT_EQ(now.at("MM202612.TXT"), failed("MM202612.TXT") ? old : old + row);
        // A new day's files come into being whole or not at all.
        if (failed("MM261205.kwt"))
            EXPECT_FALSE(now.count("MM261205.kwt"));
        else
            EXPECT_EQ(now.at("MM261205.kwt"), " 14.5\r\n 14.5\r\n 1013.2\r\n 1013.2\r\n");
        if (failed("20261205.txt"))
            EXPECT_FALSE(now.count("20261205.txt"));
        else
            EXPECT_EQ(std::count(now.at("20261205.txt").begin(), now.at("20261205.txt").end(), '\n'), 2);
        expectNothingLost(before, now);

        s.writeCurrdat(kBase);
        const auto next = s.tick({2026, 12, 5, 0, 1});
        EXPECT_TRUE(next.problems.empty()) << next.problems.front();
        now = s.files();
        EXPECT_EQ(now.at("MM202612.TXT"), old + row);
        EXPECT_EQ(now.at("MM261205.kwt"), " 12.8\r\n 14.5\r\n 1013.2\r\n 1013.2\r\n");
        EXPECT_EQ(now.at("my_meteo.txt"), next.text1 + "\r\n");
        EXPECT_EQ(now.at("VENTO.TXT"), wind);
    }
}

// The midnight tick is the only one that writes the summary row; when it
// cannot read currdat.lst or cannot write, the next tick of the day does.
TEST(FaultAtMidnight, TheDaysSummaryRowIsWrittenByTheNextTickThatCan) {
    struct Case {
        const char *name;
        std::function<void(Station &)> breakIt, repair;
    } cases[] = {
        {"currdat.lst missing", [](Station &s) { fs::remove(s.currdat()); }, [](Station &s) { s.writeCurrdat(kBase); }},
        {"currdat.lst cut short", [](Station &s) { writeBytes(s.currdat(), "[header]\r\n"); },
         [](Station &s) { s.writeCurrdat(kBase); }},
        {"output folder away", moveOutputAway, moveOutputBack},
        {"disk full", [](Station &) { fileio::setWriteFaultAfterBytes(0); },
         [](Station &) { fileio::setWriteFaultAfterBytes(std::nullopt); }},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        Station s;
        s.writeCurrdat(warmer());
        s.tick({2026, 12, 31, 23, 59});
        s.writeCurrdat(kBase);
        c.breakIt(s);
        s.tick({2027, 1, 1, 0, 0});
        c.repair(s);
        s.tick({2027, 1, 1, 0, 1});
        s.tick({2027, 1, 1, 0, 2});
        EXPECT_EQ(readBytes(s.out("MM202701.TXT")),
                  "DATA ; T_MIN ; T_MAX ; PRESS_MIN ; PRESS_MAX\r\n01/Jan/2027 ;  14.5 ;  14.5 ;  1013.2 ;  1013.2\r\n");
    }
}

// The user empties the output folder by removing it and makes it again: what
// the program still knows of the day comes back, the rest starts afresh.
TEST(OutputFolder, RemovedAndMadeAgainWhileRunning) {
    Station s;
    runUpToTheFault(s);
    fs::remove_all(s.out());
    s.writeCurrdat(warmer());
    const auto away = s.tick(kFaultTime);
    ASSERT_FALSE(away.problems.empty());
    EXPECT_TRUE(startsWith(away.problems.front(), "Cartella di uscita inesistente: "));
    EXPECT_FALSE(fs::exists(s.out()));

    fs::create_directory(s.out());
    s.writeCurrdat(kBase);
    const auto back = s.tick(kRepairTime);
    EXPECT_TRUE(back.problems.empty()) << back.problems.front();
    EXPECT_EQ(readBytes(s.out("MM261205.kwt")), " 12.8\r\n 14.5\r\n 1013.2\r\n 1013.2\r\n");
    EXPECT_TRUE(startsWith(readBytes(s.out("20261205.txt")), "Data ; Ora ;"));
    EXPECT_EQ(readBytes(s.out("my_meteo.txt")), back.text1 + "\r\n");
}

// A truncated currdat.lst is either no reading at all or the whole reading:
// never a value cut short (1013.2 read as 10).
TEST(CurrdatCut, EveryCutIsTheWholeReadingOrNone) {
    const std::string full = currdatFile(kBase);
    const cycle::ClockTime now{2026, 12, 5, 9, 22};
    const auto whole = cycle::parseCurrentData(full, now);
    ASSERT_TRUE(whole);
    int readings = 0;
    for (std::size_t n = 0; n <= full.size(); ++n) {
        const auto r = cycle::parseCurrentData(full.substr(0, n), now);
        if (!r)
            continue;
        ++readings;
        EXPECT_EQ(r->pressureRelative, whole->pressureRelative) << "cut after " << n << " bytes";
        EXPECT_EQ(r->pressureRelativeAprs, whole->pressureRelativeAprs) << "cut after " << n << " bytes";
    }
    // Only the cuts from the CR that ends line 73 on.
    EXPECT_EQ(readings, static_cast<int>(full.size() - firstLines(full, 73).size() + 2));

    // Gone between the existence test and the read: no reading either.
    TempDir dir;
    writeBytes(dir.file("currdat.lst"), full);
    ASSERT_TRUE(fileio::exists(dir.file("currdat.lst")));
    fs::remove(dir.file("currdat.lst"));
    EXPECT_FALSE(cycle::readCurrentData(dir.file("currdat.lst"), now));
}
