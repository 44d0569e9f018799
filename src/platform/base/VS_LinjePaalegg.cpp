#include "platform/base/VS_LinjePaalegg.h"

#include <cmath>
#include <numbers>

namespace {

// Change of direction between the line a -> b and the line b -> c, in [0, pi].
double Turn(const DT_Punkt& a, const DT_Punkt& b, const DT_Punkt& c) {
    const double in = std::atan2(b.y() - a.y(), b.x() - a.x());
    const double out = std::atan2(c.y() - b.y(), c.x() - b.x());
    double delta = std::fabs(out - in);
    if (delta > std::numbers::pi)
        delta = 2.0 * std::numbers::pi - delta;
    return delta;
}

} // namespace

double VS_LinjePaalegg::TangentLength(int index) const {
    if (index <= 0 || index >= Antall() - 1)
        return 0.0;
    const DT_Punkt& p = *Punkt(index);
    const double delta = Turn(*Punkt(index - 1), p, *Punkt(index + 1));
    return std::fabs(p.z()) * std::tan(delta / 2.0);
}

int VS_LinjePaalegg::CheckCurve() const {
    const int n = Antall();
    if (n < 2)
        return 0;
    for (int i = 0; i < n; ++i) {
        const DT_Punkt& p = *Punkt(i);
        if (!std::isfinite(p.x()) || !std::isfinite(p.y()) || !std::isfinite(p.z()))
            return 0;
        if (i > 0 && !(p.x() > Punkt(i - 1)->x() + 1e-9))
            return 0;
    }
    constexpr double slack = 1e-6;
    for (int i = 0; i + 1 < n; ++i) {
        const double distance = Punkt(i)->AvstandTil(*Punkt(i + 1));
        const double used = TangentLength(i) + TangentLength(i + 1);
        if (!std::isfinite(used) || used > distance + slack)
            return 0;
    }
    return 1;
}

int VS_LinjePaalegg::CalculateTangPoints(B_Linje& line1, B_Linje& line2, double r,
                                         double& tangentLength) {
    const double length1 = line1.Lengde();
    const double length2 = line2.Lengde();
    if (length1 == 0.0 || length2 == 0.0)
        return 0;
    // line1 runs back from the corner, so its end point is where the grade comes from.
    const double delta = Turn(line1.Slutt(), line1.Start(), line2.Slutt());
    if (!(delta > 1e-12) || !(delta < std::numbers::pi - 1e-12))
        return 0;
    const double t = std::fabs(r) * std::tan(delta / 2.0);
    auto along = [t](const B_Linje& line, double length) {
        const DT_Punkt& s = line.Start();
        const DT_Punkt& e = line.Slutt();
        return DT_Punkt(s.x() + (e.x() - s.x()) * t / length, s.y() + (e.y() - s.y()) * t / length,
                        e.z());
    };
    const DT_Punkt end1 = along(line1, length1);
    const DT_Punkt end2 = along(line2, length2);
    line1.SluttPunkt(&end1);
    line2.SluttPunkt(&end2);
    tangentLength = t;
    return 1;
}
