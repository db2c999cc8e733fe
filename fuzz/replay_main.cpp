// A fuzz target's own main for the ordinary suite: every seed of its corpus
// runs once through the target's checks, built with any compiler (GCC,
// mingw under Wine); libFuzzer's main stays for `make fuzz`.

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);
#ifdef METEO_FUZZ_INITIALIZE
extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv);
#endif

int main(int argc, char **argv) {
#ifdef METEO_FUZZ_INITIALIZE
    LLVMFuzzerInitialize(&argc, &argv);
#endif
    std::vector<std::filesystem::path> seeds(std::filesystem::directory_iterator(argv[argc - 1]), {});
    std::sort(seeds.begin(), seeds.end());
    for (const auto &seed : seeds) {
        std::ifstream in(seed, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        fuzz_support::seed = seed.string();
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size());
    }
    int missed = 0;
    for (const auto *check : fuzz_support::Check::all())
        if (!check->wasReached && ++missed)
            std::fprintf(stderr, "no seed reaches the check \"%s\"\n", check->name);
    std::printf("%zu seeds replayed, %d checks unreached\n", seeds.size(), missed);
    return seeds.empty() || missed ? 1 : 0;
}
