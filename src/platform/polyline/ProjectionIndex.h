#pragma once
// Internal: the bounding-volume tree over a chain's elements that StationAtPos searches.

namespace rigel::polyline {

class ProjectionIndex {
public:
    ProjectionIndex() = default;
};

} // namespace rigel::polyline
