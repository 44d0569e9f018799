#include "platform/polyline/ElementGeometry.h"

#include "platform/polyline/CvPolyElement.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace rigel::polyline {

namespace {

constexpr int kMaxNodes = 65536;
// Bound on |k| h + |c| h^2 for one node panel (evaluations use at most half a panel).
constexpr double kPanelPhase = 0.3;
// Heading change between guide points of an arc.
constexpr double kArcGuideAngle = 0.2;
constexpr double kSeriesEpsilon = 1e-18;
constexpr int kMaxSeriesTerms = 400;

// Integral and end value of exp(i (x v + y v^2)) over v in [0, 1] with x = k * delta and
// y = c * delta^2 / 2, scaled by delta: (ix, iy) is the displacement from the panel start in the
// frame of its start heading, (gx, gy) the tangent at its end in that frame.
void Series(double k, double c, double delta, double& ix, double& iy, double& gx, double& gy) {
    const double x = k * delta;
    const double y2 = c * delta * delta; // 2y
    // a(n-1) and a(n), starting at a0 = 1, a1 = i x.
    double pr = 1.0, pi = 0.0;
    double nr = 0.0, ni = x;
    double sumIr = 1.0, sumIi = 0.5 * x;
    double sumGr = 1.0, sumGi = x;
    for (int n = 1; n < kMaxSeriesTerms; ++n) {
        // a(n+1) = i (x a(n) + 2y a(n-1)) / (n+1)
        const double br = x * nr + y2 * pr;
        const double bi = x * ni + y2 * pi;
        const double inv = 1.0 / static_cast<double>(n + 1);
        const double ar = -bi * inv;
        const double ai = br * inv;
        const double invI = 1.0 / static_cast<double>(n + 2);
        sumIr += ar * invI;
        sumIi += ai * invI;
        sumGr += ar;
        sumGi += ai;
        pr = nr;
        pi = ni;
        nr = ar;
        ni = ai;
        if (std::fabs(ar) + std::fabs(ai) < kSeriesEpsilon &&
            std::fabs(pr) + std::fabs(pi) < kSeriesEpsilon)
            break;
    }
    ix = delta * sumIr;
    iy = delta * sumIi;
    gx = sumGr;
    gy = sumGi;
}

double NormalizeAngle(double a) {
    const double r = std::remainder(a, 2.0 * std::numbers::pi);
    return r <= -std::numbers::pi ? r + 2.0 * std::numbers::pi : r;
}

} // namespace

double CurvatureOfRadius(double radius) {
    if (!(std::fabs(radius) > CvPolyElement::kRadiusTolerance))
        return 0.0;
    return -1.0 / radius;
}

Shape ShapeOf(double startRadius, double endRadius, double length) {
    const int type = CvPolyElement::TypeFromRadii(startRadius, endRadius);
    return Shape(type, std::fabs(length), CurvatureOfRadius(startRadius),
                 CurvatureOfRadius(endRadius));
}

Shape::Shape(int type, double length, double k0, double k1) : type_(type), L_(length) {
    if (!(L_ >= 0.0) || !std::isfinite(L_))
        L_ = 0.0;
    if (type_ == CvPolyElement::kArcAlias)
        type_ = CvPolyElement::kArc;
    switch (type_) {
    case CvPolyElement::kArc:
        k0_ = k0;
        c_ = 0.0;
        if (k0_ == 0.0)
            type_ = CvPolyElement::kLine;
        break;
    case CvPolyElement::kTransition:
        k0_ = k0;
        c_ = L_ > 0.0 ? (k1 - k0) / L_ : 0.0;
        break;
    default:
        type_ = CvPolyElement::kLine;
        k0_ = 0.0;
        c_ = 0.0;
        break;
    }
    BuildNodes();
    end_ = At(L_);
}

