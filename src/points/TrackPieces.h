#pragma once
// Pieces of track that separate walks of the point sorter produced, and their joining into one
// track.

#include <cstddef>
#include <vector>

namespace rigel {

// A run of records, order[begin] ... order[end - 1], in walk order.
struct TrackPiece {
    std::size_t begin = 0, end = 0;
    std::size_t Size() const { return end - begin; }
};

// True when the end point (ax, ay) of the links a-b and b-c is off the track: the link a-b turns
// from the direction of b-c by more than maxTurnDegrees and is longer than b-c.
bool EndTurnsOff(double ax, double ay, double bx, double by, double cx, double cy,
                 double maxTurnDegrees);

// Joins the pieces into one order: the first piece stays as it is; then, again and again, the
// piece with an end nearest to either end of the track so far (the tail on a tie) is added at
// that end, turned so that the near end meets it. xs and ys are the records' coordinates. Pieces
// are found through a k-d tree of their ends.
std::vector<int> JoinPieces(const std::vector<int>& order, const std::vector<TrackPiece>& pieces,
                            const std::vector<double>& xs, const std::vector<double>& ys);

} // namespace rigel

namespace rigel {

// Puts the records of each short piece into `track` where they make the smallest detour: between
// the track record nearest to the piece's first record and the one before or after it (or at an
// end of the track), the piece turned whichever way is shorter. Pieces found nearest to the same
// place keep their order.
std::vector<int> InsertShortPieces(const std::vector<int>& track, const std::vector<int>& order,
                                   const std::vector<TrackPiece>& pieces,
                                   const std::vector<double>& xs, const std::vector<double>& ys);

} // namespace rigel
