#include "frame/readers/PointTargets.h"

namespace rigel {

CodeRoutes::CodeRoutes(const LineCodes& codes) {
    auto add = [&](const DT_IntListe& list, Line line) {
        for (int i = 0; i < list.Antall(); ++i)
            lines_[list.Verdi(i)] |= line;
    };
    add(codes.left, kLeft);
    add(codes.right, kRight);
    add(codes.centre, kCentre);
}

int PlaceByCode(const RecordPoint& point, int code, const CodeRoutes& routes,
                const LinePoints& points, bool zeroIsCentre) {
    int placed = 0;
    auto place = [&](CvSporopPointList& list) {
        list.Append(std::make_unique<CvSporopPoint>(
            point.x, point.y, point.z, std::string(point.code), std::string(point.description)));
        ++placed;
    };
    const unsigned lines = routes.Lines(code);
    if (lines & CodeRoutes::kLeft)
        place(points.left);
    if (lines & CodeRoutes::kRight)
        place(points.right);
    if ((lines & CodeRoutes::kCentre) || (zeroIsCentre && code == 0))
        place(points.centre);
    return placed;
}

} // namespace rigel
