#include "formats/VS_LinjePaalegg2.h"

#include "elements/C_Arc.h"
#include "platform/base/B_Linje.h"
#include "platform/polyline/CvPolyElement.h"
#include "platform/polyline/CvPolyLine.h"

#include <cmath>
#include <memory>
#include <string>

namespace {

constexpr double kZero = 1e-9;

bool HasNoLength(const CvPolyElement& element) {
    return std::fabs(element.Length()->Get()) <= kZero;
}

DT_Punkt* AppendPoint(DT_PointList& list, double x, double y, double z) {
    auto point = std::make_unique<DT_Punkt>(x, y, z);
    DT_Punkt* kept = point.get();
    list.Append(std::move(point));
    return kept;
}

// Pads to the fixed record width of the tangent-point table and closes the record.
void AppendRecord(StrengListe& lines, const std::string& text) {
    Streng line(text);
    line.FyllBlankeTilLengdeEr(125, 1);
    line.Add(",");
    lines.LeggTilStreng(line.str());
}

} // namespace

VS_LinjePaalegg2::VS_LinjePaalegg2(double tolerance) : tolerance_(tolerance) {}

VS_LinjePaalegg2::~VS_LinjePaalegg2() = default;

int VS_LinjePaalegg2::SorterObj(const HovedObjekt* first, const HovedObjekt* second,
                                int ascending) const {
    const double a = static_cast<const DT_Punkt*>(first)->x();
    const double b = static_cast<const DT_Punkt*>(second)->x();
    return ascending ? (b < a) : !(b < a);
}

int VS_LinjePaalegg2::BuildFromElements(CvPolyLine* elements) {
    SlettAlleIListen(1);
    if (elements == nullptr || elements->GetCount() == 0)
        return 0;
    const int count = elements->GetCount();
    int i = 0;
    while (i < count && HasNoLength(*elements->Element(i)))
        ++i;
    if (i == count)
        return 0;

    // a and b are the last two points placed; pending is the point that becomes b once the
    // current element is done with them.
    const CvPolyElement& first = *elements->Element(i);
    DT_Punkt* a = AppendPoint(*this, first.StartPoint()->x(), first.StartPoint()->y(), 0.0);
    DT_Punkt* b = AppendPoint(*this, first.EndPoint()->x(), first.EndPoint()->y(), 0.0);
    DT_Punkt* pending = nullptr;
    if (first.ElementType() == CvPolyElement::kLine)
        ++i;

    for (; i < count; ++i) {
        const CvPolyElement& element = *elements->Element(i);
        const DT_Punkt& end = *element.EndPoint();
        bool shift = true;
        if (HasNoLength(element)) {
            shift = false;
        } else {
            switch (element.ElementType()) {
            case CvPolyElement::kLine:
                if (a != nullptr && b != nullptr && std::fabs(a->z()) > kZero && pending != b) {
                    // The grade leaving a vertical curve: the curve's end point slides on to
                    // the end of the grade, so that only the intersection point stays.
                    b->Init(end.x(), end.y(), b->z());
                    pending = b;
                    shift = false;
                } else {
                    pending = AppendPoint(*this, end.x(), end.y(), 0.0);
                }
                break;
            case CvPolyElement::kArc:
            case CvPolyElement::kArcAlias: {
                C_Arc arc;
                if (arc.InitFromArcElement(&element, 1) != 1 || arc.ErrorKode() != 0) {
                    shift = false;
                    break;
                }
                if (b != nullptr)
                    b->Init(arc.PI()->x(), arc.PI()->y(), std::fabs(arc.Radius()->Get()));
                const DT_Punkt* arcEnd = arc.ArcEnd();
                pending = AppendPoint(*this, arcEnd->x(), arcEnd->y(), 0.0);
                break;
            }
            default:
                break;
            }
        }
        if (shift) {
            a = b;
            b = pending;
            pending = nullptr;
        }
    }
    Sorter(1);
    return 1;
}

