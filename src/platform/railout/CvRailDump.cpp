#include "platform/railout/CvRailDump.h"

#include "platform/base/FixedColumns.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/TextFormat.h"

#include <cmath>
#include <numbers>
#include <utility>
#include <vector>

namespace rigel::railout {
namespace {

constexpr double kStationTolerance = 1e-9;
constexpr double kCurvatureTolerance = 1e-12;

std::string Cut(std::string_view text, std::size_t width) {
    return OneLine(text.substr(0, std::min(text.size(), width)));
}

// The text in `width` columns with at most `decimals` decimals, or nothing when it does not fit
// even with `minDecimals`.
std::optional<std::string> FitNumber(double value, int width, int decimals, int minDecimals) {
    if (!std::isfinite(value))
        return std::nullopt;
    for (int d = decimals; d >= minDecimals; --d) {
        std::string text = Format("%*.*f", width, d, value);
        if (static_cast<int>(text.size()) <= width)
            return text;
    }
    return std::nullopt;
}

double Gon(double mathDirection) {
    double azimuth = std::numbers::pi / 2 - mathDirection;
    azimuth = std::fmod(azimuth, 2 * std::numbers::pi);
    if (azimuth < 0)
        azimuth += 2 * std::numbers::pi;
    const double gon = azimuth * 200.0 / std::numbers::pi;
    // A direction a rounding error short of north is north, not 400 gon.
    return 400.0 - gon < 1e-9 ? 0.0 : gon;
}

double Curvature(double radius) {
    return std::fabs(radius) <= 1e-9 ? 0.0 : 1.0 / radius;
}
double Radius(double curvature) {
    return std::fabs(curvature) <= kCurvatureTolerance ? 0.0 : 1.0 / curvature;
}

// One element as the tables show it, after the section's cut.
struct ElementRow {
    int type = 0;
    double from = 0, to = 0;
    double xFrom = 0, yFrom = 0, xTo = 0, yTo = 0;
    double azFrom = 0, azTo = 0;
    bool hasDirections = false;
    double rFrom = 0, rTo = 0;
    double cantFrom = 0, cantTo = 0;
    int speed = 0;
};

} // namespace

std::optional<std::string> KofPointRecord(double x, double y, double z, std::string_view code,
                                          std::string_view description, std::string* reason) {
    // 0.1 mm in the plan; heights get four decimals where their columns allow it, else three.
    const auto xs = FitNumber(x, static_cast<int>(kof::kX.width), 4, 4);
    const auto ys = FitNumber(y, static_cast<int>(kof::kY.width), 4, 4);
    const auto zs = FitNumber(z, static_cast<int>(kof::kZ.width), 4, 3);
    if (!xs || !ys || !zs) {
        if (reason)
            *reason = Format("point (%.4f, %.4f, %.4f) does not fit the KOF columns", x, y, z);
        return std::nullopt;
    }
    std::string record(kof::kRecordWidth, ' ');
    const auto put = [&record](const Column& column, std::string_view text, bool right) {
        text = text.substr(0, column.width);
        record.replace(column.start + (right ? column.width - text.size() : 0), text.size(), text);
    };
    put({0, kof::kPointRecordStart.size(), ""}, kof::kPointRecordStart, false);
    put(kof::kDescription, Cut(description, kof::kDescription.width), false);
    put(kof::kCode, Cut(code, kof::kCode.width), false);
    put(kof::kX, *xs, true);
    put(kof::kY, *ys, true);
    put(kof::kZ, *zs, true);
    return record;
}

} // namespace rigel::railout

using namespace rigel::railout;

namespace {

bool SwappedFrame(const CvPolyLine* alignment) {
    const CvPolyElement* head = alignment ? alignment->HeadElem() : nullptr;
    return head && head->Frame() == 2;
}

bool HasElements(const CvPolyLine* alignment) {
    return alignment && alignment->GetCount() > 0;
}

} // namespace

void CvRailDump::SetFilename(const char* name) {
    filename_ = name ? name : "";
}

void CvRailDump::SetProjectData(const char* text1, const char* text2, const char* text3,
                                const char* text4, const char* text5) {
    const char* texts[] = {text1, text2, text3, text4, text5};
    for (std::size_t i = 0; i < texts_.size(); ++i)
        texts_[i] = texts[i] ? texts[i] : "";
}

