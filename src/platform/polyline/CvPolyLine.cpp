#include "platform/polyline/CvPolyLine.h"

#include "platform/base/TekstFil.h"
#include "platform/base/Trace.h"
#include "platform/polyline/CvTransElement.h"
#include "platform/polyline/PolylineText.h"
#include "platform/polyline/ProjectionIndex.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

using rigel::polyline::ElementGeometry;
using rigel::polyline::ProjectionIndex;

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
void CvPolyLine::InvalidateIndex() {
    StructureChanged();
}

int CvPolyLine::AddElement(CvPolyElement* element) {
    return LeggTil(element);
}
CvPolyElement* CvPolyLine::HeadElem() const {
    return AsElement(Forste());
}
CvPolyElement* CvPolyLine::TailElem() const {
    return AsElement(Siste());
}
CvPolyElement* CvPolyLine::ActiveElem() const {
    return AsElement(Aktiv());
}
CvPolyElement* CvPolyLine::Element(int index) const {
    return AsElement(Objekt(index));
}
CvPolyElement* CvPolyLine::ActivateHead() {
    return AsElement(AktiverForste());
}
CvPolyElement* CvPolyLine::ActivateNext() {
    return AsElement(AktiverNeste());
}
CvPolyElement* CvPolyLine::ActivatePrev() {
    return AsElement(AktiverForrige());
}
CvPolyElement* CvPolyLine::ActivateTail() {
    return AsElement(AktiverSiste());
}
CvPolyElement* CvPolyLine::ActivateIndex(int index) {
    return AsElement(Aktiver(index));
}
CvPolyElement* CvPolyLine::ActivateElem(const CvPolyElement* element) {
    if (element == nullptr)
        return nullptr;
    for (int i = 0; i < Antall(); ++i) {
        if (Objekt(i) == element)
            return AsElement(Aktiver(i));
    }
    return nullptr;
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

const ProjectionIndex& CvPolyLine::ProjIndex() {
    if (!index_ || !index_->Matches(*this)) {
        index_ = std::make_unique<ProjectionIndex>(*this);
        hint_ = -1;
    }
    return *index_;
}

int CvPolyLine::Fail(int code, std::string message) {
    lastError_ = std::move(message);
    rigel::Trace("[CvPolyLine] %s\n", lastError_);
    ErrorKode(code);
    return 0;
}

int CvPolyLine::StationAtPos(const DT_Punkt& pos, DT_Double* station, DT_Double* offset,
                             CvPolyElement** element, DT_Double* direction, DT_Punkt* foot,
                             int useHint, int extendEnds) {
    if (!std::isfinite(pos.x()) || !std::isfinite(pos.y()))
        return 0;
    const ProjectionIndex& idx = ProjIndex();
    const auto& items = idx.Items();
    if (items.empty())
        return 0;
    const int frame = idx.Frame();
    double X, Y;
    ElementGeometry::ToCanonical(frame, pos.x(), pos.y(), X, Y);

    // Nearest point over the elements: the least (distance, chain order) wins, a total order, so
    // the result does not depend on the order in which elements are tried, and each element's
    // projection depends on the point alone. The search visits every element whose box lies
    // within the best distance so far, so it never misses the winner.
    int bestItem = -1;
    ElementGeometry::Projection best;
    const auto consider = [&](int k) {
        ElementGeometry::Projection pr;
        items[k].geometry->Project(X, Y, pr);
        if (bestItem < 0 || pr.dist < best.dist || (pr.dist == best.dist && k < bestItem)) {
            best = pr;
            bestItem = k;
        }
    };
    // The element of the previous projection, when near, gives a first bound for points that
    // follow the track, which prunes the search early; it is not tried again. (A far one would
    // only cost its projection.)
    constexpr double kHintReach2 = 100.0 * 100.0;
    int hintItem = useHint != 0 ? idx.ItemOf(hint_) : -1;
    if (hintItem >= 0 && items[hintItem].box.Dist2(X, Y) <= kHintReach2)
        consider(hintItem);
    else
        hintItem = -1;
    const double inf = std::numeric_limits<double>::infinity();
    idx.Search(X, Y, bestItem >= 0 ? best.dist * best.dist : inf,
               [&](const ProjectionIndex::Item& it) {
                   const int k = static_cast<int>(&it - items.data());
                   if (k != hintItem)
                       consider(k);
                   return best.dist * best.dist;
               });
    if (bestItem < 0)
        return 0;

    // A foot at the start of an element that continues the one before it belongs to that one,
    // as in PosAtStation (rounding alone decides which of the two is nearer).
    constexpr double kJoint = CvPolyElement::kStationTolerance;
    if (bestItem > 0 &&
        std::fabs(best.station - items[bestItem].geometry->StartStation()) <= kJoint) {
        const ElementGeometry& prev = *items[bestItem - 1].geometry;
        const double L = prev.GetShape().Length();
        double ex, ey, dir, k;
        prev.At(L, 0.0, ex, ey, dir, k);
        if (std::fabs(prev.EndStation() - best.station) <= kJoint &&
            std::hypot(ex - best.footX, ey - best.footY) <= kJoint) {
            ElementGeometry::Projection pr;
            prev.ProjectAt(X, Y, L, pr);
            if (pr.clamp != -1 && std::fabs(pr.dist - best.dist) <= kJoint) {
                best = pr;
                --bestItem;
            }
        }
    }

    const ProjectionIndex::Item& it = items[bestItem];
    const ElementGeometry& g = *it.geometry;
    double s = best.station;
    double off = best.offset;
    double fx = best.footX, fy = best.footY;
    const bool beforeStart = best.clamp == -1 && it.index == idx.FirstPlaceable() &&
                             best.along < -CvPolyElement::kStationTolerance;
    const bool afterEnd = best.clamp == 1 && it.index == idx.LastPlaceable() &&
                          best.along > CvPolyElement::kStationTolerance;
    if (beforeStart || afterEnd) {
        if (extendEnds == 0)
            return 0;
        // Onto the straight extension of the end direction.
        s = best.station + best.along * g.StationPerMetre();
        off = best.side;
        fx += best.along * best.tx;
        fy += best.along * best.ty;
    }
    hint_ = it.index;
    if (station != nullptr)
        station->Init(s);
    if (offset != nullptr)
        offset->Init(off);
    if (element != nullptr)
        *element = it.element;
    if (direction != nullptr)
        direction->Init(g.DirectionAt(best.u));
    if (foot != nullptr) {
        double x, y;
        ElementGeometry::FromCanonical(frame, fx, fy, x, y);
        foot->Init(x, y, g.HeightAt(best.u));
    }
    return 1;
}

int CvPolyLine::PosAtStation(double station, DT_Punkt* point, DT_Double* direction,
                             CvPolyElement** element, DT_Double* curvature, double offset) {
    if (!std::isfinite(station) || !std::isfinite(offset))
        return 0;
    const ProjectionIndex& idx = ProjIndex();
    const int k = idx.ItemAtStation(station, CvPolyElement::kStationTolerance);
    if (k < 0)
        return 0;
    const ProjectionIndex::Item& it = idx.Items()[k];
    const ElementGeometry& g = *it.geometry;
    const double u = std::clamp(g.UAtStation(station), 0.0, g.GetShape().Length());
    double X, Y, dir, curv;
    g.At(u, offset, X, Y, dir, curv);
    if (point != nullptr) {
        double x, y;
        ElementGeometry::FromCanonical(idx.Frame(), X, Y, x, y);
        point->Init(x, y, g.HeightAt(u));
    }
    if (direction != nullptr)
        direction->Init(dir);
    if (element != nullptr)
        *element = it.element;
    if (curvature != nullptr)
        curvature->Init(curv);
    return 1;
}

namespace {

// Runs of arcs that came from one transition: [first, last] chain indexes, complete and in order.
std::vector<std::pair<int, int>> TransitionRuns(const CvPolyLine& chain) {
    std::vector<std::pair<int, int>> runs;
    const int n = chain.GetCount();
    for (int i = 0; i < n; ++i) {
        const auto* t = dynamic_cast<const CvTransElement*>(chain.Element(i));
        if (t == nullptr || t->PieceIndex() != 0 || t->PieceCount() < 1 || i + t->PieceCount() > n)
            continue;
        bool complete = true;
        for (int j = 1; j < t->PieceCount() && complete; ++j) {
            const auto* p = dynamic_cast<const CvTransElement*>(chain.Element(i + j));
            complete = p != nullptr && p->PieceIndex() == j && p->SameTransition(*t);
        }
        if (complete) {
            runs.emplace_back(i, i + t->PieceCount() - 1);
            i += t->PieceCount() - 1;
        }
    }
    return runs;
}

} // namespace

int CvPolyLine::ResetSTA(double startSTA) {
    if (GetCount() == 0)
        return 0;
    const auto runs = TransitionRuns(*this);
    double s = startSTA;
    for (int i = 0; i < GetCount(); ++i) {
        CvPolyElement* e = Element(i);
        if (e == nullptr)
            continue;
        e->SetStartSTA(s);
        s += std::fabs(e->Length()->Get());
        e->SetEndSTA(s);
    }
    for (const auto& [first, last] : runs) {
        const DT_Double s0(Element(first)->StartSTA()->Get());
        const DT_Double s1(Element(last)->EndSTA()->Get());
        for (int i = first; i <= last; ++i) {
            auto* t = static_cast<CvTransElement*>(Element(i));
            t->TransStartSTA(&s0);
            t->TransEndSTA(&s1);
        }
    }
    return 1;
}

int CvPolyLine::ResetSTA() {
    const CvPolyElement* head = HeadElem();
    return head == nullptr ? 0 : ResetSTA(head->StartSTA()->Get());
}

int CvPolyLine::StationRange(double* startSTA, double* endSTA) const {
    const CvPolyElement* head = HeadElem();
    const CvPolyElement* tail = TailElem();
    if (head == nullptr || tail == nullptr)
        return 0;
    if (startSTA != nullptr)
        *startSTA = head->StartSTA()->Get();
    if (endSTA != nullptr)
        *endSTA = tail->EndSTA()->Get();
    return 1;
}

int CvPolyLine::Turn(int restation) {
    const int n = GetCount();
    if (n == 0)
        return 0;
    const CvPolyElement* head = HeadElem();
    const double oldStart = head != nullptr ? head->StartSTA()->Get() : 0.0;
    const int active = Index();
    std::vector<HovedObjekt*> objects(n);
    for (int i = 0; i < n; ++i)
        objects[i] = Objekt(i);
    DT_Nodeliste::SlettAlleIListen(0);
    for (int i = n - 1; i >= 0; --i) {
        DT_Nodeliste::LeggTil(objects[i]);
        if (CvPolyElement* e = AsElement(objects[i]))
            e->Turn();
    }
    StructureChanged();
    if (active >= 0)
        Aktiver(n - 1 - active);
    if (restation != 0)
        ResetSTA(oldStart);
    return 1;
}

int CvPolyLine::Copy(const CvPolyLine* source) {
    if (source == nullptr || source == this)
        return 0;
    SlettAlleIListen(1);
    for (int i = 0; i < source->GetCount(); ++i) {
        CvPolyElement* e = source->Element(i);
        if (e == nullptr)
            continue;
        // An owning chain gets copies; a chain that does not own its elements is a view.
        DT_Nodeliste::LeggTil(Eier() != 0 ? e->Clone() : e);
    }
    StructureChanged();
    if (source->Index() >= 0)
        Aktiver(source->Index());
    return 1;
}

int CvPolyLine::SubstituteXYCoord() {
    for (int i = 0; i < GetCount(); ++i) {
        if (CvPolyElement* e = Element(i))
            e->SubstituteXYCoord();
    }
    return 1;
}

int CvPolyLine::MapCoord(int frame, int mode) {
    if ((frame != 1 && frame != 2) || (mode != 0 && mode != 1))
        return 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (CvPolyElement* e = Element(i))
            e->MapCoord(frame, mode);
    }
    return 1;
}

