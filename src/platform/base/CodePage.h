#pragma once
// Text crosses between the library (Windows-1252 bytes, as the host's texts are) and XML
// documents (UTF-8) only through these two functions.
#include <string>
#include <string_view>

namespace rigel {

// Every byte becomes its UTF-8 character; the five bytes Windows-1252 leaves undefined
// (0x81, 0x8D, 0x8F, 0x90, 0x9D) become "?".
std::string Utf8FromWindows1252(std::string_view text);

// Every UTF-8 character becomes its Windows-1252 byte; a character the code page lacks and
// every byte that is not part of a well-formed UTF-8 sequence become "?".
std::string Windows1252FromUtf8(std::string_view text);

} // namespace rigel