bool CvRailDump::SetSection(const double* start, const double* end, bool limit,
                            const CvPolyLine* alignment) {
    sectionSet_ = false;
    sectionFailed_ = true;
    const auto reject = [this](std::string reason) {
        sectionError_ = "SetSection: " + reason;
        Fail(sectionError_);
        return false;
    };
    if (!start || !end)
        return reject("no section given");
    if (!std::isfinite(*start) || !std::isfinite(*end))
        return reject("the section's stations are not finite");
    if (!(*start < *end))
        return reject(
            rigel::Format("the section starts at %.4f, not below its end %.4f", *start, *end));
    double first = 0, last = 0;
    if (HasElements(alignment) && alignment->StationRange(&first, &last)) {
        const double overlap = std::min(*end, last) - std::max(*start, first);
        if (!(overlap > kStationTolerance))
            return reject(rigel::Format("the section %.4f to %.4f lies outside the alignment "
                                        "(stations %.4f to %.4f)",
                                        *start, *end, first, last));
    }
    sectionStart_ = *start;
    sectionEnd_ = *end;
    limit_ = limit;
    sectionSet_ = true;
    sectionFailed_ = false;
    sectionError_.clear();
    lastError_.clear();
    return true;
}

int CvRailDump::Fail(std::string reason) {
    lastError_ = std::move(reason);
    return 0;
}

int CvRailDump::Commit(const std::string& text) {
    if (filename_.empty())
        return Fail("no file name");
    std::string reason;
    if (!rigel::WriteFileAtomically(filename_, text, &reason))
        return Fail(reason);
    lastError_.clear();
    return 1;
}

bool CvRailDump::SectionUsable() {
    if (sectionFailed_) {
        Fail("no output: " + sectionError_);
        return false;
    }
    return true;
}

void CvRailDump::AppendHeader(std::string& text, const char* kind, const char* columns) const {
    text += rigel::Format("# %s\n", kind);
    for (std::size_t i = 0; i < texts_.size(); ++i)
        text +=
            rigel::Format("# text %d:%s%s\n", static_cast<int>(i + 1), texts_[i].empty() ? "" : " ",
                          rigel::railout::Cut(texts_[i], texts_[i].size()));
    if (!sectionSet_)
        text += "# section: none\n";
    else
        text += rigel::Format("# section: %.4f %.4f%s\n", sectionStart_, sectionEnd_,
                              limit_ ? "" : " (not applied)");
    text += rigel::Format("# %s\n", columns);
}

