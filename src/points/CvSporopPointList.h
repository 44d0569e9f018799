#pragma once
// The owning list of survey points, with the analysis operations that derive stations,
// directions and curvatures from the points' coordinates and order, and the cleaning operations
// that drop points whose derived values jump. The list is expected to be in track order.
//
// The analysis operations read and write points by index (O(1)) and do not move the cursor; the
// cleaning operations leave the first point active when they removed any. Every operation is one
// or two passes over the list.

#include "platform/base/DT_Double.h"
#include "platform/base/DT_Nodeliste.h"
#include "points/CvSporopPoint.h"
#include "points/PointBlock.h"

#include <cstddef>

class CvPolyLine;

class CvSporopPointList : public DT_Nodeliste {
public:
    // Coordinate unit of the points: 1 metres, 2 feet.
    static constexpr int kMetres = 1;
    static constexpr int kFeet = 2;

    // Fields written by UpdateCurvaturesByCircles.
    static constexpr int kTargetCurvature = 1;
    static constexpr int kTargetCurvature7 = 2;
    static constexpr int kTargetCurvature3 = 3;
    static constexpr int kTargetVerticalCurvature = 4;

    explicit CvSporopPointList(int owner = 1) : DT_Nodeliste(owner) {}
    ~CvSporopPointList() override = default;
    const char* KlasseNavn() const override { return "CvSporopPointList"; }

    CvSporopPoint* Punkt(int index) const { return static_cast<CvSporopPoint*>(Objekt(index)); }
    CvSporopPoint* AktivPunkt() const { return static_cast<CvSporopPoint*>(Aktiv()); }

    // Appends count default points, each then set by fill(point) in order, all allocated in one
    // block (PointBlock.h): for readers that append hundreds of thousands of points at once.
    template <typename Fill> void AppendBlock(std::size_t count, Fill fill) {
        Reserve(static_cast<std::size_t>(Antall()) + count);
        rigel::PointBlock block(count);
        for (std::size_t i = 0; i < count; ++i) {
            CvSporopPoint* point = block.Construct();
            LeggTil(point); // cannot fail after the reserve: the list now owns the point
            fill(*point);
        }
    }

    // Empties this list and appends a copy of every point of source, in order.
    void CopyPointsFrom(const CvSporopPointList& source);

    // Curvatures are reciprocal signed radii: positive where the middle point of a circle lies
    // to the right of the chord through the outer two (x north, y east; for the vertical
    // curvature, above the chord in the plane of station and height).

    // curvature from the circle through each point and its direct neighbours.
    virtual int UpdateCurvatures();
    // curvature7 from the circle through each point and the points three places either side.
    virtual int UpdateCurvatures7();
    // Writes the reciprocal mean signed radius of the circles selected by mask (1: neighbours,
    // 2: two places either side, 4: three places either side) into the field chosen by target
    // (kTarget...). Returns 0 without changes for fewer than seven points or an unknown target.
    virtual int UpdateCurvaturesByCircles(int mask, int target);
    // verticalCurvature from the height profile (z against profile).
    virtual int UpdateVerticalCurvatures();
    // length (and profile when setProfiles is set) as plan distance accumulated from start (0
    // when null), or from the first point's profile when keepFirstProfile is set. Returns 1
    // without changes for fewer than two points, else 0.
    virtual int UpdateDefaultStationing(int setProfiles, const DT_Double* start,
                                        int keepFirstProfile);
    // profile of every point by projection onto the alignment (its ends not extended); a point
    // that does not project (or a null alignment) keeps its profile and gets ignored = 1. Runs
    // the default stationing first, so every length is set and the first point's profile is
    // 0 unless it projects. Traces each point. Returns 1.
    virtual int UpdateProfiles(CvPolyLine* alignment);
    // Replaces each direction by the weighted angle of the curve (profile, direction).
    virtual void RecomputeDirections();
    // direction as the accumulated signed change of the track's bearing (negative turning
    // right), 0 at the second point; then RecomputeDirections when recompute is set.
    virtual void UpdateDirections(int recompute);
    // direction as the bearing of the chord arriving at each point, without jumps at +-pi.
    virtual void UpdateChordDirections();
    // Deletes points whose curvature7 stands out of its seven-point neighbourhood.
    virtual void RemoveCurvature7Outliers();
    // Deletes points reached by a rise of curvature7 steeper than 5e-5 per metre of station.
    // Returns the number deleted.
    virtual int RemoveCurvature7Jumps();
    // Deletes points reached by a change of direction steeper than 1 / minRadius per metre of
    // station. Returns the number deleted.
    virtual int RemoveDirectionJumps(double minRadius);

    int unitWord = kMetres;
};
