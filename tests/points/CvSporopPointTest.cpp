#include "points/CvSporopPoint.h"
#include "points/CvSporopPointList.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <tuple>

namespace {

CvSporopPoint Annotated() {
    CvSporopPoint p(DT_Punkt(6543210.123, 123456.789, 12.345), -84, "C-1", "[Calculated]");
    p.profile = 1234.5;
    p.curvature = 1.0 / 500;
    p.curvature7 = 2.0 / 500;
    p.verticalCurvature = -1e-5;
    p.mark = 5;
    p.direction = 0.75;
    p.curvature3 = 3.0 / 500;
    p.ignored = 1;
    p.length = 99.5;
    return p;
}

// Every field but the mark.
auto Fields(const CvSporopPoint& p) {
    return std::make_tuple(p.x(), p.y(), p.z(), p.profile, p.curvature, p.curvature7,
                           p.verticalCurvature, p.direction, p.curvature3, p.cant, p.ignored,
                           p.length, p.code, p.description);
}

} // namespace

// A copy of a list takes everything of its points but the mark (the points' copy constructor is
// CopyFrom).
TEST(CvSporopPoint, CopiesTakeEverythingButMark) {
    const CvSporopPoint original = Annotated();
    CvSporopPointList source;
    source.LeggTil(new CvSporopPoint(original));
    source.Punkt(0)->mark = 4;
    source.LeggTil(new CvSporopPoint(1, 2, 3, "a", "b"));
    CvSporopPointList list;
    list.LeggTil(new CvSporopPoint());
    list.CopyPointsFrom(source);
    ASSERT_EQ(list.Antall(), 2) << "the list's earlier points are replaced";
    EXPECT_NE(list.Punkt(0), source.Punkt(0)) << "points are copied, not shared";
    EXPECT_EQ(Fields(*list.Punkt(0)), Fields(original));
    EXPECT_EQ(list.Punkt(0)->mark, 0);
    EXPECT_EQ(list.Punkt(1)->code, "a");
}

// Reset leaves nothing of the earlier analysis: the point equals one built from the same data.
TEST(CvSporopPoint, ResetClearsTheAnalysisValues) {
    CvSporopPoint p = Annotated();
    p.Reset(DT_Punkt(1, 2, 3), 12, "L", "left rail");
    EXPECT_EQ(Fields(p), Fields(CvSporopPoint(DT_Punkt(1, 2, 3), 12, "L", "left rail")));
    EXPECT_EQ(p.mark, 0);
}

// A block's points are deleted one by one, in any order and by any owner; a point outliving its
// list keeps the block (the sanitizer build sees a use after free otherwise).
TEST(CvSporopPointList, PointsOfABlockAreOwnedAndDeletedOneByOne) {
    auto list = std::make_unique<CvSporopPointList>(1);
    list->Append(std::make_unique<CvSporopPoint>(-1, -1, 0, "single", ""));
    int next = 0;
    list->AppendBlock(1000, [&next](CvSporopPoint& p) {
        p.Init(next, 2.0 * next, 0);
        p.code = std::to_string(next++);
    });
    list->AppendBlock(0, [](CvSporopPoint&) { FAIL(); });
    ASSERT_EQ(list->Antall(), 1001);
    EXPECT_EQ(list->Punkt(500)->code, "499");
    EXPECT_EQ(list->Punkt(500)->y(), 998);
    EXPECT_EQ(list->Punkt(500)->cant, CvSporopPoint::kNoCant);
    list->Aktiver(10);
    std::unique_ptr<HovedObjekt> taken(list->TaUtAktiv());
    list->Aktiver(0);
    list->SlettAktiv();
    EXPECT_EQ(
        list->RemoveIf([](HovedObjekt* o) { return static_cast<CvSporopPoint*>(o)->x() < 100; }),
        99);
    list.reset();
    EXPECT_EQ(static_cast<CvSporopPoint&>(*taken).code, "9");
}
