#include "platform/base/DT_Punkt.h"

#include <cmath>

int DT_Punkt::InitPolar(double direction, double distance, const DT_Punkt& from) {
    return Init(from.x_ + distance * std::cos(direction), from.y_ + distance * std::sin(direction),
                from.z_);
}

double DT_Punkt::AvstandTil(const DT_Punkt& p) const {
    return std::hypot(p.x_ - x_, p.y_ - y_);
}

double DT_Punkt::AngleTo(const DT_Punkt& q) const {
    return std::atan2(q.y_ - y_, q.x_ - x_);
}

int DT_Punkt::Lik(const DT_Punkt& other, double tol, int withZ) const {
    if (!(std::fabs(x_ - other.x_) <= tol) || !(std::fabs(y_ - other.y_) <= tol))
        return 0;
    return withZ == 0 || std::fabs(z_ - other.z_) <= tol;
}