namespace {

// The run of arcs that replaces one transition curve (see CvPolyLine.h).
std::vector<CvTransElement*> ArcsOf(const CvPolyElement& e) {
    const ElementGeometry& g = e.Geometry();
    const rigel::polyline::Shape& shape = g.GetShape();
    const double L = shape.Length();
    const double rate = std::fabs(shape.Rate()) / (g.Scale() * g.Scale());
    double count =
        std::ceil(L * g.Scale() * std::sqrt(rate / (12.0 * CvPolyLine::kArcDirectionTolerance)));
    if (!std::isfinite(count) || count < 1.0)
        count = 1.0;
    const int n = static_cast<int>(std::min<double>(count, CvPolyLine::kMaxArcsPerTransition));
    const int frame = e.Frame();
    const std::shared_ptr<const CvPolyElement> origin(e.Clone());
    const double s0 = e.StartSTA()->Get(), s1 = e.EndSTA()->Get();
    const auto pointAt = [&](double u) {
        double X, Y, dir, k, x, y;
        g.At(u, 0.0, X, Y, dir, k);
        ElementGeometry::FromCanonical(frame, X, Y, x, y);
        return DT_Punkt(x, y, g.HeightAt(u));
    };
    std::vector<CvTransElement*> arcs;
    arcs.reserve(n);
    for (int j = 0; j < n; ++j) {
        const double ua = L * j / n;
        const double ub = j + 1 == n ? L : L * (j + 1) / n;
        auto* arc = new CvTransElement();
        arc->MapCoord(frame, 0);
        const DT_Punkt a = j == 0 ? *e.StartPoint() : pointAt(ua);
        const DT_Punkt b = j + 1 == n ? *e.EndPoint() : pointAt(ub);
        arc->StartPoint(&a);
        arc->EndPoint(&b);
        arc->SetStartSTA(j == 0 ? s0 : g.StationAtU(ua));
        arc->SetEndSTA(j + 1 == n ? (s1 != s0 ? s1 : g.StationAtU(L)) : g.StationAtU(ub));
        const double k = shape.CurvatureAt(0.5 * (ua + ub));
        const double r = k == 0.0 ? 0.0 : -g.Scale() / k;
        arc->SetStartRadius(r);
        arc->SetEndRadius(r);
        arc->SetLength((ub - ua) * g.Scale());
        arc->SetTransParameter(e.TransParameter()->Get());
        arc->SetElementNumber(e.ElementNumber()->Get());
        arc->SetTransition(origin, s0, s1, e.StartRadius()->Get(), e.EndRadius()->Get(),
                           e.Length()->Get(), j, n);
        arcs.push_back(arc);
    }
    return arcs;
}

} // namespace

