// What one minute of the program costs, and what the file system alone costs
// for the same files: a tick is judged as a ratio to that floor, measured in
// the same run on the same disk.

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>

#include "io/file_io.h"
#include "station/reading.h"
#include "cycle/tick.h"
#include "records/records.h"

namespace fs = std::filesystem;

namespace {

// 7 March 2026, 09:06: an ordinary minute, not midnight.
const station::ClockTime kMinute{2026, 3, 7, 9, 6};

std::string slurp(const std::string &path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void spit(const std::string &path, const std::string &bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Where the files are: 0 on the disk of the system's temporary folder, as
// the program's would be; 1 in memory (/dev/shm), where the file system costs
// least and the logic's share of a tick shows most.
fs::path baseFolder(std::int64_t where) {
    if (where == 1 && fs::is_directory("/dev/shm"))
        return "/dev/shm";
    return fs::temp_directory_path();
}

// A working folder as the program has it: config.kwt, the station folder
// with a real-layout currdat.lst, the output folder.
class Station {
public:
    explicit Station(std::int64_t where = 0) {
        static std::atomic<int> counter{0};
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        root_ = (baseFolder(where) / ("meteo-bench-" + std::to_string(stamp) + "-" + std::to_string(counter++)))
                    .string();
        fs::create_directories(station());
        fs::create_directories(output());
        spit(currdat(), slurp(METEO_DEMO_CURRDAT));
        if (slurp(currdat()).empty())
            throw std::runtime_error("demo currdat.lst not found");
        spit(config(), "1\r\n1\r\n" + station() + "\r\n" + output() + "\r\n");
        // The day so far spans the reading (12.8 °C, 1013.2 hPa): an ordinary
        // minute that sets no new extreme, so the store is read, not rewritten.
        spit(output() + "/MM260307.kwt", " 1.5\r\n 18.2\r\n 1005.1\r\n 1020.4\r\n");
    }
    ~Station() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    std::string station() const { return root_ + "/station"; }
    std::string output() const { return root_ + "/out"; }
    std::string currdat() const { return station() + "/currdat.lst"; }
    std::string config() const { return root_ + "/config.kwt"; }

private:
    std::string root_;
};

cycle::TickInputs inputsFor(const Station &s) {
    cycle::TickInputs in;
    in.configPath = s.config();
    in.now = kMinute;
    return in;
}

// One whole tick of the logic on real files.
void BM_Tick(benchmark::State &state) {
    Station s(state.range(0));
    cycle::ConversionCycle cycle;
    const auto in = inputsFor(s);
    cycle.tick(in); // the day's log and its header exist from here on
    for (auto _ : state) {
        auto out = cycle.tick(in);
        if (out.gate != cycle::Gate::Converted || !out.problems.empty())
            state.SkipWithError("tick failed");
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_Tick)->ArgName("shm")->Arg(0)->Arg(1);

// The same system calls as BM_Tick makes on an ordinary minute, in the same
// order, with the bytes the tick writes and nothing else (strace of a tick):
//   stat currdat.lst; open, fstat, read to the end, close it
//   stat config.kwt; open, fstat, read to the end, close it
//   my_meteo.txt: open O_TRUNC|O_CREAT, fstat, one write, close
//   day store MM260307.kwt: open, fstat, read to the end, close
//   VENTO.TXT: open O_TRUNC|O_CREAT, fstat, one write, close
//   data log: stat; open O_RDWR|O_APPEND, fstat, lseek end, lseek end - 1,
//     read its last byte, fstat, lseek end, one write, close
//   stat of the output folder (the status bar's check)
int openFile(const std::string &path, int flags) {
    const int fd = ::open(path.c_str(), flags, 0666);
    if (fd < 0)
        throw std::runtime_error("open " + path);
    return fd;
}

void readToEnd(const std::string &path) {
    const int fd = openFile(path, O_RDONLY);
    struct stat st;
    ::fstat(fd, &st);
    char buffer[16384];
    std::size_t want = sizeof buffer;
    while (::read(fd, buffer, want) > 0)
        want = sizeof buffer - 4096; // as stdio asks after its first block
    ::close(fd);
}

void writeWhole(const std::string &path, const std::string &bytes) {
    const int fd = openFile(path, O_WRONLY | O_CREAT | O_TRUNC);
    struct stat st;
    ::fstat(fd, &st);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("write " + path);
    ::close(fd);
}

void appendRow(const std::string &path, const std::string &bytes) {
    struct stat st;
    ::stat(path.c_str(), &st);
    const int fd = openFile(path, O_RDWR | O_CREAT | O_APPEND);
    ::fstat(fd, &st);
    const off_t end = ::lseek(fd, 0, SEEK_END);
    ::lseek(fd, end - 1, SEEK_SET);
    char last;
    if (::read(fd, &last, 1) != 1 || last != '\n')
        throw std::runtime_error("log " + path);
    ::fstat(fd, &st);
    ::lseek(fd, end, SEEK_SET);
    if (::write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
        throw std::runtime_error("write " + path);
    ::close(fd);
}

class Floor {
public:
    explicit Floor(const Station &s) : s_(s), out_(s.output()) {
        // The bytes a tick writes, taken from a real tick so the sizes match.
        cycle::ConversionCycle cycle;
        cycle.tick(inputsFor(s));
        meteo_ = slurp(out_ + "/my_meteo.txt");
        wind_ = slurp(out_ + "/VENTO.TXT");
        const std::string log = slurp(out_ + "/20260307.txt");
        row_ = log.substr(log.find("\r\n") + 2);
    }
    void operator()() const {
        struct stat st;
        ::stat(s_.currdat().c_str(), &st);
        readToEnd(s_.currdat());
        ::stat(s_.config().c_str(), &st);
        readToEnd(s_.config());
        writeWhole(out_ + "/my_meteo.txt", meteo_);
        readToEnd(out_ + "/MM260307.kwt");
        writeWhole(out_ + "/VENTO.TXT", wind_);
        appendRow(out_ + "/20260307.txt", row_);
        ::stat(out_.c_str(), &st);
    }

private:
    const Station &s_;
    std::string out_, meteo_, wind_, row_;
};

void BM_FileSystemFloor(benchmark::State &state) {
    Station s(state.range(0));
    const Floor floor(s);
    for (auto _ : state)
        floor();
}
BENCHMARK(BM_FileSystemFloor)->ArgName("shm")->Arg(0)->Arg(1);

// A tick and a floor pass in turn, each timed on its own: on a disk the cost
// of a write depends on what the disk is doing (other builds, write-back), and
// pairing them gives both the same conditions. The ratio is of the totals.
void BM_TickOverFloor(benchmark::State &state) {
    Station tickStation(state.range(0)), floorStation(state.range(0));
    const Floor floor(floorStation);
    cycle::ConversionCycle cycle;
    const auto in = inputsFor(tickStation);
    cycle.tick(in);
    using Clock = std::chrono::steady_clock;
    Clock::duration tickTime{}, floorTime{};
    for (auto _ : state) {
        const auto t0 = Clock::now();
        auto out = cycle.tick(in);
        const auto t1 = Clock::now();
        floor();
        const auto t2 = Clock::now();
        benchmark::DoNotOptimize(out);
        tickTime += t1 - t0;
        floorTime += t2 - t1;
    }
    const auto us = [&](Clock::duration d) {
        return std::chrono::duration<double, std::micro>(d).count() / static_cast<double>(state.iterations());
    };
    state.counters["tick_us"] = us(tickTime);
    state.counters["floor_us"] = us(floorTime);
    state.counters["ratio"] = us(tickTime) / us(floorTime);
}
BENCHMARK(BM_TickOverFloor)->ArgName("shm")->Arg(0)->Arg(1);

// The reader alone: from the file, and from bytes already in memory.
void BM_ReadCurrentData(benchmark::State &state) {
    Station s;
    for (auto _ : state)
        benchmark::DoNotOptimize(station::readCurrentData(s.currdat(), kMinute));
}
BENCHMARK(BM_ReadCurrentData);

void BM_ParseCurrentData(benchmark::State &state) {
    const std::string bytes = slurp(METEO_DEMO_CURRDAT);
    for (auto _ : state)
        benchmark::DoNotOptimize(station::parseCurrentData(bytes, kMinute));
}
BENCHMARK(BM_ParseCurrentData);

// One row of the data log, appended to an empty log and to a 1 GB one (a
// sparse file: the size is what an O(size) append would pay for). The log is
// cut back to its starting size now and then, outside the timing.
void BM_AppendDataLog(benchmark::State &state) {
    Station s;
    const auto reading = station::readCurrentData(s.currdat(), kMinute);
    const std::string path = s.output() + "/" + records::logFileName(kMinute.date());
    const auto startSize = static_cast<std::uintmax_t>(state.range(0)) << 20;
    spit(path, "");
    fs::resize_file(path, startSize);
    std::int64_t sinceReset = 0;
    for (auto _ : state) {
        if (auto problem = records::appendDataLog(*reading, s.output()))
            state.SkipWithError(problem->c_str());
        if (++sinceReset == 4096) {
            state.PauseTiming();
            fs::resize_file(path, startSize);
            sinceReset = 0;
            state.ResumeTiming();
        }
    }
    state.counters["log_MiB"] = static_cast<double>(state.range(0));
}
BENCHMARK(BM_AppendDataLog)->Arg(0)->Arg(1024);

} // namespace
