// rigel::Format against C snprintf in the "C" locale, over the formats of the file layouts.

#include "platform/base/TextFormat.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <limits>
#include <string>
#include <utility>

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNan = std::numeric_limits<double>::quiet_NaN();

// Signs, zero and minus zero, rounding halves, large, tiny and subnormal values, non-finite ones.
const std::array kDoubles = {0.0,         -0.0,
                             1.5,         -1.5,
                             0.125,       0.375,
                             2.5,         -2.5,
                             0.5,         0.05,
                             1e15,        -1e15,
                             1e-7,        -1e-7,
                             5e-324,      1.7976931348623157e308,
                             99.99995,    6543210.123456789,
                             123456.7895, -12.3445,
                             kNan,        -kNan,
                             kInf,        -kInf};
const std::array kInts = {0, 1, -1, 7, -42, 12345, 2147483647, -2147483647 - 1};

template <typename T> T CArg(const T& v) {
    return v;
}
const char* CArg(const std::string& s) {
    return s.c_str();
}

template <typename... A> void ExpectLikeSnprintf(const char* format, const A&... args) {
    const int n = std::snprintf(nullptr, 0, format, CArg(args)...);
    ASSERT_GE(n, 0) << format;
    std::string expected(static_cast<std::size_t>(n), '\0');
    std::snprintf(expected.data(), expected.size() + 1, format, CArg(args)...);
    EXPECT_EQ(rigel::Format(format, args...), expected) << "format \"" << format << "\"";
}

// Calls the format with twelve values of pool, starting at pool[first] and wrapping around;
// values beyond the format's conversions are ignored, by C and by Format alike.
template <typename Pool, std::size_t... I>
void WithValues(const char* format, const Pool& pool, std::size_t first,
                std::index_sequence<I...>) {
    ExpectLikeSnprintf(format, pool[(first + I) % pool.size()]...);
}

template <typename Pool> void EveryValueInEveryPlace(const char* format, const Pool& pool) {
    for (std::size_t first = 0; first < pool.size(); ++first)
        WithValues(format, pool, first, std::make_index_sequence<12>());
}

} // namespace

TEST(TextFormat, FormatsOfOnlyDoublesMatchSnprintf) {
    const char* const formats[] = {
        "%.15f %.15f %.15f",
        "%.15lf %.15lf %.15lf %.15lf %.15lf %.15lf %.15lf %.15lf",
        "%.3f %.1f 0.0 %.6f %.6f 0.0",
        "%.4f 10.0 %.4f",
        "%4.0lf",
        "%lf",
        "%.0f",
        "\n%15.6f%17.6f%16.6f",
        "%e",
        "%g",
        "pt2->direction = %f newDir = %f",
        "[CvSporopPointList::UpdateProfiles] END [%.0f ms]\n",
        "[ImportCant] Current interval: STA=%10.3f OH=%4.0f S=%8.3f\n",
        "\n[ImportCant] Current element: STA=%10.3f H1=%6.1f H2=%6.1f h1=%6.1f h2=%6.1f"};
    for (const char* format : formats)
        EveryValueInEveryPlace(format, kDoubles);
}

TEST(TextFormat, FormatsOfOnlyIntegersMatchSnprintf) {
    const char* const formats[] = {"%d",
                                   "%d %d %d %d %d %d %d %d %d %d %d %d",
                                   "%d.%d",
                                   "C-%d",
                                   "%+03i:00",
                                   "%02i:%02i:%02i",
                                   "\\StringFileInfo\\%04x%04x\\ProductVersion",
                                   "%d points deleted:",
                                   "\n\n%d points will be analyzed."};
    for (const char* format : formats)
        EveryValueInEveryPlace(format, kInts);
}

