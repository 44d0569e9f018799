// rigel::Scan/Atoi/Atof/ParseDouble/ParseLong against glibc's sscanf/atoi/strtod/strtoll in the
// "C" locale, and both text helpers under a decimal-comma locale.

#include "platform/base/TextScan.h"

#include "platform/base/TextFormat.h"
#include "support/TestSupport.h"

#include <bit>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <ostream>

namespace {

// A scan layout: the format and one letter per target (i int, d double, s text).
struct Layout {
    const char* format;
    const char* types;
};

const Layout kLayouts[] = {
    // The scan formats of the file layouts, and literal characters between fields.
    {"%d %lf %lf %lf", "iddd"},
    {"%d %lf %lf %lf %lf %d %d %d %d %d %d %d %lf %lf", "iddddiiiiiiidd"},
    {"%lf %lf %lf", "ddd"},
    {"%lf", "d"},
    {"%d", "i"},
    {"%d %d %d %d %d", "iiiii"},
    {"%d.%d", "ii"},
    {"C-%d", "i"},
    {"x%dy %lf", "id"},
    {"%lf,%lf ;%d", "ddi"},
    {"%lf %lf %d %s %s", "ddiss"},
    {"%s%d", "si"},
};

// Survey records, blanks, number-like words, numbers out of range and odd bytes, one a line.
std::vector<std::string> SurveyLinesAndGarbage() {
    std::vector<std::string> lines = rigel::test::Lines(
        rigel::test::FileBytes(rigel::test::DataPath("textscan/survey_lines_and_garbage.txt")));
    lines.push_back("  \t\n\v\f\r 42 43"); // every blank scanf skips, a line end among them
    return lines;
}

using SlotBytes = std::vector<std::vector<unsigned char>>;
constexpr std::size_t kSlotSize = 64;

struct Outcome {
    int count;
    SlotBytes slots;
    bool operator==(const Outcome&) const = default;
};

void PrintTo(const Outcome& o, std::ostream* os) {
    *os << "count " << o.count << ", slots";
    for (const auto& slot : o.slots) {
        *os << " ";
        for (std::size_t k = 0; k < 8; ++k)
            *os << rigel::Format("%02x", slot[k]);
    }
}

struct Slots {
    alignas(16) unsigned char bytes[16][kSlotSize];
    Slots() { std::memset(bytes, 0xA5, sizeof bytes); }
    SlotBytes Taken(std::size_t n) const {
        SlotBytes out;
        for (std::size_t k = 0; k < n; ++k)
            out.emplace_back(bytes[k], bytes[k] + kSlotSize);
        return out;
    }
};

Outcome WithSscanf(const std::string& text, const Layout& layout) {
    Slots s;
    auto* b = s.bytes;
    const int n = std::sscanf(text.c_str(), layout.format, b[0], b[1], b[2], b[3], b[4], b[5], b[6],
                              b[7], b[8], b[9], b[10], b[11], b[12], b[13], b[14], b[15]);
    return {n, s.Taken(std::strlen(layout.types))};
}

Outcome WithScan(const std::string& text, const Layout& layout) {
    Slots s;
    std::vector<rigel::ScanTarget> targets;
    std::string texts[16];
    for (std::size_t k = 0; layout.types[k] != '\0'; ++k) {
        void* p = s.bytes[k];
        if (layout.types[k] == 'i')
            targets.emplace_back(static_cast<int*>(p));
        else if (layout.types[k] == 'd')
            targets.emplace_back(static_cast<double*>(p));
        else
            targets.emplace_back(&texts[k]);
    }
    // An exact heap copy without a terminating NUL, so that a read past the view is caught.
    const auto copy = std::make_unique<char[]>(text.size());
    std::memcpy(copy.get(), text.data(), text.size());
    const int n = rigel::ScanList(std::string_view(copy.get(), text.size()), layout.format,
                                  targets.data(), targets.size());
    // A text assigned goes into its slot as sscanf would have put it there.
    for (int k = 0; k < n; ++k)
        if (layout.types[k] == 's')
            std::memcpy(s.bytes[k], texts[k].c_str(), texts[k].size() + 1);
    return {n, s.Taken(targets.size())};
}

void ExpectNumbersLikeC(const std::string& text) {
    SCOPED_TRACE(testing::Message() << "text \"" << text << "\"");
    const auto copy = std::make_unique<char[]>(text.size());
    std::memcpy(copy.get(), text.data(), text.size());
    const std::string_view view(copy.get(), text.size());

    char* end = nullptr;
    const double expected = std::strtod(text.c_str(), &end);
    double value = -1;
    const std::size_t used = rigel::ParseDouble(view, value);
    EXPECT_EQ(used, static_cast<std::size_t>(end - text.c_str()));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected));
    EXPECT_EQ(std::bit_cast<std::uint64_t>(rigel::Atof(view)),
              std::bit_cast<std::uint64_t>(std::atof(text.c_str())));
    EXPECT_EQ(rigel::Atoi(view), std::atoi(text.c_str()));
    const long long expectedLong = std::strtoll(text.c_str(), &end, 10);
    long long parsed = -1;
    EXPECT_EQ(rigel::ParseLong(view, parsed), static_cast<std::size_t>(end - text.c_str()));
    EXPECT_EQ(parsed, expectedLong);
}

