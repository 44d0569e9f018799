#pragma once
// Internal: the derived geometry of one polyline element.
//
// Two planes are used. The canonical plane has X east and Y north, so that angles are the
// mathematical ones the component reports and a positive curvature turns left (counter-clockwise);
// an element's radius R (positive right) is the curvature -1/R here. The local plane of a shape
// has the curve start at the origin heading along +x.
//
// A Shape is the curve in its local plane: curvature k(u) = k0 + c u for u in [0, L]. Lines and
// arcs are evaluated in closed form. A clothoid is evaluated from a table of nodes (position,
// heading, curvature) spaced so that the heading integral from the nearest node is a short,
// fast-converging power series: exp(i(x v + y v^2)) has Taylor coefficients with the recursion
// (n + 1) a(n+1) = i (x a(n) + 2 y a(n-1)), so one pass gives both the integral (position) and the
// value (tangent). With |x| + 2|y| <= 0.3 the terms fall below 1e-17 after about 14 steps.
//
// ElementGeometry places a shape onto the element: canonical point = A + q * local point, where A
// is the start point and q the complex number that turns (and scales) the shape's chord onto the
// element's chord.

#include <cstdint>
#include <vector>

class CvPolyElement;

namespace rigel::polyline {

struct Box {
    double minX = 0, minY = 0, maxX = 0, maxY = 0;
    // Squared distance from (x, y) to the box (0 inside).
    double Dist2(double x, double y) const {
        const double dx = x < minX ? minX - x : (x > maxX ? x - maxX : 0.0);
        const double dy = y < minY ? minY - y : (y > maxY ? y - maxY : 0.0);
        return dx * dx + dy * dy;
    }
};

// A point of a curve with its unit tangent and curvature.
struct CurvePoint {
    double x = 0, y = 0;   // position
    double tx = 1, ty = 0; // unit tangent
    double k = 0;          // curvature (positive left)
};

class Shape {
public:
    // type 1 line, 2 arc, 3 clothoid (k1 = curvature at the end); L >= 0.
    Shape(int type, double length, double k0, double k1);

    int Type() const { return type_; }
    double Length() const { return L_; }
    double K0() const { return k0_; }
    double Rate() const { return c_; }
    double CurvatureAt(double u) const { return k0_ + c_ * u; }
    double HeadingAt(double u) const { return u * (k0_ + 0.5 * c_ * u); }
    // Position, tangent and curvature at u (u outside [0, L] continues the same curve).
    CurvePoint At(double u) const;
    const CurvePoint& End() const { return end_; }

    // Nearest point of the shape to (px, py): the global minimum of the distance over [0, L]
    // (of equal distances the smallest u), a function of the point alone. Lines and arcs in closed
    // form; a clothoid by branch and bound over the guide panels (see NearestOnClothoid).
    // Returns u in [0, L]; *clamp is -1 / +1 when the minimum is the start / end and the point
    // lies before / beyond it, else 0. *at receives the curve point at u.
    double Nearest(double px, double py, int* clamp, CurvePoint* at) const;
    // The curve point at u with the clamp Nearest would give it.
    void PointAt(double px, double py, double u, int* clamp, CurvePoint* at) const;

    // Guide polygon: points at the node parameters (every shape has at least its two ends).
    int NodeCount() const { return static_cast<int>(nodes_.size()); }
    double NodeU(int i) const { return nodes_[i].u; }
    double NodeX(int i) const { return nodes_[i].x; }
    double NodeY(int i) const { return nodes_[i].y; }
    // The largest heading change between neighbouring nodes, times the node spacing.
    double NodeSagittaBound() const;

private:
    struct Node {
        double u, x, y, cosH, sinH, k;
    };
    void BuildNodes();
    double NearestOnArc(double px, double py, CurvePoint* at) const;
    double NearestOnClothoid(double px, double py, CurvePoint* at) const;
    // The root of (p - c(u)) . t(u) in [lo, hi], where it falls from > 0 to < 0, by safeguarded
    // Newton from guess.
    double FootBetween(double px, double py, double lo, double hi, double guess,
                       CurvePoint* at) const;
    // Newton steps from u towards a foot, kept in [0, L].
    double PolishFoot(double px, double py, double u, CurvePoint* at) const;

