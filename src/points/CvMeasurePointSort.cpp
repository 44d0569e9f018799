#include "points/CvMeasurePointSort.h"

void CvMeasurePointSort::GetQuickSortStatus(int* read, int* deleted, int* duplicatesOut,
                                            int* errors, int* analyzed) const {
    if (read)
        *read = pointsRead;
    if (deleted)
        *deleted = pointsDeleted;
    if (duplicatesOut)
        *duplicatesOut = duplicates;
    if (errors)
        *errors = measuredErrors;
    if (analyzed)
        *analyzed = pointsAnalyzed;
}
