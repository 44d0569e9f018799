#pragma once
// A synthetic track survey for benchmarks and examples: a centre line made of straights,
// transition curves (curvature linear in length) and arcs, integrated from its curvature, with
// two rails 1.5 m apart, cant in the curves, millimetre noise, file order shuffled, and a few
// per cent repeated and stray points.

#include <cstdint>
#include <string>
#include <vector>

namespace rigel::bench {

struct SurveyPoint {
    double x, y, z; // northing, easting, height
    int line;       // 0 centre, 1 left rail, 2 right rail
    long index;     // position along its line (-1 for a stray point)
};

struct SurveyOptions {
    double length = 2000.0;       // metres of track
    double spacing = 0.25;        // metres between measured points
    double startBearing = 0.6;    // radians from north
    double noise = 0.001;         // metres, standard deviation
    double duplicateShare = 0.02; // share of points measured twice
    double strayShare = 0.005;    // share of extra points well off the track
    bool rails = true;            // both rails
    bool centre = false;          // centre points too
    bool shuffle = true;
    std::uint64_t seed = 1;
};

std::vector<SurveyPoint> MakeSurvey(const SurveyOptions& options);

} // namespace rigel::bench
