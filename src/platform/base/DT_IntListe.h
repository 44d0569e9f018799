#pragma once
// Lists of boxed numbers, ordered by value with Sorter(1) (ascending) or Sorter(0) (descending).

#include "platform/base/DT_Double.h"
#include "platform/base/DT_Nodeliste.h"

template <typename Box, typename T, int Type> class DT_NumberListe : public DT_Nodeliste {
public:
    explicit DT_NumberListe(int owner = 1) : DT_Nodeliste(owner) {}
    int KlasseType() const override { return Type; }

    // Appends a new box holding value.
    int LeggTilVerdi(T value) { return Append(std::make_unique<Box>(value)); }
    T Verdi(int index) const { return static_cast<const Box*>(Objekt(index))->Get(); }
    Box* Tall(int index) const { return static_cast<Box*>(Objekt(index)); }
    // 1 when some element equals value (within tol).
    int Finnes(T value, T tol = T{}) const {
        for (int i = 0; i < Antall(); ++i)
            if (Tall(i)->Lik(value, tol))
                return 1;
        return 0;
    }
    int SorterObj(const HovedObjekt* first, const HovedObjekt* second,
                  int ascending) const override {
        const T a = static_cast<const Box*>(first)->Get();
        const T b = static_cast<const Box*>(second)->Get();
        return ascending ? (b < a) : (a < b);
    }
};

class DT_IntListe : public DT_NumberListe<DT_Int, int, rigel::klasse::IntListe> {
public:
    using DT_NumberListe::DT_NumberListe;
    const char* KlasseNavn() const override { return "DT_IntListe"; }
};

class DT_DoubleListe : public DT_NumberListe<DT_Double, double, rigel::klasse::DoubleListe> {
public:
    using DT_NumberListe::DT_NumberListe;
    const char* KlasseNavn() const override { return "DT_DoubleListe"; }
};
