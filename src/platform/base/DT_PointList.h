#pragma once
// A list of DT_Punkt objects.

#include "platform/base/DT_Nodeliste.h"
#include "platform/base/DT_Punkt.h"

class DT_PointList : public DT_Nodeliste {
public:
    explicit DT_PointList(int owner = 1) : DT_Nodeliste(owner) {}
    const char* KlasseNavn() const override { return "DT_PointList"; }
    int KlasseType() const override { return rigel::klasse::PointList; }

    // Moves the cursor to the next point and returns it (null past the end), as AktiverNeste.
    DT_Punkt* GetNeste() { return static_cast<DT_Punkt*>(AktiverNeste()); }
    DT_Punkt* GetForste() { return static_cast<DT_Punkt*>(AktiverForste()); }
    DT_Punkt* Punkt(int index) const { return static_cast<DT_Punkt*>(Objekt(index)); }
};
