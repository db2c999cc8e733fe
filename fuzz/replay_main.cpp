// A fuzz target's own main for the ordinary suite: every seed of its corpus
// is run once through the target's checks, built with any compiler (GCC,
// mingw under Wine), so those checks do not depend on clang being there.
// libFuzzer's main stays for `make fuzz`.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
#ifdef METEO_FUZZ_INITIALIZE
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
#endif

int main(int argc, char **argv) {
#ifdef METEO_FUZZ_INITIALIZE
    LLVMFuzzerInitialize(&argc, &argv);
#endif
    namespace fs = std::filesystem;
    std::vector<fs::path> seeds;
    for (int i = 1; i < argc; ++i)
        for (const auto &entry : fs::directory_iterator(argv[i]))
            seeds.push_back(entry.path());
    std::sort(seeds.begin(), seeds.end());
    for (const auto &seed : seeds) {
        std::ifstream in(seed, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        // A seed that the target turns away before its checks proves nothing.
        if (LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()) != 0) {
            std::fprintf(stderr, "%s: the seed no longer reaches the checks\n", seed.string().c_str());
            return 1;
        }
    }
    const auto missed = fuzz_support::unreachedChecks();
    for (const auto &name : missed)
        std::fprintf(stderr, "no seed reaches the check \"%s\"\n", name.c_str());
    std::printf("%zu seeds replayed, %zu checks unreached\n", seeds.size(), missed.size());
    return seeds.empty() || !missed.empty() ? 1 : 0;
}
