#pragma once
// The NADB segment data of a project: one SegmentType per element of the input tier table, kept in
// SegmentListe (a StrengListe that owns its segments).
//
// Ownership: the segment list owns the segments. Calculate() also attaches each segment to its
// element with CvPolyElement::PrivateData(segment, 0), which does not hand ownership over, so the
// segments must outlive the elements' use of them (clear the elements' private data, or drop the
// elements, before emptying the list).

#include "platform/base/HovedObjekt.h"
#include "platform/base/StrengListe.h"
#include "platform/polyline/SegmentType.h"

#include <string_view>

class CvPolyLine;

namespace rigel::klasse {
inline constexpr int NADB_Calculation = 105;
} // namespace rigel::klasse

class CvNADB_Calculation : public HovedObjekt {
public:
    CvNADB_Calculation() = default;
    CvNADB_Calculation(const CvNADB_Calculation&) = delete;
    CvNADB_Calculation& operator=(const CvNADB_Calculation&) = delete;

    const char* KlasseNavn() const override { return "CvNADB_Calculation"; }
    int KlasseType() const override { return rigel::klasse::NADB_Calculation; }

    // The segments, in element order. Always present; empty when there are none.
    StrengListe* SegmentListe() { return &segments_; }
    const StrengListe* SegmentListe() const { return &segments_; }
    // The segment at index (0-based), null out of range.
    SegmentType* Segment(int index) const;
    int SegmentCount() const { return segments_.Antall(); }

    // Appends a segment with the given text; 1.
    int AddSegment(std::string_view text);

    // Empties the list and makes one segment per element of the alignment, in order, from the
    // element's number, start and end station and a name for its type ("LINE", "ARC",
    // "TRANSITION"); attaches each segment to its element (PrivateData(segment, 0)). Returns the
    // number of segments made; 0 for a null or empty alignment.
    int Calculate(CvPolyLine* alignment);

private:
    StrengListe segments_{1};
};
