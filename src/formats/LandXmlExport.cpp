// The LandXML export: the project's horizontal alignment (Line, Curve, Spiral), its vertical
// alignment (PVI, CircCurve) and, from version 1.1 on, its cants, as one document.
//
// The alignments are first turned into texts (each element's two tier-table lines and its
// railway value text, each vertical intersection point as "%.15f %.15f %.15f") and the document
// is built from those texts read back, so that the file shows exactly what the tier-table and
// railway value layouts carry.
//
// Choices made here:
// - Project name: the first project text, trimmed; when empty, the file name without folder and
//   extension. Alignment name: the second project text; when empty, the project name.
// - An element whose lines cannot be written or read back (a value that is not finite) is left
//   out and traced. An element without railway values (not a TierTabElementSporop) gives no cant
//   station.
// - A transition whose stored parameter is 0 gets the clothoid parameter of its length and radii,
//   so that it is still written as a Spiral.
// - dirStart and dirEnd are taken from the element itself at its two ends, so that a kink
//   between elements shows in the file.
// - A point's height is written when it is not 0.
// - Without vertical intersection points no Profile is written; Profile's staStart is the
//   station of the first point; ProfAlign carries the alignment's name.
// - appliedCant is written in millimetres, as the element carries it.
#include "elements/CvTransCurveOk.h"
#include "formats/LandXmlImEx.h"
#include "formats/RailwayValues.h"
#include "formats/TrackProject.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/CodePage.h"
#include "platform/base/Filnavn.h"
#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"
#include "platform/host/CWinApp.h"
#include "platform/host/ModuleVersion.h"
#include "platform/host/Win32.h"
#include "platform/polyline/CvPolyLine.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <pugixml.hpp>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr double kPi = std::numbers::pi;
constexpr double kTwoPi = 2.0 * std::numbers::pi;

// Days since 1970-01-01 of a civil date (proleptic Gregorian).
long long DaysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const int yoe = static_cast<int>(y - era * 400);
    const int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

long long SecondsOf(const SYSTEMTIME& t) {
    return DaysFromCivil(t.wYear, t.wMonth, t.wDay) * 86400 + t.wHour * 3600LL + t.wMinute * 60LL +
           t.wSecond;
}

// An angle brought into [0, 2pi); a value within 1e-9 of 2pi becomes 0.
double Normalised(double angle) {
    angle = std::fmod(angle, kTwoPi);
    if (angle < 0.0)
        angle += kTwoPi;
    if (std::fabs(angle - kTwoPi) < 1e-9)
        angle = 0.0;
    return angle;
}

// One horizontal element as its texts give it.
struct Segment {
    int type = 1;
    double startSTA = 0.0, endSTA = 0.0;
    DT_Punkt start, end;
    double startRadius = 0.0, endRadius = 0.0, length = 0.0, transition = 0.0;
    bool hasRailway = false;
    rigel::RailwayDataItems railway;
};

// Reads an element's three texts; false when a line does not give its seven values.
bool ReadSegment(const std::string& line1, const std::string& line2, const std::string& values,
                 rigel::RailwayData& parsed, Segment& out) {
    int number = 0;
    double x1 = 0, y1 = 0, z1 = 0, x2 = 0, y2 = 0, z2 = 0;
    if (rigel::Scan(line1, "%d %lf %lf %lf %lf %lf %lf", &number, &out.startSTA, &x1, &y1, &z1,
                    &out.startRadius, &out.length) != 7 ||
        rigel::Scan(line2, "%d %lf %lf %lf %lf %lf %lf", &out.type, &out.endSTA, &x2, &y2, &z2,
                    &out.endRadius, &out.transition) != 7)
        return false;
    out.start.Init(x1, y1, z1);
    out.end.Init(x2, y2, z2);
    if (std::fabs(out.transition) <= 0.0009 && out.type == CvPolyElement::kTransition)
        out.transition =
            CvTransCurveOk().ParameterFromLength(out.startRadius, out.endRadius, out.length);
    if (!values.empty()) {
        out.hasRailway = true;
        out.railway = parsed.ParseRailwayData(values);
    }
    return true;
}

// Turns and sides: "cw" for a curve to the right. A transition takes the side of its sharper end.
const char* Rotation(double startRadius, double endRadius) {
    const double k =
        (startRadius != 0.0 ? 1.0 / startRadius : 0.0) + (endRadius != 0.0 ? 1.0 / endRadius : 0.0);
    return k >= 0.0 ? "cw" : "ccw";
}

