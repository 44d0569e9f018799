#pragma once
// The owning list of survey points. The analysis operations (stationing, directions, curvatures,
// cleaning) are added to this class together with their implementations.

#include "platform/base/DT_Nodeliste.h"
#include "points/CvSporopPoint.h"

class CvSporopPointList : public DT_Nodeliste {
public:
    // Coordinate unit of the points: 1 metres, 2 feet.
    static constexpr int kMetres = 1;
    static constexpr int kFeet = 2;

    explicit CvSporopPointList(int owner = 1) : DT_Nodeliste(owner) {}
    ~CvSporopPointList() override = default;
    const char* KlasseNavn() const override { return "CvSporopPointList"; }

    CvSporopPoint* Punkt(int index) const { return static_cast<CvSporopPoint*>(Objekt(index)); }
    CvSporopPoint* AktivPunkt() const { return static_cast<CvSporopPoint*>(Aktiv()); }

    // Empties this list and appends a copy of every point of source, in order.
    void CopyPointsFrom(const CvSporopPointList& source);

    int unitWord = kMetres;
};
