#pragma once
// Clothoid relations of a transition curve between two radii (signed, 0 = straight): the
// change of curvature over the curve and the clothoid parameter A, with A^2 = L / k.

#include "platform/base/HovedObjekt.h"

class CvTransCurveOk : public HovedObjekt {
public:
    const char* KlasseNavn() const override { return "CvTransCurveOk"; }

    // k = |1/|r1| - 1/|r2||, a radius of 0 (within 1e-9) standing for a straight (its term left
    // out); 0 when both are straight. The radii enter as magnitudes, as the trolley and LandXML
    // sources state them; for a transition through an inflection (radii of opposite signs) this
    // is the difference, not the sum, of the two curvatures.
    double CurvatureChange(double r1, double r2) const;
    // A = sqrt(|length| / k), or 0 when k is 0.
    double ParameterFromLength(double r1, double r2, double length) const;
};
