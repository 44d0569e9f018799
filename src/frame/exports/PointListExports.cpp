// Exports that work on the library state's point and code lists, and the older callers' tables.

#include <climits>

#include "frame/ExportGuard.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"

using rigel::GuardExport;
using rigel::State;

int GetCenterCoordinateList(CvSporopPointList* list) {
    return GuardExport("GetCenterCoordinateList", 0, [&] {
        if (list == nullptr)
            return 0;
        list->CopyPointsFrom(State().CenterPoints);
        list->unitWord = State().CenterPoints.unitWord;
        return list->Antall() > 0 ? 1 : 0;
    });
}

int SetCenterCoordinateList(CvSporopPointList* list) {
    return GuardExport("SetCenterCoordinateList", 1, [&] {
        if (list == nullptr)
            State().CenterPoints.SlettAlleIListen(1);
        else
            State().CenterPoints.CopyPointsFrom(*list);
        return 1;
    });
}

void GetQuickSortStatus(int* read, int* deleted, int* duplicates, int* errors, int* analyzed) {
    GuardExport("GetQuickSortStatus", [&] {
        State().PointSorter.GetQuickSortStatus(read, deleted, duplicates, errors, analyzed);
    });
}

bool rigel_ClearCoordinateLists() {
    return GuardExport("rigel_ClearCoordinateLists", true, [] {
        State().CenterPoints.SlettAlleIListen(1);
        State().RightRailPoints.SlettAlleIListen(1);
        State().LeftRailPoints.SlettAlleIListen(1);
        return true;
    });
}

bool rigel_IsCoordinatesLoaded() {
    return GuardExport("rigel_IsCoordinatesLoaded", false,
                       [] { return State().CenterPoints.Antall() > 0; });
}

bool rigel_ClearFeatureCodesLists() {
    return GuardExport("rigel_ClearFeatureCodesLists", true, [] {
        State().CenterCodes.SlettAlleIListen(1);
        State().LeftRailCodes.SlettAlleIListen(1);
        State().RightRailCodes.SlettAlleIListen(1);
        return true;
    });
}

bool rigel_IsFeatureCodesLoaded() {
    return GuardExport("rigel_IsFeatureCodesLoaded", false,
                       [] { return State().CenterCodes.Antall() > 0; });
}

// Hands the centre points out one by one: mode 1 starts at the first point, mode 2 moves on.
// status: 0 a point was delivered, 1 past the end (x, y, z untouched), 2 no centre points.
void GETKOF(int* mode, int* unused, double* x, double* y, double* z, int* status) {
    GuardExport("GETKOF", [&] {
        if (!mode || !unused || !x || !y || !z || !status || (*mode != 1 && *mode != 2))
            return;
        *status = 0;
        CvSporopPointList& points = State().CenterPoints;
        if (points.Antall() == 0) {
            *status = 2;
            return;
        }
        int& cursor = State().KofCursor;
        if (*mode == 1) {
            cursor = 0;
        } else {
            // Past the end the cursor goes on growing; only mode 1 starts again. Saturate rather
            // than overflow on a caller that never stops.
            if (cursor < INT_MAX)
                ++cursor;
            if (cursor >= points.Antall()) {
                *status = 1;
                return;
            }
        }
        if (const auto* p = static_cast<const CvSporopPoint*>(points.Aktiver(cursor))) {
            *x = p->x();
            *y = p->y();
            *z = p->z();
        }
    });
}

void GETHAS(int* mode, int* table, int* count) {
    GuardExport("GETHAS", [&] {
        if (mode == nullptr || count == nullptr || *mode != 1)
            return;
        for (int i = 0; i < 17; ++i) {
            table[3 * i] = 17 + i;
            table[3 * i + 1] = 34 + i;
            table[3 * i + 2] = 68 + i;
        }
        *count = 17;
    });
}

void GETPAR(int*, int* result) {
    if (result != nullptr)
        *result = 1;
}

void TITAB() {}

void VPTAB() {}
