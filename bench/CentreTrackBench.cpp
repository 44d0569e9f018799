// Benchmarks of the centre track from two rails.

#include "BenchRegistry.h"
#include "synthetic/SurveyCheck.h"
#include "synthetic/SyntheticSurvey.h"

#include "frame/CentreTrack.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"

namespace {

using rigel::bench::Report;
using rigel::bench::Time;

// Two rails of about n points each, shuffled, with repeats and strays.
rigel::bench::SurveyOptions RailSurvey(long long n) {
    rigel::bench::SurveyOptions o;
    o.length = static_cast<double>(n) * 0.25 / 1.025;
    o.seed = 17;
    return o;
}

rigel::bench::SurveyCounts FillRails(const rigel::bench::SurveyOptions& o, CvSporopPointList& left,
                                     CvSporopPointList& right) {
    const std::vector<rigel::bench::SurveyPoint> survey = rigel::bench::MakeSurvey(o);
    left.Reserve(survey.size() / 2 + 16);
    right.Reserve(survey.size() / 2 + 16);
    for (const auto& p : survey) {
        CvSporopPointList& list = p.line == 1 ? left : right;
        list.LeggTil(new CvSporopPoint(p.x, p.y, p.z, p.line == 1 ? "7101" : "7102", ""));
    }
    return rigel::bench::CountSurvey(survey);
}

// What is wrong with the sorted rails and the centre track of the survey, checked on the survey
// made again once the timing is done.
std::string Check(const rigel::bench::SurveyOptions& o, const rigel::bench::SurveyCounts& counts,
                  const rigel::bench::SortTotals& totals, const CvSporopPointList& left,
                  const CvSporopPointList& right, const CvSporopPointList& centre) {
    return rigel::bench::CheckRailsAndCentre(totals, counts,
                                             rigel::bench::SurveyIndex(rigel::bench::MakeSurvey(o)),
                                             left, right, centre, o.spacing);
}

const rigel::bench::Register centreFromRails{
    "centre_from_rails", "centre points from two sorted rails of n points each", 500'000,
    [](long long n) {
        const rigel::bench::SurveyOptions o = RailSurvey(n);
        CvSporopPointList left, right, centre;
        const rigel::bench::SurveyCounts counts = FillRails(o, left, right);
        CvMeasurePointSort sorter;
        sorter.Sort(&left, 1, 0);
        sorter.Sort(&right, 0, 0);
        const double seconds = Time([&] { rigel::CentreFromRails(left, right, nullptr, centre); });
        const double peak = rigel::bench::PeakRssMb();
        if (rigel::bench::Sane("centre_from_rails",
                               Check(o, counts,
                                     {sorter.pointsRead, sorter.pointsDeleted, sorter.duplicates,
                                      sorter.measuredErrors, sorter.pointsAnalyzed},
                                     left, right, centre)))
            Report("centre_from_rails", left.Antall() + right.Antall(), seconds,
                   {{"centre_points", centre.Antall()}}, peak);
    }};

const rigel::bench::Register checkCentreList{
    "check_centre_list", "CheckCenterCoordinateList on two shuffled rails of n points each",
    500'000, [](long long n) {
        rigel_ClearCoordinateLists();
        rigel::LibraryState& state = rigel::State();
        const rigel::bench::SurveyOptions o = RailSurvey(n);
        const rigel::bench::SurveyCounts counts =
            FillRails(o, state.LeftRailPoints, state.RightRailPoints);
        const long long count = state.LeftRailPoints.Antall() + state.RightRailPoints.Antall();
        bool ok = false;
        const double seconds = Time([&] { ok = CheckCenterCoordinateList(nullptr); });
        const double peak = rigel::bench::PeakRssMb();
        const CvMeasurePointSort& sorter = state.PointSorter;
        std::string problems =
            Check(o, counts,
                  {sorter.pointsRead, sorter.pointsDeleted, sorter.duplicates,
                   sorter.measuredErrors, sorter.pointsAnalyzed},
                  state.LeftRailPoints, state.RightRailPoints, state.CenterPoints);
        if (!ok)
            problems = "CheckCenterCoordinateList failed; " + problems;
        if (rigel::bench::Sane("check_centre_list", problems))
            Report("check_centre_list", count, seconds,
                   {{"centre_points", state.CenterPoints.Antall()},
                    {"ok", ok ? 1.0 : 0.0},
                    {"measured_errors", state.PointSorter.measuredErrors}},
                   peak);
        rigel_ClearCoordinateLists();
    }};

} // namespace
