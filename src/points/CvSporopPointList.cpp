#include "points/CvSporopPointList.h"

void CvSporopPointList::CopyPointsFrom(const CvSporopPointList& source) {
    if (&source == this)
        return;
    SlettAlleIListen(1);
    Reserve(static_cast<std::size_t>(source.Antall()));
    for (int i = 0; i < source.Antall(); ++i)
        Append(std::make_unique<CvSporopPoint>(*source.Punkt(i)));
}