// Lines of number-like pieces, blanks and odd bytes; short enough for the 64-byte text slots.
std::vector<std::string> RandomLines(std::size_t count) {
    const std::string pieces[] = {"0",     "1",    "7",  "9",        "12",
                                  "-",     "+",    ".",  "e",        "E",
                                  "x",     "0x",   "p",  "P",        "inf",
                                  "nan",   "NaN(", "(",  "1)",       "_",
                                  " ",     "  ",   "\t", "\n",       "a",
                                  "f",     ",",    "%",  "\xff",     std::string(1, '\0'),
                                  "1e5",   ".5",   "-0", "infinity", "99999999999999999999",
                                  "e-400", "[",    "]"};
    std::mt19937 random(20240531);
    std::vector<std::string> lines;
    for (std::size_t k = 0; k < count; ++k) {
        std::string line;
        const int n = static_cast<int>(random() % 12);
        for (int i = 0; i < n; ++i)
            line += pieces[random() % std::size(pieces)];
        lines.push_back(line.substr(0, 60));
    }
    return lines;
}

} // namespace

TEST(TextScan, EveryLayoutMatchesSscanfOnSurveyLinesAndGarbage) {
    std::vector<std::string> lines = SurveyLinesAndGarbage();
    lines.push_back(std::string("3.14\0 15 16", 11));
    lines.push_back(std::string(40, ' ') + "5 6");
    lines.push_back(std::string(63, 'w') + " 1 2");
    for (const std::string& line : RandomLines(2000))
        lines.push_back(line);
    for (const std::string& line : lines) {
        for (const Layout& layout : kLayouts) {
            ASSERT_EQ(WithScan(line, layout), WithSscanf(line, layout))
                << "format \"" << layout.format << "\" text \"" << line << "\"";
        }
    }
}

// A view into a longer text stops at its own end (partial reads are in the sscanf comparison).
TEST(TextScan, ViewsStopAtTheirEnd) {
    int m = 0;
    EXPECT_EQ(rigel::Scan(std::string_view("12345", 2), "%d", &m), 1);
    EXPECT_EQ(m, 12);
    EXPECT_EQ(rigel::Atoi(std::string_view("12345", 3)), 123);
    EXPECT_EQ(rigel::Atof(std::string_view("1.5e3", 4)), 1.5);
}

TEST(TextScan, NumbersMatchStrtodAtoiAndStrtoll) {
    // Every line; from each word on, with and without the blank before it; each word alone.
    for (const std::string& line : SurveyLinesAndGarbage()) {
        ExpectNumbersLikeC(line);
        for (std::size_t from = 0; from != std::string::npos;) {
            const std::size_t to = line.find(' ', from);
            ExpectNumbersLikeC(line.substr(from));
            ExpectNumbersLikeC(line.substr(from, to - from));
            if (to != std::string::npos)
                ExpectNumbersLikeC(line.substr(to));
            from = to == std::string::npos ? to : to + 1;
        }
    }
    // Out of range only through the count of digits.
    ExpectNumbersLikeC("0." + std::string(400, '0') + "1");
    ExpectNumbersLikeC("-" + std::string(400, '9') + ".5e-80");
    ExpectNumbersLikeC("-0x0." + std::string(300, '0') + "1p-10");
    ExpectNumbersLikeC("0x" + std::string(300, 'f') + "p+20");
    for (const std::string& line : RandomLines(3000))
        ExpectNumbersLikeC(line);
}

