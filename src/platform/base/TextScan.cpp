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
template <> struct FloatBits<float> {
    using Bits = std::uint32_t;
    static constexpr Bits kQuietNan = 0x7fc00000U;
    static constexpr Bits kPayloadMask = (Bits{1} << 22) - 1;
    static constexpr Bits kSign = Bits{1} << 31;
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

enum class Length { None, Long, LongLong };

struct Conversion {
    char letter = 0;         // d i u x o f s c [ n %
    bool suppress = false;   // '*'
    std::int64_t width = -1; // -1: none
    Length length = Length::None;
    std::uint64_t set[4] = {}; // %[...]: bytes in the set
    bool negated = false;      // %[^...]

    bool Assigns() const { return !suppress && letter != '%'; }
    bool InSet(char c) const {
        const auto u = static_cast<unsigned char>(c);
        return ((set[u >> 6] >> (u & 63)) & 1U) != negated;
    }
};

[[noreturn]] void BadFormat(std::string_view format, const char* why) {
    throw std::invalid_argument(std::string("rigel::Scan: ") + why + " in format \"" +
                                std::string(format) + "\"");
}

// Parses the conversion after a '%' at format[i]; i ends after it.
Conversion ParseConversion(std::string_view format, std::size_t& i) {
    Conversion conv;
    auto at = [&](std::size_t k) { return k < format.size() ? format[k] : '\0'; };
    if (at(i) == '%') {
        ++i;
        conv.letter = '%';
        return conv;
    }
    if (at(i) == '*') {
        conv.suppress = true;
        ++i;
    }
    if (IsDigit(at(i))) {
        std::int64_t width = 0;
        while (IsDigit(at(i))) {
            if (width < INT_MAX)
                width = std::min<std::int64_t>(INT_MAX, width * 10 + (at(i) - '0'));
            ++i;
        }
        if (at(i) == '$')
            BadFormat(format, "positional argument");
        conv.width = width == 0 ? -1 : width; // as glibc: a zero width means none
    }
    if (at(i) == 'l') {
        ++i;
        conv.length = Length::Long;
        if (at(i) == 'l') {
            ++i;
            conv.length = Length::LongLong;
        }
    }
    const char letter = at(i);
    if (letter == '\0')
        BadFormat(format, "incomplete conversion");
    ++i;
    switch (letter) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'X':
    case 'o':
    case 'n':
        conv.letter = Lower(letter);
        break;
    case 'f':
    case 'F':
    case 'e':
    case 'E':
    case 'g':
    case 'G':
    case 'a':
    case 'A':
        if (conv.length == Length::LongLong)
            BadFormat(format, "long double conversion");
        conv.letter = 'f';
        break;
    case 's':
    case 'c':
        if (conv.length != Length::None)
            BadFormat(format, "wide character conversion");
        conv.letter = letter;
        break;
    case '[': {
        if (conv.length != Length::None)
            BadFormat(format, "wide character conversion");
        conv.letter = '[';
        if (at(i) == '^') {
            conv.negated = true;
            ++i;
        }
        auto add = [&](unsigned char c) { conv.set[c >> 6] |= std::uint64_t{1} << (c & 63); };
        // A ']' or '-' first is a member; "a-z" is a range when it ascends, as in glibc.
        if (at(i) == ']' || at(i) == '-')
            add(static_cast<unsigned char>(format[i++]));
        for (;;) {
            const char c = at(i);
            if (c == '\0')
                BadFormat(format, "unterminated %[");
            ++i;
            if (c == ']')
                break;
            const char next = at(i);
            if (c == '-' && next != '\0' && next != ']' &&
                static_cast<unsigned char>(format[i - 2]) <= static_cast<unsigned char>(next)) {
                for (unsigned k = static_cast<unsigned char>(format[i - 2]);
                     k < static_cast<unsigned char>(next); ++k) {
                    add(static_cast<unsigned char>(k));
                }
            } else {
                add(static_cast<unsigned char>(c));
            }
        }
        break;
    }
    default:
        BadFormat(format, "unsupported conversion");
    }
    if (conv.letter == 'n' && conv.width >= 0)
        BadFormat(format, "width on %n");
    return conv;
}

