#pragma once
// The vertical alignment as the rail output writers take it: the host's chain of grades and
// vertical curves (a CvPolyLine in the plane of station and height) turned into its intersection
// points, kept in order of station, and written as a text table.
//
// Each point: x = station (m), y = height (m), z = radius of the vertical curve there (m, >= 0; 0
// where two grades meet without a curve).

#include "platform/base/StrengListe.h"
#include "platform/base/VS_LinjePaalegg.h"

class CvPolyLine;

class VS_LinjePaalegg2 : public VS_LinjePaalegg {
public:
    explicit VS_LinjePaalegg2(double tolerance);
    ~VS_LinjePaalegg2() override;
    const char* KlasseNavn() const override { return "VS_LinjePaalegg2"; }

    double Tolerance() const { return tolerance_; }

    // ascending non-zero: 1 when second's station is smaller than first's; ascending 0: 1 when it
    // is not smaller. Sorter(1) thus orders by increasing station.
    int SorterObj(const HovedObjekt* first, const HovedObjekt* second,
                  int ascending) const override;

    // Replaces the points by those of the element chain: the start, at each vertical curve the
    // intersection of its tangents with the curve's radius, at each joint of two grades the joint
    // (radius 0), and the end. Elements of length 0 and elements that are neither grades nor arcs
    // are passed over. 1 when built; 0 for a null or empty chain or one with no element of length
    // (the list is then empty).
    int BuildFromElements(CvPolyLine* elements);

    // Empties lines and writes the table into it, one text per line: layout 1 the point table,
    // layout 2 the tangent-point table (every line blank-padded to 125 bytes and closed by ",").
    // 1 when written; 0, with lines left empty, when CheckCurve fails or for another layout.
    virtual int WriteTable(StrengListe& lines, int layout);

private:
    int WritePointTable(StrengListe& lines) const;
    int WriteTangentPointTable(StrengListe& lines) const;

    double tolerance_;
};
