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

namespace rigel {

std::vector<int> InsertShortPieces(const std::vector<int>& track, const std::vector<int>& order,
                                   const std::vector<TrackPiece>& pieces,
                                   const std::vector<double>& xs, const std::vector<double>& ys) {
    if (pieces.empty() || track.empty())
        return track;
    const std::size_t m = track.size();
    std::vector<double> tx(m), ty(m);
    for (std::size_t i = 0; i < m; ++i) {
        tx[i] = xs[static_cast<std::size_t>(track[i])];
        ty[i] = ys[static_cast<std::size_t>(track[i])];
    }
    const KdTree tree(tx, ty, [](std::size_t) { return true; });
    const auto dist = [&](int a, int b) {
        return std::hypot(xs[static_cast<std::size_t>(a)] - xs[static_cast<std::size_t>(b)],
                          ys[static_cast<std::size_t>(a)] - ys[static_cast<std::size_t>(b)]);
    };

    struct Insert {
        std::size_t slot; // before track[slot]; m is after the last
        std::size_t piece;
        bool reversed;
    };
    std::vector<Insert> inserts;
    for (std::size_t k = 0; k < pieces.size(); ++k) {
        const TrackPiece& p = pieces[k];
        const int first = order[p.begin], last = order[p.end - 1];
        double best2 = std::numeric_limits<double>::infinity();
        std::size_t near = 0;
        tree.Search(
            xs[static_cast<std::size_t>(first)], ys[static_cast<std::size_t>(first)],
            [&] { return best2; }, [](const KdTree::Node&) { return true; },
            [&](int i) {
                const double dx =
                    tx[static_cast<std::size_t>(i)] - xs[static_cast<std::size_t>(first)];
                const double dy =
                    ty[static_cast<std::size_t>(i)] - ys[static_cast<std::size_t>(first)];
                const double d2 = dx * dx + dy * dy;
                if (d2 < best2 || (d2 == best2 && static_cast<std::size_t>(i) < near)) {
                    best2 = d2;
                    near = static_cast<std::size_t>(i);
                }
            });
        Insert best{near, k, false};
        double bestDetour = std::numeric_limits<double>::infinity();
        for (const std::size_t slot : {near, near + 1}) {
            for (const bool reversed : {false, true}) {
                const int in = reversed ? last : first, out = reversed ? first : last;
                double detour = 0.0;
                if (slot > 0)
                    detour += dist(track[slot - 1], in);
                if (slot < m)
                    detour += dist(out, track[slot]);
                if (slot > 0 && slot < m)
                    detour -= dist(track[slot - 1], track[slot]);
                if (detour < bestDetour) {
                    bestDetour = detour;
                    best = {slot, k, reversed};
                }
            }
        }
        inserts.push_back(best);
    }
    std::stable_sort(inserts.begin(), inserts.end(),
                     [](const Insert& a, const Insert& b) { return a.slot < b.slot; });
    std::vector<int> result;
    result.reserve(track.size() + inserts.size() * 2);
    std::size_t next = 0;
    for (std::size_t slot = 0; slot <= m; ++slot) {
        for (; next < inserts.size() && inserts[next].slot == slot; ++next) {
            const TrackPiece& p = pieces[inserts[next].piece];
            if (inserts[next].reversed)
                for (std::size_t i = p.end; i > p.begin; --i)
                    result.push_back(order[i - 1]);
            else
                for (std::size_t i = p.begin; i < p.end; ++i)
                    result.push_back(order[i]);
        }
        if (slot < m)
            result.push_back(track[slot]);
    }
    return result;
}

} // namespace rigel
