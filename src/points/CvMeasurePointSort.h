#pragma once
// Puts the points of a survey point list into track order: sorts them by coordinates, drops
// repeated points, links every point to its nearest neighbour and to its nearest neighbour on the
// far side, and walks the chain of links from one end of the track to the other. Keeps running
// totals of its sorts and can show them in a report box.
//
// A survey is never lost to a bad start or a broken link. The steps of a sort:
// 1. Presort by x, y, z; a point equal to the one before it (1e-9) is a repeat.
// 2. Link every record to its nearest and its opposite neighbour (NeighbourSearch.h).
// 3. Points off the track: records held together by mutual links (r names t as nearest or
//    opposite and t names r) form groups. Every group but the largest that has fewer than
//    kMinPiece records, or that no record outside it names, is made of measuring errors: strays
//    beside the track and clusters of them (a track point's links go to the points beside it,
//    never to a stray). So is a record with one mutual link whose link turns off the next mutual
//    link by more than kEndTurnDegrees and is longer than it (a stray beside an end of the
//    track). The records whose links could change are searched again without them, and the step
//    repeats while it finds any (at most kIsolatedPasses times).
// 4. The walk, from the first record in presorted order that lacks a link (else the record with
//    the greatest opposite distance). When it stops at a one-way link, records that have both
//    links but are named by fewer than two others, and records named by none, are measuring
//    errors; the links are searched again and the walk runs once more.
// 5. Pieces: while records are left that no walk has placed, a further walk starts at one of them
//    (a record that a placed record names, where the track goes on; else one that lacks a link;
//    else the first in presorted order); links to records placed by an earlier walk count as
//    absent. Each walk gives one piece of track.
// 6. At either end of a piece of at least kMinPiece points, an end point whose link turns by more
//    than kEndTurnDegrees from the next link and is longer than it is a measuring error (a stray
//    beside the end of the track), as long as the piece keeps three points.
// 7. The pieces are joined in track order: starting from the first walk's piece, the piece with
//    an end nearest to either end of the track so far is added there, turned as needed. Pieces
//    of fewer than kMinPiece points (other than the largest) then go in beside their nearest
//    track point, before or after it, where they make the smaller detour.
// Steps: a walk stops after 16 m + 64 steps, m the records left to place when it starts, and all
// walks together after 32 n + 64 (records un-visited by a turn-back count as steps). A walk cut
// off this way ends its piece there. Only the overall limit can leave records unplaced; their
// points are kept after the walked ones in presorted order, counted in pointsUnplaced and named in
// the trace.
//
// What the list holds afterwards: the placed points in track order, then the unplaced ones.
// Repeats and measuring errors are taken out of the list and deleted. Totals per sort:
// pointsRead += points before the sort, duplicates += repeats, measuredErrors += measuring errors,
// pointsDeleted += duplicates + measuring errors, pointsAnalyzed += points left in the list (so
// read = deleted + analysed), pointsUnplaced += points kept unplaced (part of the analysed).
//
// Cost: the presort is a stable merge sort (O(n log n), no recursion); the neighbour links come
// from a k-d tree with the scan's answers (see NeighbourSearch.h); the walks are linear in the
// number of points unless they turn back, and stop after 32 n + 64 steps whatever the input;
// pieces are joined through a k-d tree of their ends.

#include "platform/base/HovedObjekt.h"
#include "points/CvSporopPointList.h"

#include <string>
#include <vector>

namespace rigel {
// The sorter's report: "Sorting measured points:", then the five totals in its words.
std::string SortReportText(int read, int deleted, int duplicates, int errors, int analyzed);
} // namespace rigel

class CvMeasurePointSort : public HovedObjekt {
public:
    static constexpr double kTolerance = 1e-9;
    static constexpr double kNoDistance = 99999999.9;
    static constexpr std::size_t kMaxText = 255;
    static constexpr int kIsolatedPasses = 4;
    static constexpr int kMinPiece = 3;
    static constexpr double kEndTurnDegrees = 45.0;

