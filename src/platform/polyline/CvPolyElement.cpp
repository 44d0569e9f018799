#include "platform/polyline/CvPolyElement.h"

#include "platform/polyline/ElementGeometry.h"
#include "platform/polyline/PolylineText.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <numbers>

namespace {
std::atomic<std::uint64_t> gEditCount{0};
}

CvPolyElement::CvPolyElement() {
    Changed();
}

CvPolyElement::CvPolyElement(const DT_Punkt& start, const DT_Punkt& end, double startRadius,
                             double endRadius, double length, double startSTA, double endSTA,
                             int elementNumber)
    : start_(start), end_(end), startSTA_(startSTA), endSTA_(endSTA), length_(length),
      startRadius_(startRadius), endRadius_(endRadius), elementNumber_(elementNumber) {
    Changed();
}

CvPolyElement::CvPolyElement(const CvPolyElement& other)
    : HovedObjekt(other), start_(other.start_), end_(other.end_), startSTA_(other.startSTA_),
      endSTA_(other.endSTA_), length_(other.length_), startRadius_(other.startRadius_),
      endRadius_(other.endRadius_), transParameter_(other.transParameter_),
      elementNumber_(other.elementNumber_), frame_(other.frame_), privateData_(other.privateData_) {
    Changed();
}

CvPolyElement& CvPolyElement::operator=(const CvPolyElement& other) {
    if (this == &other)
        return *this;
    HovedObjekt::operator=(other);
    start_ = other.start_;
    end_ = other.end_;
    startSTA_ = other.startSTA_;
    endSTA_ = other.endSTA_;
    length_ = other.length_;
    startRadius_ = other.startRadius_;
    endRadius_ = other.endRadius_;
    transParameter_ = other.transParameter_;
    elementNumber_ = other.elementNumber_;
    frame_ = other.frame_;
    privateData_ = other.privateData_;
    Changed();
    return *this;
}

CvPolyElement::~CvPolyElement() = default;

CvPolyElement* CvPolyElement::Clone() const {
    return new CvPolyElement(*this);
}

std::uint64_t CvPolyElement::GlobalEditCount() {
    return gEditCount.load(std::memory_order_relaxed);
}

void CvPolyElement::Changed() {
    version_ = gEditCount.fetch_add(1, std::memory_order_relaxed) + 1;
    geometry_.reset();
}

int CvPolyElement::TypeFromRadii(double startRadius, double endRadius) {
    if (std::abs(startRadius) <= kRadiusTolerance && std::abs(endRadius) <= kRadiusTolerance)
        return kLine;
    if (std::abs(startRadius - endRadius) <= kRadiusTolerance)
        return kArc;
    return kTransition;
}

int CvPolyElement::ElementType() const {
    return TypeFromRadii(startRadius_.Get(), endRadius_.Get());
}

#define RIGEL_ACCESSOR(Name, Type, field)                                                          \
    const Type* CvPolyElement::Name(const Type* newValue) {                                        \
        if (newValue != nullptr) {                                                                 \
            field.Init(newValue->Get());                                                           \
            Changed();                                                                             \
        }                                                                                          \
        return &field;                                                                             \
    }
RIGEL_ACCESSOR(StartSTA, DT_Double, startSTA_)
RIGEL_ACCESSOR(EndSTA, DT_Double, endSTA_)
RIGEL_ACCESSOR(Length, DT_Double, length_)
RIGEL_ACCESSOR(StartRadius, DT_Double, startRadius_)
RIGEL_ACCESSOR(EndRadius, DT_Double, endRadius_)
RIGEL_ACCESSOR(TransParameter, DT_Double, transParameter_)
RIGEL_ACCESSOR(ElementNumber, DT_Int, elementNumber_)
#undef RIGEL_ACCESSOR

const DT_Punkt* CvPolyElement::StartPoint(const DT_Punkt* newValue) {
    if (newValue != nullptr) {
        start_.Init(*newValue);
        Changed();
    }
    return &start_;
}

