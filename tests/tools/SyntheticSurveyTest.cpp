#include "synthetic/SyntheticSurvey.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <stdexcept>
#include <utility>
#include <vector>

using rigel::bench::CountSurvey;
using rigel::bench::MakeSurvey;
using rigel::bench::SurveyOptions;
using rigel::bench::SurveyPoint;
using rigel::bench::TrackShape;

TEST(SyntheticSurvey, CountsFollowTheSharesAndStraysStayOffTheirLine) {
    SurveyOptions o;
    o.length = 500.0; // 2001 stations, 4002 rail points
    o.radius = 150.0;
    o.strayShare = 0.05;
    o.endStrays = 3;
    const std::vector<SurveyPoint> survey = MakeSurvey(o);
    const auto counts = CountSurvey(survey);
    EXPECT_EQ(counts.repeats, 80) << "2 % of 4002";
    EXPECT_EQ(counts.strays, 200 + 4) << "5 % of 4002 and one at each end of both rails";
    EXPECT_EQ(counts.track[0], 0);
    EXPECT_EQ(counts.track[1], 2001);
    EXPECT_EQ(counts.track[2], 2001);
    EXPECT_EQ(counts.points, 4002 + 80 + 204);
    for (const SurveyPoint& s : survey) {
        if (s.index >= 0)
            continue;
        for (const SurveyPoint& p : survey) {
            const double d = std::hypot(p.x - s.x, p.y - s.y);
            if (p.index >= 0 && p.line == s.line) {
                ASSERT_GE(d, 1.0) << "a stray beside its own line's point " << p.index;
            } else if (p.index < 0 && &p != &s) {
                ASSERT_GE(d, 0.001) << "two strays on one spot";
            }
        }
    }
}

TEST(SyntheticSurvey, EndStraysLieBesideTheEndsOnTheSideAsked) {
    // Heading north, right is east (+y); heading east, left is north (+x).
    for (const auto& [bearing, side] :
         {std::pair{0.0, 1.0}, std::pair{std::numbers::pi / 2, -1.0}}) {
        SurveyOptions o;
        o.shape = TrackShape::Straight;
        o.length = 100.0;
        o.startBearing = bearing;
        o.strayShare = 0.0;
        o.duplicateShare = 0.0;
        o.endStrays = 3;
        o.endStraySide = side;
        const std::vector<SurveyPoint> survey = MakeSurvey(o);
        ASSERT_EQ(CountSurvey(survey).strays, 4);
        for (const SurveyPoint& s : survey) {
            if (s.index >= 0)
                continue;
            int ends = 0;
            for (const SurveyPoint& p : survey) {
                if (p.line != s.line || (p.index != 0 && p.index != 400))
                    continue;
                const double along = bearing == 0.0 ? s.x - p.x : s.y - p.y;
                const double aside = bearing == 0.0 ? s.y - p.y : s.x - p.x;
                if (std::fabs(along) <= 0.125 && aside >= 2.0 && aside <= 6.0)
                    ++ends;
            }
            EXPECT_EQ(ends, 1) << "line " << s.line << " at " << s.x << ", " << s.y;
        }
    }
}

TEST(SyntheticSurvey, RefusesTracksThatCouldMeetThemselves) {
    SurveyOptions o;
    o.shape = TrackShape::Arc;
    o.radius = -400.0;
    o.length = 1250.0; // just under half a turn
    EXPECT_EQ(CountSurvey(MakeSurvey(o)).track[1], 5001);
    o.length = 1260.0;
    EXPECT_THROW(MakeSurvey(o), std::invalid_argument);
    o.shape = TrackShape::Mixed;
    o.radius = 110.0;
    EXPECT_THROW(MakeSurvey(o), std::invalid_argument);
}
