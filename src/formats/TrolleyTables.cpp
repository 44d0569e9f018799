// The bodies of the trolley tables: the TDT, HDT and UDT texts written from an alignment and a
// vertical alignment, and read back from their lines.

#include "elements/TierTabElementSporop.h"
#include "formats/TrolleyFile.h"
#include "platform/base/B_Linje.h"
#include "platform/base/B_Vinkel.h"
#include "platform/base/DT_PointList.h"
#include "platform/base/Streng.h"
#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "platform/host/LineSource.h"
#include "platform/polyline/CvPolyLine.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <numbers>
#include <string_view>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
// Stations at which the UDT reader matches an element to a pair of records.
constexpr double kUdtStationTolerance = 0.01;
// Cants and radii closer than this are equal in the UDT writer.
constexpr double kUdtTolerance = 1e-9;

// Northing and easting of a point of element e, whatever frame the element keeps.
void NorthEast(const CvPolyElement& e, const DT_Punkt& p, double& north, double& east) {
    north = e.Frame() == 2 ? p.y() : p.x();
    east = e.Frame() == 2 ? p.x() : p.y();
}

// Characters of the integer part of m in decimal.
int IntegerWidth(double m) {
    return static_cast<int>(rigel::Format("%.0f", std::trunc(m)).size());
}

struct TdtRecord {
    double station = 0, east = 0, north = 0, direction = 0;
    int code = 0;
    double length = 0, startRadius = 0, endRadius = 0;
};

bool ScanTdtRecord(std::string_view line, TdtRecord& r) {
    return rigel::Scan(line, "%lf %lf %lf %lf %d %lf %lf %lf", &r.station, &r.east, &r.north,
                       &r.direction, &r.code, &r.length, &r.startRadius, &r.endRadius) == 8;
}

// 1/|r|, with 0 for the infinite radius that 0 stands for.
double Curvature(double radius) {
    return radius == 0.0 ? 0.0 : 1.0 / std::fabs(radius);
}

struct UdtRecord {
    double station = 0;
    double left = 0;  // raise of the rail at -b/2 (m)
    double right = 0; // at +b/2
    double Value() const { return std::max(left, right); }
};

// The raised rail follows the side of the curve: the left one in a right-hand curve.
UdtRecord CantRecord(double station, const DT_Double& cantMm, const DT_Double& radius) {
    UdtRecord r;
    r.station = station;
    if (radius.StorreEnn(0.0, kUdtTolerance))
        r.left = cantMm.Get() / 1000.0;
    else if (radius.MindreEnn(0.0, kUdtTolerance))
        r.right = cantMm.Get() / 1000.0;
    return r;
}

bool Differs(double value, double other) {
    return !DT_Double(value).Lik(other, kUdtTolerance);
}

} // namespace

