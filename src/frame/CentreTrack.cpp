#include "frame/CentreTrack.h"

#include "platform/base/HugePages.h"
#include "platform/base/Trace.h"
#include "platform/polyline/CvPolyElement.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/Cant.h"
#include "points/KdTree.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <system_error>
#include <thread>
#include <typeinfo>
#include <vector>

namespace rigel {
namespace {

constexpr double kSearchStart = 999999999999.0; // squared metres
constexpr double kZeroRadius = 1e-9;
constexpr double kNoDistance = 9999999.99;

// Index of the point of `searched` nearest to (x, y) in the plane; the first in list order of
// equally near ones; -1 when none is nearer than the search's start value.
class NearestRailPoint {
public:
    explicit NearestRailPoint(const CvSporopPointList& searched) {
        ReserveLarge(xs_, static_cast<std::size_t>(searched.Antall()));
        ReserveLarge(ys_, static_cast<std::size_t>(searched.Antall()));
        for (int i = 0; i < searched.Antall(); ++i) {
            xs_.push_back(searched.Punkt(i)->x());
            ys_.push_back(searched.Punkt(i)->y());
        }
        tree_.emplace(xs_, ys_, [](std::size_t) { return true; });
    }

    int Find(double x, double y) const {
        double best = kSearchStart;
        int bestIndex = -1;
        tree_->Search(
            x, y, [&] { return best; }, [](const KdTree::Node&) { return true; },
            [&](int c) {
                const double dx = xs_[static_cast<std::size_t>(c)] - x;
                const double dy = ys_[static_cast<std::size_t>(c)] - y;
                const double d2 = dx * dx + dy * dy;
                if (d2 < best || (d2 == best && bestIndex >= 0 && c < bestIndex)) {
                    best = d2;
                    bestIndex = c;
                }
            });
        return bestIndex;
    }

private:
    std::vector<double> xs_;
    std::vector<double> ys_;
    std::optional<KdTree> tree_;
};

// The rails are sorted one after the other by the library's sorter, the left rail with its totals
// reset. They are independent, so a large survey has its right rail sorted on a second thread by
// a sorter of its own, which the library's sorter then takes over: the same lists, totals and
// sorter state as one after the other. Without a second thread the sorts run in turn.
constexpr int kParallelRailsFrom = 20000; // points on both rails together

void SortRails(CvMeasurePointSort& sorter, CvSporopPointList& left, CvSporopPointList& right) {
    const bool both = left.Antall() > 0 && right.Antall() > 0;
    if (both && left.Antall() + right.Antall() >= kParallelRailsFrom &&
        typeid(sorter) == typeid(CvMeasurePointSort) && std::thread::hardware_concurrency() > 1) {
        CvMeasurePointSort rightSorter;
        std::exception_ptr failure;
        std::optional<std::thread> worker;
        try {
            worker.emplace([&] {
                try {
                    rightSorter.Sort(&right, 1, 0);
                } catch (...) {
                    failure = std::current_exception();
                }
            });
        } catch (const std::system_error&) {
            // No thread to be had: sort in turn below.
        }
        if (worker) {
            try {
                sorter.Sort(&left, 1, 0);
            } catch (...) {
                worker->join();
                throw;
            }
            worker->join();
            if (failure)
                std::rethrow_exception(failure);
            sorter.ContinueWith(rightSorter);
            return;
        }
    }
    if (left.Antall() > 0)
        sorter.Sort(&left, 1, 0);
    if (right.Antall() > 0)
        sorter.Sort(&right, 0, 0);
}

void Recode(CvSporopPointList& centre) {
    for (int i = 0; i < centre.Antall(); ++i)
        centre.Punkt(i)->code = Format("C-%d", i + 1);
}

} // namespace

void CentreFromRails(const CvSporopPointList& left, const CvSporopPointList& right,
                     CvPolyLine* alignment, CvSporopPointList& centre) {
    const bool walkLeft = left.Antall() <= right.Antall();
    const CvSporopPointList& walked = walkLeft ? left : right;
    const CvSporopPointList& searched = walkLeft ? right : left;
    const NearestRailPoint nearest(searched);
    int counter = 0;
    centre.Reserve(static_cast<std::size_t>(centre.Antall() + walked.Antall()));
    for (int i = 0; i < walked.Antall(); ++i) {
        const CvSporopPoint& p = *walked.Punkt(i);
        const int found = nearest.Find(p.x(), p.y());
        if (found < 0)
            continue;
        const CvSporopPoint& s = *searched.Punkt(found);
        const CvSporopPoint& l = walkLeft ? p : s;
        const CvSporopPoint& r = walkLeft ? s : p;
        const double lowest = std::min(p.z(), s.z());
        auto* c = new CvSporopPoint(DT_Punkt((p.x() + s.x()) / 2, (p.y() + s.y()) / 2, lowest),
                                    CantFromHeights(l.z(), r.z()), Format("C-%d", ++counter),
                                    "[Calculated]");
        if (alignment != nullptr) {
            DT_Double station;
            CvPolyElement* element = nullptr;
            if (alignment->StationAtPos(DT_Punkt(c->x(), c->y(), 0.0), &station, nullptr,
                                        &element) &&
                element != nullptr) {
                const DT_Double& radius = *element->StartRadius();
                if (radius.StorreEnn(0.0, kZeroRadius)) {
                    c->Init(c->x(), c->y(), r.z());
                    Trace("\n[CheckCenterCoordinateList] STA: %.3f: Using height from right rail "
                          ":%.3f (lowest: %.3f)",
                          station.Get(), r.z(), lowest);
                } else if (radius.MindreEnn(0.0, kZeroRadius)) {
                    c->Init(c->x(), c->y(), l.z());
                    Trace("\n[CheckCenterCoordinateList] STA: %.3f: Using height from left rail  "
                          ":%.3f (lowest: %.3f)",
                          station.Get(), l.z(), lowest);
                } else {
                    Trace("\n[CheckCenterCoordinateList] STA: %.3f: Using height from lowest "
                          "rail: %.3f)",
                          station.Get(), lowest);
                }
            }
        }
        centre.LeggTil(c);
    }
}

bool CheckCentreTrack(LibraryState& state, CvPolyLine* alignment) {
    CvSporopPointList& centre = state.CenterPoints;
    CvSporopPointList& left = state.LeftRailPoints;
    CvSporopPointList& right = state.RightRailPoints;

    // 1. The reference is the first point as read, taken before the sort.
    DT_Punkt reference;
    if (centre.Antall() > 0) {
        reference.Init(*centre.Punkt(0));
        state.PointSorter.Sort(&centre, 1, 0);
    } else {
        // The right rail's first point when there is one, else the left rail's.
        if (right.Antall() > 0)
            reference.Init(*right.Punkt(0));
        else if (left.Antall() > 0)
            reference.Init(*left.Punkt(0));
        SortRails(state.PointSorter, left, right);
    }

    bool calculated = false;
    if (centre.Antall() == 0) {
        if ((left.Antall() > 0) != (right.Antall() > 0)) {
            // 2. One rail stands in for the centre.
            centre.CopyPointsFrom(left.Antall() > 0 ? left : right);
        } else if (left.Antall() > 0) {
            // 3. Both rails.
            CentreFromRails(left, right, alignment, centre);
            calculated = true;
        }
    }
    if (centre.Antall() == 0)
        return false;

    // 5. Orientation: away from the first measured point.
    if (reference.Lik(DT_Punkt(), 1e-9, 1))
        return true;
    const double toFirst = reference.AvstandTil(*centre.Punkt(0));
    const double toLast = centre.Antall() > 0
                              ? reference.AvstandTil(*centre.Punkt(centre.Antall() - 1))
                              : kNoDistance;
    if (toFirst > toLast && toLast < kNoDistance) {
        centre.Reverse();
        left.Reverse();
        right.Reverse();
        if (calculated)
            Recode(centre);
    }
    return true;
}

} // namespace rigel
