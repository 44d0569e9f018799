#pragma once
// One element of a horizontal (or vertical) alignment: a straight line, a circular arc or a
// transition curve (clothoid: curvature linear in length, between any two radii, through an
// inflection when their signs differ).
//
// Data. An element is defined by its start point, end point, start and end radius, length and
// start and end station, the way the trolley reader and the LandXML import build it. Its type
// follows from the radii (ElementType()). TransParameter and ElementNumber are stored values that
// the geometry does not use.
//
// Conventions (see docs/formats.md and the design note):
// - Plan coordinates: in frame 1 (the default) x is the northing and y the easting; in frame 2
//   (after SubstituteXYCoord) x is the easting and y the northing. The frame changes only how the
//   numbers are stored: the element is the same curve in the field, its radii keep their signs and
//   every result below is about that same curve, with points in the element's current frame.
// - Radii are signed: positive curves to the right (clockwise seen from above), negative to the
//   left, 0 is straight. Curvature is 1/radius with the same sign (0 for straight).
// - Directions (PosAtStation, StationAtPos) are the mathematical angle of the direction of travel
//   in the plane of (easting, northing): counter-clockwise from east, atan2(dnorth, deast), so
//   that pi/2 minus it is the azimuth (north 0, east pi/2).
// - Offsets are positive to the right of the direction of travel.
// - Length is used by its absolute value. A station s maps linearly onto the curve: the start
//   station to the start point, the end station to the end point.
//
// Geometry. The curve is the line, arc or clothoid of the element's radii and length, placed so
// that it starts at the start point and ends exactly at the end point: its shape (from the radii
// and the length) is turned, and scaled by the ratio of the chord lengths, onto the chord from the
// start point to the end point. For consistent data the scale is 1 to rounding; for rounded data
// (a file with millimetres) positions stay continuous from element to element. An element whose
// shape has no chord (a full circle, a zero length) cannot be placed: its evaluations fail.
//
// Accessors follow the base component: an optional pointer to a new value; the stored value object
// is returned. The returned objects are read-only because the element keeps derived geometry that
// follows its data: change values through the argument (or the Set... helpers).
//
// Private data (PrivateData): a pointer the element keeps for its owner (the project file hangs a
// NADB segment on each input element). PrivateData(object, 0) keeps the object without owning it:
// the caller keeps it alive while the element refers to it. PrivateData(object, 1) hands it over:
// the element deletes it when the last element holding it goes (copies of the element share it).
//
// Not thread-safe: an element builds its derived geometry on first use.

#include "platform/base/DT_Double.h"
#include "platform/base/DT_Punkt.h"
#include "platform/base/HovedObjekt.h"
#include "platform/base/Streng.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace rigel::polyline {
class ElementGeometry;
}

namespace rigel::klasse {
inline constexpr int PolyLine = 101;
inline constexpr int PolyElement = 102;
} // namespace rigel::klasse

class CvPolyElement : public HovedObjekt {
public:
    // Element types reported by ElementType(). 4 never results from the data; where a type is
    // read from outside (a file), 4 is taken as an arc.
    enum Type { kLine = 1, kArc = 2, kTransition = 3, kArcAlias = 4 };
    // Radii of at most this magnitude are straight; radii closer than this are equal.
    static constexpr double kRadiusTolerance = 1e-9;
    // Stations within this distance outside the element still belong to it (PosAtStation).
    static constexpr double kStationTolerance = 1e-9;

    CvPolyElement();
    CvPolyElement(const DT_Punkt& start, const DT_Punkt& end, double startRadius, double endRadius,
                  double length, double startSTA, double endSTA, int elementNumber = 0);
    // Copies every value, the frame and the private data (shared, see above).
    CvPolyElement(const CvPolyElement& other);
    CvPolyElement& operator=(const CvPolyElement& other);
    ~CvPolyElement() override;

    const char* KlasseNavn() const override { return "CvPolyElement"; }
    int KlasseType() const override { return rigel::klasse::PolyElement; }

