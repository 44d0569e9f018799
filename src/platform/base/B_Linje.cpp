#include "platform/base/B_Linje.h"

#include <cmath>

int B_Linje::Init(const DT_Punkt& start, const DT_Punkt& end) {
    start_.Init(start);
    end_.Init(end);
    return 1;
}

DT_Punkt* B_Linje::StartPunkt(const DT_Punkt* newValue) {
    if (newValue != nullptr)
        start_.Init(*newValue);
    return &start_;
}

DT_Punkt* B_Linje::SluttPunkt(const DT_Punkt* newValue) {
    if (newValue != nullptr)
        end_.Init(*newValue);
    return &end_;
}

double B_Linje::Vinkel() const {
    return start_.AngleTo(end_);
}

double B_Linje::Lengde() const {
    return start_.AvstandTil(end_);
}

int B_Linje::SkjaeringMed(const B_Linje& other, DT_Punkt& result) const {
    const double dx1 = end_.x() - start_.x(), dy1 = end_.y() - start_.y();
    const double dx2 = other.end_.x() - other.start_.x(), dy2 = other.end_.y() - other.start_.y();
    const double den = dx1 * dy2 - dy1 * dx2;
    const double scale = std::hypot(dx1, dy1) * std::hypot(dx2, dy2);
    if (scale == 0.0 || std::fabs(den) <= 1e-12 * scale)
        return 0;
    const double t =
        ((other.start_.x() - start_.x()) * dy2 - (other.start_.y() - start_.y()) * dx2) / den;
    result.Init(start_.x() + t * dx1, start_.y() + t * dy1, result.z());
    return 1;
}

double B_Linje::DistTo3DLine(const DT_Punkt& p) const {
    const double dx = end_.x() - start_.x(), dy = end_.y() - start_.y();
    const double length = std::hypot(dx, dy);
    if (length == 0.0)
        return start_.AvstandTil(p);
    // Right-hand normal of (dx, dy) in the (north, east) frame is (-dy, dx).
    return (-(p.x() - start_.x()) * dy + (p.y() - start_.y()) * dx) / length;
}

double B_Linje::StigningsTall(double factor, int withDirection) const {
    const double run = std::fabs(end_.x() - start_.x());
    if (run == 0.0)
        return 0.0;
    const double grade = (end_.y() - start_.y()) / run * factor;
    return withDirection ? grade : -grade;
}
