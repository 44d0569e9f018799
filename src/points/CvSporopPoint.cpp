#include "points/CvSporopPoint.h"

#include "points/PointBlock.h"

#include <new>
#include <utility>

void* CvSporopPoint::operator new(std::size_t size) {
    return ::operator new(size);
}

void CvSporopPoint::operator delete(void* p) noexcept {
    if (!rigel::ReleaseBlockPoint(p))
        ::operator delete(p);
}

CvSporopPoint::CvSporopPoint(const DT_Punkt& p) {
    Init(p);
}

CvSporopPoint::CvSporopPoint(const CvSporopPoint& other) : DT_Punkt() {
    CopyFrom(other);
}

CvSporopPoint::CvSporopPoint(double x, double y, double z, std::string_view code_,
                             std::string_view description_)
    : DT_Punkt(x, y, z), code(code_), description(description_) {}

CvSporopPoint::CvSporopPoint(const DT_Punkt& p, int cant_, std::string_view code_,
                             std::string_view description_)
    : cant(cant_), code(code_), description(description_) {
    Init(p);
}

CvSporopPoint& CvSporopPoint::operator=(const CvSporopPoint& other) {
    if (this != &other)
        CopyFrom(other);
    return *this;
}

void CvSporopPoint::ResetFields() {
    profile = curvature = curvature7 = verticalCurvature = 0.0;
    mark = 0;
    direction = curvature3 = 0.0;
    cant = kNoCant;
    ignored = 0;
    length = 0.0;
    code.clear();
    description.clear();
}

void CvSporopPoint::CopyFrom(const CvSporopPoint& other) {
    if (this == &other) {
        mark = 0;
        return;
    }
    Init(other);
    profile = other.profile;
    curvature = other.curvature;
    curvature7 = other.curvature7;
    verticalCurvature = other.verticalCurvature;
    mark = 0;
    direction = other.direction;
    curvature3 = other.curvature3;
    cant = other.cant;
    ignored = other.ignored;
    length = other.length;
    code = other.code;
    description = other.description;
}

void CvSporopPoint::Reset(const DT_Punkt& p, int cant_, std::string_view code_,
                          std::string_view description_) {
    // The texts may be this point's own.
    rigel::CompactText newCode(code_), newDescription(description_);
    ResetFields();
    Init(p);
    cant = cant_;
    code = std::move(newCode);
    description = std::move(newDescription);
}
