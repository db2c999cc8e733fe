// A fuzz target's own main for the ordinary suite: every seed of its corpus
// runs once through the target's checks, built with any compiler (GCC,
// mingw under Wine); libFuzzer's main stays for `make fuzz`.

#include <cstdint>
#include <fstream>
#include <iterator>

#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char **argv) {
    int seeds = 0, missed = 0;
    for (const auto &seed : std::filesystem::directory_iterator(argv[argc - 1])) {
        std::ifstream in(seed.path(), std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), {}};
        std::printf("%s\n", seed.path().string().c_str()); // names the seed of a failed check
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(bytes.data()), bytes.size()), ++seeds;
    }
    for (const auto *check : fuzz_support::Check::all())
        if (!check->wasReached && ++missed)
            std::printf("no seed reaches the check \"%s\"\n", check->name);
    return !seeds || missed;
}
