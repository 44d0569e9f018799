#pragma once
// One arc of a transition curve that CvPolyLine::TransCurves2Arcs replaced by a run of arcs.
//
// The element itself is an ordinary arc (or a line where the transition's curvature passes 0 at
// the arc's middle): its start and end points lie on the transition curve and its radius is that
// of the transition at the arc's middle. It also carries the transition it came from, so that
// CvPolyLine::Arcs2TransCurves can put that transition back exactly:
// - TransStartSTA, TransEndSTA: the stations of the whole transition curve;
// - TransStartRadius, TransEndRadius, TransLength: its radii and length;
// - PieceIndex (0-based) and PieceCount: the place of this arc in the run;
// - Origin(): a copy of the transition element as it was converted (its class and own fields,
//   such as a tier-table element's cants, come back with it).
// The start and end points and stations of the transition are those of the run's first and last
// arc, so SubstituteXYCoord, MapCoord, Turn and restationing of the arcs carry over to it.

#include "platform/polyline/CvPolyElement.h"

#include <memory>

namespace rigel::klasse {
inline constexpr int TransElement = 103;
} // namespace rigel::klasse

class CvTransElement : public CvPolyElement {
public:
    CvTransElement() = default;
    CvTransElement(const CvTransElement& other) = default;
    CvTransElement& operator=(const CvTransElement& other) = default;

    const char* KlasseNavn() const override { return "CvTransElement"; }
    int KlasseType() const override { return rigel::klasse::TransElement; }
    CvPolyElement* Clone() const override { return new CvTransElement(*this); }

    const DT_Double* TransStartSTA(const DT_Double* newValue = nullptr);
    const DT_Double* TransEndSTA(const DT_Double* newValue = nullptr);
    const DT_Double* TransStartSTA() const { return &transStartSTA_; }
    const DT_Double* TransEndSTA() const { return &transEndSTA_; }
    double TransStartRadius() const { return transStartRadius_; }
    double TransEndRadius() const { return transEndRadius_; }
    double TransLength() const { return transLength_; }
    int PieceIndex() const { return pieceIndex_; }
    int PieceCount() const { return pieceCount_; }
    const CvPolyElement* Origin() const { return origin_.get(); }

    // Records the transition this arc belongs to (used by TransCurves2Arcs). The origin is shared
    // by the arcs of one run.
    void SetTransition(std::shared_ptr<const CvPolyElement> origin, double transStartSTA,
                       double transEndSTA, double transStartRadius, double transEndRadius,
                       double transLength, int pieceIndex, int pieceCount);

    // Also turns the transition's values: its stations become -TransEndSTA and -TransStartSTA, its
    // radii -TransEndRadius and -TransStartRadius, and the piece index counts from the other end.
    int Turn() override;

    // 1 when both arcs belong to the same conversion of one transition (same origin and the same
    // transition values), whatever their piece indexes.
    int SameTransition(const CvTransElement& other) const;

private:
    DT_Double transStartSTA_;
    DT_Double transEndSTA_;
    double transStartRadius_ = 0.0;
    double transEndRadius_ = 0.0;
    double transLength_ = 0.0;
    int pieceIndex_ = 0;
    int pieceCount_ = 0;
    std::shared_ptr<const CvPolyElement> origin_;
};
