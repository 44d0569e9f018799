#pragma once
// A text file read line by line or written piece by piece (see Fil for the writing rules).
// Lines end at "\n" or "\r\n", which LesNesteLinje removes. A line longer than kMaxLineLength is
// cut to that length and the rest of it skipped, so memory stays bounded on any input.

#include "platform/base/Fil.h"
#include "platform/base/StrengListe.h"

#include <memory>

class TekstFil : public Fil {
public:
    static constexpr std::size_t kMaxLineLength = std::size_t{64} << 20;

    explicit TekstFil(std::string_view name);
    ~TekstFil() override;
    const char* KlasseNavn() const override { return "TekstFil"; }

    // Writes text unchanged, adding no line end. 1 on success.
    int LeggTilLinje(std::string_view text);
    // The next line without its end; 0 at the end of the file.
    int LesNesteLinje(Streng& line);
    // Opens for reading when not open, reads every remaining line into lines (appended), closes.
    // 1 on success, 0 when the file cannot be read.
    int InitListe(StrengListe& lines);

private:
    bool Fill();
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool eof_ = false;
};
