#include "platform/polyline/PolylineText.h"

#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"

#include <bit>
#include <climits>
#include <cmath>
#include <cstdint>

namespace rigel::polyline {

std::string FormatNumber(double value, int precision) {
    if (precision > 0)
        return rigel::Format("%.*f", precision, value);
    std::string text;
    for (int digits = 15; digits <= 17; ++digits) {
        text = rigel::Format("%.*g", digits, value);
        double back = 0.0;
        if (rigel::ParseDouble(text, back) == text.size() &&
            std::bit_cast<std::uint64_t>(back) == std::bit_cast<std::uint64_t>(value))
            break;
    }
    return text;
}

std::vector<std::string_view> SplitTokens(std::string_view line, std::size_t maxTokens) {
    std::vector<std::string_view> tokens;
    std::size_t i = 0;
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (i < line.size() && tokens.size() <= maxTokens) {
        while (i < line.size() && blank(line[i]))
            ++i;
        if (i >= line.size())
            break;
        std::size_t j = i;
        while (j < line.size() && !blank(line[j]))
            ++j;
        tokens.push_back(line.substr(i, j - i));
        i = j;
    }
    return tokens;
}

bool ParseDoubleToken(std::string_view token, double& value) {
    if (token.empty() || token.front() == ' ' || token.front() == '\t')
        return false;
    double v = 0.0;
    if (rigel::ParseDouble(token, v) != token.size() || !std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ParseIntToken(std::string_view token, int& value) {
    if (token.empty() || token.front() == ' ' || token.front() == '\t')
        return false;
    long long v = 0;
    if (rigel::ParseLong(token, v) != token.size() || v < INT_MIN || v > INT_MAX)
        return false;
    value = static_cast<int>(v);
    return true;
}

std::string Excerpt(std::string_view token) {
    std::string out;
    for (std::size_t i = 0; i < token.size() && i < 40; ++i) {
        const auto c = static_cast<unsigned char>(token[i]);
        if (c >= 0x20 && c < 0x7f)
            out += static_cast<char>(c);
        else
            out += rigel::Format("\\x%02X", static_cast<unsigned>(c));
    }
    if (token.size() > 40)
        out += "...";
    return out;
}

} // namespace rigel::polyline
