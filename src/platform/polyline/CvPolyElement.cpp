#include "platform/polyline/CvPolyElement.h"

#include "platform/polyline/ElementGeometry.h"

#include <atomic>
#include <stdexcept>

namespace {
std::atomic<std::uint64_t> gEditCount{0};
}

CvPolyElement::CvPolyElement() { Changed(); }

CvPolyElement::CvPolyElement(const DT_Punkt& start, const DT_Punkt& end, double startRadius,
                             double endRadius, double length, double startSTA, double endSTA,
                             int elementNumber)
    : start_(start), end_(end), startSTA_(startSTA), endSTA_(endSTA), length_(length),
      startRadius_(startRadius), endRadius_(endRadius), elementNumber_(elementNumber) {
    Changed();
}

CvPolyElement::CvPolyElement(const CvPolyElement& other)
    : HovedObjekt(other), start_(other.start_), end_(other.end_), startSTA_(other.startSTA_),
      endSTA_(other.endSTA_), length_(other.length_), startRadius_(other.startRadius_),
      endRadius_(other.endRadius_), transParameter_(other.transParameter_),
      elementNumber_(other.elementNumber_), frame_(other.frame_),
      privateData_(other.privateData_) {
    Changed();
}

CvPolyElement& CvPolyElement::operator=(const CvPolyElement& other) {
    if (this == &other)
        return *this;
    HovedObjekt::operator=(other);
    start_ = other.start_;
    end_ = other.end_;
    startSTA_ = other.startSTA_;
    endSTA_ = other.endSTA_;
    length_ = other.length_;
    startRadius_ = other.startRadius_;
    endRadius_ = other.endRadius_;
    transParameter_ = other.transParameter_;
    elementNumber_ = other.elementNumber_;
    frame_ = other.frame_;
    privateData_ = other.privateData_;
    Changed();
    return *this;
}

CvPolyElement::~CvPolyElement() = default;

CvPolyElement* CvPolyElement::Clone() const { return new CvPolyElement(*this); }

std::uint64_t CvPolyElement::GlobalEditCount() { return gEditCount.load(std::memory_order_relaxed); }

void CvPolyElement::Changed() {
    version_ = gEditCount.fetch_add(1, std::memory_order_relaxed) + 1;
    geometry_.reset();
}

int CvPolyElement::TypeFromRadii(double startRadius, double endRadius) {
    if (std::abs(startRadius) <= kRadiusTolerance && std::abs(endRadius) <= kRadiusTolerance)
        return kLine;
    if (std::abs(startRadius - endRadius) <= kRadiusTolerance)
        return kArc;
    return kTransition;
}

int CvPolyElement::ElementType() const { return TypeFromRadii(startRadius_.Get(), endRadius_.Get()); }

#define RIGEL_ACCESSOR(Name, Type, field)                                                          \
    const Type* CvPolyElement::Name(const Type* newValue) {                                        \
        if (newValue != nullptr) {                                                                 \
            field.Init(newValue->Get());                                                           \
            Changed();                                                                             \
        }                                                                                          \
        return &field;                                                                             \
    }
RIGEL_ACCESSOR(StartSTA, DT_Double, startSTA_)
RIGEL_ACCESSOR(EndSTA, DT_Double, endSTA_)
RIGEL_ACCESSOR(Length, DT_Double, length_)
RIGEL_ACCESSOR(StartRadius, DT_Double, startRadius_)
RIGEL_ACCESSOR(EndRadius, DT_Double, endRadius_)
RIGEL_ACCESSOR(TransParameter, DT_Double, transParameter_)
RIGEL_ACCESSOR(ElementNumber, DT_Int, elementNumber_)
#undef RIGEL_ACCESSOR

const DT_Punkt* CvPolyElement::StartPoint(const DT_Punkt* newValue) {
    if (newValue != nullptr) {
        start_.Init(*newValue);
        Changed();
    }
    return &start_;
}

const DT_Punkt* CvPolyElement::EndPoint(const DT_Punkt* newValue) {
    if (newValue != nullptr) {
        end_.Init(*newValue);
        Changed();
    }
    return &end_;
}

void CvPolyElement::SetStartPoint(double x, double y, double z) {
    start_.Init(x, y, z);
    Changed();
}
void CvPolyElement::SetEndPoint(double x, double y, double z) {
    end_.Init(x, y, z);
    Changed();
}
void CvPolyElement::SetStartSTA(double value) {
    startSTA_.Init(value);
    Changed();
}
void CvPolyElement::SetEndSTA(double value) {
    endSTA_.Init(value);
    Changed();
}
void CvPolyElement::SetLength(double value) {
    length_.Init(value);
    Changed();
}
void CvPolyElement::SetStartRadius(double value) {
    startRadius_.Init(value);
    Changed();
}
void CvPolyElement::SetEndRadius(double value) {
    endRadius_.Init(value);
    Changed();
}
void CvPolyElement::SetTransParameter(double value) {
    transParameter_.Init(value);
    Changed();
}
void CvPolyElement::SetElementNumber(int value) {
    elementNumber_.Init(value);
    Changed();
}

int CvPolyElement::InitFromStart(const DT_Punkt&, double, double, double, double, double, int) {
    throw std::logic_error("not implemented");
}
int CvPolyElement::SubstituteXYCoord() { throw std::logic_error("not implemented"); }
int CvPolyElement::MapCoord(int, int) { throw std::logic_error("not implemented"); }
int CvPolyElement::PosAtStation(double, DT_Punkt*, DT_Double*, DT_Double*, double) const {
    throw std::logic_error("not implemented");
}
int CvPolyElement::StationAtPos(const DT_Punkt&, DT_Double*, DT_Double*, DT_Double*,
                                DT_Punkt*) const {
    throw std::logic_error("not implemented");
}
int CvPolyElement::ArcCenter(DT_Punkt*) const { throw std::logic_error("not implemented"); }
double CvPolyElement::CalcLength(int) { throw std::logic_error("not implemented"); }
int CvPolyElement::Turn() { throw std::logic_error("not implemented"); }
int CvPolyElement::Equal(const CvPolyElement&, double) const {
    throw std::logic_error("not implemented");
}
HovedObjekt* CvPolyElement::PrivateData(HovedObjekt*, int) {
    throw std::logic_error("not implemented");
}
int CvPolyElement::GetLinesTIT(Streng*, Streng*, int) const {
    throw std::logic_error("not implemented");
}
int CvPolyElement::InitFromLinesTIT(std::string_view, std::string_view, int, std::string*) {
    throw std::logic_error("not implemented");
}
int CvPolyElement::GetLinesLIN(Streng*, int) const { throw std::logic_error("not implemented"); }
const rigel::polyline::ElementGeometry& CvPolyElement::Geometry() const {
    throw std::logic_error("not implemented");
}
