#pragma once
// A list of texts.

#include "platform/base/DT_Nodeliste.h"
#include "platform/base/Streng.h"

class StrengListe : public DT_Nodeliste {
public:
    explicit StrengListe(int owner = 1) : DT_Nodeliste(owner) {}
    const char* KlasseNavn() const override { return "StrengListe"; }
    int KlasseType() const override { return rigel::klasse::StrengListe; }

    int LeggTilStreng(std::string_view text) { return Append(std::make_unique<Streng>(text)); }
    Streng* Tekst(int index) const { return static_cast<Streng*>(Objekt(index)); }
    // 1 when a text equal to text (byte for byte) is in the list.
    int Finnes(std::string_view text) const;
    // Byte order of the texts.
    int SorterObj(const HovedObjekt* first, const HovedObjekt* second,
                  int ascending) const override;
};