int VS_LinjePaalegg2::WriteTable(StrengListe& lines, int layout) {
    lines.SlettAlleIListen(1);
    if (!CheckCurve())
        return 0;
    if (layout == 1)
        return WritePointTable(lines);
    if (layout == 2)
        return WriteTangentPointTable(lines);
    return 0;
}

int VS_LinjePaalegg2::WritePointTable(StrengListe& lines) const {
    for (int i = 0; i < 4; ++i)
        lines.LeggTilStreng("");
    lines.LeggTilStreng(rigel::Format("%.4f 10.0 %.4f", Punkt(0)->x(), Punkt(Antall() - 1)->x()));
    for (int i = 0; i < Antall(); ++i) {
        const DT_Punkt& p = *Punkt(i);
        lines.LeggTilStreng(rigel::Format("%.4f %.4f %.4f", p.x(), p.y(), p.z()));
    }
    return 1;
}

int VS_LinjePaalegg2::WriteTangentPointTable(StrengListe& lines) const {
    // The rows: the start, then at each vertical curve its two tangent points (the first carrying
    // the signed radius: positive in a sag, negative on a crest), and the end.
    DT_PointList rows(1);
    const int count = Antall();
    DT_Punkt start(*Punkt(0));
    for (int i = 1; i + 1 < count; ++i) {
        const DT_Punkt& p = *Punkt(i);
        B_Linje line1, line2;
        line1.Init(p, start);
        line2.Init(p, *Punkt(i + 1));
        const double r = p.z();
        AppendPoint(rows, start.x(), start.y(), 0.0);
        double tangentLength = 0.0;
        if (std::fabs(r) > kZero && CalculateTangPoints(line1, line2, r, tangentLength)) {
            const double sign =
                line2.StigningsTall(1.0, 1) > line1.StigningsTall(1.0, 0) ? 1.0 : -1.0;
            DT_Punkt* tangentStart = line1.SluttPunkt();
            tangentStart->Init(tangentStart->x(), tangentStart->y(), std::fabs(r) * sign);
            AppendPoint(rows, tangentStart->x(), tangentStart->y(), tangentStart->z());
            start.Init(line2.Slutt());
        } else {
            // Grades that meet without a curve (or whose curve has no tangent points, the grades
            // not turning) give the intersection point one row of its own. The running start
            // point, already appended above, is not appended a second time: that would only add
            // a row of length 0 to the table.
            start.Init(p);
        }
        start.Init(start.x(), start.y(), 0.0);
    }
    AppendPoint(rows, start.x(), start.y(), start.z());
    const DT_Punkt& last = *Punkt(count - 1);
    AppendPoint(rows, last.x(), last.y(), last.z());

    const int n = rows.Antall();
    AppendRecord(lines, rigel::Format("%d", n + 1));
    int k = 1;
    double gradePrevious = 0.0;
    for (int i = 0; i + 1 < n; ++i) {
        const DT_Punkt& a = *rows.Punkt(i);
        const DT_Punkt& b = *rows.Punkt(i + 1);
        const double grade = B_Linje(a, b).StigningsTall(1.0, 1);
        const double gradeBefore = std::fabs(a.z()) <= kZero ? grade : gradePrevious;
        AppendRecord(lines, rigel::Format("%d,%12.4f,%12.4f,%11.6f,%12.4f,%10.4f,   0.000000,   "
                                          "0.000000,     0.0000,     0.0000,",
                                          k, a.x(), a.y(), gradeBefore, a.z(), b.x() - a.x()));
        gradePrevious = grade;
        ++k;
        if (k == n)
            AppendRecord(lines, rigel::Format("%d,%12.4f,%12.4f,   0.000000,      0.0000,    "
                                              "0.0000,   0.000000,   0.000000,     0.0000,     "
                                              "0.0000,",
                                              k, b.x(), b.y()));
    }
    return 1;
}
