// Cleaning operations of a point list: points whose derived values jump are deleted.
//
// Each operation decides first and removes afterwards, in one compaction of the list, so a
// million-point list with many deletions costs two passes instead of one erase per deletion.

#include "points/CvSporopPointList.h"

#include <array>
#include <cmath>
#include <vector>

namespace {

// Removes the points whose flag is set, in one pass.
int RemoveFlagged(CvSporopPointList& list, const std::vector<unsigned char>& flagged) {
    std::size_t index = 0;
    return list.RemoveIf([&](HovedObjekt*) { return flagged[index++] != 0; });
}

// Walks consecutive pairs (p, q). When jumps(p, q) holds, q is flagged and p stays, to be
// compared with the point after q; otherwise q becomes p.
template <typename Jump> int RemoveJumps(CvSporopPointList& list, Jump jumps) {
    const int n = list.Antall();
    if (n < 2)
        return 0;
    std::vector<unsigned char> flagged(static_cast<std::size_t>(n), 0);
    int count = 0;
    const CvSporopPoint* p = list.Punkt(0);
    for (int i = 1; i < n; ++i) {
        const CvSporopPoint* q = list.Punkt(i);
        if (jumps(*p, *q)) {
            flagged[static_cast<std::size_t>(i)] = 1;
            ++count;
        } else {
            p = q;
        }
    }
    if (count == 0)
        return 0;
    return RemoveFlagged(list, flagged);
}

constexpr int kWindow = 7;
constexpr double kOutlierDeviation = 0.00012;
constexpr double kCurvatureRise = 5e-5;

} // namespace

void CvSporopPointList::RemoveCurvature7Outliers() {
    const int n = Antall();
    if (n < kWindow)
        return;

    // Marks are decided on the values as they are before any deletion.
    std::vector<unsigned char> flagged(static_cast<std::size_t>(n), 0);
    bool any = false;
    std::array<double, kWindow> window{};
    for (int k = 0; k < kWindow - 1; ++k)
        window[static_cast<std::size_t>(k + 1)] = Punkt(k)->curvature7;
    for (int i = 3; i < n - 3; ++i) {
        for (std::size_t k = 0; k + 1 < kWindow; ++k)
            window[k] = window[k + 1];
        window[kWindow - 1] = Punkt(i + 3)->curvature7;

        double s1 = 0.0, s2 = 0.0;
        for (double c : window) {
            s1 += c;
            s2 += c * c;
        }
        const double sigma = std::sqrt((kWindow * s2 - s1 * s1) / (kWindow * kWindow));
        const double mean = s1 / kWindow;
        const double deviation = std::fabs(window[3] - mean);
        if (deviation / sigma > 1.0 && deviation > kOutlierDeviation) {
            flagged[static_cast<std::size_t>(i)] = 1;
            any = true;
        }
    }
    if (any)
        RemoveFlagged(*this, flagged);
}

int CvSporopPointList::RemoveCurvature7Jumps() {
    // A rise only: a falling curvature is never a reason to delete.
    return RemoveJumps(*this, [](const CvSporopPoint& p, const CvSporopPoint& q) {
        return (q.curvature7 - p.curvature7) / (q.profile - p.profile) > kCurvatureRise;
    });
}

int CvSporopPointList::RemoveDirectionJumps(double minRadius) {
    const double limit = 1.0 / minRadius;
    return RemoveJumps(*this, [limit](const CvSporopPoint& p, const CvSporopPoint& q) {
        return std::fabs((q.direction - p.direction) / (q.profile - p.profile)) > limit;
    });
}
