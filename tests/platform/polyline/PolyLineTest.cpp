// The chain: cursor, projection against a brute-force search, stations, whole-chain operations
// and the exact inverse pair TransCurves2Arcs / Arcs2TransCurves.

#include "platform/polyline/CvPolyLine.h"
#include "platform/polyline/CvTransElement.h"

#include "support/TestSupport.h"

#include <algorithm>
#include <memory>

namespace {

constexpr double kPi = std::numbers::pi;

using rigel::test::AngleDiff;

// Line, clothoid, arc, clothoid, line, then the same bending the other way, from station 500.
std::unique_ptr<CvPolyLine> TwoCurves() {
    struct Part {
        double r1, r2, length;
    };
    const Part parts[] = {{0, 0, 120},       {0, 400, 90},  {400, 400, 180},
                          {400, 0, 90},      {0, 0, 60},    {0, -250, 70},
                          {-250, -250, 140}, {-250, 0, 70}, {0, 0, 100}};
    auto chain = std::make_unique<CvPolyLine>(1);
    DT_Punkt start(6'650'000.0, 560'000.0);
    double dir = 1.1, s = 500.0;
    int n = 1;
    for (const Part& p : parts) {
        auto* e = new CvPolyElement();
        e->InitFromStart(start, dir, p.r1, p.r2, p.length, s, n++);
        DT_Double d;
        e->PosAtStation(e->EndSTA()->Get(), nullptr, &d);
        start = *e->EndPoint();
        dir = d.Get();
        s = e->EndSTA()->Get();
        chain->AddElement(e);
    }
    return chain;
}

// The nearest point of the chain to p by a search of its own: the foot condition
// f(s) = (p - c(s)) . t(s) = 0 bracketed on a 1 m grid of stations over the whole chain and
// refined by bisection, the two ends of the chain as candidates too. Only positions and
// directions come from the chain (PosAtStation).
struct Foot {
    double station = 0, dist = INFINITY;
    bool outside = false; // before the start or beyond the end: no projection
    // |f'| at the foot: near 0 when p lies near the centre of curvature, where the station is
    // ill-conditioned (a rounding error e of f moves the root by e / |f'|).
    double stiffness = 1;
};
Foot BruteForceFoot(CvPolyLine& chain, const DT_Punkt& p) {
    double s0, s1;
    chain.StationRange(&s0, &s1);
    const auto along = [&](double s, double* dist) {
        DT_Punkt c;
        DT_Double dir;
        chain.PosAtStation(s, &c, &dir);
        const double dx = p.x() - c.x(), dy = p.y() - c.y();
        if (dist != nullptr)
            *dist = std::hypot(dx, dy);
        return dx * std::sin(dir.Get()) + dy * std::cos(dir.Get());
    };
    Foot best;
    const auto candidate = [&](double s, bool outside) {
        double d;
        along(s, &d);
        if (d < best.dist)
            best = {s, d, outside};
    };
    const int n = static_cast<int>(std::ceil(s1 - s0));
    double fa = along(s0, nullptr);
    if (fa <= 0.0)
        candidate(s0, fa < -1e-9);
    for (int i = 0; i < n; ++i) {
        double a = s0 + (s1 - s0) * i / n, b = s0 + (s1 - s0) * (i + 1) / n;
        const double fb = along(b, nullptr);
        if (fa > 0.0 && fb <= 0.0) {
            for (int it = 0; it < 60; ++it) {
                const double m = 0.5 * (a + b);
                (along(m, nullptr) > 0.0 ? a : b) = m;
            }
            candidate(0.5 * (a + b), false);
        }
        fa = fb;
    }
    if (fa >= 0.0)
        candidate(s1, fa > 1e-9);
    if (best.station > s0 + 0.01 && best.station < s1 - 0.01)
        best.stiffness =
            std::fabs(along(best.station + 0.01, nullptr) - along(best.station - 0.01, nullptr)) /
            0.02;
    return best;
}

// The two curves and an untouched copy of them, for the whole-chain operations.
struct ChainEdit : testing::Test {
    ChainEdit() { original.Copy(chain.get()); }
    std::unique_ptr<CvPolyLine> chain = TwoCurves();
    CvPolyLine original{1};
};

void ExpectSameElements(CvPolyLine& a, CvPolyLine& b) {
    ASSERT_EQ(a.GetCount(), b.GetCount());
    for (int i = 0; i < a.GetCount(); ++i)
        EXPECT_EQ(a.Element(i)->Equal(*b.Element(i)), 1) << i;
}

} // namespace

// The cursor is the base list's (tested there); a chain holds elements only.
TEST(CvPolyLine, OnlyElementsJoinTheChain) {
    CvPolyLine chain(1);
    auto* a = new CvPolyElement(DT_Punkt(0, 0), DT_Punkt(1, 0), 0, 0, 1, 0, 1, 1);
    EXPECT_EQ(chain.AddElement(a), 1);
    EXPECT_EQ(chain.AddElement(nullptr), 0);
    Streng notAnElement("x");
    EXPECT_EQ(chain.LeggTil(&notAnElement), 0);
    EXPECT_EQ(chain.GetCount(), 1);
    CvPolyElement stranger;
    EXPECT_EQ(chain.ActivateElem(&stranger), nullptr);
}

// Round trips on each element are in PolyElementAccuracyTest, the chain's choice of element in
// the nearest-point test below.
TEST(CvPolyLine, ProjectionFailsBeyondTheEndsUnlessExtended) {
    auto chain = TwoCurves();
    double s0, s1;
    ASSERT_EQ(chain->StationRange(&s0, &s1), 1);
    // Half a metre before the start and beyond the end, on the end tangents.
    DT_Punkt p;
    DT_Double dir, st, off;
    ASSERT_EQ(chain->PosAtStation(s0, &p, &dir), 1);
    const DT_Punkt before(p.x() - 0.5 * std::sin(dir.Get()) + 0.3 * std::cos(dir.Get()),
                          p.y() - 0.5 * std::cos(dir.Get()) - 0.3 * std::sin(dir.Get()));
    EXPECT_EQ(chain->StationAtPos(before, &st), 0);
    ASSERT_EQ(chain->StationAtPos(before, &st, &off, nullptr, nullptr, nullptr, 1, 1), 1);
    EXPECT_NEAR(st.Get(), s0 - 0.5, 1e-9) << "extended along the start direction";
    EXPECT_NEAR(off.Get(), -0.3, 1e-9) << "to the left of it";
    ASSERT_EQ(chain->PosAtStation(s1, &p, &dir), 1);
    const DT_Punkt after(p.x() + 0.5 * std::sin(dir.Get()), p.y() + 0.5 * std::cos(dir.Get()));
    ASSERT_EQ(chain->StationAtPos(after, &st, nullptr, nullptr, nullptr, nullptr, 0, 1), 1);
    EXPECT_NEAR(st.Get(), s1 + 0.5, 1e-9);
    EXPECT_EQ(chain->PosAtStation(s1 + 1e-6, &p), 0);
    CvPolyLine empty(1);
    EXPECT_EQ(empty.StationAtPos(p, &st), 0);
    EXPECT_EQ(empty.PosAtStation(0.0, &p), 0);
}

// Points up to 1 km off, beyond the centres of the arcs too, where an element has more than one
// local nearest point. Each is projected right after another random point: the answer must be the
// one of a chain that never projected anything, and the nearest point of a search of its own.
TEST(CvPolyLine, ProjectionIsTheNearestPointWhateverWasProjectedBefore) {
    auto chain = TwoCurves();
    double s0, s1;
    chain->StationRange(&s0, &s1);
    std::mt19937_64 rng(7);
    std::uniform_real_distribution<double> offset(-1000.0, 1000.0);
    std::vector<DT_Punkt> points(400);
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double s = s0 + (s1 - s0) * (i + 0.5) / points.size();
        ASSERT_EQ(chain->PosAtStation(s, &points[i], nullptr, nullptr, nullptr, offset(rng)), 1);
    }
    std::shuffle(points.begin(), points.end(), rng);
    std::uniform_int_distribution<std::size_t> other(0, points.size() - 1);
    int projected = 0;
    for (std::size_t i = 0; i < points.size() && !HasFailure(); ++i) {
        const DT_Punkt& p = points[i];
        DT_Double st, off, freshSt, freshOff;
        CvPolyElement *e = nullptr, *freshE = nullptr;
        chain->StationAtPos(points[other(rng)], &st);
        DT_Punkt at;
        const int rc = chain->StationAtPos(p, &st, &off, &e, nullptr, &at);
        CvPolyLine fresh(1);
        fresh.Copy(chain.get());
        const int freshRc =
            fresh.StationAtPos(p, &freshSt, &freshOff, &freshE, nullptr, nullptr, 0);
        const Foot foot = BruteForceFoot(*chain, p);
        ASSERT_EQ(rc, foot.outside ? 0 : 1) << i;
        ASSERT_EQ(freshRc, rc) << i;
        if (rc == 0)
            continue;
        ++projected;
        EXPECT_EQ(st.Get(), freshSt.Get()) << i;
        EXPECT_EQ(off.Get(), freshOff.Get()) << i;
        EXPECT_EQ(chain->ActivateElem(e) != nullptr ? chain->Index() : -1,
                  fresh.ActivateElem(freshE) != nullptr ? fresh.Index() : -2)
            << i;
        EXPECT_NEAR(st.Get(), foot.station, 1e-7 + 1e-8 / foot.stiffness) << i;
        EXPECT_NEAR(std::fabs(off.Get()), foot.dist, 1e-8) << i;
        EXPECT_NEAR(p.AvstandTil(at), foot.dist, 1e-8) << i << ": the foot point";
        EXPECT_TRUE(foot.station >= e->StartSTA()->Get() - 1e-6 &&
                    foot.station <= e->EndSTA()->Get() + 1e-6)
            << i << ": the element holds the station";
    }
    EXPECT_GT(projected, 250);
}

