// Positions and directions of elements and chains against an independent computation: the
// clothoid's heading integral by composite Gauss-Legendre quadrature in long double (nodes found
// here by Newton on the Legendre polynomial), never by calling the component.

#include "platform/polyline/CvPolyElement.h"
#include "platform/polyline/CvPolyLine.h"

#include "support/TestSupport.h"

#include <array>

namespace {

constexpr double kPi = std::numbers::pi;

// 16-point Gauss-Legendre nodes and weights on [-1, 1].
struct GaussLegendre {
    static constexpr int N = 16;
    std::array<long double, N> x{}, w{};
    GaussLegendre() {
        for (int i = 0; i < N; ++i) {
            long double t = std::cos(kPi * (i + 0.75L) / (N + 0.5L));
            for (int it = 0; it < 100; ++it) {
                long double p0 = 1, p1 = t;
                for (int k = 2; k <= N; ++k) {
                    const long double p2 = ((2 * k - 1) * t * p1 - (k - 1) * p0) / k;
                    p0 = p1;
                    p1 = p2;
                }
                const long double dp = N * (t * p1 - p0) / (t * t - 1);
                const long double step = p1 / dp;
                t -= step;
                if (std::fabs(step) < 1e-19L) {
                    x[i] = t;
                    w[i] = 2 / ((1 - t * t) * dp * dp);
                    break;
                }
            }
        }
    }
};

const GaussLegendre& Gauss() {
    static const GaussLegendre g;
    return g;
}

// A curve in the (east, north) plane with heading theta0 + k0 s + c s^2 / 2 (mathematical angle,
// positive curvature to the left): position at s by quadrature over panels of at most 1 m.
struct ReferenceCurve {
    long double east0, north0, theta0, k0, c;
    long double Heading(long double s) const { return theta0 + k0 * s + c * s * s / 2; }
    void At(long double s, long double& east, long double& north) const {
        const int panels = std::max(1, static_cast<int>(std::ceil(static_cast<double>(s))));
        const long double h = s / panels;
        long double e = 0, n = 0;
        for (int p = 0; p < panels; ++p) {
            const long double mid = (p + 0.5L) * h;
            for (int i = 0; i < GaussLegendre::N; ++i) {
                const long double t = mid + 0.5L * h * Gauss().x[i];
                const long double wt = 0.5L * h * Gauss().w[i];
                e += wt * std::cos(Heading(t));
                n += wt * std::sin(Heading(t));
            }
        }
        east = east0 + e;
        north = north0 + n;
    }
};

// Radius (positive right) -> curvature in the (east, north) plane (positive left).
long double Curv(double radius) {
    return radius == 0.0 ? 0.0L : -1.0L / radius;
}

using rigel::test::AngleDiff;

// A clothoid from r1 to r2 built from its start point and direction, compared at every metre.
void CheckClothoid(double r1, double r2, double length, double direction) {
    const DT_Punkt start(6600.0, 1200.0); // x northing, y easting
    CvPolyElement e;
    ASSERT_EQ(e.InitFromStart(start, direction, r1, r2, length, 100.0), 1);
    ASSERT_EQ(e.ElementType(), CvPolyElement::kTransition);
    const ReferenceCurve ref{start.y(), start.x(), direction, Curv(r1),
                             (Curv(r2) - Curv(r1)) / length};
    double worstPos = 0, worstDir = 0;
    for (int m = 0; m <= static_cast<int>(length); ++m) {
        DT_Punkt p;
        DT_Double dir, curvature;
        ASSERT_EQ(e.PosAtStation(100.0 + m, &p, &dir, &curvature), 1) << m;
        long double east, north;
        ref.At(m, east, north);
        worstPos = std::max(worstPos, static_cast<double>(std::hypot(p.x() - north, p.y() - east)));
        worstDir = std::max(worstDir,
                            std::fabs(AngleDiff(dir.Get(), static_cast<double>(ref.Heading(m)))));
        // Reported curvature is 1/R with the radius sign: positive to the right.
        EXPECT_NEAR(curvature.Get(), -static_cast<double>(Curv(r1) + ref.c * m), 1e-15) << m;
    }
    EXPECT_LT(worstPos, 1e-9) << "r1 " << r1 << " r2 " << r2;
    EXPECT_LT(worstDir, 1e-12) << "r1 " << r1 << " r2 " << r2;
}

} // namespace

