// The element's data, accessors, types, lengths, private data, tier-table lines; NADB segments.

#include "platform/polyline/CvNADB_Calculation.h"
#include "platform/polyline/CvPolyLine.h"
#include "platform/polyline/SegmentType.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>

namespace {

constexpr double kPi = std::numbers::pi;

struct Counted : HovedObjekt {
    explicit Counted(int* alive) : alive_(alive) { ++*alive_; }
    ~Counted() override { --*alive_; }
    int* alive_;
};

} // namespace

// The type follows the radii; radii within 1e-9 are equal.
TEST(CvPolyElement, TypeFollowsTheRadii) {
    CvPolyElement e;
    const auto before = e.Version();
    e.SetStartRadius(-350.0);
    EXPECT_GT(e.Version(), before) << "an edit is visible to owners of derived data";
    EXPECT_EQ(e.ElementType(), CvPolyElement::kTransition);
    e.SetEndRadius(-350.0 + 1e-10);
    EXPECT_EQ(e.ElementType(), CvPolyElement::kArc);
    e.SetStartRadius(1e-10);
    e.SetEndRadius(-1e-10);
    EXPECT_EQ(e.ElementType(), CvPolyElement::kLine);
}

TEST(CvPolyElement, LengthsAndCentresFromTheData) {
    // Line: the chord. Arc: the shorter or, when the stored length says so, the longer arc.
    CvPolyElement line(DT_Punkt(0, 0), DT_Punkt(3, 4), 0, 0, 0, 0, 0);
    EXPECT_EQ(line.CalcLength(), 5.0);
    EXPECT_EQ(line.Length()->Get(), 5.0);
    DT_Punkt c(7, 7);
    EXPECT_EQ(line.ArcCenter(&c), 0);
    EXPECT_EQ(c.x(), 7.0);
    CvPolyElement arc(DT_Punkt(0, 0), DT_Punkt(100, 100), 100, 100, 1, 0, 1);
    EXPECT_NEAR(arc.CalcLength(), 50 * kPi, 1e-12);
    arc.SetLength(150 * kPi);
    EXPECT_NEAR(arc.CalcLength(0), 150 * kPi, 1e-12);
    ASSERT_EQ(arc.ArcCenter(&c), 1) << "three quarters to the left still have a centre";
    CvPolyElement tooShort(DT_Punkt(0, 0), DT_Punkt(300, 0), 100, 100, 1, 0, 1);
    EXPECT_EQ(tooShort.CalcLength(), -1.0);
    EXPECT_EQ(tooShort.Length()->Get(), 1.0);
    // Transition: the length whose clothoid spans the chord.
    CvPolyElement clothoid;
    ASSERT_EQ(clothoid.InitFromStart(DT_Punkt(10, 20), 0.5, 0, 250, 137.5, 0), 1);
    EXPECT_EQ(clothoid.ArcCenter(&c), 0);
    EXPECT_NEAR(clothoid.CalcLength(), 137.5, 1e-9);
    EXPECT_NEAR(clothoid.TransParameter()->Get(), std::sqrt(137.5 * 250), 1e-9);
    EXPECT_EQ(clothoid.InitFromStart(DT_Punkt(0, 0), 0, 0, 100, -1, 0), 0);
    EXPECT_EQ(clothoid.InitFromStart(DT_Punkt(0, NAN), 0, 0, 100, 1, 0), 0);
}

TEST(CvPolyElement, UnplaceableElementsFailTheirEvaluations) {
    DT_Punkt p;
    DT_Double s;
    CvPolyElement point(DT_Punkt(5, 5), DT_Punkt(5, 5), 0, 0, 0, 0, 0);
    EXPECT_EQ(point.PosAtStation(0.0, &p), 0);
    EXPECT_EQ(point.StationAtPos(DT_Punkt(5, 6), &s), 0);
    // A full circle has no chord to place it by.
    CvPolyElement circle(DT_Punkt(0, 0), DT_Punkt(0, 0), 10, 10, 20 * kPi, 0, 20 * kPi);
    EXPECT_EQ(circle.PosAtStation(1.0, &p), 0);
    CvPolyLine chain(1);
    chain.AddElement(new CvPolyElement(circle));
    chain.AddElement(new CvPolyElement(DT_Punkt(0, 0), DT_Punkt(10, 0), 0, 0, 10, 0, 10));
    ASSERT_EQ(chain.PosAtStation(5.0, &p), 1) << "the chain skips what cannot be placed";
    EXPECT_EQ(p.x(), 5.0);
}

