#include "platform/polyline/SegmentType.h"

#include <stdexcept>

SegmentType SegmentType::Make(int, double, double, std::string_view) {
    throw std::logic_error("not implemented");
}

int SegmentType::Fields(int*, double*, double*, std::string*) const {
    throw std::logic_error("not implemented");
}
