#include "synthetic/SurveyCheck.h"

#include "platform/base/TextFormat.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <tuple>

namespace rigel::bench {
namespace {

bool insane = false;

bool Before(const SurveyPoint& a, const SurveyPoint& b) {
    return std::tie(a.x, a.y) < std::tie(b.x, b.y);
}

void Add(std::string& problems, const std::string& problem) {
    if (problem.empty())
        return;
    if (!problems.empty())
        problems += "; ";
    problems += problem;
}

} // namespace

SurveyIndex::SurveyIndex(std::vector<SurveyPoint> survey) : points_(std::move(survey)) {
    std::sort(points_.begin(), points_.end(), Before);
}

const SurveyPoint* SurveyIndex::Find(double x, double y) const {
    SurveyPoint key{x, y, 0.0, 0, 0};
    const auto it = std::lower_bound(points_.begin(), points_.end(), key, Before);
    return it != points_.end() && it->x == x && it->y == y ? &*it : nullptr;
}

std::string CheckTotals(const SortTotals& t, const SurveyCounts& c) {
    const long track = c.track[0] + c.track[1] + c.track[2];
    std::string problems;
    if (t.read != c.points)
        Add(problems, Format("%ld points read of %ld", t.read, c.points));
    if (t.duplicates != c.repeats)
        Add(problems, Format("%ld duplicates, %ld repeats generated", t.duplicates, c.repeats));
    if (t.errors != c.strays)
        Add(problems, Format("%ld measured errors, %ld strays generated", t.errors, c.strays));
    if (t.deleted != t.duplicates + t.errors)
        Add(problems, Format("%ld points deleted", t.deleted));
    if (t.analyzed != track)
        Add(problems, Format("%ld points analyzed of %ld track points", t.analyzed, track));
    return problems;
}

std::string CheckTrackOrder(const CvSporopPointList& list, int line, long expected,
                            const SurveyIndex& index) {
    std::string problems;
    if (list.Antall() != expected)
        Add(problems, Format("%d points left on line %d of %ld", list.Antall(), line, expected));
    long previous = 0, way = 0;
    for (int i = 0; i < list.Antall(); ++i) {
        const CvSporopPoint& p = *list.Punkt(i);
        const SurveyPoint* g = index.Find(p.x(), p.y());
        if (g == nullptr || g->line != line || g->index < 0) {
            Add(problems, Format("point %d of line %d (%.4f, %.4f) is %s", i, line, p.x(), p.y(),
                                 g == nullptr   ? "not a generated point"
                                 : g->index < 0 ? "a stray"
                                                : "on another line"));
            break;
        }
        const long step = g->index - previous;
        if (i > 0 && (step == 0 || (way != 0 && (step > 0) != (way > 0)))) {
            Add(problems, Format("line %d out of track order at point %d (index %ld after %ld)",
                                 line, i, g->index, previous));
            break;
        }
        if (i == 1)
            way = step;
        previous = g->index;
    }
    return problems;
}

std::string CheckRailsAndCentre(const SortTotals& totals, const SurveyCounts& counts,
                                const SurveyIndex& index, const CvSporopPointList& left,
                                const CvSporopPointList& right, const CvSporopPointList& centre,
                                double spacing) {
    std::string problems = CheckTotals(totals, counts);
    Add(problems, CheckTrackOrder(left, 1, counts.track[1], index));
    Add(problems, CheckTrackOrder(right, 2, counts.track[2], index));
    const bool walkLeft = counts.track[1] <= counts.track[2];
    const CvSporopPointList& walked = walkLeft ? left : right;
    const long expected = walkLeft ? counts.track[1] : counts.track[2];
    if (centre.Antall() != expected || walked.Antall() != expected) {
        Add(problems, Format("%d centre points, %ld expected", centre.Antall(), expected));
        return problems;
    }
    const double nearest = 0.745, farthest = std::hypot(0.75, spacing / 4) + 0.005;
    for (int i = 0; i < centre.Antall(); ++i) {
        const double d = centre.Punkt(i)->AvstandTil(*walked.Punkt(i));
        if (!(d >= nearest && d <= farthest)) {
            Add(problems, Format("centre point %d lies %.4f m from its rail point", i, d));
            break;
        }
    }
    return problems;
}

bool Sane(const std::string& bench, const std::string& problem) {
    if (problem.empty())
        return true;
    std::fprintf(stderr, "rigel-bench: %s gives no figure: %s\n", bench.c_str(), problem.c_str());
    insane = true;
    return false;
}

bool AnyInsane() {
    return insane;
}

} // namespace rigel::bench
