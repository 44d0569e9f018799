#pragma once
// A circular curve between two tangents: tangent start -> PI -> tangent end, with deflection
// (the angle the direction turns through at PI), radius, tangent length T and the two tangent
// points. The object's own coordinates are the centre of the curve.
//
// Accessors take an optional new value and return the stored value object.
//
// Degenerate deflections, where tan(deflection / 2) has no usable value:
// - 0 (tangents in line, within 1e-9): setting the radius gives T = 0; setting T gives radius 0,
//   the system's value for "straight".
// - a half turn (pi, within 1e-9: the second tangent runs back along the first): both tangents
//   lie on one line, and every circle touching that line touches "both" at one point. Setting
//   the radius then keeps the radius and gives T = 0 (the curve touches the line at PI); setting
//   T keeps T and leaves the radius as it was.

#include "platform/base/B_Vinkel.h"
#include "platform/base/DT_Double.h"
#include "platform/base/DT_Punkt.h"

class CvPolyElement;

class C_Arc : public DT_Punkt {
public:
    // Failures of InitFromArcElement (also kept as the object's ErrorKode).
    static constexpr int kNoElement = -1;
    static constexpr int kNotAnArc = -2;
    static constexpr int kNoRadius = 1;
    static constexpr int kNoLength = 2;
    static constexpr int kNoCentre = 3;
    static constexpr int kNoTangentIntersection = 4;

    C_Arc() = default;
    const char* KlasseNavn() const override { return "C_Arc"; }

    // Setting one of the three defining points recomputes the deflection (0 ... pi) from them;
    // the radius and T are not recomputed.
    DT_Punkt* TangentStart(const DT_Punkt* p = nullptr);
    DT_Punkt* PI(const DT_Punkt* p = nullptr);
    DT_Punkt* TangentEnd(const DT_Punkt* p = nullptr);

    // Sets the deflection, brought into [0, 2 pi). Above pi the curve turns through more than a
    // half turn, and T (from Radius) becomes negative: the tangent points lie beyond PI.
    B_Vinkel* Deflection(const DT_Double* angle = nullptr);

    // Sets the radius and T = |r| tan(deflection / 2); the radius then takes its sign from the
    // side of the tangent end: positive when it lies on or right of tangent start -> PI.
    DT_Double* Radius(const DT_Double* r = nullptr);
    // Sets T = |t| and the radius = T / tan(deflection / 2), signed by the same side rule.
    DT_Double* TangentLength(const DT_Double* t = nullptr);

    // Without an argument: the point at distance T from PI towards the tangent start (end),
    // computed now and kept; with one: sets the point directly.
    DT_Punkt* ArcStart(const DT_Punkt* p = nullptr);
    DT_Punkt* ArcEnd(const DT_Punkt* p = nullptr);

    // Builds the curve from a polyline arc element (type 2 or 4). keepCoordinates 0 swaps the
    // element's plan axes first (on a copy); 1 takes them as they are; the curve's points, and
    // the sign its radius gets from the side rule, are in those axes. The centre is the arc's;
    // tangent start and arc start are the element's start point, tangent end and arc end its end
    // point; PI is where the tangents at the two ends meet; the deflection is the angle between
    // those tangents (so that T, ArcStart() and ArcEnd() agree with the element's end points).
    // An arc that turns through more than a half turn cannot be described this way: it gets the
    // deflection of its tangents, which is less than its turn. Returns 1, or one of the failure
    // codes above (also kept as ErrorKode), with the curve then partly set.
    int InitFromArcElement(const CvPolyElement* element, int keepCoordinates);

private:
    void UpdateDeflection();
    void SignRadiusBySide();

    DT_Double radius_;
    DT_Punkt arcStart_;
    DT_Punkt arcEnd_;
    DT_Punkt tangentStart_;
    DT_Punkt pi_;
    DT_Punkt tangentEnd_;
    DT_Double tangentLength_;
    B_Vinkel deflection_;
};