std::string TrolleyFile::TDTText(const CvPolyLine& alignment) {
    // Directions come from a copy in frame 1 with its transitions as arcs.
    CvPolyLine copy(1);
    copy.Copy(&alignment);
    copy.MapCoord(1, 1);
    copy.TransCurves2Arcs();
    const auto azimuthGon = [&copy](double station, double& gon) {
        DT_Punkt point;
        DT_Double angle;
        if (!copy.PosAtStation(station, &point, &angle))
            return false;
        B_Vinkel azimuth;
        azimuth.InitMellom0og2PI(kPi / 2 - angle.Get());
        gon = azimuth.Get() * 200.0 / kPi;
        return true;
    };

    double maxCoordinate = 0, maxRadius = 0, maxLength = 0, maxStation = 0, maxDirection = 0;
    bool negative = false;
    const int count = alignment.GetCount();
    for (int i = 0; i < count; ++i) {
        const CvPolyElement& e = *alignment.Element(i);
        for (const DT_Punkt* p : {e.StartPoint(), e.EndPoint()}) {
            for (double c : {p->x(), p->y()}) {
                maxCoordinate = std::max(maxCoordinate, std::fabs(c));
                negative = negative || c < 0;
            }
        }
        maxRadius = std::max({maxRadius, e.StartRadius()->Abs(), e.EndRadius()->Abs()});
        maxLength = std::max(maxLength, std::fabs(e.EndSTA()->Abs() - e.StartSTA()->Abs()));
        maxStation = std::max({maxStation, e.StartSTA()->Abs(), e.EndSTA()->Abs()});
        double gon = 0;
        if (azimuthGon(e.StartSTA()->Get(), gon))
            maxDirection = std::max(maxDirection, std::fabs(gon));
        if (azimuthGon(e.EndSTA()->Get() - 0.0001, gon))
            maxDirection = std::max(maxDirection, std::fabs(gon));
    }
    const int coordinateWidth = IntegerWidth(maxCoordinate) + 8 + (negative ? 1 : 0);
    const std::string format = rigel::Format(
        "%%%d.6f%%%d.6f%%%d.6f%%%d.8f%%2d%%%d.6f%%%d.4f%%%d.4f\n", IntegerWidth(maxStation) + 8,
        coordinateWidth, coordinateWidth, IntegerWidth(maxDirection) + 10,
        IntegerWidth(maxLength) + 8, IntegerWidth(maxRadius) + 7, IntegerWidth(maxRadius) + 7);

    std::string text = rigel::Format(format, 0.0, 0.0, 0.0, 0.0, 0, 0.0, 0.0, 0.0);
    for (int i = 0; i < count; ++i) {
        const CvPolyElement& e = *alignment.Element(i);
        double north = 0, east = 0, gon = 0;
        NorthEast(e, *e.StartPoint(), north, east);
        azimuthGon(e.StartSTA()->Get(), gon); // 0 where the copy has no point
        text += rigel::Format(format, e.StartSTA()->Get(), east, north, gon, e.ElementType() - 1,
                              e.Length()->Get(), e.StartRadius()->Get(), e.EndRadius()->Get());
    }
    if (count > 0) {
        const CvPolyElement& e = *alignment.Element(count - 1);
        double north = 0, east = 0, gon = 0;
        NorthEast(e, *e.EndPoint(), north, east);
        azimuthGon(e.EndSTA()->Get() - 0.0001, gon);
        text += rigel::Format(format, e.EndSTA()->Get(), east, north, gon, 9, 0.0, 0.0, 0.0);
    }
    return text;
}

void TrolleyFile::ReadTDTLines(rigel::LineSource& lines, CvPolyLine& alignment) {
    std::string current, next;
    if (!lines.Next(current) || !lines.Next(current)) // the first record holds zeros
        return;
    int made = 0;
    while (lines.Next(next)) {
        TdtRecord a, b;
        if (ScanTdtRecord(current, a) && ScanTdtRecord(next, b)) {
            auto e = std::make_unique<CvPolyElement>(
                DT_Punkt(a.north, a.east, 0.0), DT_Punkt(b.north, b.east, 0.0), a.startRadius,
                a.endRadius, a.length, a.station, b.station, ++made);
            if (e->ElementType() == CvPolyElement::kTransition) {
                const double k = std::fabs(Curvature(a.startRadius) - Curvature(a.endRadius));
                e->SetTransParameter(k == 0.0 ? 0.0 : std::sqrt(std::fabs(a.length) / k));
            }
            alignment.AddElement(e.release());
        }
        current.swap(next);
    }
}

std::string TrolleyFile::HDTText(const DT_PointList& verticalAlignment) {
    const int count = verticalAlignment.Antall();
    std::string text = rigel::Format("%d", count - 1);
    for (int i = 0; i < count; ++i) {
        const DT_Punkt& p = *verticalAlignment.Punkt(i);
        double radius = 999.0; // marks the last point
        if (i + 1 < count) {
            radius = std::fabs(p.z());
            // Sags (the point below the line from its neighbours) have negative radii.
            if (radius > 0.0001 && i > 0 &&
                B_Linje(*verticalAlignment.Punkt(i - 1), *verticalAlignment.Punkt(i + 1))
                        .DistTo3DLine(p) < 0)
                radius = -radius;
        }
        text += rigel::Format("\n%15.6f%17.6f%16.6f", p.x(), p.y(), radius);
    }
    return text;
}

void TrolleyFile::ReadHDTLines(rigel::LineSource& lines, DT_Nodeliste& points) {
    std::string line;
    if (!lines.Next(line))
        return;
    const int last = rigel::Atoi(Streng::Trimmed(line));
    for (int number = 0; lines.Next(line); ++number) {
        const std::string text = Streng::Trimmed(line);
        double station = 0, height = 0, radius = 0;
        if (text.empty() || rigel::Scan(text, "%lf %lf %lf", &station, &height, &radius) != 3)
            continue;
        if (number == last)
            radius = 0.0; // the end marker
        points.Append(std::make_unique<DT_Punkt>(station, height, radius));
    }
}

