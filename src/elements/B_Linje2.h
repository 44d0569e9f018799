#pragma once
// A construction line (start -> end) that measures signed distances and deflection angles.

#include "platform/base/B_Linje.h"
#include "platform/base/DT_Double.h"

class B_Linje2 : public B_Linje {
public:
    // Units of DeflectionTo.
    static constexpr int kRadians = 0;
    static constexpr int kDegrees = 1;
    static constexpr int kGon = 2;

    B_Linje2() = default;
    B_Linje2(const DT_Punkt& start, const DT_Punkt& end) : B_Linje(start, end) {}
    const char* KlasseNavn() const override { return "B_Linje2"; }

    // Positive to the right of start -> end, negative to the left, 0 on the line.
    double SignedDistance(const DT_Punkt& p) const { return DistTo3DLine(p); }

    // The unsigned angle between the directions of this line and other, in 0 ... half turn (pi,
    // 180 degrees or 200 gon for unit 0, 1 or 2; any other unit gives radians). The result is
    // also kept and can be read back with Deflection().
    double DeflectionTo(const B_Linje& other, int unit);
    const DT_Double& Deflection() const { return deflection_; }

private:
    DT_Double deflection_;
};