TEST(CvPolyLine, JointsStationsAndEditsAreSeenByTheIndex) {
    auto chain = TwoCurves();
    CvPolyElement* first = chain->Element(0);
    CvPolyElement* e;
    DT_Punkt p;
    ASSERT_EQ(chain->PosAtStation(620.0, &p, nullptr, &e), 1);
    EXPECT_EQ(e, first) << "a joint belongs to the element that ends there";
    DT_Double st;
    ASSERT_EQ(chain->StationAtPos(p, &st, nullptr, &e), 1);
    EXPECT_EQ(e, first);

    // Moving the first element is seen by the next projection.
    const DT_Punkt far(p.x() + 1000.0, p.y());
    first->SetEndPoint(far.x(), far.y());
    ASSERT_EQ(chain->StationAtPos(far, &st, nullptr, &e), 1);
    EXPECT_EQ(e, first);
    EXPECT_NEAR(st.Get(), 620.0, 1e-9);
    // So is a removal through the base list's operations: the middle of the removed line now
    // lies before the chain's start.
    first->SetEndPoint(p.x(), p.y());
    DT_Punkt middle;
    ASSERT_EQ(chain->PosAtStation(560.0, &middle), 1);
    ASSERT_EQ(chain->StationAtPos(middle, &st), 1);
    chain->ActivateHead();
    chain->SlettAktiv();
    EXPECT_EQ(chain->StationAtPos(middle, &st), 0);

    // A gap in the stationing belongs to no element.
    chain->Element(1)->SetStartSTA(chain->Element(1)->StartSTA()->Get() + 5.0);
    EXPECT_EQ(chain->PosAtStation(chain->Element(0)->EndSTA()->Get() + 2.0, &p), 0);
    EXPECT_EQ(chain->ResetSTA(0.0), 1);
    double s0, s1;
    chain->StationRange(&s0, &s1);
    EXPECT_EQ(s0, 0.0);
    for (int i = 1; i < chain->GetCount(); ++i)
        EXPECT_EQ(chain->Element(i)->StartSTA()->Get(), chain->Element(i - 1)->EndSTA()->Get());
    EXPECT_NEAR(s1, 60 + 70 + 140 + 70 + 100 + 90 + 180 + 90, 1e-9);
}

