#pragma once
// The one way file text becomes numbers: scanf/atoi/atof semantics on std::from_chars, so that the
// results never depend on the C locale of the host process.

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>

namespace rigel {

// Target of one conversion: int* for %d, double* for %lf, std::string* for %s.
struct ScanTarget {
    enum class Kind { Int, Double, Text };
    Kind kind;
    void* ptr;

    ScanTarget(int* p) : kind(Kind::Int), ptr(p) {}
    ScanTarget(double* p) : kind(Kind::Double), ptr(p) {}
    ScanTarget(std::string* p) : kind(Kind::Text), ptr(p) {}
};

// sscanf on text with a format of blanks (any run of blanks in the text, also none), literal
// characters and the conversions %d, %lf and %s (a word of non-blanks, of any length), which are
// all the record formats need. Returns the
// number of fields converted and assigned (a partial read stops at the first field that does not
// convert), or -1 (EOF) when the text ended before the first conversion. Results are glibc's,
// down to its edge cases: %lf takes what glibc collects ("1e+" gives 1 and consumes "e+", "infin"
// and "0x" fail, "nan(12)" stops after "nan"), %d saturates like strtol and is then cut to int.
// As for sscanf on a C string, the text and the format end at their first NUL byte. The decimal
// point is always '.'. Any other conversion, and fewer or more targets than conversions or a
// target whose type does not fit, throw std::invalid_argument (a programming error, checked
// before the text is read).
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

// strtol-like for base 10: returns the characters used, 0 when none.
std::size_t ParseLong(std::string_view text, long long& value);

} // namespace rigel