class DocumentBuilder {
public:
    explicit DocumentBuilder(LandXmlImEx& owner)
        : owner_(owner), decimals_(owner.Precision < 0 ? 6 : std::min(owner.Precision, 17)) {}

    std::string Number(double value, int decimals = -1) const {
        std::string out;
        rigel::AppendFixed(out, value, decimals < 0 ? decimals_ : decimals);
        return out;
    }
    void SetNumber(pugi::xml_node node, const char* name, double value, int decimals = -1) const {
        if (!std::isfinite(value))
            return;
        SetText(node, name, Number(value, decimals));
    }
    static void SetText(pugi::xml_node node, const char* name, const std::string& value) {
        pugi::xml_attribute attribute = node.attribute(name);
        if (!attribute)
            attribute = node.append_attribute(name);
        attribute.set_value(value.c_str());
    }
    // A station, elevation or coordinate in a point text: infinite values as "INF" / "-INF".
    std::string Coordinate(double value) const {
        if (std::isinf(value))
            return value > 0 ? "INF" : "-INF";
        if (std::isnan(value))
            return "NaN";
        return Number(value);
    }
    void AppendPoint(pugi::xml_node parent, const char* name, const DT_Punkt& p) const {
        std::string text = Coordinate(p.x()) + " " + Coordinate(p.y());
        if (p.z() != 0.0)
            text += " " + Coordinate(p.z());
        parent.append_child(name).text().set(text.c_str());
    }

    void Line(pugi::xml_node geometry, const Segment& s, double staStart) {
        pugi::xml_node line = geometry.append_child("Line");
        SetNumber(line, "staStart", staStart);
        AppendPoint(line, "Start", s.start);
        AppendPoint(line, "End", s.end);
        const double length = s.start.AvstandTil(s.end);
        SetNumber(line, "length", length);
        SetNumber(line, "dir", Normalised(s.start.AngleTo(s.end)));
        owner_.RunningLength += length;
    }

    void Curve(pugi::xml_node geometry, const Segment& s, double staStart, double dirStart,
               double dirEnd) {
        const double radius = s.startRadius;
        const double chord = s.start.AvstandTil(s.end);
        // The centre lies on the chord's perpendicular bisector, to the right of the chord for a
        // right-hand arc shorter than a half circle, to its left for a longer one.
        const double half = chord / 2.0;
        const double rise = std::sqrt(std::max(0.0, radius * radius - half * half));
        const bool larger = std::fabs(radius) * kPi < s.endSTA - s.startSTA;
        const double side = ((radius >= 0.0) != larger) ? 1.0 : -1.0;
        double centreX = (s.start.x() + s.end.x()) / 2.0, centreY = (s.start.y() + s.end.y()) / 2.0;
        if (chord > 0.0) {
            const double dx = (s.end.x() - s.start.x()) / chord;
            const double dy = (s.end.y() - s.start.y()) / chord;
            // To the right of the direction (dx north, dy east) is (-dy north, dx east).
            centreX += side * rise * -dy;
            centreY += side * rise * dx;
        }
        pugi::xml_node curve = geometry.append_child("Curve");
        SetNumber(curve, "staStart", staStart);
        AppendPoint(curve, "Start", s.start);
        AppendPoint(curve, "Center", DT_Punkt(centreX, centreY));
        AppendPoint(curve, "End", s.end);
        SetText(curve, "rot", radius >= 0.0 ? "cw" : "ccw");
        SetNumber(curve, "length", std::fabs(s.length));
        SetNumber(curve, "radius", std::fabs(radius));
        SetNumber(curve, "chord", chord);
        SetNumber(curve, "dirStart", dirStart);
        SetNumber(curve, "dirEnd", dirEnd);
        owner_.RunningLength += std::fabs(s.length);
    }

