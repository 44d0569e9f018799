#include "platform/polyline/CvPolyLine.h"

#include "platform/polyline/ProjectionIndex.h"

#include <stdexcept>

CvPolyLine::CvPolyLine(int owner) : DT_Nodeliste(owner) {}
CvPolyLine::~CvPolyLine() = default;

CvPolyElement* CvPolyLine::AsElement(HovedObjekt* object) {
    return dynamic_cast<CvPolyElement*>(object);
}

void CvPolyLine::StructureChanged() {
    ++structureVersion_;
    index_.reset();
    hint_ = -1;
}
void CvPolyLine::InvalidateIndex() { StructureChanged(); }

int CvPolyLine::AddElement(CvPolyElement* element) { return LeggTil(element); }
CvPolyElement* CvPolyLine::HeadElem() const { return AsElement(Forste()); }
CvPolyElement* CvPolyLine::TailElem() const { return AsElement(Siste()); }
CvPolyElement* CvPolyLine::ActiveElem() const { return AsElement(Aktiv()); }
CvPolyElement* CvPolyLine::Element(int index) const { return AsElement(Objekt(index)); }
CvPolyElement* CvPolyLine::ActivateHead() { return AsElement(AktiverForste()); }
CvPolyElement* CvPolyLine::ActivateNext() { return AsElement(AktiverNeste()); }
CvPolyElement* CvPolyLine::ActivatePrev() { return AsElement(AktiverForrige()); }
CvPolyElement* CvPolyLine::ActivateTail() { return AsElement(AktiverSiste()); }
CvPolyElement* CvPolyLine::ActivateIndex(int index) { return AsElement(Aktiver(index)); }
CvPolyElement* CvPolyLine::ActivateElem(const CvPolyElement*) {
    throw std::logic_error("not implemented");
}

int CvPolyLine::LeggTil(HovedObjekt* object) {
    if (AsElement(object) == nullptr)
        return 0;
    StructureChanged();
    return DT_Nodeliste::LeggTil(object);
}
int CvPolyLine::Insert(HovedObjekt* object) {
    if (AsElement(object) == nullptr)
        return 0;
    StructureChanged();
    return DT_Nodeliste::Insert(object);
}
HovedObjekt* CvPolyLine::TaUtAktiv() {
    StructureChanged();
    return DT_Nodeliste::TaUtAktiv();
}
int CvPolyLine::SlettAktiv() {
    StructureChanged();
    return DT_Nodeliste::SlettAktiv();
}
int CvPolyLine::SlettObjekt(HovedObjekt* object) {
    StructureChanged();
    return DT_Nodeliste::SlettObjekt(object);
}
int CvPolyLine::SlettAlleIListen(int deleteObjects) {
    StructureChanged();
    return DT_Nodeliste::SlettAlleIListen(deleteObjects);
}
int CvPolyLine::Sorter(int ascending) {
    StructureChanged();
    return DT_Nodeliste::Sorter(ascending);
}

const rigel::polyline::ProjectionIndex& CvPolyLine::Index() {
    throw std::logic_error("not implemented");
}
int CvPolyLine::Fail(int, std::string) { throw std::logic_error("not implemented"); }

int CvPolyLine::StationAtPos(const DT_Punkt&, DT_Double*, DT_Double*, CvPolyElement**, DT_Double*,
                             DT_Punkt*, int, int) {
    throw std::logic_error("not implemented");
}
int CvPolyLine::PosAtStation(double, DT_Punkt*, DT_Double*, CvPolyElement**, DT_Double*, double) {
    throw std::logic_error("not implemented");
}
int CvPolyLine::ResetSTA(double) { throw std::logic_error("not implemented"); }
int CvPolyLine::ResetSTA() { throw std::logic_error("not implemented"); }
int CvPolyLine::StationRange(double*, double*) const { throw std::logic_error("not implemented"); }
int CvPolyLine::Turn(int) { throw std::logic_error("not implemented"); }
int CvPolyLine::Copy(const CvPolyLine*) { throw std::logic_error("not implemented"); }
int CvPolyLine::SubstituteXYCoord() { throw std::logic_error("not implemented"); }
int CvPolyLine::MapCoord(int, int) { throw std::logic_error("not implemented"); }
int CvPolyLine::TransCurves2Arcs() { throw std::logic_error("not implemented"); }
int CvPolyLine::Arcs2TransCurves() { throw std::logic_error("not implemented"); }
int CvPolyLine::InitFrom_TIT_File(const char*, int, int, const CvPolyLine*) {
    throw std::logic_error("not implemented");
}
int CvPolyLine::InitFrom_TIT_Text(std::string_view, std::string_view, int, int,
                                  const CvPolyLine*) {
    throw std::logic_error("not implemented");
}
int CvPolyLine::ExportToTIT11File(const char*, int, int) {
    throw std::logic_error("not implemented");
}
std::string CvPolyLine::TIT11Text(int) const { throw std::logic_error("not implemented"); }
int CvPolyLine::ExportToFile(const char*, int, int) { throw std::logic_error("not implemented"); }
std::string CvPolyLine::LineFileText(int) const { throw std::logic_error("not implemented"); }
