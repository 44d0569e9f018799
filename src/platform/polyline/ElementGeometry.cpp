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

double Distance(double dx, double dy) {
    return std::sqrt(dx * dx + dy * dy);
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

double Shape::Nearest(double px, double py, int* clamp, CurvePoint* at) const {
    double u;
    if (type_ == CvPolyElement::kLine || L_ <= 0.0) {
        u = px > 0.0 ? std::min(px, L_) : 0.0;
        *at = At(u);
    } else if (type_ == CvPolyElement::kArc) {
        u = NearestOnArc(px, py, at);
    } else {
        u = NearestOnClothoid(px, py, at);
    }
    const double f = (px - at->x) * at->tx + (py - at->y) * at->ty;
    *clamp = u <= 0.0 && f < 0.0 ? -1 : (u >= L_ && f > 0.0 ? 1 : 0);
    return u;
}

void Shape::PointAt(double px, double py, double u, int* clamp, CurvePoint* at) const {
    *at = At(u);
    const double f = (px - at->x) * at->tx + (py - at->y) * at->ty;
    *clamp = u <= 0.0 && f < 0.0 ? -1 : (u >= L_ && f > 0.0 ? 1 : 0);
}

double Shape::NearestOnArc(double px, double py, CurvePoint* at) const {
    // The centre is (0, 1/k). The nearest point of the whole circle lies on the ray from the
    // centre through p, at the angle travelled psi = |k| u; when the arc does not reach that
    // angle, the distance grows from that point both ways round the circle, so the nearer end of
    // the arc is its nearest point.
    const double ak = std::fabs(k0_);
    const double side = k0_ > 0.0 ? 1.0 : -1.0;
    double psi = std::atan2(px, 1.0 / ak - side * py);
    if (psi < 0.0)
        psi += 2.0 * std::numbers::pi;
    if (psi <= ak * L_)
        return PolishFoot(px, py, std::min(psi / ak, L_), at);
    const double d0 = std::hypot(px, py);
    const double d1 = std::hypot(px - end_.x, py - end_.y);
    *at = d0 <= d1 ? At(0.0) : end_;
    return d0 <= d1 ? 0.0 : L_;
}

double Shape::PolishFoot(double px, double py, double u, CurvePoint* at) const {
    const double tolU = 1e-12 * std::max(1.0, L_);
    CurvePoint p = At(u);
    for (int iter = 0; iter < 8; ++iter) {
        const double dx = px - p.x, dy = py - p.y;
        const double f = dx * p.tx + dy * p.ty;
        const double fp = -1.0 + p.k * (-dx * p.ty + dy * p.tx);
        if (f == 0.0 || !(fp < 0.0))
            break;
        const double next = std::clamp(u - f / fp, 0.0, L_);
        const double step = next - u;
        if (std::fabs(step) <= tolU) {
            // Move along the tangent instead of evaluating again (error step^2 k / 2).
            u = next;
            p.x += step * p.tx;
            p.y += step * p.ty;
            break;
        }
        u = next;
        p = At(u);
    }
    *at = p;
    return u;
}

double Shape::FootBetween(double px, double py, double lo, double hi, double guess,
                          CurvePoint* at) const {
    const double a = lo, b = hi;
    const double tolU = 1e-12 * std::max(1.0, L_);
    double u = guess;
    if (!(u > lo && u < hi))
        u = 0.5 * (lo + hi);
    CurvePoint p;
    for (int iter = 0; iter < 100; ++iter) {
        p = At(u);
        const double dx = px - p.x, dy = py - p.y;
        const double f = dx * p.tx + dy * p.ty;
        if (f == 0.0)
            break;
        const double fp = -1.0 + p.k * (-dx * p.ty + dy * p.tx);
        if (f > 0.0)
            lo = u;
        else
            hi = u;
        double next = u - f / fp;
        if (fp < 0.0 && std::fabs(next - u) <= tolU) {
            // Converged, even if rounding put the step just outside the bracket; move along the
            // tangent instead of evaluating again (error step^2 k / 2).
            next = std::clamp(next, a, b);
            const double step = next - u;
            u = next;
            p.x += step * p.tx;
            p.y += step * p.ty;
            p.k = CurvatureAt(u);
            break;
        }
        if (!(fp < 0.0) || !(next > lo && next < hi))
            next = 0.5 * (lo + hi);
        if (hi - lo <= tolU) {
            u = next;
            p = At(u);
            break;
        }
        u = next;
    }
    *at = p;
    return u;
}

double Shape::NearestOnClothoid(double px, double py, CurvePoint* at) const {
    // Branch and bound over pieces of the curve. With f(u) = (p - c(u)) . t(u) (the squared
    // distance falls where f > 0) and n(u) = t(u) x (p - c(u)) (the component of p - c to the
    // left): f' = k n - 1 and n' = -k f. On a piece [a, b] of length h every point lies within
    // D = (|p - c(a)| + |p - c(b)| + h) / 2 of p and no nearer than (|p - c(a)| + |p - c(b)| - h)
    // / 2, which prunes the piece, and |n'| <= |k| D bounds n from its end values. Where k n < 1
    // throughout, f falls: the nearest point of the piece is its foot or an end. Where k n > 1
    // throughout, the squared distance is concave: it is an end. Other pieces are halved, down to
    // a length where the ends serve. The panels of the guide polygon are the first pieces, the one
    // with the lowest bound searched first; the order only speeds up the pruning.
    struct Piece {
        double ua, ub;
        CurvePoint a, b;
    };
    const auto nodePoint = [&](int i) {
        const Node& n = nodes_[i];
        CurvePoint c;
        c.x = n.x;
        c.y = n.y;
        c.tx = n.cosH;
        c.ty = n.sinH;
        c.k = n.k;
        return c;
    };
    double best = std::numeric_limits<double>::infinity();
    double bestU = 0.0;
    CurvePoint bestP = nodePoint(0);
    const auto offer = [&](double u, const CurvePoint& c) {
        const double d = Distance(px - c.x, py - c.y);
        if (d < best || (d == best && u < bestU)) {
            best = d;
            bestU = u;
            bestP = c;
        }
    };
    const double tiny = 1e-9 * std::max(1.0, L_);
    std::vector<Piece> pending; // second halves still to search (only halving fills it)
    // Searches the piece, or halves it: then it becomes its first half and returns true.
    const auto examine = [&](Piece& pc) {
        const double ax = px - pc.a.x, ay = py - pc.a.y;
        const double bx = px - pc.b.x, by = py - pc.b.y;
        const double da = Distance(ax, ay), db = Distance(bx, by);
        const double h = pc.ub - pc.ua;
        if (0.5 * (da + db - h) > best)
            return false;
        const double fa = ax * pc.a.tx + ay * pc.a.ty;
        const double fb = bx * pc.b.tx + by * pc.b.ty;
        const double ka = pc.a.k, kb = pc.b.k;
        const double kmax = std::max(std::fabs(ka), std::fabs(kb));
        const double kmin = std::min(std::fabs(ka), std::fabs(kb));
        const double reach = 0.5 * (da + db + h);
        // k is linear in u: of one sign (or 0) over the piece when its ends do not differ.
        const bool oneSign = ka * kb >= 0.0 && kmax > 0.0;
        const double sign = ka + kb > 0.0 ? 1.0 : -1.0;
        const double nMid =
            0.5 * sign * ((pc.a.tx * ay - pc.a.ty * ax) + (pc.b.tx * by - pc.b.ty * bx));
        const double nSpread = 0.5 * kmax * reach * h;
        const bool falling =
            oneSign ? kmax * std::max(nMid + nSpread, 0.0) < 1.0 : kmax * reach < 1.0;
        const bool concave = oneSign && kmin * (nMid - nSpread) > 1.0;
        if (falling) {
            if (fa <= 0.0) {
                offer(pc.ua, pc.a);
            } else if (fb >= 0.0) {
                offer(pc.ub, pc.b);
            } else {
                // From the foot on the chord of the piece.
                const double cx = pc.b.x - pc.a.x, cy = pc.b.y - pc.a.y;
                const double t = (ax * cx + ay * cy) / (cx * cx + cy * cy);
                CurvePoint c;
                const double u = FootBetween(px, py, pc.ua, pc.ub, pc.ua + t * h, &c);
                offer(u, c);
            }
            return false;
        }
        if (concave || h <= tiny) {
            offer(pc.ua, pc.a);
            offer(pc.ub, pc.b);
            return false;
        }
        const double um = 0.5 * (pc.ua + pc.ub);
        const CurvePoint m = At(um);
        pending.push_back({um, pc.ub, m, pc.b});
        pc.ub = um;
        pc.b = m;
        return true;
    };
    const auto search = [&](int panel) {
        Piece pc{nodes_[panel].u, nodes_[panel + 1].u, nodePoint(panel), nodePoint(panel + 1)};
        for (;;) {
            if (examine(pc))
                continue;
            if (pending.empty())
                return;
            pc = pending.back();
            pending.pop_back();
        }
    };
    const int panels = static_cast<int>(nodes_.size()) - 1;
    // Twice the lower bound of a panel.
    const auto bound2 = [&](int i, double da, double& db) {
        db = Distance(px - nodes_[i + 1].x, py - nodes_[i + 1].y);
        return da + db - (nodes_[i + 1].u - nodes_[i].u);
    };
    int first = 0;
    double lowest = std::numeric_limits<double>::infinity();
    double d = Distance(px - nodes_[0].x, py - nodes_[0].y);
    const double d0 = d;
    for (int i = 0; i < panels; ++i) {
        double next;
        const double b = bound2(i, d, next);
        if (b < lowest) {
            lowest = b;
            first = i;
        }
        d = next;
    }
    search(first);
    d = d0;
    for (int i = 0; i < panels; ++i) {
        double next;
        const double b = bound2(i, d, next);
        if (i != first && b <= 2.0 * best)
            search(i);
        d = next;
    }
    *at = bestP;
    return bestU;
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

void ElementGeometry::ToShapePlane(double X, double Y, double& px, double& py) const {
    const double dx = X - ax_, dy = Y - ay_;
    const double q2 = qScale_ * qScale_;
    px = (qx_ * dx + qy_ * dy) / q2;
    py = (qx_ * dy - qy_ * dx) / q2;
}

void ElementGeometry::Project(double X, double Y, Projection& out) const {
    double px, py;
    ToShapePlane(X, Y, px, py);
    CurvePoint p;
    int clamp = 0;
    const double u = shape_.Nearest(px, py, &clamp, &p);
    Fill(px, py, u, clamp, p, out);
}

void ElementGeometry::ProjectAt(double X, double Y, double u, Projection& out) const {
    double px, py;
    ToShapePlane(X, Y, px, py);
    CurvePoint p;
    int clamp = 0;
    shape_.PointAt(px, py, u, &clamp, &p);
    Fill(px, py, u, clamp, p, out);
}

void ElementGeometry::Fill(double px, double py, double u, int clamp, const CurvePoint& p,
                           Projection& out) const {
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