namespace {

// The points kept by the section, with their stations and offsets where they have them.
struct StationedPoint {
    int number; // position in the list, from 1
    const DT_Punkt* point;
    bool stationed;
    double station, offset;
};

std::vector<StationedPoint> StationPoints(DT_PointList& points, CvPolyLine* alignment, bool limited,
                                          double start, double end) {
    std::vector<StationedPoint> out;
    out.reserve(static_cast<std::size_t>(points.Antall()));
    const bool project = HasElements(alignment);
    const bool swap = SwappedFrame(alignment);
    for (int i = 0; i < points.Antall(); ++i) {
        const DT_Punkt* p = points.Punkt(i);
        if (!p)
            continue;
        StationedPoint sp{i + 1, p, false, 0.0, 0.0};
        if (project) {
            DT_Double station, offset;
            const DT_Punkt pos = swap ? DT_Punkt(p->y(), p->x(), p->z()) : *p;
            if (alignment->StationAtPos(pos, &station, &offset)) {
                sp.stationed = true;
                sp.station = station.Get();
                sp.offset = offset.Get();
            }
            if (limited && (!sp.stationed || sp.station < start - kStationTolerance ||
                            sp.station > end + kStationTolerance))
                continue;
        }
        out.push_back(sp);
    }
    return out;
}

// Value at station s of a quantity linear along [s0, s1] from v0 to v1.
double Linear(double v0, double v1, double s0, double s1, double s) {
    const double span = s1 - s0;
    return std::fabs(span) <= kStationTolerance ? v0 : v0 + (v1 - v0) * (s - s0) / span;
}

// The element rows of the alignment within the section. False (with the reason) when an element
// cut by the section cannot be evaluated there.
bool ElementRows(CvPolyLine& alignment, const RailAttributes* attributes, bool limited,
                 double start, double end, std::vector<ElementRow>& rows, std::string& error) {
    const bool swap = SwappedFrame(&alignment);
    for (int i = 0; i < alignment.GetCount(); ++i) {
        const CvPolyElement* e = alignment.Element(i);
        const double s0 = e->StartSTA()->Get(), s1 = e->EndSTA()->Get();
        ElementRow row;
        row.type = e->ElementType();
        row.from = s0;
        row.to = s1;
        if (limited) {
            row.from = std::max(s0, start);
            row.to = std::min(s1, end);
            if (!(row.to - row.from > kStationTolerance))
                continue;
        }
        ElementAttributes extra;
        if (attributes)
            attributes->Element(*e, extra);
        const double r0 = e->StartRadius()->Get(), r1 = e->EndRadius()->Get();
        row.rFrom =
            row.from == s0 ? r0 : Radius(Linear(Curvature(r0), Curvature(r1), s0, s1, row.from));
        row.rTo = row.to == s1 ? r1 : Radius(Linear(Curvature(r0), Curvature(r1), s0, s1, row.to));
        if (row.type == CvPolyElement::kArc) {
            row.rFrom = r0;
            row.rTo = r1;
        }
        row.cantFrom = Linear(extra.startCant, extra.endCant, s0, s1, row.from);
        row.cantTo = Linear(extra.startCant, extra.endCant, s0, s1, row.to);
        row.speed = extra.speed;

        DT_Punkt pFrom, pTo;
        DT_Double dFrom, dTo;
        const bool okFrom = e->PosAtStation(row.from, &pFrom, &dFrom) != 0;
        const bool okTo = e->PosAtStation(row.to, &pTo, &dTo) != 0;
        if ((row.from != s0 && !okFrom) || (row.to != s1 && !okTo)) {
            error = rigel::Format("element %d cannot be evaluated at the section's end", i + 1);
            return false;
        }
        if (row.from == s0)
            pFrom = *e->StartPoint();
        if (row.to == s1)
            pTo = *e->EndPoint();
        row.hasDirections = okFrom && okTo;
        if (row.hasDirections) {
            row.azFrom = Gon(dFrom.Get());
            row.azTo = Gon(dTo.Get());
        }
        row.xFrom = swap ? pFrom.y() : pFrom.x();
        row.yFrom = swap ? pFrom.x() : pFrom.y();
        row.xTo = swap ? pTo.y() : pTo.x();
        row.yTo = swap ? pTo.x() : pTo.y();
        rows.push_back(row);
    }
    return true;
}

// Indices of the vertical points kept by the section: those inside it and the nearest one on
// either side.
std::pair<int, int> VerticalRange(const VS_LinjePaalegg& vertical, bool limited, double start,
                                  double end) {
    const int n = vertical.Antall();
    if (!limited || n == 0)
        return {0, n - 1};
    int lo = 0, hi = n - 1;
    for (int i = 0; i < n; ++i)
        if (vertical.Punkt(i)->x() < start - kStationTolerance)
            lo = i;
    for (int i = n - 1; i >= 0; --i)
        if (vertical.Punkt(i)->x() > end + kStationTolerance)
            hi = i;
    return {lo, std::max(lo, hi)};
}

} // namespace

int CvRailDump::WriteKOF05(DT_PointList* points, CvPolyLine* alignment, VS_LinjePaalegg*,
                           int defaultCode, int header) {
    if (!points)
        return Fail("WriteKOF05: no points");
    if (!SectionUsable())
        return 0;
    std::string text;
    if (header)
        for (const std::string& t : texts_)
            if (!t.empty())
                text += " 00 " + rigel::railout::Cut(t, t.size()) + "\n";
    const std::string fallback = rigel::Format("%d", defaultCode);
    PointAttributes extra;
    std::string error;
    for (const StationedPoint& sp :
         StationPoints(*points, alignment, Limited(), sectionStart_, sectionEnd_)) {
        extra = PointAttributes{};
        if (attributes_)
            attributes_->Point(*sp.point, extra);
        const std::string& code = extra.code.empty() ? fallback : extra.code;
        const auto record = KofPointRecord(sp.point->x(), sp.point->y(), sp.point->z(), code,
                                           extra.description, &error);
        if (!record)
            return Fail(rigel::Format("WriteKOF05: point %d: %s", sp.number, error));
        text += *record;
        text += '\n';
    }
    return Commit(text);
}

