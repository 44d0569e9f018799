#include "platform/base/ShortestDouble.h"

#include <array>
#include <charconv>
#include <cmath>

namespace rigel {
namespace {

// Fixed notation of a double below 2^1024 needs at most 309 integer digits plus sign and the up
// to 17 significant digits after the point that the shortest form may need, well under this size;
// the range test below keeps it far smaller anyway.
using Buffer = std::array<char, 400>;

char* Write(double value, char* begin, char* end) {
    if (value == 0.0) {
        // The most common value of a writer's columns, and the one with the least to convert.
        char* at = begin;
        if (std::signbit(value))
            *at++ = '-';
        *at++ = '0';
        return at;
    }
    const double magnitude = std::fabs(value);
    const bool positional = magnitude >= 1e-5 && magnitude < 1e16;
    return positional ? std::to_chars(begin, end, value, std::chars_format::fixed).ptr
                      : std::to_chars(begin, end, value).ptr;
}

} // namespace

std::string ShortestDouble(double value) {
    Buffer buffer;
    return std::string(buffer.data(), Write(value, buffer.data(), buffer.data() + buffer.size()));
}

void AppendShortestDouble(std::string& out, double value) {
    Buffer buffer;
    out.append(buffer.data(), Write(value, buffer.data(), buffer.data() + buffer.size()));
}

} // namespace rigel
