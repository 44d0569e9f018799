#pragma once
// Internal: the derived geometry of one polyline element, in the canonical plane (X easting,
// Y northing, curvature positive counter-clockwise).

namespace rigel::polyline {

class ElementGeometry {
public:
    ElementGeometry() = default;
};

} // namespace rigel::polyline