const DT_Punkt* CvPolyElement::EndPoint(const DT_Punkt* newValue) {
    if (newValue != nullptr) {
        end_.Init(*newValue);
        Changed();
    }
    return &end_;
}

void CvPolyElement::SetStartPoint(double x, double y, double z) {
    start_.Init(x, y, z);
    Changed();
}
void CvPolyElement::SetEndPoint(double x, double y, double z) {
    end_.Init(x, y, z);
    Changed();
}
void CvPolyElement::SetStartSTA(double value) {
    startSTA_.Init(value);
    Changed();
}
void CvPolyElement::SetEndSTA(double value) {
    endSTA_.Init(value);
    Changed();
}
void CvPolyElement::SetLength(double value) {
    length_.Init(value);
    Changed();
}
void CvPolyElement::SetStartRadius(double value) {
    startRadius_.Init(value);
    Changed();
}
void CvPolyElement::SetEndRadius(double value) {
    endRadius_.Init(value);
    Changed();
}
void CvPolyElement::SetTransParameter(double value) {
    transParameter_.Init(value);
    Changed();
}
void CvPolyElement::SetElementNumber(int value) {
    elementNumber_.Init(value);
    Changed();
}

using rigel::polyline::CurvePoint;
using rigel::polyline::ElementGeometry;
using rigel::polyline::Shape;

const ElementGeometry& CvPolyElement::Geometry() const {
    if (!geometry_)
        geometry_ = std::make_unique<ElementGeometry>(*this);
    return *geometry_;
}

int CvPolyElement::InitFromStart(const DT_Punkt& start, double direction, double startRadius,
                                 double endRadius, double length, double startSTA,
                                 int elementNumber) {
    const double values[] = {start.x(),   start.y(), start.z(), direction,
                             startRadius, endRadius, length,    startSTA};
    for (double v : values) {
        if (!std::isfinite(v))
            return 0;
    }
    if (length < 0.0)
        return 0;
    const Shape shape = rigel::polyline::ShapeOf(startRadius, endRadius, length);
    const CurvePoint& e = shape.End();
    const double c = std::cos(direction), s = std::sin(direction);
    // Canonical (east, north) displacement, then back to frame 1 (x north, y east).
    const double dEast = c * e.x - s * e.y;
    const double dNorth = s * e.x + c * e.y;
    start_.Init(start);
    end_.Init(start.x() + dNorth, start.y() + dEast, start.z());
    startSTA_.Init(startSTA);
    endSTA_.Init(startSTA + length);
    length_.Init(length);
    startRadius_.Init(startRadius);
    endRadius_.Init(endRadius);
    double a = 0.0;
    if (TypeFromRadii(startRadius, endRadius) == kTransition) {
        const double k = std::fabs(std::fabs(rigel::polyline::CurvatureOfRadius(startRadius)) -
                                   std::fabs(rigel::polyline::CurvatureOfRadius(endRadius)));
        a = k > 0.0 ? std::sqrt(length / k) : 0.0;
    }
    transParameter_.Init(a);
    elementNumber_.Init(elementNumber);
    frame_ = 1;
    Changed();
    return 1;
}

int CvPolyElement::SubstituteXYCoord() {
    start_.Init(start_.y(), start_.x(), start_.z());
    end_.Init(end_.y(), end_.x(), end_.z());
    frame_ = frame_ == 2 ? 1 : 2;
    Changed();
    return 1;
}

int CvPolyElement::MapCoord(int frame, int mode) {
    if ((frame != 1 && frame != 2) || (mode != 0 && mode != 1))
        return 0;
    if (frame_ == frame)
        return 1;
    if (mode == 1)
        return SubstituteXYCoord();
    frame_ = frame;
    Changed();
    return 1;
}

