#include "platform/polyline/CvTransElement.h"

#include <stdexcept>

const DT_Double* CvTransElement::TransStartSTA(const DT_Double*) {
    throw std::logic_error("not implemented");
}
const DT_Double* CvTransElement::TransEndSTA(const DT_Double*) {
    throw std::logic_error("not implemented");
}
void CvTransElement::SetTransition(std::shared_ptr<const CvPolyElement>, double, double, double,
                                   double, double, int, int) {
    throw std::logic_error("not implemented");
}
int CvTransElement::Turn() { throw std::logic_error("not implemented"); }
int CvTransElement::SameTransition(const CvTransElement&) const {
    throw std::logic_error("not implemented");
}