    void Spiral(pugi::xml_node geometry, const Segment& s, double staStart, double dirStart,
                double dirEnd) {
        // PI: where the tangents at the two ends meet (the chord's middle when they are
        // parallel).
        const double n0 = std::cos(dirStart), e0 = std::sin(dirStart);
        const double n1 = std::cos(dirEnd), e1 = std::sin(dirEnd);
        const double cross = n0 * e1 - e0 * n1;
        DT_Punkt pi((s.start.x() + s.end.x()) / 2.0, (s.start.y() + s.end.y()) / 2.0);
        if (std::fabs(cross) > 1e-12) {
            const double dn = s.end.x() - s.start.x(), de = s.end.y() - s.start.y();
            const double t = (dn * e1 - de * n1) / cross;
            pi.Init(s.start.x() + t * n0, s.start.y() + t * e0);
        }
        pugi::xml_node spiral = geometry.append_child("Spiral");
        SetNumber(spiral, "staStart", staStart);
        SetNumber(spiral, "constant", s.transition, 3);
        AppendPoint(spiral, "Start", s.start);
        AppendPoint(spiral, "PI", pi);
        AppendPoint(spiral, "End", s.end);
        const auto radiusText = [this](double r) {
            return std::fabs(r) < 1e-5 ? std::string("INF") : Number(std::fabs(r));
        };
        SetText(spiral, "radiusStart", radiusText(s.startRadius));
        SetText(spiral, "radiusEnd", radiusText(s.endRadius));
        SetText(spiral, "spiType", "clothoid");
        SetNumber(spiral, "length", std::fabs(s.length));
        SetText(spiral, "rot", Rotation(s.startRadius, s.endRadius));
        SetNumber(spiral, "dirStart", dirStart);
        SetNumber(spiral, "dirEnd", dirEnd);
        owner_.RunningLength += std::fabs(s.length);
    }

    // The azimuth of the direction of travel at a station of the element, in [0, 2pi).
    static double Direction(const CvPolyElement& element, double station) {
        DT_Punkt point;
        DT_Double direction;
        if (element.PosAtStation(station, &point, &direction) == 0)
            return std::nan("");
        return Normalised(kTwoPi - (direction.Get() - kPi / 2.0));
    }

    void CoordGeom(pugi::xml_node alignment, const std::vector<Segment>& segments,
                   double staStart) {
        pugi::xml_node geometry = alignment.append_child("CoordGeom");
        for (const Segment& s : segments) {
            const double station = staStart + owner_.RunningLength;
            const bool transition = std::fabs(s.transition) > 0.0009;
            if (!transition && std::fabs(s.startRadius) < 0.0009 &&
                std::fabs(s.endRadius) < 0.0009) {
                Line(geometry, s, station);
                continue;
            }
            const CvPolyElement element(s.start, s.end, s.startRadius, s.endRadius, s.length,
                                        s.startSTA, s.endSTA);
            const double dirStart = Direction(element, s.startSTA);
            const double dirEnd = Direction(element, s.endSTA);
            if (!transition)
                Curve(geometry, s, station, dirStart, dirEnd);
            else
                Spiral(geometry, s, station, dirStart, dirEnd);
        }
    }

    void Profile(pugi::xml_node alignment, const std::vector<DT_Punkt>& points,
                 const std::string& name) {
        if (points.empty())
            return;
        pugi::xml_node profile = alignment.append_child("Profile");
        SetNumber(profile, "staStart", points.front().x());
        pugi::xml_node prof = profile.append_child("ProfAlign");
        SetText(prof, "name", name);
        const auto text = [this](const DT_Punkt& p) {
            return Coordinate(p.x()) + " " + Coordinate(p.y());
        };
        for (std::size_t i = 0; i < points.size(); ++i) {
            const DT_Punkt& p = points[i];
            const bool end = i == 0 || i + 1 == points.size();
            if (end || std::fabs(p.z()) <= 0.001 || !(p.x() > points[i - 1].x()) ||
                !(p.x() < points[i + 1].x())) {
                prof.append_child("PVI").text().set(text(p).c_str());
                continue;
            }
            const double as = points[i - 1].x() - p.x(), ae = points[i - 1].y() - p.y();
            const double bs = points[i + 1].x() - p.x(), be = points[i + 1].y() - p.y();
            const double la = std::hypot(as, ae), lb = std::hypot(bs, be);
            const double dot = as * bs + ae * be;
            double length = 0.0;
            if (la * lb != 0.0 && dot != 0.0) {
                const double angle = std::acos(std::clamp(dot / (la * lb), -1.0, 1.0));
                const double tangent = std::fabs(p.z()) / std::tan(angle / 2.0);
                length = tangent * (std::fabs(as) / la + std::fabs(bs) / lb);
            }
            pugi::xml_node curve = prof.append_child("CircCurve");
            SetNumber(curve, "length", length);
            SetNumber(curve, "radius", std::fabs(p.z()));
            curve.text().set(text(p).c_str());
        }
    }

