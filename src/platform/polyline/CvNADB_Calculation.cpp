#include "platform/polyline/CvNADB_Calculation.h"

#include "platform/polyline/CvPolyLine.h"

#include <stdexcept>

SegmentType* CvNADB_Calculation::Segment(int index) const {
    return static_cast<SegmentType*>(segments_.Objekt(index));
}

int CvNADB_Calculation::AddSegment(std::string_view text) {
    return segments_.LeggTil(new SegmentType(text));
}

int CvNADB_Calculation::Calculate(CvPolyLine*) { throw std::logic_error("not implemented"); }
