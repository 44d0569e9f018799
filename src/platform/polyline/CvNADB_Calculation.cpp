#include "platform/polyline/CvNADB_Calculation.h"

#include "platform/polyline/CvPolyLine.h"

#include <unordered_set>

SegmentType* CvNADB_Calculation::Segment(int index) const {
    return dynamic_cast<SegmentType*>(segments_.Objekt(index));
}

int CvNADB_Calculation::AddSegment(std::string_view text) {
    return segments_.Append(std::make_unique<SegmentType>(text));
}

int CvNADB_Calculation::Calculate(CvPolyLine* alignment) {
    // Detach the old segments from the elements that still refer to them before deleting them.
    if (alignment != nullptr) {
        std::unordered_set<const HovedObjekt*> old;
        for (int j = 0; j < segments_.Antall(); ++j)
            old.insert(segments_.Objekt(j));
        for (int i = 0; i < alignment->GetCount(); ++i) {
            CvPolyElement* e = alignment->Element(i);
            if (e != nullptr && old.count(e->PrivateData()) != 0)
                e->ClearPrivateData();
        }
    }
    segments_.SlettAlleIListen(1);
    if (alignment == nullptr || alignment->GetCount() == 0)
        return 0;
    static const char* const kNames[] = {"", "LINE", "ARC", "TRANSITION"};
    for (int i = 0; i < alignment->GetCount(); ++i) {
        CvPolyElement* e = alignment->Element(i);
        if (e == nullptr)
            continue;
        auto* segment =
            new SegmentType(SegmentType::Make(e->ElementNumber()->Get(), e->StartSTA()->Get(),
                                              e->EndSTA()->Get(), kNames[e->ElementType()]));
        segments_.LeggTil(segment);
        e->PrivateData(segment, 0);
    }
    return segments_.Antall();
}
