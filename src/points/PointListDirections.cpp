// Directions of a point list: accumulated deflection, its recomputation against station, and
// chord bearings.

#include "points/CvSporopPointList.h"

#include "platform/base/B_Linje.h"
#include "platform/base/Trace.h"

#include <cmath>

namespace {

constexpr double kPi = 3.141592653589793;
constexpr double kTwoPi = 6.283185307179586;
constexpr double kSideTolerance = 1e-9;
// Beyond this magnitude subtracting 2 pi no longer changes a double reliably, so the unwrapping
// loops could run for ever; such angles are garbage and are left as they are.
constexpr double kLargestAngle = 1e12;

// Brings angle a within half a turn of the reference r.
double Unwrap(double a, double r) {
    if (!(std::fabs(a) < kLargestAngle && std::fabs(r) < kLargestAngle))
        return a; // also NaN
    const double d = a - r;
    if (std::fabs(d) > 64 * kTwoPi)
        a = r + std::remainder(d, kTwoPi);
    while (a - r > kPi)
        a -= kTwoPi;
    while (a - r < -kPi)
        a += kTwoPi;
    return a;
}

// Bearing at b between the chords a -> b and b -> c, each chord's bearing weighted by the length
// of the other chord. The outgoing bearing is first taken on the same side of the cut at +-pi as
// the incoming one: otherwise a track heading south, whose bearings straddle the cut, would
// average to north. The result lies in [-pi, pi].
double WeightedBearing(const DT_Punkt& a, const DT_Punkt& b, const DT_Punkt& c) {
    const double ab = a.AvstandTil(b);
    const double bc = b.AvstandTil(c);
    const double in = a.AngleTo(b);
    const double out = Unwrap(b.AngleTo(c), in);
    return Unwrap((in * bc + out * ab) / (ab + bc), 0.0);
}

// The turn from bearing u to bearing v, at most half a turn; negative when v lies to the right
// of u (clockwise, x north and y east).
double SignedChange(double u, double v) {
    double delta = std::fabs(v - u);
    if (delta > kPi)
        delta = kTwoPi - delta;
    const DT_Punkt origin;
    DT_Punkt along, turned;
    along.InitPolar(u, 10.0, origin);
    turned.InitPolar(v, 10.0, origin);
    if (B_Linje(origin, along).DistTo3DLine(turned) > kSideTolerance)
        delta = -delta;
    return delta;
}

// Bearing in the plane of (station, direction), brought into (-pi, pi].
double CurveBearing(const DT_Punkt& from, const DT_Punkt& to) {
    double a = from.AngleTo(to);
    if (a > kPi)
        a -= kTwoPi;
    return a;
}

DT_Punkt CurvePoint(const CvSporopPoint& p) {
    return DT_Punkt(p.profile, p.direction);
}

} // namespace

void CvSporopPointList::UpdateDirections(int recompute) {
    const int n = Antall();
    if (n < 3)
        return;

    const double w1 = WeightedBearing(*Punkt(0), *Punkt(1), *Punkt(2));
    Punkt(1)->direction = 0.0;
    double total = 0.0;
    double u = w1;
    for (int i = 2; i + 1 < n; ++i) {
        const double v = WeightedBearing(*Punkt(i - 1), *Punkt(i), *Punkt(i + 1));
        total += SignedChange(u, v);
        Punkt(i)->direction = total;
        u = v;
    }
    total += SignedChange(u, Punkt(n - 2)->AngleTo(*Punkt(n - 1)));
    Punkt(n - 1)->direction = total;
    // The first point is measured from the weighted bearing at the second, not accumulated.
    Punkt(0)->direction = SignedChange(w1, Punkt(0)->AngleTo(*Punkt(1)));

    if (recompute)
        RecomputeDirections();
}

void CvSporopPointList::RecomputeDirections() {
    const int n = Antall();
    if (n < 3)
        return;

    // The curve is read before any direction changes: three of its points roll along.
    DT_Punkt qa = CurvePoint(*Punkt(0));
    DT_Punkt qb = CurvePoint(*Punkt(1));
    DT_Punkt qc = CurvePoint(*Punkt(2));

    double reference = qa.AngleTo(qb);
    Punkt(0)->direction = reference;
    Punkt(1)->direction = Unwrap(qb.AngleTo(qc), reference);

    for (int i = 2; i + 1 < n; ++i) {
        qa = qb;
        qb = qc;
        qc = CurvePoint(*Punkt(i + 1));
        const double a1 = CurveBearing(qa, qb);
        const double a2 = CurveBearing(qb, qc);
        const double dA = qa.AvstandTil(qb);
        const double dB = qb.AvstandTil(qc);
        const double v = Unwrap((a1 * dB + a2 * dA) / (dA + dB), reference);
        CvSporopPoint* b = Punkt(i);
        WINVDS01_TRACE1("pt2->direction = %f newDir = %f", b->direction, v);
        b->direction = v;
        reference = v;
    }
    // qb, qc are the last two curve points here (for three points as read at the start).
    Punkt(n - 1)->direction = Unwrap(qb.AngleTo(qc), reference);
}

void CvSporopPointList::UpdateChordDirections() {
    const int n = Antall();
    if (n < 3)
        return;

    double previous = Punkt(0)->AngleTo(*Punkt(1));
    Punkt(0)->direction = previous;
    for (int i = 1; i < n; ++i) {
        previous = Unwrap(Punkt(i - 1)->AngleTo(*Punkt(i)), previous);
        Punkt(i)->direction = previous;
    }
    Punkt(0)->direction = Punkt(1)->direction;
}
