// Stationing of a point list: by accumulated plan distance, and by projection onto an alignment.

#include "points/CvSporopPointList.h"

#include "platform/base/Trace.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CPerfTimer.h"

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

int CvSporopPointList::UpdateProfiles(CvPolyLine* alignment) {
    CPerfTimer timer(true);
    rigel::Trace("\n[CvSporopPointList::UpdateProfiles] START\n");
    const int n = Antall();
    if (n < 2)
        return 1;

    rigel::Trace("[CvSporopPointList::UpdateProfiles] Default stationing start\n");
    UpdateDefaultStationing(0, nullptr, 0);
    rigel::Trace("[CvSporopPointList::UpdateProfiles] Default stationing end\n");

    rigel::Trace("[CvSporopPointList::UpdateProfiles] Aligment stationing start\n");
    for (int i = 0; i < n; ++i) {
        CvSporopPoint* p = Punkt(i);
        const double old = p->profile;
        DT_Double station;
        // Points along a track project near the previous one, so the hint (the element of the
        // previous projection) shortens the search; the station does not depend on it.
        if (alignment != nullptr &&
            alignment->StationAtPos(DT_Punkt(p->x(), p->y(), 0.0), &station, nullptr, nullptr,
                                    nullptr, nullptr, 1, 0) != 0) {
            p->profile = station.Get();
            p->ignored = 0;
        } else {
            p->ignored = 1;
        }
        rigel::Trace("[CvSporopPointList::UpdateProfiles] Idx:%4d Old STA=%11.3f New STA=%11.3f "
                     "Diff=%11.3f Ignored=%d\n",
                     i, old, p->profile, old - p->profile, p->ignored);
    }
    rigel::Trace("[CvSporopPointList::UpdateProfiles] END [%.0f ms]\n",
                 timer.ElapsedMilliseconds());
    return 1;
}