namespace {

// A CSV field: quoted when it holds a comma, a quote or a line end; quotes doubled.
std::string CsvText(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos)
        return std::string(text);
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    out += '"';
    return out;
}

} // namespace

int CvRailDump::WriteCSV(CvPolyLine* alignment, VS_LinjePaalegg*, DT_PointList* points,
                         int header) {
    if (!points)
        return Fail("WriteCSV: no points");
    if (!SectionUsable())
        return 0;
    std::string text;
    if (header)
        text += "number,x,y,z,station,offset,code,description\n";
    PointAttributes extra;
    for (const StationedPoint& sp :
         StationPoints(*points, alignment, Limited(), sectionStart_, sectionEnd_)) {
        extra = PointAttributes{};
        if (attributes_)
            attributes_->Point(*sp.point, extra);
        text += rigel::Format("%d,%.4f,%.4f,%.4f,", sp.number, sp.point->x(), sp.point->y(),
                              sp.point->z());
        if (sp.stationed)
            text += rigel::Format("%.4f,%.4f,", sp.station, sp.offset);
        else
            text += ",,";
        text += CsvText(extra.code) + "," + CsvText(extra.description) + "\n";
    }
    return Commit(text);
}

int CvRailDump::WriteLFT(CvPolyLine* alignment, VS_LinjePaalegg*, DT_PointList*, int header) {
    if (!alignment)
        return Fail("WriteLFT: no alignment");
    if (!SectionUsable())
        return 0;
    std::vector<ElementRow> rows;
    std::string error;
    if (!ElementRows(*alignment, attributes_, Limited(), sectionStart_, sectionEnd_, rows, error))
        return Fail("WriteLFT: " + error);
    std::string text;
    if (header)
        AppendHeader(text, "LFT elements",
                     "nr type station_from station_to length radius_from radius_to cant_from "
                     "cant_to speed");
    int nr = 0;
    for (const ElementRow& r : rows)
        text += rigel::Format("%4d %2d %12.4f %12.4f %10.4f %12.4f %12.4f %7.1f %7.1f %4d\n", ++nr,
                              r.type, r.from, r.to, r.to - r.from, r.rFrom, r.rTo, r.cantFrom,
                              r.cantTo, r.speed);
    return Commit(text);
}

int CvRailDump::WriteALC(CvPolyLine* alignment, VS_LinjePaalegg*, DT_PointList*, int header) {
    if (!alignment)
        return Fail("WriteALC: no alignment");
    if (!SectionUsable())
        return 0;
    std::vector<ElementRow> rows;
    std::string error;
    if (!ElementRows(*alignment, attributes_, Limited(), sectionStart_, sectionEnd_, rows, error))
        return Fail("WriteALC: " + error);
    std::string text;
    if (header)
        AppendHeader(text, "ALC elements",
                     "nr type station_from x_from y_from azimuth_from station_to x_to y_to "
                     "azimuth_to radius_from radius_to");
    int nr = 0;
    for (const ElementRow& r : rows) {
        ++nr;
        if (!r.hasDirections)
            return Fail(rigel::Format("WriteALC: element %d has no direction (it cannot be "
                                      "placed)",
                                      nr));
        text += rigel::Format(
            "%4d %2d %12.4f %14.4f %14.4f %10.5f %12.4f %14.4f %14.4f %10.5f %12.4f %12.4f\n", nr,
            r.type, r.from, r.xFrom, r.yFrom, r.azFrom, r.to, r.xTo, r.yTo, r.azTo, r.rFrom, r.rTo);
    }
    return Commit(text);
}

