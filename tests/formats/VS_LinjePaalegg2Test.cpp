// The vertical alignment built from grades and vertical curves, and its two tables.

#include "formats/VS_LinjePaalegg2.h"

#include "platform/polyline/CvPolyElement.h"
#include "platform/polyline/CvPolyLine.h"
#include "support/TestSupport.h"

namespace {

using rigel::test::DataPath;
using rigel::test::FileBytes;
using rigel::test::Lines;

CvPolyElement* Grade(const DT_Punkt& a, const DT_Punkt& b, double r = 0) {
    const double length = a.AvstandTil(b);
    return new CvPolyElement(a, b, r, r, length, a.x(), a.x() + length);
}

// A vertical curve of signed radius r (positive in a sag) from `start` on grade gIn to gOut.
CvPolyElement* Curve(const DT_Punkt& start, double gIn, double gOut, double r, DT_Punkt* end) {
    const double in = std::atan(gIn), out = std::atan(gOut);
    end->Init(start.x() - r * std::sin(in) + r * std::sin(out),
              start.y() + r * std::cos(in) - r * std::cos(out));
    const double length = std::fabs(r * (out - in));
    return new CvPolyElement(start, *end, r, r, length, start.x(), start.x() + length);
}

void ExpectPoints(const VS_LinjePaalegg2& table, const std::vector<DT_Punkt>& expected) {
    ASSERT_EQ(table.Antall(), static_cast<int>(expected.size()));
    for (int i = 0; i < table.Antall(); ++i)
        EXPECT_TRUE(table.Punkt(i)->Lik(expected[i], 1e-9)) << i << ": " << table.Punkt(i)->x();
}

std::vector<std::string> Write(const std::vector<DT_Punkt>& points, int layout, int result = 1) {
    VS_LinjePaalegg2 table(0.001);
    for (const DT_Punkt& p : points)
        table.LeggTil(new DT_Punkt(p));
    StrengListe lines;
    lines.LeggTilStreng("old");
    EXPECT_EQ(table.WriteTable(lines, layout), result);
    std::vector<std::string> texts;
    for (int i = 0; i < lines.Antall(); ++i)
        texts.push_back(lines.Tekst(i)->str());
    return texts;
}

// A crest (R 2000) and a sag (R 3000) between grades of +-1 %, then a joint without a curve.
const std::vector<DT_Punkt> kExample = {
    {0, 100}, {150, 101.5, 2000}, {300, 100, 3000}, {450, 101.5}, {600, 100}};

} // namespace

TEST(VerticalTable, IntersectionPointsFromElements) {
    VS_LinjePaalegg2 table(0.001);
    CvPolyLine chain;
    chain.AddElement(Grade({0, 100}, {0, 100}));
    chain.AddElement(Grade({0, 100}, {100, 101}));
    ASSERT_EQ(table.BuildFromElements(&chain), 1);
    ExpectPoints(table, {{0, 100}, {100, 101}});

    // A crest of radius 2000 from +1 % to -1 %, then -1 % for 100 m; elements of length 0 around.
    DT_Punkt e;
    chain.AddElement(Grade({100, 101}, {100, 101}, -2000));
    chain.AddElement(Curve({100, 101}, 0.01, -0.01, -2000, &e));
    chain.AddElement(Grade(e, {e.x() + 100, e.y() - 1}));
    chain.AddElement(Grade({e.x() + 100, e.y() - 1}, {e.x() + 100, e.y() - 1}));
    ASSERT_EQ(table.BuildFromElements(&chain), 1);
    // y = 100 + 0.01 x meets y = e.y - 0.01 (x - e.x).
    const double x = (e.y() + 0.01 * e.x() - 100) / 0.02;
    ExpectPoints(table, {{0, 100}, {x, 100 + 0.01 * x, 2000}, {e.x() + 100, e.y() - 1}});

    // A grade joining without a curve, after a curve and after a grade.
    chain.AddElement(Grade({e.x() + 100, e.y() - 1}, {e.x() + 200, 100}));
    ASSERT_EQ(table.BuildFromElements(&chain), 1);
    ExpectPoints(
        table, {{0, 100}, {x, 100 + 0.01 * x, 2000}, {e.x() + 100, e.y() - 1}, {e.x() + 200, 100}});

    CvPolyLine two, empty, zero;
    two.AddElement(Grade({0, 100}, {100, 101}));
    two.AddElement(Grade({100, 101}, {200, 100}));
    ASSERT_EQ(table.BuildFromElements(&two), 1);
    ExpectPoints(table, {{0, 100}, {100, 101}, {200, 100}});

    zero.AddElement(Grade({5, 5}, {5, 5}));
    EXPECT_EQ(table.BuildFromElements(&zero), 0);
    EXPECT_EQ(table.Antall(), 0);
    EXPECT_EQ(table.BuildFromElements(&empty), 0);
    EXPECT_EQ(table.BuildFromElements(nullptr), 0);
}

// Tangent length R tan(delta / 2) = 0.01 R: the crest's tangent points lie 20 / sqrt(1.0001) m
// of station from its intersection point, the sag's 30 / sqrt(1.0001). The joint at 450 has one
// row and no second row of length 0. Every row of the second layout is 126 characters wide.
TEST(VerticalTable, PointAndTangentPointTables) {
    EXPECT_EQ(Write(kExample, 1),
              Lines(FileBytes(DataPath("vertical/crest_sag_joint_points.txt"))));
    EXPECT_EQ(Write(kExample, 2),
              Lines(FileBytes(DataPath("vertical/crest_sag_joint_tangent_points.txt"))));
}

TEST(VerticalTable, NothingWrittenForABadCurveOrLayout) {
    EXPECT_TRUE(Write(kExample, 3, 0).empty());
    // Radius 100000 on a 2 % turn needs 1000 m of tangent, more than the 150 m there are.
    const std::vector<DT_Punkt> tooTight = {{0, 100}, {150, 101.5, 100000}, {300, 100}};
    EXPECT_TRUE(Write(tooTight, 1, 0).empty());
    EXPECT_TRUE(Write(tooTight, 2, 0).empty());
}
