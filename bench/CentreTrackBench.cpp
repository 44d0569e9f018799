// Benchmarks of the centre track from two rails.

#include "BenchRegistry.h"
#include "SyntheticSurvey.h"

#include "frame/CentreTrack.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"

namespace {

using rigel::bench::Report;
using rigel::bench::Time;

// Two rails of about n points each, shuffled, with repeats and strays.
void FillRails(long long n, CvSporopPointList& left, CvSporopPointList& right) {
    rigel::bench::SurveyOptions o;
    o.length = static_cast<double>(n) * 0.25 / 1.025;
    o.seed = 17;
    left.Reserve(static_cast<std::size_t>(n) + 16);
    right.Reserve(static_cast<std::size_t>(n) + 16);
    for (const auto& p : rigel::bench::MakeSurvey(o)) {
        CvSporopPointList& list = p.line == 1 ? left : right;
        list.LeggTil(new CvSporopPoint(p.x, p.y, p.z, p.line == 1 ? "7101" : "7102", ""));
    }
}

const rigel::bench::Register centreFromRails{
    "centre_from_rails", "centre points from two sorted rails of n points each", 500'000,
    [](long long n) {
        CvSporopPointList left, right, centre;
        FillRails(n, left, right);
        CvMeasurePointSort sorter;
        sorter.Sort(&left, 1, 0);
        sorter.Sort(&right, 0, 0);
        const double seconds = Time([&] { rigel::CentreFromRails(left, right, nullptr, centre); });
        Report("centre_from_rails", left.Antall() + right.Antall(), seconds,
               {{"centre_points", centre.Antall()}});
    }};

const rigel::bench::Register checkCentreList{
    "check_centre_list", "CheckCenterCoordinateList on two shuffled rails of n points each",
    500'000, [](long long n) {
        rigel_ClearCoordinateLists();
        rigel::LibraryState& state = rigel::State();
        FillRails(n, state.LeftRailPoints, state.RightRailPoints);
        const long long count = state.LeftRailPoints.Antall() + state.RightRailPoints.Antall();
        bool ok = false;
        const double seconds = Time([&] { ok = CheckCenterCoordinateList(nullptr); });
        Report("check_centre_list", count, seconds,
               {{"centre_points", state.CenterPoints.Antall()}, {"ok", ok ? 1.0 : 0.0},
                {"measured_errors", state.PointSorter.measuredErrors}});
        rigel_ClearCoordinateLists();
    }};

} // namespace
