#pragma once
// Puts the points of a survey point list into track order and keeps running totals of its sorts.
// The sorting itself is not part of this build yet: only the totals and their read-out exist.

#include "platform/base/HovedObjekt.h"
#include "points/CvSporopPointList.h"

class CvMeasurePointSort : public HovedObjekt {
public:
    explicit CvMeasurePointSort(CvSporopPointList* list = nullptr) : list(list) {}
    const char* KlasseNavn() const override { return "CvMeasurePointSort"; }

    // Copies the five totals out, in this order.
    void GetQuickSortStatus(int* read, int* deleted, int* duplicatesOut, int* errors,
                            int* analyzed) const;

    int pointsRead = 0;
    int pointsDeleted = 0;
    int duplicates = 0;
    int measuredErrors = 0;
    int pointsAnalyzed = 0;
    CvSporopPointList* list = nullptr;
    int lastIndex = 0;
    int walked = 0;
};
