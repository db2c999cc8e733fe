// Starts the program in a working folder and watches it from outside, as a
// user's clock would: the program itself has no hooks or options for this.
//
//   meteo_first_tick ticks PROGRAM WORKDIR OUTPUT_FOLDER TICKS
//     time from start to the first my_meteo.txt written (closed), then the
//     resident memory after TICKS written files (ticks 59.5 s apart)
//   meteo_first_tick idle PROGRAM WORKDIR SECONDS
//     CPU time the program uses over SECONDS while it waits for currdat.lst
//     (measured from its second second on, past the start-up)

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;

pid_t start(const char *program, const char *workdir) {
    const pid_t pid = fork();
    if (pid == 0) {
        if (chdir(workdir) != 0)
            _exit(127);
        // Qt's notes about the offscreen platform are not figures.
        const int null = open("/dev/null", O_WRONLY);
        dup2(null, 1);
        dup2(null, 2);
        execl(program, program, static_cast<char *>(nullptr));
        _exit(127);
    }
    return pid;
}

void stop(pid_t pid) {
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
}

// "VmRSS" or "VmHWM" of the process, in kB.
long statusKb(pid_t pid, const char *key) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0)
            return std::strtol(line.c_str() + std::strlen(key) + 1, nullptr, 10);
    return -1;
}

// CPU time of all the process's threads, in nanoseconds (schedstat), and in
// clock ticks from stat (utime + stime) as a cross-check.
long long cpuNs(pid_t pid) {
    long long total = 0;
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    for (const auto &entry : std::filesystem::directory_iterator(tasks)) {
        std::ifstream in(entry.path() / "schedstat");
        long long ns = 0;
        in >> ns;
        total += ns;
    }
    return total;
}

long long cpuTicks(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string f;
    long long utime = 0, stime = 0;
    for (int i = 3; i <= 15 && fields >> f; ++i) {
        if (i == 14)
            utime = std::atoll(f.c_str());
        if (i == 15)
            stime = std::atoll(f.c_str());
    }
    return utime + stime;
}

int ticks(const char *program, const char *workdir, const char *outputFolder, int wanted) {
    const int fd = inotify_init1(IN_CLOEXEC);
    if (fd < 0 || inotify_add_watch(fd, outputFolder, IN_CLOSE_WRITE) < 0) {
        std::perror("inotify");
        return 2;
    }
    const auto t0 = Clock::now();
    const pid_t pid = start(program, workdir);
    int seen = 0;
    double firstMs = -1;
    long rssFirst = -1;
    const auto deadline = t0 + std::chrono::seconds(10 + 60 * wanted);
    while (seen < wanted && Clock::now() < deadline) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, 1000) <= 0)
            continue;
        alignas(inotify_event) char buffer[4096];
        const ssize_t n = read(fd, buffer, sizeof buffer);
        for (ssize_t at = 0; at < n;) {
            const auto *e = reinterpret_cast<const inotify_event *>(buffer + at);
            if (e->len && std::strcmp(e->name, "my_meteo.txt") == 0) {
                if (++seen == 1) {
                    firstMs = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
                    // The tick's own work finishes right after this file.
                    std::this_thread::sleep_for(std::chrono::milliseconds(200));
                    rssFirst = statusKb(pid, "VmRSS:");
                }
            }
            at += static_cast<ssize_t>(sizeof(inotify_event) + e->len);
        }
    }
    if (seen < wanted) {
        stop(pid);
        std::fprintf(stderr, "only %d of %d ticks seen\n", seen, wanted);
        return 1;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    std::printf("first_tick_ms=%.1f rss_first_kb=%ld ticks=%d rss_kb=%ld hwm_kb=%ld\n", firstMs, rssFirst, seen,
                statusKb(pid, "VmRSS:"), statusKb(pid, "VmHWM:"));
    stop(pid);
    return 0;
}

int idle(const char *program, const char *workdir, int seconds) {
    const pid_t pid = start(program, workdir);
    std::this_thread::sleep_for(std::chrono::seconds(2));
    const long long ns0 = cpuNs(pid), ticks0 = cpuTicks(pid);
    const auto t0 = Clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const long long ns1 = cpuNs(pid), ticks1 = cpuTicks(pid);
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    stop(pid);
    const double hz = static_cast<double>(sysconf(_SC_CLK_TCK));
    std::printf("idle_s=%.1f cpu_ms=%.2f core_percent=%.4f stat_cpu_ms=%.0f\n", wall, (ns1 - ns0) / 1e6,
                100.0 * (ns1 - ns0) / 1e9 / wall, 1000.0 * (ticks1 - ticks0) / hz);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 6 && std::strcmp(argv[1], "ticks") == 0)
        return ticks(argv[2], argv[3], argv[4], std::atoi(argv[5]));
    if (argc == 5 && std::strcmp(argv[1], "idle") == 0)
        return idle(argv[2], argv[3], std::atoi(argv[4]));
    std::fprintf(stderr, "usage: %s ticks PROGRAM WORKDIR OUTPUT_FOLDER TICKS | idle PROGRAM WORKDIR SECONDS\n",
                 argv[0]);
    return 2;
}
