#pragma once
// A plane line from a start point to an end point, in the (x, y) plane of DT_Punkt: x northing and
// y easting for plan lines, x station and y height for grade lines.
//
// Sides: DistTo3DLine is positive for points to the right of the direction start -> end (with x
// as north and y as east: east of a line heading north), negative to the left. In the
// (station, height) plane that is above a line running towards increasing station.

#include "platform/base/DT_Punkt.h"

class B_Linje : public HovedObjekt {
public:
    B_Linje() = default;
    B_Linje(const DT_Punkt& start, const DT_Punkt& end) : start_(start), end_(end) {}
    const char* KlasseNavn() const override { return "B_Linje"; }

    int Init(const DT_Punkt& start, const DT_Punkt& end);
    // Accessors: a non-null argument sets the point; the stored point is returned.
    DT_Punkt* StartPunkt(const DT_Punkt* newValue = nullptr);
    DT_Punkt* SluttPunkt(const DT_Punkt* newValue = nullptr);
    const DT_Punkt& Start() const { return start_; }
    const DT_Punkt& Slutt() const { return end_; }

    // Bearing from start to end (DT_Punkt::AngleTo).
    double Vinkel() const;
    // Plan length.
    double Lengde() const;
    // Intersection of the two (unbounded) lines; 0 when they are parallel or a line has no
    // length, and the result point is then untouched.
    int SkjaeringMed(const B_Linje& other, DT_Punkt& result) const;
    // Signed perpendicular distance of p from the line (sides above); the plain distance to the
    // start point when the line has no length.
    double DistTo3DLine(const DT_Punkt& p) const;
    // Grade: rise in y per unit of horizontal run in x, times factor. withDirection non-zero: the
    // grade met walking from start to end (rise over |run|); 0: walking from end to start. Both
    // equal dy/dx for a line whose x increases. 0 for a line without run.
    double StigningsTall(double factor, int withDirection) const;

private:
    DT_Punkt start_;
    DT_Punkt end_;
};