int CvPolyLine::TransCurves2Arcs() {
    if (Eier() == 0)
        return 0;
    std::vector<HovedObjekt*> out;
    std::vector<HovedObjekt*> replacedObjects;
    for (int i = 0; i < GetCount(); ++i) {
        CvPolyElement* e = Element(i);
        if (e == nullptr || e->ElementType() != CvPolyElement::kTransition ||
            !e->Geometry().Placeable()) {
            out.push_back(Objekt(i));
            continue;
        }
        for (CvTransElement* arc : ArcsOf(*e))
            out.push_back(arc);
        replacedObjects.push_back(e);
    }
    if (replacedObjects.empty())
        return 0;
    DT_Nodeliste::SlettAlleIListen(0);
    for (HovedObjekt* o : out)
        DT_Nodeliste::LeggTil(o);
    for (HovedObjekt* o : replacedObjects)
        delete o;
    StructureChanged();
    AktiverForste();
    return static_cast<int>(replacedObjects.size());
}

int CvPolyLine::Arcs2TransCurves() {
    if (Eier() == 0)
        return 0;
    const auto runs = TransitionRuns(*this);
    if (runs.empty())
        return 0;
    std::vector<HovedObjekt*> out;
    std::vector<HovedObjekt*> removed;
    std::size_t r = 0;
    for (int i = 0; i < GetCount(); ++i) {
        if (r < runs.size() && runs[r].first == i) {
            const auto* first = static_cast<const CvTransElement*>(Element(runs[r].first));
            const auto* last = static_cast<const CvTransElement*>(Element(runs[r].second));
            CvPolyElement* e =
                first->Origin() != nullptr ? first->Origin()->Clone() : new CvPolyElement();
            e->MapCoord(first->Frame(), 0);
            e->StartPoint(first->StartPoint());
            e->EndPoint(last->EndPoint());
            e->StartSTA(first->StartSTA());
            e->EndSTA(last->EndSTA());
            e->SetLength(first->TransLength());
            e->SetStartRadius(first->TransStartRadius());
            e->SetEndRadius(first->TransEndRadius());
            e->TransParameter(first->TransParameter());
            e->ElementNumber(first->ElementNumber());
            out.push_back(e);
            for (int j = runs[r].first; j <= runs[r].second; ++j)
                removed.push_back(Objekt(j));
            i = runs[r].second;
            ++r;
            continue;
        }
        out.push_back(Objekt(i));
    }
    DT_Nodeliste::SlettAlleIListen(0);
    for (HovedObjekt* o : out)
        DT_Nodeliste::LeggTil(o);
    for (HovedObjekt* o : removed)
        delete o;
    StructureChanged();
    AktiverForste();
    return static_cast<int>(runs.size());
}