TEST_F(ChainEdit, TurnReversesTheDirectionOfTravel) {
    double s0, s1;
    chain->StationRange(&s0, &s1);
    ASSERT_EQ(chain->Turn(1), 1);
    // The same stations backwards, the offsets mirrored: a left curve becomes a right one.
    for (double s = s0; s <= s1; s += 13.0) {
        DT_Punkt a, b;
        DT_Double da, db;
        ASSERT_EQ(original.PosAtStation(s, &a, &da, nullptr, nullptr, 1.5), 1);
        ASSERT_EQ(chain->PosAtStation(s0 + s1 - s, &b, &db, nullptr, nullptr, -1.5), 1);
        EXPECT_LT(a.AvstandTil(b), 1e-8) << s;
        EXPECT_NEAR(AngleDiff(da.Get() + kPi, db.Get()), 0.0, 1e-10) << s;
    }
    // Turn(0) mirrors the stations and turning twice gives the chain back exactly.
    CvPolyLine twice(1);
    twice.Copy(&original);
    twice.Turn(0);
    EXPECT_EQ(twice.HeadElem()->StartSTA()->Get(), -s1);
    twice.Turn(0);
    ExpectSameElements(twice, original);
}

TEST_F(ChainEdit, SubstitutedAxesDescribeTheSameCurve) {
    ASSERT_EQ(chain->SubstituteXYCoord(), 1);
    EXPECT_EQ(chain->HeadElem()->Frame(), 2);
    const CvPolyElement* arc = chain->Element(2);
    DT_Punkt c, c0;
    ASSERT_EQ(arc->ArcCenter(&c), 1);
    ASSERT_EQ(original.Element(2)->ArcCenter(&c0), 1);
    EXPECT_EQ(c.x(), c0.y());
    EXPECT_EQ(c.y(), c0.x());
    for (double s = 500.0; s < 1400.0; s += 37.0) {
        DT_Punkt a, b;
        DT_Double da, db, st, off;
        ASSERT_EQ(original.PosAtStation(s, &a, &da, nullptr, nullptr, 2.5), 1);
        ASSERT_EQ(chain->PosAtStation(s, &b, &db, nullptr, nullptr, 2.5), 1);
        EXPECT_EQ(a.x(), b.y());
        EXPECT_EQ(a.y(), b.x());
        EXPECT_EQ(da.Get(), db.Get());
        ASSERT_EQ(chain->StationAtPos(b, &st, &off), 1);
        EXPECT_NEAR(st.Get(), s, 1e-9);
        EXPECT_NEAR(off.Get(), 2.5, 1e-9);
    }
    // MapCoord(1, 1) brings it back exactly; MapCoord(2, 0) only relabels.
    ASSERT_EQ(chain->MapCoord(1, 1), 1);
    ExpectSameElements(*chain, original);
    ASSERT_EQ(chain->MapCoord(2, 0), 1);
    EXPECT_EQ(chain->HeadElem()->Frame(), 2);
    EXPECT_EQ(chain->HeadElem()->StartPoint()->x(), original.HeadElem()->StartPoint()->x());
    EXPECT_EQ(chain->MapCoord(3, 1), 0);
}

