#include "platform/base/StrengListe.h"

int StrengListe::Finnes(std::string_view text) const {
    for (int i = 0; i < Antall(); ++i)
        if (Tekst(i)->str() == text)
            return 1;
    return 0;
}

int StrengListe::SorterObj(const HovedObjekt* first, const HovedObjekt* second,
                           int ascending) const {
    const std::string& a = static_cast<const Streng*>(first)->str();
    const std::string& b = static_cast<const Streng*>(second)->str();
    return ascending ? (b < a) : (a < b);
}
