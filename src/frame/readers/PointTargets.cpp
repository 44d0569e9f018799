#include "frame/readers/PointTargets.h"

namespace rigel {

int PlaceByCode(const RecordPoint& point, int code, const LineCodes& codes,
                const LinePoints& points, bool zeroIsCentre) {
    int placed = 0;
    auto place = [&](CvSporopPointList& list) {
        list.LeggTil(new CvSporopPoint(point.x, point.y, point.z, std::string(point.code),
                                       std::string(point.description)));
        ++placed;
    };
    if (codes.left.Finnes(code))
        place(points.left);
    if (codes.right.Finnes(code))
        place(points.right);
    if (codes.centre.Finnes(code) || (zeroIsCentre && code == 0))
        place(points.centre);
    return placed;
}

} // namespace rigel
