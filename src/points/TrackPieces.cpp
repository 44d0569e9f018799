#include "points/TrackPieces.h"

#include "points/KdTree.h"

#include <cmath>
#include <deque>
#include <limits>
#include <numbers>

namespace rigel {

bool EndTurnsOff(double ax, double ay, double bx, double by, double cx, double cy,
                 double maxTurnDegrees) {
    const double ux = bx - ax, uy = by - ay; // the end link, walking inward
    const double vx = cx - bx, vy = cy - by; // the next link
    const double lu = std::hypot(ux, uy), lv = std::hypot(vx, vy);
    if (!(lu > lv) || !(lv > 0.0))
        return false;
    const double cosTurn = (ux * vx + uy * vy) / (lu * lv);
    return cosTurn < std::cos(maxTurnDegrees * std::numbers::pi / 180.0);
}

std::vector<int> JoinPieces(const std::vector<int>& order, const std::vector<TrackPiece>& pieces,
                            const std::vector<double>& xs, const std::vector<double>& ys) {
    std::vector<int> joined;
    if (pieces.empty())
        return joined;
    // Ends: 2 k is the head of piece k, 2 k + 1 its tail.
    const std::size_t k = pieces.size();
    std::vector<double> ex(2 * k), ey(2 * k);
    for (std::size_t i = 0; i < k; ++i) {
        const int head = order[pieces[i].begin];
        const int tail = order[pieces[i].end - 1];
        ex[2 * i] = xs[static_cast<std::size_t>(head)];
        ey[2 * i] = ys[static_cast<std::size_t>(head)];
        ex[2 * i + 1] = xs[static_cast<std::size_t>(tail)];
        ey[2 * i + 1] = ys[static_cast<std::size_t>(tail)];
    }
    const KdTree tree(ex, ey, [](std::size_t) { return true; });
    std::vector<char> used(k, 0);
    used[0] = 1;

    // The nearest end of an unused piece to (x, y); -1 when none is left.
    const auto nearestEnd = [&](double x, double y, double& distance2) {
        int best = -1;
        distance2 = std::numeric_limits<double>::infinity();
        tree.Search(
            x, y, [&] { return distance2; }, [](const KdTree::Node&) { return true; },
            [&](int e) {
                if (used[static_cast<std::size_t>(e / 2)])
                    return;
                const double dx = ex[static_cast<std::size_t>(e)] - x;
                const double dy = ey[static_cast<std::size_t>(e)] - y;
                const double d2 = dx * dx + dy * dy;
                if (d2 < distance2 || (d2 == distance2 && e < best)) {
                    distance2 = d2;
                    best = e;
                }
            });
        if (best < 0) {
            // Ends with a coordinate that is not finite are not in the tree.
            for (std::size_t e = 0; e < 2 * k && best < 0; ++e)
                if (!used[e / 2])
                    best = static_cast<int>(e);
        }
        return best;
    };

    struct Placed {
        std::size_t piece;
        bool reversed;
    };
    std::deque<Placed> track{{0, false}};
    int headEnd = 0, tailEnd = 1; // ends of the track so far, as end numbers
    for (std::size_t added = 1; added < k; ++added) {
        double dHead2 = 0, dTail2 = 0;
        const int atTail = nearestEnd(ex[static_cast<std::size_t>(tailEnd)],
                                      ey[static_cast<std::size_t>(tailEnd)], dTail2);
        const int atHead = nearestEnd(ex[static_cast<std::size_t>(headEnd)],
                                      ey[static_cast<std::size_t>(headEnd)], dHead2);
        if (atTail < 0)
            break;
        if (atHead >= 0 && dHead2 < dTail2) {
            // The near end meets the head: the piece runs towards it.
            const std::size_t piece = static_cast<std::size_t>(atHead / 2);
            const bool reversed = atHead % 2 == 0;
            track.push_front({piece, reversed});
            headEnd = reversed ? atHead + 1 : atHead - 1;
            used[piece] = 1;
        } else {
            const std::size_t piece = static_cast<std::size_t>(atTail / 2);
            const bool reversed = atTail % 2 == 1;
            track.push_back({piece, reversed});
            tailEnd = reversed ? atTail - 1 : atTail + 1;
            used[piece] = 1;
        }
    }
    for (const Placed& p : track) {
        const TrackPiece& piece = pieces[p.piece];
        if (p.reversed)
            for (std::size_t i = piece.end; i > piece.begin; --i)
                joined.push_back(order[i - 1]);
        else
            for (std::size_t i = piece.begin; i < piece.end; ++i)
                joined.push_back(order[i]);
    }
    return joined;
}

} // namespace rigel
