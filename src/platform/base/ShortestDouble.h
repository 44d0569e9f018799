#pragma once
// The shortest decimal text that reads back (with std::from_chars, strtod or rigel::Atof) to
// exactly the same double. Plain positional notation for magnitudes from 1e-5 up to 1e16, so that
// stations and coordinates read naturally; exponent notation outside that range; "nan", "inf",
// "-inf" for non-finite values. Independent of the C locale.

#include <string>

namespace rigel {

std::string ShortestDouble(double value);

// Appends the text of ShortestDouble(value) to out, without a string of its own (for writers of
// many numbers).
void AppendShortestDouble(std::string& out, double value);

} // namespace rigel