    explicit CvMeasurePointSort(CvSporopPointList* list = nullptr) : list(list) {}
    const char* KlasseNavn() const override { return "CvMeasurePointSort"; }

    // Sorts `list` (or the list given before when null) and returns 1; -1 without a list, -2 for
    // an empty one (also recorded with ErrorKode; the totals are then unchanged).
    int Sort(CvSporopPointList* sortList, int resetTotals, int showReport);
    // Reorders the list's points by Compare, increasing when ascending is non-zero, decreasing
    // otherwise; points Compare holds equal keep their order. 1, or -1 without a list.
    int Presort(int ascending);
    // 1 when first is greater than second by x, then y, then z (tolerance 1e-9); 0 otherwise and
    // when either is missing.
    virtual int Compare(const DT_Punkt* first, const DT_Punkt* second) const;
    static int CompareCoordinates(const DT_Punkt& first, const DT_Punkt& second);

    // Copies the five totals out, in this order.
    void GetQuickSortStatus(int* read, int* deleted, int* duplicatesOut, int* errors,
                            int* analyzed) const;
    // The report's text with the running totals.
    std::string ReportText() const;

    // Takes over a sort that another sorter made (with its totals reset) as if this sorter had
    // made it as its next call without resetting: the totals are added, and the list, the last
    // index, the walk's length and the error code become this sorter's.
    void ContinueWith(const CvMeasurePointSort& next);

    int pointsRead = 0;
    int pointsDeleted = 0;
    int duplicates = 0;
    int measuredErrors = 0;
    int pointsAnalyzed = 0;
    int pointsUnplaced = 0; // running total: points kept after the walked ones (step limit)
    CvSporopPointList* list = nullptr;
    int lastIndex = 0;
    int walked = 0; // points placed in track order by the last sort

    // What the last sort judged, by rule (for the trace, tests and benchmarks).
    struct Findings {
        int isolated = 0;          // off the track before the walks (turned ends included)
        int linkErrors = 0;        // marked after a one-way link
        int shortPieces = 0;       // in pieces of fewer than kMinPiece points, put in
        int turnedEnds = 0;        // end points turning off a piece
        int pieces = 0;            // pieces joined
        int unplaced = 0;          // left unplaced by the step limit
        int turnBacksNearest = 0;  // walks turned back at a visited nearest (code 1)
        int turnBacksOpposite = 0; // walks turned back at a visited opposite (code 2)
        bool oneWay = false;       // the first walk stopped at a one-way link
        int scanFallbacks = 0;     // neighbour searches answered by the scan itself
        int walksCut = 0;          // walks stopped by their step allowance
    };
    Findings findings;

    // One record per distinct point, in presorted order.
    struct Record {
        double x, y, z;
        double nearestDistance = kNoDistance;
        double oppositeDistance = kNoDistance;
        int nearest = -1;
        int opposite = -1;
        bool visited = false;
        bool error = false;
        int piece = -1; // the walk that placed the record
        CvSporopPoint* point = nullptr;
        int listIndex = 0; // position in the presorted list
    };

private:
    struct PresortKey {
        DT_Punkt p;
        HovedObjekt* point;
    };
    int Presort(int ascending, std::vector<PresortKey>& keys);
    struct Links;
    // Walks from `start` as walk number `piece`; `out` gets the records placed, in order. Links
    // to records placed by other walks count as absent. True when a one-way link stopped it.
    bool Walk(std::vector<Record>& records, int start, int piece, int placedBefore,
              std::vector<int>& out, std::size_t& budget);
    // Marks records that no other record names; true when any was marked.
    // Records off the track (step 3 above), marked 1; `hanging` counts those beside an end.
    static std::vector<char> OffTrack(const std::vector<Record>& records, int& hanging);
    bool MarkIsolated(std::vector<Record>& records, Links& links);
    static int MarkMeasuringErrors(std::vector<Record>& records, Links& links);
    // Steps 4 to 7: the order of the placed records.
    std::vector<int> PlaceRecords(std::vector<Record>& records, Links& links);
};
