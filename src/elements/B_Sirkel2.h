#pragma once
// A circle that can be constructed through three plan points.

#include "platform/base/B_Sirkel.h"

class B_Sirkel2 : public B_Sirkel {
public:
    // Results of ThreePointCircle other than the two orientations.
    static constexpr int kPointMissing = -5;
    static constexpr int kFirstPairEqual = -2;  // A and B coincide
    static constexpr int kChordZero = -3;       // A and C coincide
    static constexpr int kSecondPairEqual = -4; // B and C coincide
    static constexpr int kCollinear = 0;

    B_Sirkel2() = default;
    B_Sirkel2(const DT_Punkt& centre, double radius) : B_Sirkel(centre, radius) {}
    const char* KlasseNavn() const override { return "B_Sirkel2"; }

    // Sets the centre and the (positive) radius of the circle through a, b and c in the plan.
    // Returns +1 when b lies left of the chord a -> c (the track a, b, c turns right, which is a
    // positive radius), -1 when it lies right of it, and one of the codes above otherwise; in
    // those cases there is no circle: the radius becomes 0 and the centre the origin.
    int ThreePointCircle(const DT_Punkt* a, const DT_Punkt* b, const DT_Punkt* c);
};