TEST(CvPolyElement, PrivateDataIsKeptOrOwnedAndSharedByCopies) {
    int alive = 0;
    Counted kept(&alive);
    {
        CvPolyElement e;
        EXPECT_EQ(e.PrivateData(), nullptr);
        EXPECT_EQ(e.PrivateData(&kept, 0), &kept);
        CvPolyElement copy(e);
        EXPECT_EQ(copy.PrivateData(), &kept);
    }
    EXPECT_EQ(alive, 1) << "kept, not owned";
    {
        auto* owned = new Counted(&alive);
        auto* e = new CvPolyElement();
        e->PrivateData(owned, 1);
        e->PrivateData(owned, 0);
        CvPolyElement copy;
        copy = *e;
        delete e;
        EXPECT_EQ(alive, 2) << "the copy still holds it";
        EXPECT_EQ(copy.PrivateData(), owned);
        CvPolyLine chain(1);
        chain.AddElement(copy.Clone());
    }
    EXPECT_EQ(alive, 1) << "deleted with the last element holding it";
}

TEST(CvPolyElement, TierTableLinesRebuildAnEqualElement) {
    CvPolyElement e;
    ASSERT_EQ(e.InitFromStart(DT_Punkt(6'650'123.456, 560'987.654, 12.3), 0.7, -1200, 400.5,
                              120.0 / 7, 1.0 / 3, 17),
              1);
    e.SubstituteXYCoord();
    Streng a, b;
    ASSERT_EQ(e.GetLinesTIT(&a, &b, 11), 1);
    EXPECT_EQ(b.str().substr(0, 2), "3 ");
    EXPECT_EQ(b.str().substr(b.str().size() - 2), " 2") << "the frame ends the second line";
    // (The LandXML export reads both lines as an integer and six numbers: its golden test.)
    CvPolyElement back;
    std::string why;
    ASSERT_EQ(back.InitFromLinesTIT(a.str(), b.str(), 11, &why), 1) << why;
    EXPECT_EQ(back.Equal(e), 1) << "the frame too";
    EXPECT_EQ(e.GetLinesTIT(&a, &b, 10), 0);
    EXPECT_EQ(back.InitFromLinesTIT(a.str(), b.str(), 12, &why), 0);
    EXPECT_NE(why.find("12"), std::string::npos);
    EXPECT_EQ(back.InitFromLinesTIT(a.str(), "3 1 2", 11, &why), 0);
    EXPECT_EQ(back.Equal(e), 1) << "a failed read leaves the element";
    EXPECT_EQ(e.Equal(back, 0.0), 1);
    back.SetLength(back.Length()->Get() + 1e-7);
    EXPECT_EQ(e.Equal(back), 0);
    EXPECT_EQ(e.Equal(back, 1e-6), 1);
}

TEST(SegmentType, KeepsItsTextAndReadsItsFields) {
    const SegmentType made = SegmentType::Make(12, 100.5, 1.0 / 3, "ARC  left\r\nrest");
    EXPECT_EQ(made.Text(), "12 100.5 0.3333333333333333 ARC  left");
    int n = 0;
    double a = 0, b = 0;
    std::string name;
    // (Number and stations as read: the rail output's segment golden.)
    ASSERT_EQ(made.Fields(&n, &a, &b, &name), 1);
    EXPECT_EQ(name, "ARC  left");
    EXPECT_EQ(SegmentType::Make(1, 0, 2, "").Text(), "1 0 2");
    ASSERT_EQ(SegmentType("1 0 2").Fields(&n, &a, &b, &name), 1);
    EXPECT_EQ(name, "");
    const SegmentType other("  free text, 1 2 3 \t");
    EXPECT_EQ(other.Text(), "  free text, 1 2 3 \t") << "any text is kept byte for byte";
    EXPECT_EQ(other.Fields(&n, nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(SegmentType("1 2 x").Fields(nullptr, nullptr, nullptr, nullptr), 0);
}

TEST(CvNADB_Calculation, OneSegmentPerElementAttachedWithoutOwnership) {
    CvPolyLine chain(1);
    chain.InitFrom_TIT_File((std::string(RIGEL_TEST_DATA) + "/polyline/line_arc_line.tit").c_str(),
                            0, 0, nullptr);
    CvNADB_Calculation nadb;
    EXPECT_EQ(nadb.Calculate(&chain), 3);
    EXPECT_EQ(nadb.Segment(1)->Text(), "2 100 257.0796326794897 ARC");
    EXPECT_EQ(chain.Element(1)->PrivateData(), nadb.Segment(1));
    // Calculating again replaces the segments and detaches the old ones first.
    chain.Element(2)->SetElementNumber(30);
    EXPECT_EQ(nadb.Calculate(&chain), 3);
    EXPECT_EQ(nadb.Segment(2)->Text(), "30 257.0796326794897 307.0796326794897 LINE");
    EXPECT_EQ(chain.Element(2)->PrivateData(), nadb.Segment(2));
    EXPECT_EQ(nadb.Calculate(nullptr), 0);
    EXPECT_EQ(nadb.SegmentCount(), 0);
    EXPECT_EQ(nadb.Segment(0), nullptr);
}