    void Cant(pugi::xml_node alignment, const std::vector<Segment>& segments,
              const std::string& name) {
        pugi::xml_node cant;
        for (const Segment& s : segments) {
            if (!s.hasRailway)
                continue;
            if (!cant) {
                cant = alignment.append_child("Cant");
                SetText(cant, "name", name);
                SetNumber(cant, "gauge", std::fabs(owner_.Gauge) <= 0.01 ? 1.5 : owner_.Gauge);
                SetText(cant, "rotationPoint", rigel::Utf8FromWindows1252(owner_.RotationPoint));
            }
            pugi::xml_node station = cant.append_child("CantStation");
            SetNumber(station, "station", s.startSTA + rigel::RailwayItemNumber(s.railway, "HOS"));
            SetNumber(station, "appliedCant", std::fabs(rigel::RailwayItemNumber(s.railway, "H")),
                      3);
            if (const double deficiency = rigel::RailwayItemNumber(s.railway, "I");
                deficiency != 0.0)
                SetNumber(station, "cantDeficiency", deficiency);
            if (const double speed = rigel::RailwayItemNumber(s.railway, "V"); speed != 0.0)
                SetNumber(station, "speed", speed);
            const bool transition = std::fabs(s.transition) > 0.0009;
            SetText(station, "curvature",
                    transition ? Rotation(s.startRadius, s.endRadius)
                               : (s.startRadius >= 0.0 ? "cw" : "ccw"));
            if (transition)
                SetText(station, "transitionType", "clothoid");
        }
    }

private:
    LandXmlImEx& owner_;
    int decimals_;
};

struct StringWriter : pugi::xml_writer {
    std::string bytes;
    void write(const void* data, std::size_t size) override {
        bytes.append(static_cast<const char*>(data), size);
    }
};

std::string UserName() {
    char name[257] = {};
    DWORD size = sizeof name;
    return GetUserNameA(name, &size) ? std::string(name) : std::string();
}

} // namespace

std::string LandXmlImEx::HeaderDate(const SYSTEMTIME& local) {
    return rigel::Format("%04i-%02i-%02i", local.wYear, local.wMonth, local.wDay);
}

std::string LandXmlImEx::HeaderTime(const SYSTEMTIME& local, const SYSTEMTIME& utc) {
    std::string text = rigel::Format("%02i:%02i:%02i", local.wHour, local.wMinute, local.wSecond);
    if (local.wHour != utc.wHour) {
        // The two clocks are read one after the other: the offset is taken to the nearest minute
        // and then in whole hours towards zero (a zone of +05:30 is written +05:00).
        const long long seconds = SecondsOf(local) - SecondsOf(utc);
        const long long minutes = (seconds + (seconds >= 0 ? 30 : -30)) / 60;
        rigel::FormatAppend(text, "%+03i:00", static_cast<int>(minutes / 60));
    }
    return text;
}