int CvPolyElement::PosAtStation(double station, DT_Punkt* point, DT_Double* direction,
                                DT_Double* curvature, double offset) const {
    const ElementGeometry& g = Geometry();
    if (!g.Placeable() || !std::isfinite(station) || !std::isfinite(offset) ||
        !g.HoldsStation(station, kStationTolerance))
        return 0;
    const double u = std::clamp(g.UAtStation(station), 0.0, g.GetShape().Length());
    double X, Y, dir, k;
    g.At(u, offset, X, Y, dir, k);
    if (point != nullptr) {
        double x, y;
        ElementGeometry::FromCanonical(frame_, X, Y, x, y);
        point->Init(x, y, g.HeightAt(u));
    }
    if (direction != nullptr)
        direction->Init(dir);
    if (curvature != nullptr)
        curvature->Init(k);
    return 1;
}

int CvPolyElement::StationAtPos(const DT_Punkt& pos, DT_Double* station, DT_Double* offset,
                                DT_Double* direction, DT_Punkt* foot) const {
    const ElementGeometry& g = Geometry();
    if (!g.Placeable() || !std::isfinite(pos.x()) || !std::isfinite(pos.y()))
        return 0;
    double X, Y;
    ElementGeometry::ToCanonical(frame_, pos.x(), pos.y(), X, Y);
    ElementGeometry::Projection pr;
    g.Project(X, Y, pr);
    if ((pr.clamp == -1 && pr.along < -kStationTolerance) ||
        (pr.clamp == 1 && pr.along > kStationTolerance))
        return 0;
    if (station != nullptr)
        station->Init(pr.station);
    if (offset != nullptr)
        offset->Init(pr.offset);
    if (direction != nullptr)
        direction->Init(g.DirectionAt(pr.u));
    if (foot != nullptr) {
        double x, y;
        ElementGeometry::FromCanonical(frame_, pr.footX, pr.footY, x, y);
        foot->Init(x, y, g.HeightAt(pr.u));
    }
    return 1;
}

int CvPolyElement::ArcCenter(DT_Punkt* centre) const {
    const ElementGeometry& g = Geometry();
    if (centre == nullptr || !g.Placeable() || g.GetShape().Type() != kArc)
        return 0;
    // The centre lies at (0, 1/k) in the shape's plane, placed like every point of the curve.
    double X, Y, x, y;
    g.Place(0.0, 1.0 / g.GetShape().K0(), X, Y);
    ElementGeometry::FromCanonical(frame_, X, Y, x, y);
    centre->Init(x, y, start_.z());
    return 1;
}

namespace {

// |E(L)| - chord for the clothoid of the radii with length L.
double ChordGap(double r1, double r2, double L, double chord) {
    const Shape s = rigel::polyline::ShapeOf(r1, r2, L);
    return std::hypot(s.End().x, s.End().y) - chord;
}

} // namespace

double CvPolyElement::CalcLength(int setLength) {
    const double chord = start_.AvstandTil(end_);
    if (!std::isfinite(chord))
        return -1.0;
    double L = -1.0;
    switch (ElementType()) {
    case kLine:
        L = chord;
        break;
    case kArc: {
        const double r = std::fabs(startRadius_.Get());
        const double half = chord / (2.0 * r);
        if (half > 1.0 + 1e-12)
            return -1.0;
        L = 2.0 * r * std::asin(std::min(1.0, half));
        if (std::fabs(length_.Get()) > std::numbers::pi * r)
            L = 2.0 * std::numbers::pi * r - L;
        break;
    }
    default: {
        // The chord of a clothoid never exceeds its length; walk up from the chord to the first
        // length whose clothoid reaches it, then bisect.
        if (chord == 0.0) {
            L = 0.0;
            break;
        }
        const double r1 = startRadius_.Get(), r2 = endRadius_.Get();
        double lo = chord, hi = chord;
        if (ChordGap(r1, r2, lo, chord) >= 0.0) {
            L = lo;
            break;
        }
        bool found = false;
        for (int i = 0; i < 200 && !found; ++i) {
            lo = hi;
            hi = hi * 1.05;
            found = ChordGap(r1, r2, hi, chord) >= 0.0;
        }
        if (!found)
            return -1.0;
        for (int i = 0; i < 200 && hi - lo > 1e-14 * hi; ++i) {
            const double mid = 0.5 * (lo + hi);
            if (ChordGap(r1, r2, mid, chord) >= 0.0)
                hi = mid;
            else
                lo = mid;
        }
        L = hi;
        break;
    }
    }
    if (setLength != 0) {
        length_.Init(L);
        Changed();
    }
    return L;
}

