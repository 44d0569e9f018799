#include "platform/base/ShortestDouble.h"

#include <array>
#include <charconv>
#include <cmath>

namespace rigel {

std::string ShortestDouble(double value) {
    // Fixed notation of a double below 2^1024 needs at most 309 integer digits plus sign and the
    // up to 17 significant digits after the point that the shortest form may need, well under
    // this size; the range test below keeps it far smaller anyway.
    std::array<char, 400> buffer{};
    const double magnitude = std::fabs(value);
    const bool positional = magnitude == 0.0 || (magnitude >= 1e-5 && magnitude < 1e16);
    const auto result = positional
                            ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                            std::chars_format::fixed)
                            : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

} // namespace rigel
