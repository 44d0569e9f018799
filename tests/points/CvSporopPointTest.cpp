#include "points/CvSporopPoint.h"
#include "points/CPerfTimer.h"
#include "points/CvSporopPointList.h"

#include <gtest/gtest.h>

#include <thread>

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

void ExpectAllButMarkEqual(const CvSporopPoint& a, const CvSporopPoint& b) {
    EXPECT_EQ(a.x(), b.x());
    EXPECT_EQ(a.y(), b.y());
    EXPECT_EQ(a.z(), b.z());
    EXPECT_EQ(a.profile, b.profile);
    EXPECT_EQ(a.curvature, b.curvature);
    EXPECT_EQ(a.curvature7, b.curvature7);
    EXPECT_EQ(a.verticalCurvature, b.verticalCurvature);
    EXPECT_EQ(a.direction, b.direction);
    EXPECT_EQ(a.curvature3, b.curvature3);
    EXPECT_EQ(a.cant, b.cant);
    EXPECT_EQ(a.ignored, b.ignored);
    EXPECT_EQ(a.length, b.length);
    EXPECT_EQ(a.code, b.code);
    EXPECT_EQ(a.description, b.description);
}

} // namespace

TEST(CvSporopPoint, DefaultsAndConstructors) {
    const CvSporopPoint d;
    EXPECT_EQ(d.cant, 999);
    EXPECT_EQ(d.code, "");
    EXPECT_EQ(d.description, "");
    EXPECT_EQ(d.x() + d.y() + d.z() + d.profile + d.curvature + d.curvature7 + d.verticalCurvature +
                  d.direction + d.curvature3 + d.length,
              0.0);
    EXPECT_EQ(d.mark + d.ignored, 0);

    const CvSporopPoint fromTexts(1, 2, 3, "7101", "rail");
    EXPECT_EQ(fromTexts.cant, 999);
    EXPECT_EQ(fromTexts.code, "7101");
    EXPECT_EQ(fromTexts.z(), 3.0);
    const CvSporopPoint fromPoint(DT_Punkt(4, 5, 6));
    EXPECT_EQ(fromPoint.y(), 5.0);
    EXPECT_EQ(fromPoint.cant, 999);
}

TEST(CvSporopPoint, CopyTakesEverythingButMark) {
    const CvSporopPoint original = Annotated();
    const CvSporopPoint copy(original);
    ExpectAllButMarkEqual(copy, original);
    EXPECT_EQ(copy.mark, 0);

    CvSporopPoint target(9, 9, 9, "x", "y");
    target.mark = 3;
    target.CopyFrom(original);
    ExpectAllButMarkEqual(target, original);
    EXPECT_EQ(target.mark, 0);
}

TEST(CvSporopPoint, ResetClearsTheAnalysisValues) {
    CvSporopPoint p = Annotated();
    p.Reset(DT_Punkt(1, 2, 3), 12, "L", "left rail");
    EXPECT_EQ(p.x(), 1.0);
    EXPECT_EQ(p.cant, 12);
    EXPECT_EQ(p.code, "L");
    EXPECT_EQ(p.description, "left rail");
    EXPECT_EQ(p.profile, 0.0);
    EXPECT_EQ(p.direction, 0.0);
    EXPECT_EQ(p.curvature + p.curvature7 + p.curvature3 + p.verticalCurvature, 0.0);
    EXPECT_EQ(p.length, 0.0);
    EXPECT_EQ(p.ignored, 0);
    EXPECT_EQ(p.mark, 0);
}

TEST(CvSporopPointList, CopiesPointsAndStartsInMetres) {
    CvSporopPointList source;
    EXPECT_EQ(source.unitWord, 1);
    source.LeggTil(new CvSporopPoint(Annotated()));
    source.LeggTil(new CvSporopPoint(1, 2, 3, "a", "b"));
    CvSporopPointList copy;
    copy.LeggTil(new CvSporopPoint());
    copy.CopyPointsFrom(source);
    ASSERT_EQ(copy.Antall(), 2);
    EXPECT_NE(copy.Punkt(0), source.Punkt(0)) << "points are copied, not shared";
    ExpectAllButMarkEqual(*copy.Punkt(0), *source.Punkt(0));
    EXPECT_EQ(copy.Punkt(1)->code, "a");
}

TEST(CPerfTimer, MeasuresForwardAndNeverNegative) {
    CPerfTimer immediate(true);
    const double atOnce = immediate.ElapsedMilliseconds();
    EXPECT_GE(atOnce, 0.0);
    EXPECT_LT(atOnce, 50.0);
    EXPECT_LE(CPerfTimer::CalibrationOffset(), 0) << "the overhead is stored as minus ticks";

    CPerfTimer timer(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const double running = timer.ElapsedMilliseconds();
    EXPECT_GE(running, 19.0);
    timer.Stop();
    const double stopped = timer.ElapsedMilliseconds();
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_EQ(timer.ElapsedMilliseconds(), stopped) << "a stopped timer stands still";
    timer.Start(false); // resumes
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_GE(timer.ElapsedMilliseconds(), stopped + 9.0);
    timer.Start(true); // starts afresh
    EXPECT_LT(timer.ElapsedMilliseconds(), stopped);

    const CPerfTimer idle(false);
    EXPECT_EQ(idle.ElapsedMilliseconds(), 0.0);
}
