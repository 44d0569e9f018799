#include "elements/B_Linje2.h"

#include <numbers>

double B_Linje2::DeflectionTo(const B_Linje& other, int unit) {
    // The conversion factors are the rounded ones the rest of the system has always used, so that
    // angles compared across modules agree to the last digit.
    double factor = 1.0;
    double halfTurn = std::numbers::pi;
    if (unit == kDegrees) {
        factor = 57.29577951;
        halfTurn = 180.0;
    } else if (unit == kGon) {
        factor = 63.66197723;
        halfTurn = 200.0;
    }
    double a = (other.Vinkel() - Vinkel()) * factor;
    if (a < 0.0)
        a = -a;
    // Both bearings lie in (-pi, pi], so a < 2 half turns and one fold brings it into range.
    if (a > halfTurn)
        a = 2.0 * halfTurn - a;
    deflection_.Init(a);
    return a;
}
