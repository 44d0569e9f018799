#include "elements/C_Arc.h"

#include "elements/B_Linje2.h"
#include "platform/polyline/CvPolyElement.h"

#include <cmath>
#include <numbers>

namespace {
constexpr double kAngleTolerance = 1e-9;

bool IsHalfTurn(double a) {
    return std::fabs(a - std::numbers::pi) <= kAngleTolerance;
}
bool IsStraight(double a) {
    return std::fabs(a) <= kAngleTolerance;
}
} // namespace

void C_Arc::UpdateDeflection() {
    B_Linje2 first(tangentStart_, pi_);
    const B_Linje second(pi_, tangentEnd_);
    deflection_.Init(first.DeflectionTo(second, B_Linje2::kRadians));
}

void C_Arc::SignRadiusBySide() {
    const B_Linje2 first(tangentStart_, pi_);
    radius_.SnuFortegn(first.SignedDistance(tangentEnd_) >= 0.0 ? 1 : -1);
}

DT_Punkt* C_Arc::TangentStart(const DT_Punkt* p) {
    if (p != nullptr) {
        tangentStart_.Init(*p);
        UpdateDeflection();
    }
    return &tangentStart_;
}

DT_Punkt* C_Arc::PI(const DT_Punkt* p) {
    if (p != nullptr) {
        pi_.Init(*p);
        UpdateDeflection();
    }
    return &pi_;
}

DT_Punkt* C_Arc::TangentEnd(const DT_Punkt* p) {
    if (p != nullptr) {
        tangentEnd_.Init(*p);
        UpdateDeflection();
    }
    return &tangentEnd_;
}

B_Vinkel* C_Arc::Deflection(const DT_Double* angle) {
    if (angle != nullptr)
        deflection_.InitMellom0og2PI(angle->Get());
    return &deflection_;
}

DT_Double* C_Arc::Radius(const DT_Double* r) {
    if (r != nullptr) {
        const double delta = deflection_.Get();
        radius_.Init(r->Get());
        tangentLength_.Init(IsHalfTurn(delta) ? 0.0 : std::fabs(r->Get()) * std::tan(delta / 2.0));
        SignRadiusBySide();
    }
    return &radius_;
}

DT_Double* C_Arc::TangentLength(const DT_Double* t) {
    if (t != nullptr) {
        const double delta = deflection_.Get();
        tangentLength_.Init(std::fabs(t->Get()));
        if (IsStraight(delta))
            radius_.Init(0.0);
        else if (!IsHalfTurn(delta))
            radius_.Init(std::fabs(tangentLength_.Get() / std::tan(delta / 2.0)));
        SignRadiusBySide();
    }
    return &tangentLength_;
}

DT_Punkt* C_Arc::ArcStart(const DT_Punkt* p) {
    if (p != nullptr)
        arcStart_.Init(*p);
    else
        arcStart_.InitPolar(pi_.AngleTo(tangentStart_), tangentLength_.Get(), pi_);
    return &arcStart_;
}

DT_Punkt* C_Arc::ArcEnd(const DT_Punkt* p) {
    if (p != nullptr)
        arcEnd_.Init(*p);
    else
        arcEnd_.InitPolar(pi_.AngleTo(tangentEnd_), tangentLength_.Get(), pi_);
    return &arcEnd_;
}

int C_Arc::InitFromArcElement(const CvPolyElement* element, int keepCoordinates) {
    ErrorKode(0);
    if (element == nullptr)
        return ErrorKode(kNoElement);
    const int type = element->ElementType();
    if (type != CvPolyElement::kArc && type != CvPolyElement::kArcAlias)
        return ErrorKode(kNotAnArc);
    const double radius = element->StartRadius()->Get();
    if (std::fabs(radius) <= 1e-9)
        return ErrorKode(kNoRadius);
    if (std::fabs(element->Length()->Get()) <= 1e-5)
        return ErrorKode(kNoLength);

    CvPolyElement arc(*element);
    if (keepCoordinates == 0)
        arc.SubstituteXYCoord();
    DT_Punkt centre;
    if (!arc.ArcCenter(&centre))
        return ErrorKode(kNoCentre);
    Init(centre);

    const DT_Punkt start(*arc.StartPoint()), end(*arc.EndPoint());
    tangentStart_.Init(start);
    arcStart_.Init(start);
    tangentEnd_.Init(end);
    arcEnd_.Init(end);

    // Tangents: at right angles to the radius at each end, both turned the same way, so that
    // the angle between them is the turn of the arc (up to a half turn).
    const double turn = radius >= 0.0 ? -std::numbers::pi / 2 : std::numbers::pi / 2;
    DT_Punkt far1, far2;
    far1.InitPolar(centre.AngleTo(start) + turn, 500.0, start);
    far2.InitPolar(centre.AngleTo(end) + turn, 500.0, end);
    B_Linje2 tangent1(start, far1);
    const B_Linje tangent2(end, far2);
    DT_Punkt pi(start);
    if (!tangent1.SkjaeringMed(tangent2, pi))
        return ErrorKode(kNoTangentIntersection);
    pi_.Init(pi);

    deflection_.Init(tangent1.DeflectionTo(tangent2, B_Linje2::kRadians));
    const DT_Double r(radius);
    Radius(&r);
    return 1;
}