void Shape::BuildNodes() {
    nodes_.clear();
    int m = 1;
    if (type_ == CvPolyElement::kArc) {
        const double turns = std::fabs(k0_) * L_ / kArcGuideAngle;
        m = static_cast<int>(std::min<double>(kMaxNodes, std::max(1.0, std::ceil(turns))));
    } else if (type_ == CvPolyElement::kTransition) {
        const double kmax = std::max(std::fabs(k0_), std::fabs(k0_ + c_ * L_));
        double h = L_;
        if (kmax > 0.0)
            h = std::min(h, 0.5 * kPanelPhase / kmax);
        if (c_ != 0.0)
            h = std::min(h, std::sqrt(0.5 * kPanelPhase / std::fabs(c_)));
        if (h > 0.0 && L_ > 0.0)
            m = static_cast<int>(std::min<double>(kMaxNodes, std::max(1.0, std::ceil(L_ / h))));
    }
    spacing_ = L_ / m;
    nodes_.reserve(static_cast<std::size_t>(m) + 1);
    if (type_ != CvPolyElement::kTransition) {
        for (int j = 0; j <= m; ++j) {
            const double u = j == m ? L_ : spacing_ * j;
            const CurvePoint p = At(u);
            nodes_.push_back({u, p.x, p.y, p.tx, p.ty, p.k});
        }
        return;
    }
    // Clothoid: each node from the previous one by one series step; headings directly.
    nodes_.push_back({0.0, 0.0, 0.0, 1.0, 0.0, k0_});
    for (int j = 0; j < m; ++j) {
        const Node& a = nodes_.back();
        const double u = j + 1 == m ? L_ : spacing_ * (j + 1);
        double ix, iy, gx, gy;
        Series(a.k, c_, u - a.u, ix, iy, gx, gy);
        const double x = a.x + a.cosH * ix - a.sinH * iy;
        const double y = a.y + a.sinH * ix + a.cosH * iy;
        const double h = HeadingAt(u);
        nodes_.push_back({u, x, y, std::cos(h), std::sin(h), CurvatureAt(u)});
    }
}

CurvePoint Shape::At(double u) const {
    CurvePoint p;
    switch (type_) {
    case CvPolyElement::kArc: {
        const double phi = k0_ * u;
        const double s2 = std::sin(0.5 * phi);
        const double c2 = std::cos(0.5 * phi);
        const double sinPhi = 2.0 * s2 * c2;
        const double oneMinusCos = 2.0 * s2 * s2;
        p.x = sinPhi / k0_;
        p.y = oneMinusCos / k0_;
        p.tx = 1.0 - oneMinusCos;
        p.ty = sinPhi;
        p.k = k0_;
        return p;
    }
    case CvPolyElement::kTransition: {
        const int last = static_cast<int>(nodes_.size()) - 1;
        int j = 0;
        if (spacing_ > 0.0) {
            const double t = std::floor(u / spacing_ + 0.5);
            j = t <= 0.0 ? 0 : (t >= last ? last : static_cast<int>(t));
        }
        const Node& n = nodes_[j];
        double ix, iy, gx, gy;
        Series(n.k, c_, u - n.u, ix, iy, gx, gy);
        p.x = n.x + n.cosH * ix - n.sinH * iy;
        p.y = n.y + n.sinH * ix + n.cosH * iy;
        p.tx = n.cosH * gx - n.sinH * gy;
        p.ty = n.sinH * gx + n.cosH * gy;
        p.k = CurvatureAt(u);
        return p;
    }
    default:
        p.x = u;
        return p;
    }
}

double Shape::NodeSagittaBound() const {
    if (type_ == CvPolyElement::kLine)
        return 0.0;
    const double kmax = std::max(std::fabs(k0_), std::fabs(k0_ + c_ * L_));
    // A curve of curvature at most kmax leaves the chord of a panel of length h by kmax h^2 / 8.
    return kmax * spacing_ * spacing_ / 4.0;
}

double Shape::GuideGuess(double px, double py) const {
    double best = std::numeric_limits<double>::infinity();
    double guess = 0.0;
    for (std::size_t i = 0; i + 1 < nodes_.size(); ++i) {
        const Node& a = nodes_[i];
        const Node& b = nodes_[i + 1];
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double len2 = dx * dx + dy * dy;
        double t = len2 > 0.0 ? ((px - a.x) * dx + (py - a.y) * dy) / len2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double ex = a.x + t * dx - px, ey = a.y + t * dy - py;
        const double d2 = ex * ex + ey * ey;
        if (d2 < best) {
            best = d2;
            guess = a.u + t * (b.u - a.u);
        }
    }
    return guess;
}

