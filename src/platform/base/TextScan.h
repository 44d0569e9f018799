#pragma once
// The one way file text becomes numbers: scanf/atoi/atof semantics on std::from_chars, so that the
// results never depend on the C locale of the host process.

#include <cstdint>
#include <string_view>
#include <type_traits>

namespace rigel {

// Target of one scanf conversion. Built implicitly from the pointer type that the conversion
// expects: int* for %d/%i/%u/%x/%o, long*/long long* with the l/ll length, double* for %lf/%le/%lg,
// float* for %f/%e/%g, char* for %s/%c/%[...]. A conversion whose target type does not fit its
// letter throws std::invalid_argument (a programming error, never a property of the input).
struct ScanTarget {
    enum class Kind { Int, UInt, Long, ULong, LongLong, ULongLong, Double, Float, Chars };
    Kind kind;
    void* ptr;
    std::size_t capacity =
        0; // for Chars: room for text including the terminating NUL; 0 = unchecked

    ScanTarget(int* p) : kind(Kind::Int), ptr(p) {}
    ScanTarget(unsigned* p) : kind(Kind::UInt), ptr(p) {}
    ScanTarget(long* p) : kind(Kind::Long), ptr(p) {}
    ScanTarget(unsigned long* p) : kind(Kind::ULong), ptr(p) {}
    ScanTarget(long long* p) : kind(Kind::LongLong), ptr(p) {}
    ScanTarget(unsigned long long* p) : kind(Kind::ULongLong), ptr(p) {}
    ScanTarget(double* p) : kind(Kind::Double), ptr(p) {}
    ScanTarget(float* p) : kind(Kind::Float), ptr(p) {}
    // A template only so that a char array picks the overload below, which keeps its size.
    template <typename P>
    requires std::is_same_v<P, char*> ScanTarget(P p) : kind(Kind::Chars), ptr(p) {}
    template <std::size_t N> ScanTarget(char (&p)[N]) : kind(Kind::Chars), ptr(p), capacity(N) {}
};

// sscanf-compatible scanning of text with format. Returns the number of fields converted and
// assigned, or -1 (EOF) when the input ended before the first conversion.
// Directives: blanks (any run of blanks, also none), literal characters, %% and the conversions
// %d %i %u %x %X %o (with l, ll), %f %F %e %E %g %G %a %A (float; with l double), %s %c %[...]
// %[^...] and %n (the characters read so far; not counted), each with '*' and a field width.
// Results are glibc's, down to its edge cases: a float field takes what glibc collects ("1e+"
// gives 1 and consumes "e+", "infin" and "0x" fail, "nan(12)" stops after "nan"), integers
// saturate like strtol and are then cut to the target, %i/%x consume a bare "0x".
// As for sscanf on a C string, the text and the format end at their first NUL byte.
// Deliberate differences from glibc, all for safety or because glibc leaves them undefined:
// - %s and %[ into a char array without a width stop at the array's size less one and leave the
//   rest of the word for the next directive; into a plain char* without a width, or with a width
//   the array cannot hold, they throw std::invalid_argument.
// - An unsupported or malformed conversion (h, hh, L, j, z, t, ll on a float, %p, %ls, "%1$d", a
//   width on %n, an unterminated %[), fewer or more targets than conversions and a target whose
//   type does not fit throw std::invalid_argument, checked before the text is read.
// - The decimal point is always '.'; grouping (%'d) is not supported.
int ScanList(std::string_view text, std::string_view format, const ScanTarget* targets,
             std::size_t count);

template <typename... Targets>
int Scan(std::string_view text, std::string_view format, Targets&&... targets) {
    if constexpr (sizeof...(Targets) == 0) {
        return ScanList(text, format, nullptr, 0);
    } else {
        const ScanTarget list[] = {ScanTarget(targets)...};
        return ScanList(text, format, list, sizeof...(Targets));
    }
}

// atoi: leading blanks, optional sign, decimal digits; 0 when there are none. Out-of-range values
// give what glibc's atoi gives (strtol saturated to 64 bits, then cut to int).
int Atoi(std::string_view text);

// atof: leading blanks, then the longest prefix that strtod accepts (decimal, hexadecimal, inf,
// nan, "nan(n)" with glibc's payload); 0.0 when there is none. Overflow gives +-HUGE_VAL,
// underflow 0 or a subnormal as strtod.
double Atof(std::string_view text);

// strtod-like: parses a floating-point number at the start of text (after leading blanks) and
// returns the number of characters used, 0 when there is no number.
std::size_t ParseDouble(std::string_view text, double& value);

// strtol-like for base 10 (or 0/8/16 as strtol): returns the characters used, 0 when none.
std::size_t ParseLong(std::string_view text, long long& value, int base = 10);

} // namespace rigel
