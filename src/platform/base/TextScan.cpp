#include "platform/base/TextScan.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <climits>
#include <cstring>
#include <limits>
#include <stdexcept>
#include <string>
#include <system_error>

namespace rigel {
namespace {

// Character classes of the "C" locale, never the process locale.
constexpr bool IsSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
constexpr bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
constexpr char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}
constexpr bool IsAlnum(char c) {
    return IsDigit(c) || (Lower(c) >= 'a' && Lower(c) <= 'z');
}

// Value of c as a digit in bases up to 36; 99 for anything else.
constexpr int DigitValue(char c) {
    if (IsDigit(c))
        return c - '0';
    const char l = Lower(c);
    if (l >= 'a' && l <= 'z')
        return l - 'a' + 10;
    return 99;
}

constexpr bool IsHexDigit(char c) {
    return DigitValue(c) < 16;
}

// Case-insensitive match of a lower-case word at p, within [p, end).
bool MatchWord(const char* p, const char* end, std::string_view word) {
    if (static_cast<std::size_t>(end - p) < word.size())
        return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (Lower(p[i]) != word[i])
            return false;
    }
    return true;
}

const char* SkipSpaces(const char* p, const char* end) {
    while (p < end && IsSpace(*p))
        ++p;
    return p;
}

// ---------------------------------------------------------------------------------------------
// Integers

// Digits of one integer, accumulated without losing track of overflow, so that the saturation
// rules of strtol and strtoul can both be applied afterwards.
struct IntegerText {
    std::uint64_t magnitude = 0;
    bool negative = false;
    bool overflow = false;
    std::size_t digits = 0;

    void Add(int digit, int base) {
        ++digits;
        if (overflow)
            return;
        const auto b = static_cast<std::uint64_t>(base);
        const auto d = static_cast<std::uint64_t>(digit);
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - d) / b) {
            overflow = true;
        } else {
            magnitude = magnitude * b + d;
        }
    }

    // strtol: out-of-range values saturate to the limit of the sign.
    std::int64_t Signed() const {
        constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int64_t>::max();
        if (negative) {
            if (overflow || magnitude > kMaxPositive + 1)
                return std::numeric_limits<std::int64_t>::min();
            return static_cast<std::int64_t>(0 - magnitude);
        }
        if (overflow || magnitude > kMaxPositive)
            return std::numeric_limits<std::int64_t>::max();
        return static_cast<std::int64_t>(magnitude);
    }

    // strtoul: a too large magnitude saturates whatever the sign; a negative one wraps.
    std::uint64_t Unsigned() const {
        if (overflow)
            return std::numeric_limits<std::uint64_t>::max();
        return negative ? 0 - magnitude : magnitude;
    }
};

// strtol's grammar from p (no leading blanks): sign, "0x" for base 16 or 0 when a hex digit
// follows, digits. Returns the end of the number, or p when there are no digits.
const char* ParseIntegerText(const char* p, const char* end, int base, IntegerText& out) {
    out = IntegerText{};
    const char* q = p;
    if (q < end && (*q == '+' || *q == '-')) {
        out.negative = *q == '-';
        ++q;
    }
    if ((base == 0 || base == 16) && end - q >= 3 && q[0] == '0' && Lower(q[1]) == 'x' &&
        IsHexDigit(q[2])) {
        base = 16;
        q += 2;
    } else if (base == 0) {
        base = (q < end && *q == '0') ? 8 : 10;
    }
    while (q < end && DigitValue(*q) < base) {
        out.Add(DigitValue(*q), base);
        ++q;
    }
    return out.digits == 0 ? p : q;
}

// ---------------------------------------------------------------------------------------------
// Floating point

template <typename T> struct FloatBits;
template <> struct FloatBits<double> {
    using Bits = std::uint64_t;
    static constexpr Bits kQuietNan = 0x7ff8000000000000ULL;
    static constexpr Bits kPayloadMask = (Bits{1} << 51) - 1;
    static constexpr Bits kSign = Bits{1} << 63;
};

// glibc reads "nan(chars)" as a NaN whose payload is the number the chars spell (strtoull,
// base 0), when they spell one completely.
template <typename T> T MakeNan(bool negative, std::string_view chars) {
    using B = FloatBits<T>;
    typename B::Bits bits = B::kQuietNan;
    IntegerText payload;
    const char* end = chars.data() + chars.size();
    const char* stop = ParseIntegerText(chars.data(), end, 0, payload);
    if (stop == end) {
        bits |= static_cast<typename B::Bits>(payload.Unsigned()) & B::kPayloadMask;
    }
    if (negative)
        bits |= B::kSign;
    return std::bit_cast<T>(bits);
}