double Shape::Nearest(double px, double py, double guess, int* clamp, CurvePoint* at) const {
    *clamp = 0;
    if (type_ == CvPolyElement::kLine || L_ <= 0.0) {
        double u = px;
        if (!(u > 0.0)) {
            u = 0.0;
            if (px < 0.0)
                *clamp = -1;
        } else if (u > L_) {
            u = L_;
            *clamp = 1;
        }
        *at = At(u);
        return u;
    }
    double u = (guess >= 0.0 && guess <= L_) ? guess : GuideGuess(px, py);
    double lo = 0.0, hi = L_;
    bool loKnown = false, hiKnown = false; // f(lo) > 0, f(hi) <= 0 established
    const double tolU = 1e-12 * std::max(1.0, L_);
    CurvePoint p;
    for (int iter = 0; iter < 100; ++iter) {
        p = At(u);
        const double dx = px - p.x, dy = py - p.y;
        const double f = dx * p.tx + dy * p.ty;
        const double normal = -dx * p.ty + dy * p.tx;
        const double fp = -1.0 + p.k * normal;
        if (f > 0.0) {
            lo = u;
            loKnown = true;
        } else {
            hi = u;
            hiKnown = true;
        }
        if (f == 0.0)
            break;
        double next = fp < 0.0 ? u - f / fp : std::numeric_limits<double>::quiet_NaN();
        // A Newton step below the tolerance has converged even if rounding put it just outside
        // the bracket.
        const bool converged = std::fabs(next - u) <= tolU;
        if (converged) {
            next = std::clamp(next, 0.0, L_);
        } else if (!(next > lo && next < hi)) {
            if (f > 0.0 && u >= L_) {
                *clamp = 1;
                break;
            }
            if (f < 0.0 && u <= 0.0) {
                *clamp = -1;
                break;
            }
            if (f > 0.0 && !hiKnown)
                next = L_;
            else if (f < 0.0 && !loKnown)
                next = 0.0;
            else
                next = 0.5 * (lo + hi);
        }
        const double step = next - u;
        if (converged || std::fabs(step) <= tolU) {
            // Move along the tangent instead of evaluating again (error step^2 k / 2).
            u = next;
            p.x += step * p.tx;
            p.y += step * p.ty;
            p.k = CurvatureAt(u);
            break;
        }
        u = next;
    }
    *at = p;
    return u;
}

ElementGeometry::ElementGeometry(const CvPolyElement& e)
    : shape_(ShapeOf(e.StartRadius()->Get(), e.EndRadius()->Get(), e.Length()->Get())) {
    frame_ = e.Frame();
    const DT_Punkt& a = *e.StartPoint();
    const DT_Punkt& b = *e.EndPoint();
    const double values[] = {a.x(),
                             a.y(),
                             a.z(),
                             b.x(),
                             b.y(),
                             b.z(),
                             e.StartSTA()->Get(),
                             e.EndSTA()->Get(),
                             e.Length()->Get(),
                             e.StartRadius()->Get(),
                             e.EndRadius()->Get()};
    for (double v : values) {
        if (!std::isfinite(v))
            return;
    }
    ToCanonical(frame_, a.x(), a.y(), ax_, ay_);
    double bx, by;
    ToCanonical(frame_, b.x(), b.y(), bx, by);
    z0_ = a.z();
    z1_ = b.z();
    const double L = shape_.Length();
    const double dx = bx - ax_, dy = by - ay_;
    const CurvePoint& e1 = shape_.End();
    const double e2 = e1.x * e1.x + e1.y * e1.y;
    if (!(L > 0.0) || !(e2 > 1e-24 * L * L) || (dx == 0.0 && dy == 0.0))
        return;
    qx_ = (dx * e1.x + dy * e1.y) / e2;
    qy_ = (dy * e1.x - dx * e1.y) / e2;
    qScale_ = std::hypot(qx_, qy_);
    qAngle_ = std::atan2(qy_, qx_);
    if (!std::isfinite(qScale_) || qScale_ == 0.0)
        return;

    // Unset stations (equal start and end) count as a range of the element's length.
    s0_ = e.StartSTA()->Get();
    double span = e.EndSTA()->Get() - s0_;
    if (span == 0.0)
        span = L;
    s1_ = e.EndSTA()->Get() != s0_ ? e.EndSTA()->Get() : s0_ + L;
    if (span != L) {
        uPerStation_ = L / span;
        stationPerU_ = span / L;
    }

    // Box: the guide points placed, widened by how far the curve can leave their polygon.
    box_.minX = box_.maxX = ax_;
    box_.minY = box_.maxY = ay_;
    for (int i = 0; i < shape_.NodeCount(); ++i) {
        const double x = ax_ + qx_ * shape_.NodeX(i) - qy_ * shape_.NodeY(i);
        const double y = ay_ + qy_ * shape_.NodeX(i) + qx_ * shape_.NodeY(i);
        box_.minX = std::min(box_.minX, x);
        box_.maxX = std::max(box_.maxX, x);
        box_.minY = std::min(box_.minY, y);
        box_.maxY = std::max(box_.maxY, y);
    }
    const double magnitude = std::max(
        {std::fabs(box_.minX), std::fabs(box_.maxX), std::fabs(box_.minY), std::fabs(box_.maxY)});
    const double margin = qScale_ * shape_.NodeSagittaBound() + 1e-9 + 1e-14 * magnitude;
    box_.minX -= margin;
    box_.minY -= margin;
    box_.maxX += margin;
    box_.maxY += margin;
    placeable_ = true;
}

