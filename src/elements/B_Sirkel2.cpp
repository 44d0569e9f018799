#include "elements/B_Sirkel2.h"

#include "elements/B_Linje2.h"

#include <cmath>

namespace {
constexpr double kTolerance = 1e-9;
}

int B_Sirkel2::ThreePointCircle(const DT_Punkt* a, const DT_Punkt* b, const DT_Punkt* c) {
    if (a == nullptr || b == nullptr || c == nullptr)
        return kPointMissing;
    if (a->AvstandTil(*b) <= kTolerance)
        return kFirstPairEqual;
    if (b->AvstandTil(*c) <= kTolerance)
        return kSecondPairEqual;
    if (a->AvstandTil(*c) <= kTolerance)
        return kChordZero;

    const B_Linje2 chord(*a, *c);
    const double side = chord.SignedDistance(*b);
    if (std::fabs(side) <= kTolerance)
        return kCollinear;

    // Intersection of the perpendicular bisectors of a-b and a-c, relative to a so that large
    // map coordinates do not swamp the small differences.
    const double bx = b->x() - a->x(), by = b->y() - a->y();
    const double cx = c->x() - a->x(), cy = c->y() - a->y();
    const double det = 2.0 * (bx * cy - by * cx);
    if (det == 0.0)
        return kCollinear;
    const double b2 = bx * bx + by * by, c2 = cx * cx + cy * cy;
    const double ux = (cy * b2 - by * c2) / det;
    const double uy = (bx * c2 - cx * b2) / det;

    const DT_Punkt centre(a->x() + ux, a->y() + uy, 0.0);
    Senter(&centre);
    const DT_Double radius(std::hypot(ux, uy));
    Radius(&radius);
    return side < 0.0 ? 1 : -1;
}