// From a straight, between two radii, to the left, and through an inflection.
TEST(PolyElementAccuracy, ClothoidsAgainstQuadrature) {
    CheckClothoid(0.0, 300.0, 200.0, 0.7);
    CheckClothoid(1200.0, 400.0, 200.0, -2.1);
    CheckClothoid(-400.0, 0.0, 150.0, 2.9);
    CheckClothoid(-600.0, 450.0, 180.0, 1.0);
    CheckClothoid(250.0, -250.0, 120.0, -0.3);
}

TEST(PolyElementAccuracy, ArcAgainstItsCircle) {
    // Heading north at (0, 0), radius +100 (right): a quarter circle ends heading east at
    // (100, 100) around the centre (0, 100).
    CvPolyElement arc(DT_Punkt(0, 0), DT_Punkt(100, 100), 100, 100, 50 * kPi, 0, 50 * kPi);
    ASSERT_EQ(arc.ElementType(), CvPolyElement::kArc);
    DT_Punkt centre;
    ASSERT_EQ(arc.ArcCenter(&centre), 1);
    EXPECT_NEAR(centre.x(), 0.0, 1e-12);
    EXPECT_NEAR(centre.y(), 100.0, 1e-12);
    for (int i = 0; i <= 20; ++i) {
        const double s = 50 * kPi * i / 20;
        const double a = s / 100; // angle turned
        DT_Punkt p;
        DT_Double dir;
        ASSERT_EQ(arc.PosAtStation(s, &p, &dir), 1);
        EXPECT_NEAR(p.x(), 100 * std::sin(a), 1e-12);
        EXPECT_NEAR(p.y(), 100 - 100 * std::cos(a), 1e-12);
        EXPECT_NEAR(AngleDiff(dir.Get(), kPi / 2 - a), 0.0, 1e-14);
    }
}

// Directions are mathematical angles in the (east, north) plane: pi/2 minus them is the azimuth.
TEST(PolyElementConventions, DirectionsAndSidesArePinnedOnce) {
    DT_Double dir;
    DT_Punkt p;
    CvPolyElement north(DT_Punkt(0, 0), DT_Punkt(10, 0), 0, 0, 10, 0, 10);
    ASSERT_EQ(north.PosAtStation(5, &p, &dir), 1);
    EXPECT_NEAR(kPi / 2 - dir.Get(), 0.0, 1e-15) << "heading north: azimuth 0";
    CvPolyElement east(DT_Punkt(0, 0), DT_Punkt(0, 10), 0, 0, 10, 0, 10);
    ASSERT_EQ(east.PosAtStation(5, &p, &dir), 1);
    EXPECT_NEAR(kPi / 2 - dir.Get(), kPi / 2, 1e-15) << "heading east: azimuth pi/2";

    // Offsets: right of the direction of travel is positive (east of a line heading north).
    DT_Double s, off;
    ASSERT_EQ(north.StationAtPos(DT_Punkt(4, 2), &s, &off), 1);
    EXPECT_NEAR(s.Get(), 4.0, 1e-12);
    EXPECT_NEAR(off.Get(), 2.0, 1e-12);
    // PosAtStation's offsets follow (the projection inverts them below); a positive radius curves
    // to the right (the arc above, the clothoids against the quadrature).
}