bool ElementGeometry::HoldsStation(double s, double tol) const {
    const double lo = std::min(s0_, s1_), hi = std::max(s0_, s1_);
    return s >= lo - tol && s <= hi + tol;
}

double ElementGeometry::HeightAt(double u) const {
    const double L = shape_.Length();
    if (!(L > 0.0))
        return z0_;
    const double t = u / L;
    return t <= 0.0 ? z0_ : (t >= 1.0 ? z1_ : z0_ + (z1_ - z0_) * t);
}

double ElementGeometry::DirectionAt(double u) const {
    return NormalizeAngle(qAngle_ + shape_.HeadingAt(u));
}

void ElementGeometry::TangentAt(double u, double& tx, double& ty) const {
    const CurvePoint p = shape_.At(u);
    tx = (qx_ * p.tx - qy_ * p.ty) / qScale_;
    ty = (qy_ * p.tx + qx_ * p.ty) / qScale_;
}

void ElementGeometry::At(double u, double offset, double& X, double& Y, double& direction,
                         double& curvature) const {
    const CurvePoint p = shape_.At(u);
    // The offset is added in the shape's plane so that the map coordinates are rounded once.
    const double lx = p.x + offset * p.ty / qScale_;
    const double ly = p.y - offset * p.tx / qScale_;
    X = ax_ + (qx_ * lx - qy_ * ly);
    Y = ay_ + (qy_ * lx + qx_ * ly);
    direction = DirectionAt(u);
    curvature = -p.k / qScale_;
}

void ElementGeometry::Project(double X, double Y, double guessU, Projection& out) const {
    const double dx = X - ax_, dy = Y - ay_;
    const double q2 = qScale_ * qScale_;
    const double px = (qx_ * dx + qy_ * dy) / q2;
    const double py = (qx_ * dy - qy_ * dx) / q2;
    CurvePoint p;
    int clamp = 0;
    const double u = shape_.Nearest(px, py, guessU, &clamp, &p);
    const double fx = ax_ + qx_ * p.x - qy_ * p.y;
    const double fy = ay_ + qy_ * p.x + qx_ * p.y;
    const double tx = (qx_ * p.tx - qy_ * p.ty) / qScale_;
    const double ty = (qy_ * p.tx + qx_ * p.ty) / qScale_;
    // Distances in the shape's plane, where the numbers are small: map coordinates would add
    // their rounding (half a unit in the last place of 6.6e6 m is 4.7e-10 m) once more.
    const double ex = px - p.x, ey = py - p.y;
    out.u = u;
    out.station = StationAtU(u);
    out.dist = std::hypot(ex, ey) * qScale_;
    const double side = (ex * p.ty - ey * p.tx) * qScale_; // right normal (ty, -tx)
    out.along = (ex * p.tx + ey * p.ty) * qScale_;
    out.offset = side < 0.0 ? -out.dist : out.dist;
    out.clamp = clamp;
    out.footX = fx;
    out.footY = fy;
    out.tx = tx;
    out.ty = ty;
    out.side = side;
}

} // namespace rigel::polyline
