// A host of the installed library: hands it shuffled centre points with a repeat, the first one
// measured at an end of the track, has them put in track order, and prints what comes back.

#include <frame/RigelExports.h>
#include <points/CvSporopPointList.h>

#include <cstdio>
#include <string>

int main() {
    CvSporopPointList points(1);
    for (int i : {0, 3, 4, 1, 2, 2})
        points.LeggTil(new CvSporopPoint(100.0 + i, 200.0, 10.0, std::to_string(i), ""));
    rigel_ClearCoordinateLists();
    SetCenterCoordinateList(&points);
    if (!CheckCenterCoordinateList(nullptr))
        return 1;
    CvSporopPointList centre(1);
    GetCenterCoordinateList(&centre);
    int read = 0, deleted = 0, duplicates = 0, errors = 0, analyzed = 0;
    GetQuickSortStatus(&read, &deleted, &duplicates, &errors, &analyzed);
    std::printf("%d centre points, %d repeat:", centre.Antall(), duplicates);
    for (int i = 0; i < centre.Antall(); ++i)
        std::printf(" %s", centre.Punkt(i)->code.c_str());
    std::printf("\n");
    return 0;
}