namespace {

// One element of each kind, with both signs; stations from 250.
std::vector<CvPolyElement> EveryKind() {
    std::vector<CvPolyElement> out;
    const struct {
        double r1, r2, length, dir;
    } cases[] = {{0, 0, 120, 0.4},       {350, 350, 140, -1.2},   {-800, -800, 90, 2.5},
                 {0, 300, 110, 3.1},     {-1200, -400, 160, 0.0}, {500, -700, 130, -2.9},
                 {2000, 2000, 400, 1.0}, {0, -150, 200, -0.5}};
    for (const auto& c : cases) {
        CvPolyElement e;
        e.InitFromStart(DT_Punkt(6'650'000.0, 560'000.0), c.dir, c.r1, c.r2, c.length, 250.0);
        out.push_back(e);
    }
    return out;
}

} // namespace

// Inside each element the projection inverts the position, with the offset's sign; half a metre
// beyond either end on the end tangent it fails.
TEST(PolyElementAccuracy, ProjectionInvertsPositionForEveryKindAndFailsBeyondTheEnds) {
    for (const CvPolyElement& e : EveryKind()) {
        const double L = e.Length()->Get();
        for (int i = 0; i <= 40; ++i) {
            const double s = 250.0 + L * i / 40;
            for (double offset : {2.0, -2.0}) {
                DT_Punkt p;
                ASSERT_EQ(e.PosAtStation(s, &p, nullptr, nullptr, offset), 1);
                DT_Double station, off;
                ASSERT_EQ(e.StationAtPos(p, &station, &off), 1) << e.ElementType() << " " << s;
                EXPECT_NEAR(station.Get(), s, 1e-9) << e.ElementType() << " " << offset;
                EXPECT_NEAR(off.Get(), offset, 1e-9) << e.ElementType() << " " << s;
            }
        }
        DT_Punkt before, after;
        DT_Double dir, s;
        ASSERT_EQ(e.PosAtStation(250.0, &before, &dir), 1);
        before.InitRel(-0.5 * std::sin(dir.Get()), -0.5 * std::cos(dir.Get()));
        EXPECT_EQ(e.StationAtPos(before, &s), 0) << e.ElementType();
        ASSERT_EQ(e.PosAtStation(e.EndSTA()->Get(), &after, &dir), 1);
        after.InitRel(0.5 * std::sin(dir.Get()), 0.5 * std::cos(dir.Get()));
        EXPECT_EQ(e.StationAtPos(after, &s), 0) << e.ElementType();
        EXPECT_EQ(e.PosAtStation(250.0 - 1e-6, &before), 0);
    }
}

namespace {

// The joints by the independent quadrature; the elements built from them as a reader would.
void CheckChainContinuity(long double east, long double north, double dirTolerance) {
    struct Part {
        double r1, r2, length;
    };
    const Part parts[] = {{0, 0, 150}, {0, 450, 120}, {450, 450, 260}, {450, 0, 120}, {0, 0, 200}};
    long double heading = 0.35L;
    double station = 1000.0;
    CvPolyLine chain(1);
    std::vector<long double> jointHeading;
    for (const Part& p : parts) {
        const ReferenceCurve ref{east, north, heading, Curv(p.r1),
                                 (Curv(p.r2) - Curv(p.r1)) / p.length};
        long double e2, n2;
        ref.At(p.length, e2, n2);
        chain.AddElement(
            new CvPolyElement(DT_Punkt(static_cast<double>(north), static_cast<double>(east)),
                              DT_Punkt(static_cast<double>(n2), static_cast<double>(e2)), p.r1,
                              p.r2, p.length, station, station + p.length));
        jointHeading.push_back(heading);
        east = e2;
        north = n2;
        heading = ref.Heading(p.length);
        station += p.length;
    }
    for (int i = 0; i + 1 < chain.GetCount(); ++i) {
        const CvPolyElement* a = chain.Element(i);
        const CvPolyElement* b = chain.Element(i + 1);
        DT_Punkt pa, pb;
        DT_Double da, db;
        ASSERT_EQ(a->PosAtStation(a->EndSTA()->Get(), &pa, &da), 1);
        ASSERT_EQ(b->PosAtStation(b->StartSTA()->Get(), &pb, &db), 1);
        EXPECT_LT(pa.AvstandTil(pb), 1e-9) << "joint " << i;
        EXPECT_LT(std::fabs(AngleDiff(da.Get(), db.Get())), dirTolerance) << "joint " << i;
        EXPECT_LT(std::fabs(AngleDiff(db.Get(), static_cast<double>(jointHeading[i + 1]))),
                  dirTolerance)
            << "joint " << i << " against the quadrature";
    }
}

} // namespace

// An element's direction comes from its chord, and a point stored near 6.65e6 m is only resolved
// to 9.3e-10 m: over a 120 m chord that is 8e-12 rad, so map coordinates get a wider bound.
TEST(PolyLineAccuracy, LineClothoidArcClothoidLineIsContinuousAtEveryJoint) {
    CheckChainContinuity(5600.0L, 6650.0L, 1e-12);
    CheckChainContinuity(560'000.0L, 6'650'000.0L, 5e-11);
}