int CvPolyElement::Turn() {
    const DT_Punkt a = start_;
    start_.Init(end_);
    end_.Init(a);
    const double r1 = startRadius_.Get(), r2 = endRadius_.Get();
    startRadius_.Init(-r2);
    endRadius_.Init(-r1);
    const double s0 = startSTA_.Get(), s1 = endSTA_.Get();
    startSTA_.Init(-s1);
    endSTA_.Init(-s0);
    Changed();
    return 1;
}

int CvPolyElement::Equal(const CvPolyElement& o, double tolerance) const {
    const auto same = [tolerance](double a, double b) { return std::fabs(a - b) <= tolerance; };
    return same(start_.x(), o.start_.x()) && same(start_.y(), o.start_.y()) &&
           same(start_.z(), o.start_.z()) && same(end_.x(), o.end_.x()) &&
           same(end_.y(), o.end_.y()) && same(end_.z(), o.end_.z()) &&
           same(startSTA_.Get(), o.startSTA_.Get()) && same(endSTA_.Get(), o.endSTA_.Get()) &&
           same(length_.Get(), o.length_.Get()) && same(startRadius_.Get(), o.startRadius_.Get()) &&
           same(endRadius_.Get(), o.endRadius_.Get()) &&
           same(transParameter_.Get(), o.transParameter_.Get()) &&
           elementNumber_.Get() == o.elementNumber_.Get() && frame_ == o.frame_;
}

HovedObjekt* CvPolyElement::PrivateData(HovedObjekt* object, int takeOwnership) {
    if (object == nullptr)
        return privateData_.get();
    if (object == privateData_.get()) {
        // Already held: only a hand-over changes anything (an owned object is never disowned,
        // which could delete it under the caller).
        if (takeOwnership == 0)
            return object;
    }
    if (takeOwnership != 0)
        privateData_ = std::shared_ptr<HovedObjekt>(object);
    else
        privateData_ = std::shared_ptr<HovedObjekt>(object, [](HovedObjekt*) {});
    return object;
}

namespace {

bool AllFinite(std::initializer_list<double> values) {
    for (double v : values) {
        if (!std::isfinite(v))
            return false;
    }
    return true;
}

} // namespace

int CvPolyElement::GetLinesTIT(Streng* line1, Streng* line2, int format, int precision) const {
    if (format != 11 || line1 == nullptr || line2 == nullptr)
        return 0;
    const int p = std::max(0, precision);
    const auto FormatNumber = [p](double v, int) { return rigel::polyline::FormatNumber(v, p); };
    if (!AllFinite({start_.x(), start_.y(), start_.z(), end_.x(), end_.y(), end_.z(),
                    startSTA_.Get(), endSTA_.Get(), length_.Get(), startRadius_.Get(),
                    endRadius_.Get(), transParameter_.Get()}))
        return 0;
    line1->Init("%d %s %s %s %s %s %s", elementNumber_.Get(), FormatNumber(startSTA_.Get(), 0),
                FormatNumber(start_.x(), 0), FormatNumber(start_.y(), 0),
                FormatNumber(start_.z(), 0), FormatNumber(startRadius_.Get(), 0),
                FormatNumber(length_.Get(), 0));
    line2->Init("%d %s %s %s %s %s %s %d", ElementType(), FormatNumber(endSTA_.Get(), 0),
                FormatNumber(end_.x(), 0), FormatNumber(end_.y(), 0), FormatNumber(end_.z(), 0),
                FormatNumber(endRadius_.Get(), 0), FormatNumber(transParameter_.Get(), 0), frame_);
    return 1;
}