int CvRailDump::WriteWinALC_GEO(CvPolyLine* alignment, VS_LinjePaalegg*, DT_PointList*,
                                int header) {
    if (!alignment)
        return Fail("WriteWinALC_GEO: no alignment");
    if (!SectionUsable())
        return 0;
    std::vector<ElementRow> rows;
    std::string error;
    if (!ElementRows(*alignment, attributes_, Limited(), sectionStart_, sectionEnd_, rows, error))
        return Fail("WriteWinALC_GEO: " + error);
    std::string text;
    if (header)
        AppendHeader(text, "WinALC GEO main points", "nr station x y azimuth radius cant");
    int nr = 0;
    for (const ElementRow& r : rows) {
        if (!r.hasDirections)
            return Fail(rigel::Format("WriteWinALC_GEO: element %d has no direction (it cannot "
                                      "be placed)",
                                      nr + 1));
        text += rigel::Format("%4d %12.4f %14.4f %14.4f %10.5f %12.4f %7.1f\n", ++nr, r.from,
                              r.xFrom, r.yFrom, r.azFrom, r.rFrom, r.cantFrom);
    }
    if (!rows.empty()) {
        const ElementRow& r = rows.back();
        text += rigel::Format("%4d %12.4f %14.4f %14.4f %10.5f %12.4f %7.1f\n", ++nr, r.to, r.xTo,
                              r.yTo, r.azTo, r.rTo, r.cantTo);
    }
    return Commit(text);
}

int CvRailDump::WriteWinALC_VER(CvPolyLine*, VS_LinjePaalegg* vertical, DT_PointList*, int header) {
    if (!vertical)
        return Fail("WriteWinALC_VER: no vertical alignment");
    if (!SectionUsable())
        return 0;
    const int n = vertical->Antall();
    // Grades in per mille of each stretch between consecutive points.
    std::vector<double> grades;
    for (int i = 0; i + 1 < n; ++i) {
        const DT_Punkt* a = vertical->Punkt(i);
        const DT_Punkt* b = vertical->Punkt(i + 1);
        if (!(b->x() - a->x() > kStationTolerance))
            return Fail(
                rigel::Format("WriteWinALC_VER: the stations do not increase at point %d", i + 2));
        grades.push_back(1000.0 * (b->y() - a->y()) / (b->x() - a->x()));
    }
    std::string text;
    if (header)
        AppendHeader(text, "WinALC VER vertical points",
                     "nr station height radius tangent grade_in grade_out");
    const auto [lo, hi] = VerticalRange(*vertical, Limited(), sectionStart_, sectionEnd_);
    int nr = 0;
    for (int i = lo; i <= hi && n > 0; ++i) {
        const DT_Punkt* p = vertical->Punkt(i);
        const double in = i > 0 ? grades[i - 1] : (n > 1 ? grades[0] : 0.0);
        const double out = i + 1 < n ? grades[i] : in;
        double radius = std::fabs(p->z());
        if (radius > 1e-9 && i > 0 && i + 1 < n && out < in)
            radius = -radius;
        text += rigel::Format("%4d %12.4f %10.4f %12.4f %10.4f %10.4f %10.4f\n", ++nr, p->x(),
                              p->y(), radius, vertical->TangentLength(i), in, out);
    }
    return Commit(text);
}

int CvRailDump::WriteNYLP(VS_LinjePaalegg* vertical) {
    if (!vertical)
        return Fail("WriteNYLP: no vertical alignment");
    std::string text;
    AppendHeader(text, "NYLP vertical intersection points", "nr station height radius tangent");
    for (int i = 0; i < vertical->Antall(); ++i) {
        const DT_Punkt* p = vertical->Punkt(i);
        text += rigel::Format("%4d %12.4f %10.4f %12.4f %10.4f\n", i + 1, p->x(), p->y(), p->z(),
                              vertical->TangentLength(i));
    }
    return Commit(text);
}

int CvRailDump::WriteNADBFiles(CvNADB_Calculation* nadb) {
    if (!nadb)
        return Fail("WriteNADBFiles: no NADB data");
    std::string text;
    AppendHeader(text, "NADB segments", "nr element station_from station_to length name");
    for (int i = 0; i < nadb->SegmentCount(); ++i) {
        const SegmentType* segment = nadb->Segment(i);
        int number = 0;
        double from = 0, to = 0;
        std::string name;
        if (segment && segment->Fields(&number, &from, &to, &name))
            text += rigel::Format("%4d %5d %12.4f %12.4f %10.4f %s\n", i + 1, number, from, to,
                                  to - from, rigel::railout::Cut(name, name.size()));
        else
            text +=
                rigel::Format("%4d %5s %12s %12s %10s %s\n", i + 1, "-", "-", "-", "-",
                              segment ? rigel::railout::Cut(segment->Text(), segment->Text().size())
                                      : std::string());
    }
    return Commit(text);
}