std::size_t IntegerSize(ScanTarget::Kind kind) {
    using K = ScanTarget::Kind;
    switch (kind) {
    case K::Int:
    case K::UInt:
        return sizeof(int);
    case K::Long:
    case K::ULong:
        return sizeof(long);
    case K::LongLong:
    case K::ULongLong:
        return sizeof(long long);
    default:
        return 0;
    }
}

// Throws when the target cannot take what the conversion stores. Signedness is free (glibc
// stores %u into an int as well); the width of the integer is not.
void CheckTarget(std::string_view format, const Conversion& conv, const ScanTarget& target) {
    using K = ScanTarget::Kind;
    if (target.ptr == nullptr)
        BadFormat(format, "null target");
    switch (conv.letter) {
    case 'd':
    case 'i':
    case 'u':
    case 'x':
    case 'o':
    case 'n': {
        const std::size_t want = conv.length == Length::None   ? sizeof(int)
                                 : conv.length == Length::Long ? sizeof(long)
                                                               : sizeof(long long);
        if (IntegerSize(target.kind) != want)
            BadFormat(format, "target does not fit the integer");
        return;
    }
    case 'f':
        if (target.kind != (conv.length == Length::None ? K::Float : K::Double)) {
            BadFormat(format, "target does not fit the floating-point conversion");
        }
        return;
    case 'c':
        if (target.kind != K::Chars)
            BadFormat(format, "%c needs a char target");
        if (target.capacity != 0 &&
            static_cast<std::uint64_t>(std::max<std::int64_t>(conv.width, 1)) > target.capacity) {
            BadFormat(format, "%c width exceeds the target array");
        }
        return;
    default: // 's', '['
        if (target.kind != K::Chars)
            BadFormat(format, "string conversion needs a char target");
        if (conv.width < 0 && target.capacity == 0) {
            BadFormat(format, "string conversion into a char* needs a width");
        }
        if (target.capacity == 1)
            BadFormat(format, "string target has no room");
        if (target.capacity != 0 && conv.width >= 0 &&
            static_cast<std::uint64_t>(conv.width) >= target.capacity) {
            BadFormat(format, "string width exceeds the target array");
        }
        return;
    }
}

void StoreInteger(const ScanTarget& target, std::uint64_t bits) {
    using K = ScanTarget::Kind;
    switch (target.kind) {
    case K::Int:
        *static_cast<int*>(target.ptr) = static_cast<int>(bits);
        break;
    case K::UInt:
        *static_cast<unsigned*>(target.ptr) = static_cast<unsigned>(bits);
        break;
    case K::Long:
        *static_cast<long*>(target.ptr) = static_cast<long>(bits);
        break;
    case K::ULong:
        *static_cast<unsigned long*>(target.ptr) = static_cast<unsigned long>(bits);
        break;
    case K::LongLong:
        *static_cast<long long*>(target.ptr) = static_cast<long long>(bits);
        break;
    case K::ULongLong:
        *static_cast<unsigned long long*>(target.ptr) = static_cast<unsigned long long>(bits);
        break;
    default:
        break; // excluded by CheckTarget
    }
}

// End of the field that starts at p: the width, the end of the text, or for a string field the
// room of its array, whichever comes first.
const char* FieldLimit(const char* p, const char* end, std::int64_t width) {
    if (width < 0 || end - p <= width)
        return end;
    return p + width;
}

