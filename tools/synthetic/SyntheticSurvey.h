#pragma once
// A synthetic track survey for benchmarks, tests and examples: a centre line integrated from its
// curvature (a pattern of straights, transition curves and arcs; one straight; or one arc), with
// two rails 1.5 m apart, cant in the curves, millimetre noise, file order shuffled, and a few per
// cent repeated and stray points. Every point says where it came from, so that a check can tell
// what a sort should keep and in which order.
//
// Strays are placed so that no sensible sort could take them for track: each lies at least 1 m
// from every track point of its own line and at least 1 mm from every other stray (a draw that
// does not is drawn again). The track never comes near itself: MakeSurvey throws
// std::invalid_argument for options whose track would turn by half a turn or more.

#include <cstdint>
#include <string>
#include <vector>

namespace rigel::bench {

struct SurveyPoint {
    double x, y, z;      // northing, easting, height
    int line;            // 0 centre, 1 left rail, 2 right rail
    long index;          // position along its line (-1 for a stray point)
    bool repeat = false; // an exact second copy of an earlier point of the survey
};

enum class TrackShape { Mixed, Straight, Arc };

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
    // Mixed: straights of 300 m, transitions of 120 m and arcs of 250 m, the curves to either
    // side in turn; Straight; Arc: one arc of `radius` all along.
    TrackShape shape = TrackShape::Mixed;
    // Radius of the arcs of Mixed (the first curve to the right when positive) and of Arc (to the
    // right when positive, to the left when negative). Mixed needs |radius| > 118 m, Arc a
    // length under half a turn.
    double radius = 600.0;
    // 1: one stray beside the first end of each line, 2: beside its last end, 3: both. It lies 2
    // to 6 m to the side of the line's end point, within half a spacing of it along the track.
    int endStrays = 0;
    // Side of the end strays: > 0 right of the direction of travel, < 0 left, 0 either at random.
    double endStraySide = 0.0;
};

std::vector<SurveyPoint> MakeSurvey(const SurveyOptions& options);

// What a generated survey holds: all points, the repeats, the strays that are not repeats, and
// per line (centre, left, right) the track points left after removing repeats and strays.
// The designed centre line of a Mixed survey as elements from its start: straights (both radii
// 0), transitions (one radius 0) and arcs, radii signed by side (positive to the right), in the
// order along the track, the last one cut at the survey's length. The start is
// kSurveyStart with the bearing of the options.
struct DesignElement {
    double startRadius, endRadius, length;
};
inline constexpr double kSurveyStartX = 6543210.0, kSurveyStartY = 234567.0, kSurveyStartZ = 120.0;
std::vector<DesignElement> SurveyDesign(const SurveyOptions& options);

struct SurveyCounts {
    long points;
    long repeats;
    long strays;
    long track[3];
};
SurveyCounts CountSurvey(const std::vector<SurveyPoint>& points);

} // namespace rigel::bench