    // A new copy of the same class (a derived class overrides it so that copies of a chain keep
    // their classes and own fields). The caller owns the result.
    virtual CvPolyElement* Clone() const;

    // 1 line (both radii 0), 2 arc (equal radii), 3 transition curve, from the radii with
    // kRadiusTolerance.
    int ElementType() const;
    static int TypeFromRadii(double startRadius, double endRadius);

    // --- accessors (argument sets; the stored value is returned)
    const DT_Punkt* StartPoint(const DT_Punkt* newValue = nullptr);
    const DT_Punkt* EndPoint(const DT_Punkt* newValue = nullptr);
    const DT_Double* StartSTA(const DT_Double* newValue = nullptr);
    const DT_Double* EndSTA(const DT_Double* newValue = nullptr);
    const DT_Double* Length(const DT_Double* newValue = nullptr);
    const DT_Double* StartRadius(const DT_Double* newValue = nullptr);
    const DT_Double* EndRadius(const DT_Double* newValue = nullptr);
    const DT_Double* TransParameter(const DT_Double* newValue = nullptr);
    const DT_Int* ElementNumber(const DT_Int* newValue = nullptr);
    // Reading on a const element.
    const DT_Punkt* StartPoint() const { return &start_; }
    const DT_Punkt* EndPoint() const { return &end_; }
    const DT_Double* StartSTA() const { return &startSTA_; }
    const DT_Double* EndSTA() const { return &endSTA_; }
    const DT_Double* Length() const { return &length_; }
    const DT_Double* StartRadius() const { return &startRadius_; }
    const DT_Double* EndRadius() const { return &endRadius_; }
    const DT_Double* TransParameter() const { return &transParameter_; }
    const DT_Int* ElementNumber() const { return &elementNumber_; }

    // Setting by value.
    void SetStartPoint(double x, double y, double z = 0.0);
    void SetEndPoint(double x, double y, double z = 0.0);
    void SetStartSTA(double value);
    void SetEndSTA(double value);
    void SetLength(double value);
    void SetStartRadius(double value);
    void SetEndRadius(double value);
    void SetTransParameter(double value);
    void SetElementNumber(int value);

    // Builds the element from its start point, the direction of travel there (the mathematical
    // angle, as PosAtStation reports it), the radii, the length and the start station: the end
    // point follows from the curve, EndSTA = startSTA + |length|, TransParameter = sqrt(L / k) for
    // a transition (k the change of curvature, 0 when none), frame 1. 1 on success, 0 for a
    // length that is not finite or negative, or non-finite values (the element is then unchanged).
    int InitFromStart(const DT_Punkt& start, double direction, double startRadius, double endRadius,
                      double length, double startSTA, int elementNumber = 0);

    // --- frames
    // 1 (x northing, y easting) or 2 (x easting, y northing).
    int Frame() const { return frame_; }
    // Swaps x and y of both points and switches the frame; the curve stays the same. 1.
    virtual int SubstituteXYCoord();
    // mode 1: expresses the element in `frame` (1 or 2), swapping its coordinates when it is in
    // the other one. mode 0: declares that the stored numbers are already in `frame` (nothing is
    // swapped; use it for numbers read from a source that is known to be in that frame). 1 on
    // success, 0 for a frame or mode other than those.
    virtual int MapCoord(int frame, int mode);