TEST(TextScan, MisuseThrowsBeforeTheTextIsRead) {
    int i = 0;
    double d = 0;
    EXPECT_THROW(rigel::Scan("1", "%d", &d), std::invalid_argument);
    EXPECT_THROW(rigel::Scan("1", "%lf", &i), std::invalid_argument);
    EXPECT_THROW(rigel::Scan("1 2", "%d %d", &i), std::invalid_argument);
    EXPECT_THROW(rigel::Scan("1", "%d", &i, &i), std::invalid_argument);
    for (const char* format : {"%f", "%c", "%5d", "%*d", "%ld", "%n", "%%", "%"})
        EXPECT_THROW(rigel::Scan("", format, &i), std::invalid_argument) << format;
}

namespace {

// The texts the formatter gives and what the scanner reads from the survey lines, in the process
// locale.
struct TextResults {
    std::vector<std::string> formatted;
    std::vector<Outcome> scans; // per line, one per layout
    std::vector<std::uint64_t> atof;
};
TextResults InThisLocale(const std::vector<std::string>& lines) {
    TextResults r;
    for (double v : {0.0, -0.0, 1.5, -2.5, 0.125, 1e15, 6543210.1234567, 1e-7}) {
        r.formatted.push_back(rigel::Format("%.4f 10.0 %.4f", v, -v));
        r.formatted.push_back(rigel::Format("\n%15.6f%17.6f%16.6f", v, v / 3, -v));
        r.formatted.push_back(
            rigel::Format("%d,%12.4f,%12.4f,%11.6f,%12.4f,%10.4f,", 7, v, v, v, v, v));
        r.formatted.push_back(rigel::Format("%e %g %.0f %4.0lf", v, v, v, v));
    }
    for (const std::string& line : lines) {
        for (const Layout& layout : kLayouts)
            r.scans.push_back(WithScan(line, layout));
        r.atof.push_back(std::bit_cast<std::uint64_t>(rigel::Atof(line)));
    }
    return r;
}

} // namespace

// What the helpers give in the "C" locale (where the tests above hold them to glibc) they give
// under a decimal-comma locale too; compared once "C" is back.
TEST(TextUnderDecimalCommaLocale, FormatAndScanGiveTheBytesAndValuesOfTheCLocale) {
    ASSERT_STREQ(std::setlocale(LC_ALL, nullptr), "C");
    const std::vector<std::string> lines = SurveyLinesAndGarbage();
    const TextResults inC = InThisLocale(lines);
    ASSERT_NE(std::setlocale(LC_ALL, rigel::test::kDecimalCommaLocale), nullptr)
        << "the locale " << rigel::test::kDecimalCommaLocale << " is missing: run scripts/deps.sh";
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%.2f", 1.5);
    const double cParsed = std::strtod("1.5", nullptr);
    const TextResults inComma = InThisLocale(lines);
    std::setlocale(LC_ALL, "C");
    ASSERT_STREQ(buffer, "1,50")
        << "the locale does not use a decimal comma; the test proves nothing";
    ASSERT_EQ(cParsed, 1.0) << "C parsing does not follow the locale";

    EXPECT_EQ(inComma.formatted, inC.formatted);
    for (std::size_t k = 0; k < inC.scans.size(); ++k)
        EXPECT_EQ(inComma.scans[k], inC.scans[k])
            << "format \"" << kLayouts[k % std::size(kLayouts)].format << "\" text \""
            << lines[k / std::size(kLayouts)] << "\"";
    EXPECT_EQ(inComma.atof, inC.atof);
}
