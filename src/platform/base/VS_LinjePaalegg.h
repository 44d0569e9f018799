#pragma once
// A vertical alignment given by its intersection points: a DT_PointList of owned DT_Punkt with
// x = station (m), y = height (m), z = radius of the vertical curve at the point (m, 0 where two
// grades meet without a curve; the sign is ignored, the side follows from the grades).

#include "platform/base/B_Linje.h"
#include "platform/base/DT_PointList.h"

class VS_LinjePaalegg : public DT_PointList {
public:
    VS_LinjePaalegg() : DT_PointList(1) {}
    const char* KlasseNavn() const override { return "VS_LinjePaalegg"; }

    // 1 when the points form a valid vertical alignment: at least two points, every value
    // finite, stations strictly increasing (by more than 1e-9), and the vertical curves fit: at
    // each inner point i the tangent length T_i = |R_i| * tan(delta_i / 2), with delta_i the
    // change of direction between the grade lines in the (station, height) plane, is such that
    // T_1 <= the distance from the first point, T_i + T_i+1 <= the distance between points i and
    // i+1, and the last T <= the distance to the last point (1e-6 m slack). 0 otherwise.
    int CheckCurve() const;

    // The tangent points of a vertical curve of radius r at the corner where line1 and line2 meet.
    // Both lines start at the corner (the intersection point) and run along their grades: line1
    // back towards the previous point, line2 on towards the next one. The tangent length
    // T = |r| * tan(delta / 2), delta being the change of direction between the two grades, is
    // stored in tangentLength, and each line's end point is replaced by the point at distance T
    // from the corner along that line (start points untouched). Returns 1; 0 when a line has no
    // length or the grades do not turn (delta 0 or a full reversal), with lines and tangentLength
    // untouched. The tangent length may exceed a line's length: CheckCurve is the check for that.
    static int CalculateTangPoints(B_Linje& line1, B_Linje& line2, double r, double& tangentLength);

    // Tangent length at inner point index (0 for the first and last point or without a curve).
    double TangentLength(int index) const;
};