int CvPolyElement::InitFromLinesTIT(std::string_view line1, std::string_view line2, int format,
                                    std::string* reason) {
    using rigel::polyline::Excerpt;
    using rigel::polyline::ParseDoubleToken;
    using rigel::polyline::ParseIntToken;
    using rigel::polyline::SplitTokens;
    const auto fail = [reason](std::string message) {
        if (reason != nullptr)
            *reason = std::move(message);
        return 0;
    };
    if (format != 11)
        return fail(rigel::Format("unknown tier-table format %d", format));
    static const char* const kNames1[] = {"element number", "start station", "start x", "start y",
                                          "start z",        "start radius",  "length"};
    static const char* const kNames2[] = {
        "element type", "end station",          "end x", "end y", "end z",
        "end radius",   "transition parameter", "frame"};
    const auto t1 = SplitTokens(line1, 7);
    if (t1.size() != 7)
        return fail(rigel::Format("first line of an element: expected 7 fields (number, start "
                                  "station, x, y, z, start radius, length), found %s",
                                  t1.size() > 7 ? "more" : std::to_string(t1.size())));
    const auto t2 = SplitTokens(line2, 8);
    if (t2.size() != 7 && t2.size() != 8)
        return fail(rigel::Format("second line of an element: expected 7 or 8 fields (type, end "
                                  "station, x, y, z, end radius, transition parameter[, frame]), "
                                  "found %s",
                                  t2.size() > 8 ? "more" : std::to_string(t2.size())));
    int number = 0, type = 0, frame = 1;
    double v1[6], v2[6];
    if (!ParseIntToken(t1[0], number))
        return fail(rigel::Format("%s is not an integer: \"%s\"", kNames1[0], Excerpt(t1[0])));
    for (int i = 0; i < 6; ++i) {
        if (!ParseDoubleToken(t1[i + 1], v1[i]))
            return fail(rigel::Format("%s is not a finite number: \"%s\"", kNames1[i + 1],
                                      Excerpt(t1[i + 1])));
    }
    if (!ParseIntToken(t2[0], type) || type < 1 || type > 4)
        return fail(rigel::Format("%s must be 1, 2, 3 or 4: \"%s\"", kNames2[0], Excerpt(t2[0])));
    for (int i = 0; i < 6; ++i) {
        if (!ParseDoubleToken(t2[i + 1], v2[i]))
            return fail(rigel::Format("%s is not a finite number: \"%s\"", kNames2[i + 1],
                                      Excerpt(t2[i + 1])));
    }
    if (t2.size() == 8 && (!ParseIntToken(t2[7], frame) || (frame != 1 && frame != 2)))
        return fail(rigel::Format("%s must be 1 or 2: \"%s\"", kNames2[7], Excerpt(t2[7])));
    elementNumber_.Init(number);
    startSTA_.Init(v1[0]);
    start_.Init(v1[1], v1[2], v1[3]);
    startRadius_.Init(v1[4]);
    length_.Init(v1[5]);
    endSTA_.Init(v2[0]);
    end_.Init(v2[1], v2[2], v2[3]);
    endRadius_.Init(v2[4]);
    transParameter_.Init(v2[5]);
    frame_ = frame;
    Changed();
    return 1;
}

int CvPolyElement::GetLinesLIN(Streng* line, int precision) const {
    using rigel::polyline::FormatNumber;
    if (line == nullptr)
        return 0;
    const int p = std::max(0, precision);
    line->Init("%d %d %s %s %s %s %s %s %s %s %s %s %s %s %d", elementNumber_.Get(), ElementType(),
               FormatNumber(startSTA_.Get(), p), FormatNumber(endSTA_.Get(), p),
               FormatNumber(length_.Get(), p), FormatNumber(startRadius_.Get(), p),
               FormatNumber(endRadius_.Get(), p), FormatNumber(transParameter_.Get(), p),
               FormatNumber(start_.x(), p), FormatNumber(start_.y(), p),
               FormatNumber(start_.z(), p), FormatNumber(end_.x(), p), FormatNumber(end_.y(), p),
               FormatNumber(end_.z(), p), frame_);
    return 1;
}
