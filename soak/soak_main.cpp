// The long soak (make soak): the real cycle over months of simulated ticks.
// Usage: soak [ticks] [--keep FOLDER]. Prints the figures; exits with 1 when
// a file was wrong or the memory grew.

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <thread>

#ifdef __linux__
#include <sys/statfs.h>
#include <sys/utsname.h>
#endif

#include "soak/soak.h"
#include "support/test_support.h"

namespace {

std::string cpuModel() {
    std::ifstream info("/proc/cpuinfo");
    for (std::string line; std::getline(info, line);)
        if (line.rfind("model name", 0) == 0 && line.find(':') != std::string::npos)
            return line.substr(line.find(':') + 2);
    return "unknown";
}

std::string system() {
#ifdef __linux__
    utsname u{};
    if (uname(&u) == 0)
        return std::string(u.sysname) + " " + u.release + " " + u.machine;
#endif
    return "unknown";
}

std::string fileSystem(const std::string &folder) {
#ifdef __linux__
    struct statfs s {};
    if (statfs(folder.c_str(), &s) == 0) {
        switch (static_cast<unsigned long>(s.f_type)) {
        case 0xEF53: return "ext4";
        case 0x01021994: return "tmpfs";
        case 0x58465342: return "xfs";
        case 0x9123683E: return "btrfs";
        case 0x794C7630: return "overlayfs";
        default: break;
        }
        char hex[32];
        std::snprintf(hex, sizeof hex, "0x%lx", static_cast<unsigned long>(s.f_type));
        return hex;
    }
#endif
    (void)folder;
    return "unknown";
}

} // namespace

int main(int argc, char **argv) {
    soak::Options options;
    options.ticks = 110000;
    // From 20 November 06:00 to 4 February: the ends of November, December
    // (and the year) and January. Restarts at random moments, and just
    // before the midnights of the 1st, 7th, 14th, 21st and 28th, which then
    // get two ticks in their minute 00:00.
    options.year = 2026;
    options.month = 11;
    options.day = 20;
    options.hour = 6;
    options.minute = 0;
    options.restartEvery = 10007;
    options.midnightRestartEvery = 7;
    options.progress = [](const std::string &line) { std::fprintf(stderr, "  %s\n", line.c_str()); };
    std::string keep;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--keep") == 0 && i + 1 < argc)
            keep = argv[++i];
        else
            options.ticks = std::atol(argv[i]);
    }
    if (options.ticks <= 0) {
        std::fprintf(stderr, "usage: soak [ticks] [--keep FOLDER]\n");
        return 2;
    }

    testing_support::TempDir temp;
    const std::string folder = keep.empty() ? temp.path() : keep;
    std::printf("Soak of the conversion cycle: %ld ticks 59.5 s apart in %s\n", options.ticks, folder.c_str());
    std::fflush(stdout);
    const soak::Figures f = soak::run(options, folder);

    std::printf("\n");
    std::printf("ticks                 %ld\n", f.ticks);
    std::printf("simulated time        %.2f days (%ld calendar days, from %04d-%02d-%02d %02d:%02d)\n",
                f.simulatedDays, f.calendarDays, options.year, options.month, options.day, options.hour,
                options.minute);
    std::printf("midnights             %ld, of which with two ticks in 00:00: %ld", f.midnights, f.doubleMidnights);
    for (const auto &date : f.doubleMidnightDates)
        std::printf(" (%s)", date.c_str());
    std::printf("\nsummary rows checked  %ld\n", f.summaryRows);
    std::printf("ticks with pressure 0 %ld, with missing sensors %ld, below 0 degC %ld, sent below 0 degF %ld\n",
                f.zeroPressureTicks, f.missingSensorTicks, f.negativeTemperatureTicks, f.negativeFahrenheitTicks);
    std::printf("ticks warning of fog  %ld\n", f.fogTicks);
    std::printf("program restarts      %ld\n", f.restarts);
    std::printf("files checked         %ld\n", f.filesChecked);
    std::printf("wall time             %.1f s (%.2f ms per tick, checks included)\n", f.wallSeconds,
                1000.0 * f.wallSeconds / static_cast<double>(f.ticks));
    std::printf("memory (VmRSS)        start %ld KiB, after the first tenth %ld KiB, end %ld KiB%s\n",
                f.rssStartKb, f.rssWarmKb, f.rssEndKb, soak::sanitized() ? " (sanitizer build: not judged)" : "");
    std::printf("heap in use           after the first tenth %ld KiB, end %ld KiB\n", f.heapWarmKb, f.heapEndKb);
    std::printf("machine               %s, %u threads, %s, files on %s\n", cpuModel().c_str(),
                std::thread::hardware_concurrency(), system().c_str(), fileSystem(folder).c_str());
    std::printf("failures              %ld\n", f.failureCount);
    for (const auto &failure : f.failures)
        std::printf("  %s\n", failure.c_str());

    const std::string memory = soak::memoryVerdict(f);
    const bool grew = !memory.empty();
    if (grew)
        std::printf("memory grew: %s\n", memory.c_str());
    std::printf("%s\n", f.failureCount == 0 && !grew ? "SOAK PASSED" : "SOAK FAILED");
    return f.failureCount == 0 && !grew ? 0 : 1;
}