bool LandXmlImEx::Export(TrackProject* project, const char* fileName) {
    if (project == nullptr || fileName == nullptr || project->alignment.GetCount() == 0)
        return false;
    try {
        Gauge = project->referenceGauge;
        AlignmentTarget = &project->alignment;
        ProfileTarget = &project->verticalAlignment;
        if (const CWinApp* app = AfxGetApp())
            Precision = app->GetProfileInt("Settings", "Export Precision", 6);
        CString projectText = project->projectTexts[0];
        ProjectName = projectText.Trim().str();
        if (ProjectName.empty())
            ProjectName = Filnavn(fileName).Navn().str();
        CString alignmentText = project->projectTexts[1];
        AlignmentName = alignmentText.TrimRight().str();
        if (AlignmentName.empty())
            AlignmentName = ProjectName;
        RunningLength = 0.0;

        // The element texts: two tier-table lines and the railway values per element, one text
        // per vertical intersection point.
        std::vector<std::string> elementTexts;
        elementTexts.reserve(static_cast<std::size_t>(AlignmentTarget->GetCount()) * 3);
        for (int i = 0; i < AlignmentTarget->GetCount(); ++i) {
            const CvPolyElement* element = AlignmentTarget->Element(i);
            Streng line1, line2;
            int written = 0;
            if (element->Frame() == 1) {
                written = element->GetLinesTIT(&line1, &line2, 11);
            } else {
                CvPolyElement copy(*element);
                copy.MapCoord(1, 1);
                written = copy.GetLinesTIT(&line1, &line2, 11);
            }
            const auto* record = dynamic_cast<const TierTabElementSporop*>(element);
            elementTexts.push_back(written ? line1.str() : std::string());
            elementTexts.push_back(written ? line2.str() : std::string());
            elementTexts.push_back(record != nullptr ? rigel::RailwayValueText(*record) : "");
        }
        std::vector<std::string> verticalTexts;
        for (int i = 0; i < ProfileTarget->Antall(); ++i) {
            const DT_Punkt* p = ProfileTarget->Punkt(i);
            verticalTexts.push_back(rigel::Format("%.15f %.15f %.15f", p->x(), p->y(), p->z()));
        }

        // Read back.
        rigel::RailwayData railway;
        std::vector<Segment> segments;
        for (std::size_t i = 0; i + 2 < elementTexts.size(); i += 3) {
            Segment segment;
            if (ReadSegment(elementTexts[i], elementTexts[i + 1], elementTexts[i + 2], railway,
                            segment))
                segments.push_back(std::move(segment));
            else
                rigel::Trace("[LandXmlImEx::Export] element %d left out: its values are not "
                             "finite\n",
                             static_cast<int>(i / 3) + 1);
        }
        std::vector<DT_Punkt> vertical;
        for (const std::string& text : verticalTexts) {
            double station = 0, elevation = 0, radius = 0;
            if (rigel::Scan(text, "%lf %lf %lf", &station, &elevation, &radius) >= 2)
                vertical.emplace_back(station, elevation, radius);
        }

        // The header.
        SYSTEMTIME local{}, utc{};
        for (int attempt = 0; attempt < 3; ++attempt) {
            GetLocalTime(&local);
            GetSystemTime(&utc);
            if (local.wSecond == utc.wSecond) // both read within one second
                break;
        }
        const std::string version = rigel::Format("%d.%d", VersionMajor, VersionMinor);
        NamespaceUri = NamespaceFor(VersionMajor, VersionMinor);
        const std::string header = "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n<LandXML xmlns=\"" +
                                   NamespaceUri +
                                   "\" xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                                   "xsi:schemaLocation=\"" +
                                   NamespaceUri + " " + NamespaceUri + "/LandXML-" + version +
                                   ".xsd\" date=\"" + HeaderDate(local) + "\" time=\"" +
                                   HeaderTime(local, utc) + "\" version=\"" + version + "\"/>";
        Document = std::make_unique<pugi::xml_document>();
        if (!Document->load_string(header.c_str(), pugi::parse_default | pugi::parse_declaration))
            throw std::runtime_error("the header does not parse");
        pugi::xml_node root = Document->document_element();

        DocumentBuilder builder(*this);
        pugi::xml_node metric = root.append_child("Units").append_child("Metric");
        for (const auto& [name, value] : {std::pair{"areaUnit", "squareMeter"},
                                          {"linearUnit", "meter"},
                                          {"volumeUnit", "cubicMeter"},
                                          {"temperatureUnit", "celsius"},
                                          {"pressureUnit", "mmHG"},
                                          {"angularUnit", "radians"},
                                          {"directionUnit", "radians"}})
            builder.SetText(metric, name, value);
        pugi::xml_node application = root.append_child("Application");
        builder.SetText(application, "name", kApplicationName);
        builder.SetText(application, "manufacturer", kManufacturerName);
        builder.SetText(application, "version", rigel::ModuleVersion());
        builder.SetText(application, "manufacturerURL", kManufacturerUrl);
        builder.SetText(application.append_child("Author"), "createdBy",
                        rigel::Utf8FromWindows1252(UserName()));
        pugi::xml_node projectNode = root.append_child("Project");
        builder.SetText(projectNode, "name", rigel::Utf8FromWindows1252(ProjectName));

        pugi::xml_node alignments = root.child("Alignments");
        if (!alignments) {
            alignments = root.append_child("Alignments");
            builder.SetText(alignments, "name", projectNode.attribute("name").value());
        }
        const std::string name = rigel::Utf8FromWindows1252(AlignmentName);
        const double staStart = segments.empty() ? 0.0 : segments.front().startSTA;
        pugi::xml_node alignment = alignments.append_child("Alignment");
        builder.SetText(alignment, "name", name);
        builder.SetNumber(alignment, "staStart", staStart);
        builder.CoordGeom(alignment, segments, staStart);
        builder.SetNumber(alignment, "length", RunningLength);
        builder.SetNumber(alignment, "staStart", staStart);
        builder.Profile(alignment, vertical, name);
        if (VersionMajor > 1 || (VersionMajor == 1 && VersionMinor > 0))
            builder.Cant(alignment, segments, name);

        StringWriter writer;
        Document->save(writer, "\t", pugi::format_indent, pugi::encoding_utf8);
        std::string reason;
        if (!rigel::WriteFileAtomically(fileName, writer.bytes, &reason))
            throw std::runtime_error(reason);
        return true;
    } catch (const std::exception& e) {
        rigel::Trace("[LandXmlImEx::Export] %s: %s\n", fileName, e.what());
    } catch (...) {
        rigel::Trace("[LandXmlImEx::Export] %s: unknown failure\n", fileName);
    }
    ErrorText = "Exception in Save method";
    return false;
}
