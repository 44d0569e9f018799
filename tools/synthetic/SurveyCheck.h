#pragma once
// Checks of what a benchmark timed, made before its figure is printed: a sort of a generated
// survey must drop exactly its repeats and strays and leave every track point once, in track
// order; a centre track must have one point per point of the walked rail, halfway to the other
// rail. A fast wrong answer is no figure.

#include "synthetic/SyntheticSurvey.h"

#include "points/CvSporopPointList.h"

#include <string>
#include <vector>

namespace rigel::bench {

// The generated points of a survey, looked up by plan coordinates.
class SurveyIndex {
public:
    // `survey` with the coordinates the checked lists hold (as generated, or as read back).
    explicit SurveyIndex(std::vector<SurveyPoint> survey);
    // The generated point at exactly (x, y), or null.
    const SurveyPoint* Find(double x, double y) const;

private:
    std::vector<SurveyPoint> points_;
};

// A sorter's five totals over all the lists of a survey.
struct SortTotals {
    long read, deleted, duplicates, errors, analyzed;
};

// Each check returns what is wrong, or an empty text.
std::string CheckTotals(const SortTotals& totals, const SurveyCounts& counts);
// `list` holds the `expected` track points of `line`, each once, their indexes rising or falling.
std::string CheckTrackOrder(const CvSporopPointList& list, int line, long expected,
                            const SurveyIndex& index);
// Totals and order of both sorted rails, and the centre track built between them: one point per
// track point of the walked rail (the one with fewer, the left on ties), each halfway between
// its walked point and the nearest point of the other rail (0.75 m from the walked point, more
// by at most the quarter spacing that the nearest point can lie along the track).
std::string CheckRailsAndCentre(const SortTotals& totals, const SurveyCounts& counts,
                                const SurveyIndex& index, const CvSporopPointList& left,
                                const CvSporopPointList& right, const CvSporopPointList& centre,
                                double spacing);

// True when `problem` is empty; otherwise says on stderr why `bench` gives no figure, and
// rigel-bench will exit non-zero.
bool Sane(const std::string& bench, const std::string& problem);
bool AnyInsane();

} // namespace rigel::bench
