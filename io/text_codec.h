#pragma once
// Conversion between the program's internal UTF-8 text and the Windows-1252
// bytes of every file it reads and writes.

#include <cstddef>
#include <optional>
#include <string>

namespace io {

// Every byte has a meaning: the five bytes that Windows-1252 leaves undefined
// map to the C1 control characters of the same value, as Windows itself does,
// so that decoding and encoding back give the same bytes.
std::string cp1252ToUtf8(const std::string &bytes);

// nullopt when the text holds a character that Windows-1252 cannot hold
// (or is not valid UTF-8).
std::optional<std::string> utf8ToCp1252(const std::string &utf8);

// As above, but such characters become `replacement`.
std::string utf8ToCp1252Lossy(const std::string &utf8, char replacement = '?');

// Bytes of the UTF-8 sequence that starts with this byte: the one walker of
// UTF-8 text. 1 for a byte that starts none (a stray continuation byte or
// 0xF8 and above), so that malformed text still moves forward.
std::size_t sequenceLength(unsigned char lead);

} // namespace io