// The characters glibc's scanf collects for a floating-point field before handing them to
// strtod. Returns the end of the field, or nullptr for a matching failure.
const char* CollectFloat(const char* start, const char* end, std::int64_t width) {
    const char* lim = FieldLimit(start, end, width);
    const char* q = start;
    bool sign = false;
    if (*q == '+' || *q == '-') {
        sign = true;
        if (++q == lim)
            return nullptr;
    }
    if (Lower(*q) == 'n') {
        return MatchWord(q, lim, "nan") ? q + 3 : nullptr;
    }
    if (Lower(*q) == 'i') {
        if (!MatchWord(q, lim, "inf"))
            return nullptr;
        q += 3;
        // Once an 'i' follows "inf", glibc insists on the whole "infinity".
        if (q < lim && Lower(*q) == 'i')
            return MatchWord(q, lim, "inity") ? q + 5 : nullptr;
        return q;
    }

    bool hex = false;
    bool gotDigit = false;
    bool gotDot = false;
    bool gotExponent = false;
    if (*q == '0') {
        ++q;
        // glibc takes the 'x' only when the width leaves room for a character after it.
        const bool room = width < 0 || (q - start) + 1 < width;
        if (q < lim && Lower(*q) == 'x' && room) {
            hex = true;
            ++q;
        } else {
            gotDigit = true;
        }
    }
    const char exponentLetter = hex ? 'p' : 'e';
    for (; q < lim; ++q) {
        const char c = *q;
        if (IsDigit(c) || (hex && !gotExponent && IsHexDigit(c))) {
            gotDigit = true;
        } else if (gotExponent && Lower(q[-1]) == exponentLetter && (c == '+' || c == '-')) {
            // sign of the exponent
        } else if (gotDigit && !gotExponent && Lower(c) == exponentLetter) {
            gotExponent = true;
            gotDot = true;
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

class Scanner {
public:
    Scanner(std::string_view text, std::string_view format, const ScanTarget* targets,
            std::size_t count)
        : begin_(text.data()), pos_(text.data()), end_(text.data() + text.size()), format_(format),
          targets_(targets), count_(count) {}

    // Checks the whole format against the targets first, so that a mismatch is found whatever the
    // text holds.
    void Validate() const {
        std::size_t next = 0;
        for (std::size_t i = 0; i < format_.size();) {
            if (format_[i++] != '%')
                continue;
            const Conversion conv = ParseConversion(format_, i);
            if (!conv.Assigns())
                continue;
            if (next >= count_)
                BadFormat(format_, "more conversions than targets");
            CheckTarget(format_, conv, targets_[next++]);
        }
        if (next != count_)
            BadFormat(format_, "more targets than conversions");
    }

    int Run() {
        bool pendingSpace = false;
        std::size_t next = 0;
        for (std::size_t i = 0; i < format_.size();) {
            const char fc = format_[i++];
            if (IsSpace(fc)) {
                pendingSpace = true;
                continue;
            }
            if (fc != '%') {
                if (pendingSpace)
                    pos_ = SkipSpaces(pos_, end_);
                pendingSpace = false;
                if (pos_ == end_)
                    return InputFailure();
                if (*pos_ != fc)
                    return done_;
                ++pos_;
                continue;
            }
            const Conversion conv = ParseConversion(format_, i);
            if (pendingSpace || (conv.letter != '[' && conv.letter != 'c' && conv.letter != 'n')) {
                pos_ = SkipSpaces(pos_, end_);
            }
            pendingSpace = false;
            if (conv.letter == 'n') {
                if (conv.Assigns()) {
                    StoreInteger(targets_[next++], static_cast<std::uint64_t>(pos_ - begin_));
                }
                continue;
            }
            if (pos_ == end_)
                return InputFailure();
            const ScanTarget* target = conv.Assigns() ? &targets_[next++] : nullptr;
            if (!Convert(conv, target))
                return done_;
            if (target != nullptr)
                ++done_;
        }
        return done_;
    }

private:
    // EOF when the text ran out before anything was converted, as glibc reports it.
    int InputFailure() const { return done_ == 0 ? -1 : done_; }

    bool Convert(const Conversion& conv, const ScanTarget* target) {
        switch (conv.letter) {
        case '%':
            if (*pos_ != '%')
                return false;
            ++pos_;
            return true;
        case 'd':
            return ConvertInteger(conv, target, 10, true);
        case 'i':
            return ConvertInteger(conv, target, 0, true);
        case 'u':
            return ConvertInteger(conv, target, 10, false);
        case 'x':
            return ConvertInteger(conv, target, 16, false);
        case 'o':
            return ConvertInteger(conv, target, 8, false);
        case 'f':
            return ConvertFloat(conv, target);
        case 'c': {
            const char* stop = FieldLimit(pos_, end_, std::max<std::int64_t>(conv.width, 1));
            if (target != nullptr) {
                std::memcpy(target->ptr, pos_, static_cast<std::size_t>(stop - pos_));
            }
            pos_ = stop;
            return true;
        }
        default: // 's', '['
            return ConvertString(conv, target);
        }
    }

    // glibc's integer field: sign, a "0x" prefix for %x/%i (taken even without digits after it),
    // digits of the base; then strtol or strtoul on what was read.
    bool ConvertInteger(const Conversion& conv, const ScanTarget* target, int base, bool isSigned) {
        const char* lim = FieldLimit(pos_, end_, conv.width);
        const char* q = pos_;
        IntegerText number;
        if (*q == '+' || *q == '-') {
            number.negative = *q == '-';
            ++q;
        }
        if (q < lim && *q == '0') {
            number.Add(0, 10);
            ++q;
            if (q < lim && Lower(*q) == 'x') {
                if (base == 0)
                    base = 16;
                if (base == 16)
                    ++q;
            } else if (base == 0) {
                base = 8;
            }
        }
        if (base == 0)
            base = 10;
        for (; q < lim && DigitValue(*q) < base; ++q)
            number.Add(DigitValue(*q), base);
        if (number.digits == 0)
            return false;
        pos_ = q;
        if (target != nullptr) {
            StoreInteger(*target, isSigned ? static_cast<std::uint64_t>(number.Signed())
                                           : number.Unsigned());
        }
        return true;
    }

    bool ConvertFloat(const Conversion& conv, const ScanTarget* target) {
        const char* stop = CollectFloat(pos_, end_, conv.width);
        if (stop == nullptr)
            return false;
        // glibc converts exactly what it collected; a float target is rounded once, from text.
        std::size_t used = 0;
        if (target != nullptr && target->kind == ScanTarget::Kind::Float) {
            float value = 0;
            used = ParseFloating(pos_, stop, value);
            if (used != 0)
                *static_cast<float*>(target->ptr) = value;
        } else {
            double value = 0;
            used = ParseFloating(pos_, stop, value);
            if (used != 0 && target != nullptr)
                *static_cast<double*>(target->ptr) = value;
        }
        if (used == 0)
            return false;
        pos_ = stop;
        return true;
    }

    bool ConvertString(const Conversion& conv, const ScanTarget* target) {
        std::int64_t width = conv.width;
        if (target != nullptr && width < 0)
            width = static_cast<std::int64_t>(target->capacity) - 1;
        const char* lim = FieldLimit(pos_, end_, width);
        const char* q = pos_;
        if (conv.letter == 's') {
            while (q < lim && !IsSpace(*q))
                ++q;
        } else {
            while (q < lim && conv.InSet(*q))
                ++q;
            if (q == pos_)
                return false;
        }
        if (target != nullptr) {
            const auto n = static_cast<std::size_t>(q - pos_);
            auto* out = static_cast<char*>(target->ptr);
            std::memcpy(out, pos_, n);
            out[n] = '\0';
        }
        pos_ = q;
        return true;
    }

    const char* begin_;
    const char* pos_;
    const char* end_;
    std::string_view format_;
    const ScanTarget* targets_;
    std::size_t count_;
    int done_ = 0;
};

// C strings end at their first NUL; so does the text and the format of a scan.
std::string_view UpToNul(std::string_view s) {
    const std::size_t nul = s.find('\0');
    return nul == std::string_view::npos ? s : s.substr(0, nul);
}

} // namespace

int ScanList(std::string_view text, std::string_view format, const ScanTarget* targets,
             std::size_t count) {
    if (count != 0 && targets == nullptr)
        throw std::invalid_argument("rigel::Scan: no targets");
    Scanner scanner(UpToNul(text), UpToNul(format), targets, count);
    scanner.Validate();
    return scanner.Run();
}

int Atoi(std::string_view text) {
    long long value = 0;
    ParseLong(text, value, 10);
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

std::size_t ParseLong(std::string_view text, long long& value, int base) {
    if (base != 0 && (base < 2 || base > 36)) {
        throw std::invalid_argument("rigel::ParseLong: base must be 0 or 2..36");
    }
    const char* end = text.data() + text.size();
    const char* p = SkipSpaces(text.data(), end);
    IntegerText number;
    const char* stop = ParseIntegerText(p, end, base, number);
    if (stop == p) {
        value = 0;
        return 0;
    }
    value = number.Signed();
    return static_cast<std::size_t>(stop - text.data());
}

} // namespace rigel
