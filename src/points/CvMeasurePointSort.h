#pragma once
// Puts the points of a survey point list into track order: sorts them by coordinates, drops
// repeated points, links every point to its nearest neighbour and to its nearest neighbour on the
// far side, and walks the chain of links from one end of the track to the other. Keeps running
// totals of its sorts and can show them in a report box.
//
// What the list holds afterwards: exactly the points the walk placed, in track order. Repeated
// points and the points the walk did not place (judged measuring errors) are taken out of the
// list and deleted. Totals per sort: pointsRead += points before the sort, duplicates += repeats
// found, measuredErrors += points neither repeated nor placed, pointsDeleted += duplicates +
// measuring errors, pointsAnalyzed += points left in the list.
//
// Cost: the presort is a stable merge sort (O(n log n), no recursion); the neighbour links come
// from a k-d tree with the same answers as the sorter's scan (see NeighbourSearch.h); the walk is
// linear in the number of points unless it has to turn back, and it is cut off after 16 n + 64
// steps so that no input can keep it going.

#include "platform/base/HovedObjekt.h"
#include "points/CvSporopPointList.h"

#include <string>
#include <vector>

class CvMeasurePointSort : public HovedObjekt {
public:
    static constexpr double kTolerance = 1e-9;
    static constexpr double kNoDistance = 99999999.9;
    static constexpr std::size_t kMaxText = 255;

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
    CvSporopPointList* list = nullptr;
    int lastIndex = 0;
    int walked = 0;

    // One record per distinct point, in presorted order.
    struct Record {
        double x, y, z;
        double nearestDistance = kNoDistance;
        double oppositeDistance = kNoDistance;
        int nearest = -1;
        int opposite = -1;
        bool visited = false;
        bool error = false;
        CvSporopPoint* point = nullptr;
        int listIndex = 0; // position in the presorted list
    };

private:
    struct PresortKey {
        DT_Punkt p;
        HovedObjekt* point;
    };
    int Presort(int ascending, std::vector<PresortKey>& keys);
    void LinkNeighbours(std::vector<Record>& records) const;
    // Walks the records; fills `order` with the walked records. True when a one-way link stopped
    // the walk.
    bool Walk(std::vector<Record>& records, std::vector<int>& order, std::size_t slots);
    static void MarkMeasuringErrors(std::vector<Record>& records);
};
