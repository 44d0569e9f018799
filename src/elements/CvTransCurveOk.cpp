#include "elements/CvTransCurveOk.h"

#include <cmath>

namespace {
constexpr double kTolerance = 1e-9;
}

double CvTransCurveOk::CurvatureChange(double r1, double r2) const {
    const bool straight1 = std::fabs(r1) <= kTolerance;
    const bool straight2 = std::fabs(r2) <= kTolerance;
    if (straight1 && straight2)
        return 0.0;
    if (straight1)
        return 1.0 / std::fabs(r2);
    if (straight2)
        return 1.0 / std::fabs(r1);
    return std::fabs(1.0 / std::fabs(r1) - 1.0 / std::fabs(r2));
}

double CvTransCurveOk::ParameterFromLength(double r1, double r2, double length) const {
    const double k = CurvatureChange(r1, r2);
    if (k == 0.0)
        return 0.0;
    return std::sqrt(std::fabs(length) / k);
}