std::string TrolleyFile::UDTText(const CvPolyLine& alignment, double cantBase) {
    const double base = cantBase > 0 ? cantBase : 1.5;
    std::string text;
    const auto write = [&](const UdtRecord& r) {
        text += rigel::Format("%15.4f %8.4f %8.4f %8.4f %8.4f %d\n", r.station, -base / 2, r.left,
                              base / 2, r.right, 0);
    };
    // A run of elements of constant cant is written as its first start and, where the cant then
    // changes, its last end: the records of such an element wait until it is known which are
    // needed.
    double last = -999.0;
    UdtRecord pendingStart, pendingEnd;
    bool hasPendingStart = false, hasPendingEnd = false;
    const CvPolyElement* tail = alignment.TailElem();
    for (int i = 0; i < alignment.GetCount(); ++i) {
        const CvPolyElement* element = alignment.Element(i);
        if (element->KlasseType() != rigel::klasse::TierTabElementSporop)
            continue;
        const auto& e = static_cast<const TierTabElementSporop&>(*element);
        const UdtRecord start = CantRecord(e.OrigStartSTA()->Get(), e.h1, *e.StartRadius());
        const UdtRecord end = CantRecord(e.OrigEndSTA()->Get(), e.h2, *e.EndRadius());
        if (Differs(start.Value(), last)) {
            if (hasPendingEnd) {
                write(pendingEnd);
                hasPendingStart = false;
            }
            write(start);
            last = start.Value();
        }
        if (Differs(end.Value(), last)) {
            if (hasPendingStart)
                write(start);
            write(end);
            last = end.Value();
        }
        if (element == tail)
            write(end);
        // Only an element of constant cant leaves its records pending.
        pendingStart = start;
        pendingEnd = end;
        hasPendingStart = hasPendingEnd = e.h1.Lik(e.h2.Get(), kUdtTolerance);
    }
    return text;
}

void TrolleyFile::ReadUDTLines(rigel::LineSource& lines, CvPolyLine& alignment) {
    // The survey elements by start station, so that each pair of records visits only the
    // elements that start within it; elements whose stations run backwards are tried for every
    // pair.
    std::vector<TierTabElementSporop*> ordered, backwards;
    for (int i = 0; i < alignment.GetCount(); ++i) {
        CvPolyElement* e = alignment.Element(i);
        if (e->KlasseType() != rigel::klasse::TierTabElementSporop)
            continue;
        auto* survey = static_cast<TierTabElementSporop*>(e);
        if (std::isnan(e->StartSTA()->Get()) || std::isnan(e->EndSTA()->Get()))
            continue; // matches no pair
        (e->EndSTA()->Get() < e->StartSTA()->Get() ? backwards : ordered).push_back(survey);
    }
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
        return a->StartSTA()->Get() < b->StartSTA()->Get();
    });
    const auto assign = [](TierTabElementSporop* e, double from, double to, double h1, double h2) {
        if (e->StartSTA()->StorreEllerLik(from, kUdtStationTolerance) &&
            e->EndSTA()->MindreEllerLik(to, kUdtStationTolerance)) {
            e->h1.Init(h1);
            e->h2.Init(h2);
        }
    };

    const char* format = "%lf %lf %lf %lf %lf %d";
    // Values of the following line; a blank following line leaves those of the one before.
    double next[5] = {0, 0, 0, 0, 0};
    int nextFlag = 0;
    std::string current, following;
    if (!lines.Next(current))
        return;
    while (lines.Next(following)) {
        const std::string a = Streng::Trimmed(current), b = Streng::Trimmed(following);
        if (!a.empty()) {
            if (!b.empty())
                rigel::Scan(b, format, &next[0], &next[1], &next[2], &next[3], &next[4], &nextFlag);
            double c[5];
            int flag = 0;
            if (rigel::Scan(a, format, &c[0], &c[1], &c[2], &c[3], &c[4], &flag) == 6) {
                const double from = c[0], to = next[0];
                const double h1 = 1000.0 * std::max(c[2], c[4]);
                const double h2 = 1000.0 * std::max(next[2], next[4]);
                auto it =
                    std::lower_bound(ordered.begin(), ordered.end(), from - kUdtStationTolerance,
                                     [](const TierTabElementSporop* e, double s) {
                                         return e->StartSTA()->Get() < s;
                                     });
                for (; it != ordered.end() &&
                       (*it)->StartSTA()->MindreEllerLik(to, kUdtStationTolerance);
                     ++it)
                    assign(*it, from, to, h1, h2);
                for (TierTabElementSporop* e : backwards)
                    assign(e, from, to, h1, h2);
            }
        }
        current.swap(following);
    }
}
