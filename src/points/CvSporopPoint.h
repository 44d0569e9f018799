#pragma once
// A measured or derived track point: plan and height coordinates with the values that the
// analysis attaches (station, direction, curvatures, cant, texts).

#include "platform/base/CompactText.h"
#include "platform/base/DT_Punkt.h"

#include <cstddef>
#include <string_view>

class CvSporopPoint : public DT_Punkt {
public:
    // Cant of a point without cant information; also the ceiling of a stored cant.
    static constexpr int kNoCant = 999;

    CvSporopPoint() = default;
    explicit CvSporopPoint(const DT_Punkt& p);
    CvSporopPoint(const CvSporopPoint& other);
    CvSporopPoint(double x, double y, double z, std::string_view code,
                  std::string_view description);
    CvSporopPoint(const DT_Punkt& p, int cant, std::string_view code, std::string_view description);
    CvSporopPoint& operator=(const CvSporopPoint& other);
    ~CvSporopPoint() override = default;

    // A point is allocated on its own or, by a list's AppendBlock, in a block with many others;
    // either kind is deleted the same way (a point of a block releases its share of the block).
    static void* operator new(std::size_t size);
    static void operator delete(void* p) noexcept;

    // Takes the coordinates and every field except mark, which becomes 0.
    void CopyFrom(const CvSporopPoint& other);
    // Every field back to its default, then the coordinates, cant and texts given.
    void Reset(const DT_Punkt& p, int cant, std::string_view code, std::string_view description);

    double profile = 0.0;
    double curvature = 0.0;
    double curvature7 = 0.0;
    double verticalCurvature = 0.0;
    int mark = 0;
    double direction = 0.0;
    double curvature3 = 0.0;
    int cant = kNoCant;
    int ignored = 0;
    double length = 0.0;
    // Texts in 16 bytes each (CompactText.h): a survey is hundreds of thousands of points.
    rigel::CompactText code;
    rigel::CompactText description;

private:
    void ResetFields();
};