    int type_;
    double L_, k0_, c_;
    double spacing_ = 0; // node spacing (clothoid and arc)
    std::vector<Node> nodes_;
    CurvePoint end_;
};

class ElementGeometry {
public:
    // The geometry of an element's current values.
    explicit ElementGeometry(const CvPolyElement& element);

    // False for an element that cannot be placed (no chord, zero length, values not finite).
    bool Placeable() const { return placeable_; }
    const Shape& GetShape() const { return shape_; }
    int Frame() const { return frame_; }

    // Canonical coordinates of a point of the element's frame and back.
    static void ToCanonical(int frame, double x, double y, double& X, double& Y) {
        if (frame == 2) {
            X = x;
            Y = y;
        } else {
            X = y;
            Y = x;
        }
    }
    static void FromCanonical(int frame, double X, double Y, double& x, double& y) {
        ToCanonical(frame, X, Y, x, y);
    }

    // Stations and the shape parameter.
    double StartStation() const { return s0_; }
    double EndStation() const { return s1_; }
    double UAtStation(double s) const { return (s - s0_) * uPerStation_; }
    double StationAtU(double u) const { return s0_ + u * stationPerU_; }
    // 1 when s lies within the station range (tolerance tol).
    bool HoldsStation(double s, double tol) const;
    double HeightAt(double u) const;
    // Scale of the placement (1 for consistent data) and stations per metre of the curve.
    double Scale() const { return qScale_; }
    double StationPerMetre() const { return stationPerU_ / qScale_; }

    // Canonical position, direction (mathematical angle) and curvature at u, shifted by offset to
    // the right.
    void At(double u, double offset, double& X, double& Y, double& direction,
            double& curvature) const;
    // The canonical point of a point of the shape's plane.
    void Place(double lx, double ly, double& X, double& Y) const {
        X = ax_ + qx_ * lx - qy_ * ly;
        Y = ay_ + qy_ * lx + qx_ * ly;
    }
    // Canonical unit tangent at u.
    void TangentAt(double u, double& tx, double& ty) const;

    struct Projection {
        double u = 0;
        double station = 0;
        double dist = 0;   // distance to the foot (canonical units)
        double offset = 0; // signed, right positive
        double along = 0;  // beyond an end: distance along the end tangent (negative before start)
        int clamp = 0;     // -1 before the start, +1 beyond the end, 0 on the element
        double footX = 0, footY = 0;
        double tx = 1, ty = 0; // unit tangent at the foot
        double side = 0;       // component of (point - foot) to the right of the tangent
    };
    // Nearest point to the canonical point (X, Y) (Shape::Nearest).
    void Project(double X, double Y, Projection& out) const;
    // The same filled in for the point of the element at u.
    void ProjectAt(double X, double Y, double u, Projection& out) const;
    double DirectionAt(double u) const;

    // Box of the curve in the canonical plane (conservative).
    const Box& Bounds() const { return box_; }

private:
    // (X, Y) in the plane of the element's shape.
    void ToShapePlane(double X, double Y, double& px, double& py) const;
    void Fill(double px, double py, double u, int clamp, const CurvePoint& p,
              Projection& out) const;

    Shape shape_;
    bool placeable_ = false;
    int frame_ = 1;
    double ax_ = 0, ay_ = 0; // start point, canonical
    double qx_ = 1, qy_ = 0; // chord turn and scale
    double qScale_ = 1, qAngle_ = 0;
    double s0_ = 0, s1_ = 0, uPerStation_ = 1, stationPerU_ = 1;
    double z0_ = 0, z1_ = 0;
    Box box_;
};

// Local curvature (positive left) of a signed radius (positive right); 0 for straight.
double CurvatureOfRadius(double radius);
// The shape of an element's values (type from the radii, |length|).
Shape ShapeOf(double startRadius, double endRadius, double length);

} // namespace rigel::polyline
