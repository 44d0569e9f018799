#pragma once
// The base component's text: bytes in the Windows-1252 code page. Init and Add take printf-style
// formats (rendered by rigel::Format, so no C locale is involved); Set takes text as it is.
// Positions count bytes from 0; positions past the end are clamped.

#include "platform/base/HovedObjekt.h"
#include "platform/base/TextFormat.h"

#include <string>
#include <string_view>

class Streng : public HovedObjekt {
public:
    Streng() = default;
    explicit Streng(std::string_view text) : s_(text) {}

    const char* KlasseNavn() const override { return "Streng"; }
    int KlasseType() const override { return rigel::klasse::Streng; }

    template <typename... Args> int Init(std::string_view format, const Args&... args) {
        s_ = rigel::Format(format, args...);
        return 1;
    }
    template <typename... Args> int Add(std::string_view format, const Args&... args) {
        rigel::FormatAppend(s_, format, args...);
        return 1;
    }
    int Set(std::string_view text) {
        s_.assign(text);
        return 1;
    }

    const char* Get() const { return s_.c_str(); }
    const std::string& str() const { return s_; }
    int Lengde() const { return static_cast<int>(s_.size()); }

    // Position of text at or after start, -1 when absent.
    int HvorEr(std::string_view text, int start = 0) const;
    // This text becomes at most n bytes of source.
    int KopiN(std::string_view source, int n);
    // The text from position on.
    Streng GetFra(int position) const;
    // Deletes count bytes from position.
    int Delete(int position, int count);
    // Deletes the bytes before position.
    int SlettTil(int position);
    // Removes blanks (space, tab, CR, LF) at both ends.
    int FjernBlanke();
    // Pads with blanks to length (at the end when atEnd is non-zero, else at the front); a longer
    // text is left as it is.
    int FyllBlankeTilLengdeEr(int length, int atEnd = 1);

    friend bool operator==(const Streng& a, const Streng& b) { return a.s_ == b.s_; }

    // The text without the blanks FjernBlanke removes.
    static std::string Trimmed(std::string_view text) {
        Streng s(text);
        s.FjernBlanke();
        return s.str();
    }

private:
    std::size_t Clamp(int position) const;
    std::string s_;
};