    // --- geometry
    // Point (in the element's frame; z interpolated linearly between the end points' heights),
    // direction and curvature at a station, shifted by offset to the right of the direction of
    // travel. 1 when the station lies on the element (kStationTolerance), else 0 and nothing set.
    int PosAtStation(double station, DT_Punkt* point, DT_Double* direction = nullptr,
                     DT_Double* curvature = nullptr, double offset = 0.0) const;
    // Projects a point (its x and y, in the element's frame) onto the element: the station of the
    // nearest point of the curve, the signed offset (right positive), the direction there and
    // that foot point. 1 when the foot lies on the element; 0 when the nearest point is an end of
    // the element and the point lies beyond that end (the perpendicular does not meet the
    // element), or when the element cannot be placed; outputs are set only on 1.
    // The nearest point is exact for points nearer to the curve than its smallest radius.
    int StationAtPos(const DT_Punkt& pos, DT_Double* station, DT_Double* offset = nullptr,
                     DT_Double* direction = nullptr, DT_Punkt* foot = nullptr) const;
    // The centre of an arc (in the element's frame, z of the start point). 1, or 0 when the
    // element is not an arc (or cannot be placed) and centre is untouched.
    int ArcCenter(DT_Punkt* centre) const;
    // The length that the start point, end point and radii imply: the chord for a line; for an arc
    // the arc through both points (the longer one when the stored |Length| exceeds a half circle);
    // for a transition the length whose clothoid has the chord between the two points. With
    // setLength non-zero the result becomes Length (stations unchanged). Returns the length, or
    // -1 when none exists (an arc whose chord exceeds its diameter, a transition that cannot
    // reach) and nothing is set.
    double CalcLength(int setLength = 1);

    // Reverses the direction of travel: swaps start and end points, the radii become -EndRadius
    // and -StartRadius, the stations -EndSTA and -StartSTA (so that they still increase along
    // the element). 1.
    virtual int Turn();

    // 1 when every value (points with height, stations, length, radii, transition parameter,
    // element number, frame) differs by at most tolerance; the class and private data are not
    // compared.
    int Equal(const CvPolyElement& other, double tolerance = 0.0) const;

    // --- private data (see above)
    // With an object: keeps it (takeOwnership 1: owned) and returns it. With null: returns the
    // current object (null when none).
    HovedObjekt* PrivateData(HovedObjekt* object = nullptr, int takeOwnership = 0);
    HovedObjekt* PrivateData() const { return privateData_.get(); }
    void ClearPrivateData() { privateData_.reset(); }

    // --- tier-table lines (docs/formats.md, "Tier-table element lines")
    // The two lines of the element in tier-table format `format` (only 11 is known). precision 0
    // writes every number so that it reads back as the same double; n > 0 writes n decimals. 1, or
    // 0 for another format, a null line or a value that is not finite (nothing written).
    int GetLinesTIT(Streng* line1, Streng* line2, int format, int precision = 0) const;
    // The counterpart: sets the element from two lines written by GetLinesTIT. 1 on success (the
    // element then equals the written one, value for value); 0 for an unknown format or lines that
    // do not have the layout, with the reason in *reason when reason is not null (the element is
    // then unchanged).
    int InitFromLinesTIT(std::string_view line1, std::string_view line2, int format,
                         std::string* reason = nullptr);
    // The element's record of the line file (docs/formats.md, "Line file (LIN, DAT)"): one line,
    // no line end. precision 0 writes every number so that it reads back to the same double; n > 0
    // writes n decimals. 1, or 0 for a null line.
    int GetLinesLIN(Streng* line, int precision = 0) const;

    // Increases whenever a value of this element changes; lets owners of derived data (the chain's
    // index) notice edits.
    std::uint64_t Version() const { return version_; }
    // Changes with every edit of any element anywhere (never decreases).
    static std::uint64_t GlobalEditCount();

    // The derived geometry (internal: used by the chain).
    const rigel::polyline::ElementGeometry& Geometry() const;

protected:
    // Called after every change of a value; derived classes that cache data may extend it.
    virtual void Changed();

private:
    DT_Punkt start_;
    DT_Punkt end_;
    DT_Double startSTA_;
    DT_Double endSTA_;
    DT_Double length_;
    DT_Double startRadius_;
    DT_Double endRadius_;
    DT_Double transParameter_;
    DT_Int elementNumber_;
    int frame_ = 1;
    std::shared_ptr<HovedObjekt> privateData_;
    std::uint64_t version_ = 0;
    mutable std::unique_ptr<rigel::polyline::ElementGeometry> geometry_;
};
