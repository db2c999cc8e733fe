// The text forms every file and caption goes through, as round trips over
// any bytes: numberText and leadingNumber (in a locale with a decimal comma,
// as Qt may set it for an Italian user), and CP1252 and UTF-8 both ways.

#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>

#include "fuzz_support.h"
#include "io/text_codec.h"
#include "model/model.h"
#include "station/numbers.h"

fuzz_support::Check aNumber("a text that starts with a number"), noNumber("a text that holds none"),
    aDouble("bytes that are a finite double"), notFinite("bytes that are no finite double"),
    encodable("UTF-8 that CP1252 holds"), notEncodable("UTF-8 that CP1252 cannot hold");

// Written in the files' form, x reads back as itself to 15 digits (infinity
// as the largest number), and that writes as the same text again.
void roundTrip(double x) {
    const std::string t = station::numberText(x);
    const double back = station::leadingNumber(t);
    FUZZ_CHECK(model::numberField(t) && station::numberText(back) == t);
    x = std::isinf(x) ? std::copysign(1.7976931348623157e308, x) : x;
    FUZZ_CHECK(std::isnan(x) || std::fabs(back - x) <= 5.1e-15 * std::fabs(x));
}

#ifndef _WIN32
// A locale of our own: the systems the fuzzers run on seldom have an Italian
// one generated. Where none can be made, C's is used.
bool useDecimalComma() {
    const std::string folder = fuzz_support::scratchFolder();
    std::ofstream(folder + "/comma.def") << "LC_NUMERIC\ndecimal_point \",\"\nthousands_sep \".\"\nEND LC_NUMERIC\n";
    const std::string make = "localedef -c -i " + folder + "/comma.def " + folder + "/comma >/dev/null 2>&1";
    return std::system(make.c_str()) >= 0 && !setenv("LOCPATH", folder.c_str(), 1) &&
           std::setlocale(LC_NUMERIC, "comma");
}
const bool comma = useDecimalComma() || std::fprintf(stderr, "no locale with a decimal comma\n");
#endif

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size) {
    const std::string text(reinterpret_cast<const char *>(data), size);
    const auto parsed = station::parseLeadingNumber(text);
    FUZZ_CHECK(station::leadingNumber(text) == parsed.value_or(0) && (!parsed || std::isfinite(*parsed)));
    (parsed ? aNumber : noNumber).reached();
    if (parsed)
        roundTrip(*parsed);
    // The same bytes as doubles, so that every bit pattern is written too.
    for (std::size_t at = 0; at + sizeof(double) <= size && at < 64; at += sizeof(double)) {
        double x;
        std::memcpy(&x, data + at, sizeof x);
        (std::isfinite(x) ? aDouble : notFinite).reached();
        roundTrip(x);
    }
    // Every byte is a character of CP1252 and comes back as itself; so does
    // UTF-8 that CP1252 holds.
    const auto encoded = io::utf8ToCp1252(text);
    (encoded ? encodable : notEncodable).reached();
    FUZZ_CHECK(io::utf8ToCp1252(io::cp1252ToUtf8(text)) == text);
    FUZZ_CHECK(!encoded || io::cp1252ToUtf8(*encoded) == text);
    return 0;
}
