#include "synthetic/SyntheticSurvey.h"

#include <gtest/gtest.h>

#include <stdexcept>

using rigel::bench::CountSurvey;
using rigel::bench::MakeSurvey;
using rigel::bench::SurveyOptions;
using rigel::bench::TrackShape;

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
