// Stationing of a point list by accumulated plan distance.

#include "points/CvSporopPointList.h"

int CvSporopPointList::UpdateDefaultStationing(int setProfiles, const DT_Double* start,
                                               int keepFirstProfile) {
    double station = start != nullptr ? start->Get() : 0.0;
    const int n = Antall();
    if (n < 2)
        return 1;

    CvSporopPoint* before = Punkt(0);
    if (keepFirstProfile)
        station = before->profile;
    else
        before->profile = station;
    // The first point's length is left as it is: it starts the accumulation.
    for (int i = 1; i < n; ++i) {
        CvSporopPoint* p = Punkt(i);
        station += before->AvstandTil(*p);
        p->length = station;
        if (setProfiles)
            p->profile = station;
        before = p;
    }
    return 0;
}