TEST_F(ChainEdit, TransitionArcsApproximateAndInvertExactly) {
    const int arcsBefore = chain->GetCount();
    ASSERT_EQ(chain->TransCurves2Arcs(), 4);
    EXPECT_GT(chain->GetCount(), arcsBefore + 40);
    for (int i = 0; i < chain->GetCount(); ++i)
        EXPECT_NE(chain->Element(i)->ElementType(), CvPolyElement::kTransition);
    const auto* piece = dynamic_cast<const CvTransElement*>(chain->Element(1));
    ASSERT_NE(piece, nullptr);
    EXPECT_EQ(piece->TransStartSTA()->Get(), 620.0);
    EXPECT_EQ(piece->TransEndSTA()->Get(), 710.0);

    // The arcs stay within the stated direction tolerance of the clothoids.
    double worstDir = 0, worstPos = 0;
    for (double s = 500.0; s <= 1500.0; s += 0.5) {
        DT_Punkt a, b;
        DT_Double da, db;
        if (original.PosAtStation(s, &a, &da) == 0)
            break;
        ASSERT_EQ(chain->PosAtStation(s, &b, &db), 1);
        worstDir = std::max(worstDir, std::fabs(AngleDiff(da.Get(), db.Get())));
        worstPos = std::max(worstPos, a.AvstandTil(b));
    }
    EXPECT_LE(worstDir, CvPolyLine::kArcDirectionTolerance * 1.01);
    EXPECT_LT(worstPos, 1e-4);

    // Back, exactly; and the arcs again, exactly (a copy keeps the pieces' class: turned below).
    CvPolyLine arcs(1);
    arcs.Copy(chain.get());
    ASSERT_EQ(chain->Arcs2TransCurves(), 4);
    ExpectSameElements(*chain, original);
    for (int i = 0; i < chain->GetCount(); ++i)
        EXPECT_EQ(chain->Element(i)->KlasseType(), rigel::klasse::PolyElement);
    ASSERT_EQ(chain->TransCurves2Arcs(), 4);
    ExpectSameElements(*chain, arcs);

    // Turned arcs give back the turned transitions; swapped axes carry over too.
    arcs.Turn(0);
    arcs.SubstituteXYCoord();
    ASSERT_EQ(arcs.Arcs2TransCurves(), 4);
    original.Turn(0);
    original.SubstituteXYCoord();
    ExpectSameElements(arcs, original);

    // A chain that does not own its elements is left alone.
    CvPolyLine view(0);
    view.Copy(&original);
    EXPECT_EQ(view.TransCurves2Arcs(), 0);
    EXPECT_EQ(view.GetCount(), original.GetCount());
}