TEST(TextFormat, MixedRecordFormatsMatchSnprintf) {
    const std::string names[] = {"", "A", "KOF-05", "§17 \xE6\xF8\xE5", std::string(300, 'x')};
    for (std::size_t k = 0; k < kDoubles.size(); ++k) {
        const double a = kDoubles[k], b = kDoubles[(k + 5) % kDoubles.size()], c = -a;
        const int i = kInts[k % kInts.size()], j = kInts[(k + 3) % kInts.size()];
        const std::string& s = names[k % std::size(names)];
        ExpectLikeSnprintf("%d,%12.4f,%12.4f,%11.6f,%12.4f,%10.4f,   0.000000,   0.000000,     "
                           "0.0000,     0.0000,",
                           i, a, b, c, a, b);
        ExpectLikeSnprintf("%15.4f %8.4f %8.4f %8.4f %8.4f %d\n", a, b, c, a, b, i);
        ExpectLikeSnprintf("%3d %4.0lf %4.0lf %4.0lf %4.0lf %5d %5d %5d %5d %2d %2d %2d %.6f %.6f",
                           i, a, b, c, a, j, i, j, i, j, i, j, b, c);
        ExpectLikeSnprintf("%.15lf %.15lf %.15lf %.15lf %.15lf %.15lf %.15lf %d %.15lf %.15lf %d "
                           "%s %s",
                           a, b, c, a, b, c, a, i, b, c, j, s, names[1]);
        ExpectLikeSnprintf("ELEMCP\t%4d %12.4f %12.4f\n", i, a, b);
        ExpectLikeSnprintf("ELEMP1\t%4d %11.3f %13.4f %13.4f\n", i, a, b, c);
        ExpectLikeSnprintf("ELEMZ %4d %11.4f %11.4f %11.3f\n", i, a, b, c);
        ExpectLikeSnprintf("ELEM\t%4d       0 %3d %11.3f %11.3f %9.3f\n", i, j, a, b, c);
        ExpectLikeSnprintf("LINJA %s %d\t%12.3f\n", s, i, a);
        ExpectLikeSnprintf("[CvSporopPointList::UpdateProfiles] Idx:%4d Old STA=%11.3f New "
                           "STA=%11.3f Diff=%11.3f Ignored=%d\n",
                           i, a, b, c, j);
    }
}

TEST(TextFormat, StringFormatsMatchSnprintf) {
    const std::string texts[] = {
        "", "a", "exactly10c", "longer than ten", "\xA7\xFF\x01", std::string(5000, 'L')};
    for (const std::string& s : texts) {
        ExpectLikeSnprintf("%s", s);
        ExpectLikeSnprintf("%-10s|", s);
        ExpectLikeSnprintf("%s%d", s, -3);
        ExpectLikeSnprintf("LINJAZ\t%s %s\n", s, s);
    }
    // A C string argument is taken as a string, not a pointer.
    EXPECT_EQ(rigel::Format("%s|%-4s|", "ab", "c"), "ab|c   |");
}

// The two-step layout: a format whose widths are formatted first, then used for the record.
TEST(TextFormat, GeneratedFormatGivesTheSameRecordAsC) {
    const char* outer = "%%%d.6f%%%d.6f%%%d.6f%%%d.8f%%2d%%%d.6f%%%d.4f%%%d.4f\n";
    const std::string inner = rigel::Format(outer, 12, 13, 14, 15, 10, 9, 8);
    ASSERT_EQ(inner, "%12.6f%13.6f%14.6f%15.8f%2d%10.6f%9.4f%8.4f\n");
    ExpectLikeSnprintf(outer, 12, 13, 14, 15, 10, 9, 8);
    for (std::size_t k = 0; k < kDoubles.size(); ++k) {
        const double a = kDoubles[k], b = kDoubles[(k + 7) % kDoubles.size()];
        ExpectLikeSnprintf(inner.c_str(), a, b, -a, b, kInts[k % kInts.size()], a, b, -b);
    }
}

TEST(TextFormat, AppendAddsToTheEndAndMismatchedArgumentsThrow) {
    std::string line = "STA ";
    rigel::FormatAppend(line, "%.3f", 0.0005);
    rigel::FormatAppend(line, " %d", 7);
    EXPECT_EQ(line, "STA 0.001 7");
    EXPECT_THROW(rigel::Format("%d %d", 1), fmt::format_error);
    EXPECT_THROW(rigel::Format("%q", 1), fmt::format_error);
}
