#pragma once
// Internal: number text of the component's files. Numbers go through rigel::Format and
// rigel::ParseDouble/ParseLong only, so that no C locale is involved.

#include <string>
#include <string_view>
#include <vector>

namespace rigel::polyline {

// precision 0: the shortest of "%.15g", "%.16g", "%.17g" that reads back as the same double
// (so "0.1" stays "0.1", and every finite double round-trips); n > 0: "%.nf".
std::string FormatNumber(double value, int precision);

// Splits a line at blanks (space, tab, CR); at most maxTokens + 1 tokens are returned, so that a
// caller sees "too many" without the line's length mattering.
std::vector<std::string_view> SplitTokens(std::string_view line, std::size_t maxTokens);

// The whole token as a finite double / an int. false when the token is anything else.
bool ParseDoubleToken(std::string_view token, double& value);
bool ParseIntToken(std::string_view token, int& value);

// A short, printable excerpt of a token for messages (at most 40 bytes, non-printable bytes as
// "\xNN").
std::string Excerpt(std::string_view token);

} // namespace rigel::polyline