// Reads a decimal exponent after 'e'/'p' at p ("e", sign, digits). Returns the end of the
// exponent, or p when no digit follows, as strtod then leaves the letter unread.
const char* ParseExponent(const char* p, const char* end, std::int64_t& exponent) {
    const char* q = p + 1;
    bool negative = false;
    if (q < end && (*q == '+' || *q == '-')) {
        negative = *q == '-';
        ++q;
    }
    if (q >= end || !IsDigit(*q))
        return p;
    std::int64_t value = 0;
    for (; q < end && IsDigit(*q); ++q) {
        // Far beyond any finite result; clamping keeps the arithmetic defined.
        if (value < 1'000'000'000'000LL)
            value = value * 10 + (*q - '0');
    }
    exponent = negative ? -value : value;
    return q;
}

// Mantissa digits [p, end) with an optional point: returns the end of the mantissa, or p when it
// has no digit. lead is the power of the base that the first non-zero digit stands for (0 for
// "1.5", 2 for "123", -2 for "0.05"); only its sign is used, to tell overflow from underflow.
const char* ParseMantissa(const char* p, const char* end, bool hex, std::int64_t& lead,
                          bool& allZero) {
    std::int64_t whole = 0;    // digits before the point
    std::int64_t fraction = 0; // digits after the point
    std::int64_t firstWhole = -1;
    std::int64_t firstFraction = -1;
    bool point = false;
    const char* q = p;
    for (; q < end; ++q) {
        const char c = *q;
        if (hex ? IsHexDigit(c) : IsDigit(c)) {
            if (c != '0' && firstWhole < 0 && firstFraction < 0) {
                (point ? firstFraction : firstWhole) = point ? fraction : whole;
            }
            ++(point ? fraction : whole);
        } else if (c == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (whole + fraction == 0)
        return p;
    allZero = firstWhole < 0 && firstFraction < 0;
    lead = firstWhole >= 0 ? whole - 1 - firstWhole : -(firstFraction + 1);
    return q;
}

// strtod without leading blanks: the longest prefix of [begin, end) that is a number. Returns the
// characters used, 0 (and value 0) when there is none.
template <typename T> std::size_t ParseFloating(const char* begin, const char* end, T& value) {
    // The common case first: a plain decimal number ("-12.5", "3e-4") is read by from_chars as
    // strtod reads it. Hexadecimal ("0x..", which from_chars stops at the 'x'), inf, nan, a '+'
    // and a value out of range take the full path below.
    if (begin < end &&
        (IsDigit(*begin) || *begin == '.' ||
         (*begin == '-' && end - begin > 1 && (IsDigit(begin[1]) || begin[1] == '.')))) {
        T fast = 0;
        const auto result = std::from_chars(begin, end, fast, std::chars_format::general);
        if (result.ec == std::errc() && (result.ptr == end || Lower(*result.ptr) != 'x')) {
            value = fast;
            return static_cast<std::size_t>(result.ptr - begin);
        }
    }
    value = 0;
    const char* p = begin;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    if (p >= end)
        return 0;

    if (Lower(*p) == 'i') {
        if (!MatchWord(p, end, "inf"))
            return 0;
        const char* q = p + 3;
        if (MatchWord(q, end, "inity"))
            q += 5;
        value = negative ? -std::numeric_limits<T>::infinity() : std::numeric_limits<T>::infinity();
        return static_cast<std::size_t>(q - begin);
    }
    if (Lower(*p) == 'n') {
        if (!MatchWord(p, end, "nan"))
            return 0;
        const char* q = p + 3;
        std::string_view payload;
        if (q < end && *q == '(') {
            const char* r = q + 1;
            while (r < end && (IsAlnum(*r) || *r == '_'))
                ++r;
            if (r < end && *r == ')') {
                payload = std::string_view(q + 1, static_cast<std::size_t>(r - q - 1));
                q = r + 1;
            }
        }
        value = MakeNan<T>(negative, payload);
        return static_cast<std::size_t>(q - begin);
    }

    // "0x" counts as a prefix only when a hex mantissa follows; otherwise strtod reads the "0".
    bool hex = false;
    const char* digits = p;
    if (end - p >= 2 && p[0] == '0' && Lower(p[1]) == 'x') {
        const char* h = p + 2;
        if (h < end && (IsHexDigit(*h) || (*h == '.' && h + 1 < end && IsHexDigit(h[1])))) {
            hex = true;
            digits = h;
        }
    }

    std::int64_t lead = 0;
    bool allZero = true;
    const char* q = ParseMantissa(digits, end, hex, lead, allZero);
    if (q == digits)
        return 0;
    std::int64_t exponent = 0;
    if (q < end && Lower(*q) == (hex ? 'p' : 'e'))
        q = ParseExponent(q, end, exponent);

    T magnitude = 0;
    const auto result = std::from_chars(digits, q, magnitude,
                                        hex ? std::chars_format::hex : std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        // from_chars leaves the value alone; strtod gives HUGE_VAL or zero.
        const std::int64_t scale = hex ? 4 : 1;
        const bool overflow = !allZero && lead * scale + exponent >= 0;
        magnitude = overflow ? std::numeric_limits<T>::infinity() : T(0);
    } else if (result.ec != std::errc() || result.ptr != q) {
        // Not reachable for the text accepted above; never report a number we did not read.
        throw std::logic_error("rigel::ParseDouble: number text not accepted by from_chars");
    }
    value = negative ? -magnitude : magnitude;
    return static_cast<std::size_t>(q - begin);
}

// ---------------------------------------------------------------------------------------------
// Scanning

// The characters glibc's scanf collects for a %lf field before handing them to strtod ("1e+" is
// collected whole, "0x" alone or "infin" fail). Returns the end of the field, or nullptr for a
// matching failure.
const char* CollectFloat(const char* start, const char* end) {
    const char* q = start;
    bool sign = false;
    if (*q == '+' || *q == '-') {
        sign = true;
        if (++q == end)
            return nullptr;
    }
    if (Lower(*q) == 'n')
        return MatchWord(q, end, "nan") ? q + 3 : nullptr;
    if (Lower(*q) == 'i') {
        if (!MatchWord(q, end, "inf"))
            return nullptr;
        q += 3;
        // Once an 'i' follows "inf", glibc insists on the whole "infinity".
        if (q < end && Lower(*q) == 'i')
            return MatchWord(q, end, "inity") ? q + 5 : nullptr;
        return q;
    }
    bool hex = false, gotDigit = false, gotDot = false, gotExponent = false;
    if (*q == '0') {
        ++q;
        if (q < end && Lower(*q) == 'x') {
            hex = true;
            ++q;
        } else {
            gotDigit = true;
        }
    }
    const char exponentLetter = hex ? 'p' : 'e';
    for (; q < end; ++q) {
        const char c = *q;
        if (IsDigit(c) || (hex && !gotExponent && IsHexDigit(c))) {
            gotDigit = true;
        } else if (gotExponent && Lower(q[-1]) == exponentLetter && (c == '+' || c == '-')) {
            // the sign of the exponent
        } else if (gotDigit && !gotExponent && Lower(c) == exponentLetter) {
            gotExponent = gotDot = true;
        } else if (!gotDot && c == '.') {
            gotDot = true;
        } else {
            break;
        }
    }
    const std::ptrdiff_t size = q - start;
    if (size == (sign ? 1 : 0) || (hex && size == (sign ? 3 : 2)))
        return nullptr;
    return q;
}

[[noreturn]] void BadFormat(std::string_view format, const char* why) {
    throw std::invalid_argument("rigel::Scan: format \"" + std::string(format) + "\": " + why);
}

// The letter of the conversion at format[i] (after its '%'): 'd' for %d, 'f' for %lf, 's' for
// %s; i ends after it.
char ConversionAt(std::string_view format, std::size_t& i) {
    if (format.substr(i, 1) == "d") {
        i += 1;
        return 'd';
    }
    if (format.substr(i, 2) == "lf") {
        i += 2;
        return 'f';
    }
    if (format.substr(i, 1) == "s") {
        i += 1;
        return 's';
    }
    BadFormat(format, "only %d, %lf and %s are supported");
}

int Run(std::string_view text, std::string_view format, const ScanTarget* targets) {
    const char* pos = text.data();
    const char* end = pos + text.size();
    int done = 0;
    // EOF when the text ran out before anything was converted, as glibc reports it.
    const auto inputFailure = [&done] { return done == 0 ? -1 : done; };
    bool pendingSpace = false;
    for (std::size_t i = 0; i < format.size();) {
        const char fc = format[i++];
        if (IsSpace(fc)) {
            pendingSpace = true;
            continue;
        }
        // A literal character skips blanks only after a blank directive; a conversion always.
        if (fc == '%' || pendingSpace)
            pos = SkipSpaces(pos, end);
        pendingSpace = false;
        if (fc != '%') {
            if (pos == end)
                return inputFailure();
            if (*pos != fc)
                return done;
            ++pos;
            continue;
        }
        const char letter = ConversionAt(format, i);
        if (pos == end)
            return inputFailure();
        const ScanTarget& target = targets[done];
        if (letter == 'd') {
            // glibc's integer field: sign, decimal digits; then strtol's saturation, cut to int.
            IntegerText number;
            const char* stop = ParseIntegerText(pos, end, 10, number);
            if (stop == pos)
                return done;
            *static_cast<int*>(target.ptr) = static_cast<int>(number.Signed());
            pos = stop;
        } else if (letter == 's') {
            const char* stop = pos;
            while (stop < end && !IsSpace(*stop))
                ++stop;
            static_cast<std::string*>(target.ptr)->assign(pos, stop);
            pos = stop;
        } else {
            // A plain decimal number that ends at a blank or at the end of the text is the whole
            // field that glibc collects; anything else (hexadecimal, inf, nan, a '+', a number
            // run into other characters) is collected by its rules first.
            double value = 0;
            if (IsDigit(*pos) || *pos == '.' ||
                (*pos == '-' && end - pos > 1 && (IsDigit(pos[1]) || pos[1] == '.'))) {
                const auto fast = std::from_chars(pos, end, value, std::chars_format::general);
                if (fast.ec == std::errc() && (fast.ptr == end || IsSpace(*fast.ptr))) {
                    *static_cast<double*>(target.ptr) = value;
                    pos = fast.ptr;
                    ++done;
                    continue;
                }
            }
            const char* stop = CollectFloat(pos, end);
            if (stop == nullptr || ParseFloating(pos, stop, value) == 0)
                return done;
            *static_cast<double*>(target.ptr) = value;
            pos = stop;
        }
        ++done;
    }
    return done;
}

// C strings end at their first NUL; so does the text and the format of a scan.
std::string_view UpToNul(std::string_view s) {
    const std::size_t nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

} // namespace

int ScanList(std::string_view text, std::string_view format, const ScanTarget* targets,
             std::size_t count) {
    text = UpToNul(text);
    format = UpToNul(format);
    // The whole format is checked against the targets first, whatever the text holds.
    std::size_t conversions = 0;
    for (std::size_t i = 0; i < format.size();) {
        if (format[i++] != '%')
            continue;
        const char letter = ConversionAt(format, i);
        if (conversions >= count)
            BadFormat(format, "more conversions than targets");
        const ScanTarget::Kind kind = letter == 'd'   ? ScanTarget::Kind::Int
                                      : letter == 's' ? ScanTarget::Kind::Text
                                                      : ScanTarget::Kind::Double;
        if (targets[conversions++].kind != kind)
            BadFormat(format, "a target does not fit its conversion");
    }
    if (conversions != count)
        BadFormat(format, "more targets than conversions");
    return Run(text, format, targets);
}

int Atoi(std::string_view text) {
    long long value = 0;
    ParseLong(text, value);
    return static_cast<int>(value);
}

double Atof(std::string_view text) {
    double value = 0;
    ParseDouble(text, value);
    return value;
}

std::size_t ParseDouble(std::string_view text, double& value) {
    const char* end = text.data() + text.size();
    const char* p = SkipSpaces(text.data(), end);
    const std::size_t used = ParseFloating(p, end, value);
    return used == 0 ? 0 : static_cast<std::size_t>(p - text.data()) + used;
}

std::size_t ParseLong(std::string_view text, long long& value) {
    const char* end = text.data() + text.size();
    const char* p = SkipSpaces(text.data(), end);
    IntegerText number;
    const char* stop = ParseIntegerText(p, end, 10, number);
    if (stop == p) {
        value = 0;
        return 0;
    }
    value = number.Signed();
    return static_cast<std::size_t>(stop - text.data());
}

} // namespace rigel
