// The LandXML import: loading, units, survey points, horizontal alignments and profiles. The
// cants are in LandXmlCant.cpp.
//
// The document holds elements by their local names (LandXmlReader.h), so the queries below name
// elements without a prefix; ElementPrefix is still set as the file asks, for callers that look.
#include "elements/CvTransCurveOk.h"
#include "elements/TierTabElementSporop.h"
#include "formats/LandXmlImEx.h"
#include "formats/LandXmlReader.h"
#include "platform/base/CodePage.h"
#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"
#include "platform/base/VS_LinjePaalegg.h"
#include "platform/host/HostUi.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CvSporopPointList.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <numbers>
#include <pugixml.hpp>

namespace {

constexpr const char* kCaption = "LandXML Import/Export";

bool Is(const pugi::xml_node& node, const char* name) {
    return std::strcmp(node.name(), name) == 0;
}

// A number in an attribute counts as present only when the text starts with one.
bool NumberAttribute(const pugi::xml_node& node, const char* name, double& value) {
    const pugi::xml_attribute attribute = node.attribute(name);
    if (attribute.empty())
        return false;
    double parsed = 0.0;
    if (rigel::ParseDouble(attribute.value(), parsed) == 0)
        return false;
    value = parsed;
    return true;
}

double NumberOr(const pugi::xml_node& node, const char* name, double fallback) {
    double value = fallback;
    NumberAttribute(node, name, value);
    return value;
}

double Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

// Value matches a unit name when it equals the name's first characters (so "" matches the first
// name of a table). An attribute that is missing matches nothing.
template <std::size_t N>
int MatchUnit(const pugi::xml_attribute& attribute, const char* const (&names)[N]) {
    if (attribute.empty())
        return -1;
    const std::string_view value = attribute.value();
    for (std::size_t i = 0; i < N; ++i) {
        const std::string_view name = names[i];
        if (value.size() <= name.size() && name.substr(0, value.size()) == value)
            return static_cast<int>(i);
    }
    return -1;
}

double PlaneDistance(const LandXmlImEx::KeyedPoint& a, const LandXmlImEx::KeyedPoint& b) {
    return std::hypot(b.northing - a.northing, b.easting - a.easting);
}

// In space when the first point has a height, else in the plane.
double Distance(const LandXmlImEx::KeyedPoint& a, const LandXmlImEx::KeyedPoint& b) {
    if (!a.hasHeight)
        return PlaneDistance(a, b);
    const double dz = (b.hasHeight ? b.height : 0.0) - a.height;
    return std::sqrt(std::pow(PlaneDistance(a, b), 2) + dz * dz);
}

// Most codes and names are ASCII, the same in both code pages: they are taken without a copy.
void AppendWindows1252(std::string& out, std::string_view utf8) {
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            out += rigel::Windows1252FromUtf8(utf8);
            return;
        }
    }
    out += utf8;
}

// Scan(text, "%lf %lf %lf") for the common text of plain decimal numbers between blanks, read
// as Scan reads them; any other text goes to Scan itself.
int ScanPointText(std::string_view text, double& x, double& y, double& z) {
    const auto blank = [](char c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    const auto digit = [](char c) { return c >= '0' && c <= '9'; };
    double* const targets[3] = {&x, &y, &z};
    const char* p = text.data();
    const char* const end = p + text.size();
    for (int done = 0; done < 3; ++done) {
        while (p < end && blank(*p))
            ++p;
        if (p == end)
            return done == 0 ? -1 : done;
        double value = 0.0;
        const bool plain =
            digit(*p) || *p == '.' || (*p == '-' && end - p > 1 && (digit(p[1]) || p[1] == '.'));
        const auto read = plain ? std::from_chars(p, end, value)
                                : std::from_chars_result{p, std::errc::invalid_argument};
        if (read.ec != std::errc() || (read.ptr != end && !blank(*read.ptr)))
            return rigel::Scan(text, "%lf %lf %lf", &x, &y, &z);
        *targets[done] = value;
        p = read.ptr;
    }
    return 3;
}

std::unique_ptr<TierTabElementSporop> NewElement(const LandXmlImEx::KeyedPoint& start,
                                                 const LandXmlImEx::KeyedPoint& end, double station,
                                                 double length, int number) {
    auto element = std::make_unique<TierTabElementSporop>();
    element->SetStartSTA(station);
    element->SetEndSTA(station + length);
    element->SetStartPoint(start.northing, start.easting, 0.0);
    element->SetEndPoint(end.northing, end.easting, 0.0);
    element->SetLength(length);
    element->SetElementNumber(number);
    const DT_Double startSTA(station), endSTA(station + length);
    element->OrigStartSTA(&startSTA);
    element->OrigEndSTA(&endSTA);
    return element;
}

} // namespace

std::string LandXmlImEx::SchemaDirectory() {
    const char* folder = std::getenv("RIGEL_LANDXML_SCHEMAS");
    return folder == nullptr ? std::string() : std::string(folder);
}

// There is no network here: the schema of the current version is the file LandXML-<v>.xsd in the
// schema folder, and it counts as loaded when it is a well-formed document. It is not used to
// validate (the document is read whether it conforms or not), as the steps of a load require.
bool LandXmlImEx::LoadSchema() {
    const std::string folder = SchemaDirectory();
    if (!folder.empty()) {
        const std::string path =
            folder + rigel::Format("/LandXML-%d.%d.xsd", VersionMajor, VersionMinor);
        pugi::xml_document schema;
        if (rigel::ReadLandXmlFile(path, schema))
            return true;
    }
    ErrorText = "Could not load schema! Validation impossible.";
    return false;
}

bool LandXmlImEx::Load(const char* fileName, bool process) {
    const std::string name = fileName == nullptr ? std::string() : std::string(fileName);
    return LoadWith(name, process,
                    [&](pugi::xml_document& document, const rigel::LandXmlReadOptions& options,
                        std::string* reason) {
                        return fileName != nullptr &&
                               rigel::ReadLandXmlFile(name, document, options, reason);
                    });
}

bool LandXmlImEx::LoadBuffer(std::string_view bytes, bool process) {
    return LoadWith({}, process,
                    [&](pugi::xml_document& document, const rigel::LandXmlReadOptions& options,
                        std::string* reason) {
                        return rigel::ReadLandXmlBuffer(bytes, document, options, reason);
                    });
}

bool LandXmlImEx::LoadWith(
    const std::string& fileName, bool process,
    const std::function<bool(pugi::xml_document&, const rigel::LandXmlReadOptions&, std::string*)>&
        read) {
    OnBeforeLoad(fileName);
    bool result = true;
    if (!Loaded) {
        Document = std::make_unique<pugi::xml_document>();
        LoadSchema();
        std::string reason;
        if (!read(*Document, PointReading(), &reason)) {
            // Points read before the document turned out malformed are not kept.
            PointsByKey.clear();
            rigel::Trace("[LandXmlImEx::Load] %s: %s\n", fileName.c_str(), reason.c_str());
            ErrorText = "Could not load file from disk";
            return false;
        }
        const pugi::xml_node root = Document->document_element();
        const char* ns = root.attribute("xmlns").value();
        if (*ns == '\0')
            ns = root.attribute("xmlns:lx").value();
        if (*ns != '\0')
            ElementPrefix = "lx:";
        if (process)
            result = ProcessDocument();
        int major = 0, minor = 0;
        if (Is(root, "LandXML") &&
            rigel::Scan(root.attribute("version").value(), "%d.%d", &major, &minor) == 2) {
            VersionMajor = major;
            VersionMinor = minor;
            NamespaceUri = NamespaceFor(major, minor);
        }
        Loaded = true;
    } else if (process) {
        if (!handedOverFrom_.empty()) {
            // ImportPoints gave the points away: the file's points are read again, so that the
            // map holds what it held before.
            pugi::xml_document unused;
            rigel::ReadLandXmlFile(handedOverFrom_, unused, PointReading());
            handedOverFrom_.clear();
        }
        result = ProcessDocument();
    }
    OnAfterLoad(result);
    return result;
}

rigel::LandXmlReadOptions LandXmlImEx::PointReading() {
    // The points of large groups are taken as they stream past rather than kept as nodes.
    rigel::LandXmlReadOptions options;
    options.pointSink = [this](const rigel::LandXmlPointRecord& point) {
        if (!point.groupHasName)
            AddCgPoint(point.hasCode, point.code, point.hasName, point.name, point.text,
                       point.pntRef);
    };
    return options;
}

bool LandXmlImEx::ProcessDocument() {
    const pugi::xml_node root = Document ? Document->document_element() : pugi::xml_node();
    if (!root)
        return false;
    // The coordinate system is not used (nor kept by the reader).
    ReadUnits(root);
    ReadCgPoints(root);
    if (AlignmentTarget != nullptr && ProfileTarget != nullptr)
        ReadAlignments(root);
    return true;
}

void LandXmlImEx::ReadUnits(const pugi::xml_node& root) {
    const pugi::xml_node block = root.child("Units").find_child(
        [](const pugi::xml_node& node) { return node.type() == pugi::node_element; });
    if (!block)
        return;
    static const char* const kAngular[] = {"radians", "grads", "decimal degrees",
                                           "decimal degrees dd.mm.ss"};
    static const double kAngularFactors[] = {1.0, std::numbers::pi / 200.0,
                                             std::numbers::pi / 180.0, std::numbers::pi / 180.0};
    const int angular = MatchUnit(block.attribute("angularUnit"), kAngular);
    if (angular >= 0) {
        AngularFactor = kAngularFactors[angular];
        if (angular == 3)
            DmsAngles = true;
    }
    static const char* const kLinear[] = {"millimeter",   "centimeter", "kilometer", "foot",
                                          "USSurveyFoot", "inch",       "mile"};
    static const double kLinearFactors[] = {0.001, 0.01, 1000.0, 0.3048, 0.3048, 0.0254, 1609.3};
    const int linear = MatchUnit(block.attribute("linearUnit"), kLinear);
    if (linear >= 0) {
        LinearFactor = kLinearFactors[linear];
        if (linear == 4)
            ErrorText = "Imperial unit: USSurveyFoot not supported, unit factor set to Imperial "
                        "foot";
    }
}

LandXmlImEx::KeyedPoint LandXmlImEx::PointText(std::string_view text,
                                               std::string_view pntRef) const {
    KeyedPoint point;
    double x = 0.0, y = 0.0, z = 0.0;
    const int count = ScanPointText(text, x, y, z);
    if (count >= 2) {
        point.northing = x;
        point.easting = y;
        if (count >= 3) {
            point.height = z;
            point.hasHeight = true;
        }
        return point;
    }
    PointsByKey.Find(rigel::Windows1252FromUtf8(pntRef), point);
    return point;
}

LandXmlImEx::KeyedPoint LandXmlImEx::PointText(const pugi::xml_node& node) const {
    return PointText(node.child_value(), node.attribute("pntRef").value());
}

void LandXmlImEx::AddCgPoint(bool hasCode, std::string_view code, bool hasName,
                             std::string_view name, std::string_view text,
                             std::string_view pntRef) {
    codeBuffer_.clear();
    nameBuffer_.clear();
    if (hasCode)
        AppendWindows1252(codeBuffer_, code);
    if (hasName)
        AppendWindows1252(nameBuffer_, name);
    // The key is the code, then "§" and the name; a later point with the same key replaces the
    // earlier one.
    PointsByKey.insert_or_assign(codeBuffer_, hasName, nameBuffer_, PointText(text, pntRef));
}

void LandXmlImEx::ReadCgPoints(const pugi::xml_node& root) {
    for (const pugi::xml_node& group : root.children("CgPoints")) {
        if (!group.attribute("name").empty())
            continue;
        for (const pugi::xml_node& point : group.children("CgPoint")) {
            const pugi::xml_attribute code = point.attribute("code");
            const pugi::xml_attribute name = point.attribute("name");
            AddCgPoint(!code.empty(), code.value(), !name.empty(), name.value(),
                       point.child_value(), point.attribute("pntRef").value());
        }
    }
}

void LandXmlImEx::ReadAlignments(const pugi::xml_node& root) {
    for (const pugi::xml_node& alignments : root.children("Alignments")) {
        for (const pugi::xml_node& alignment : alignments.children("Alignment")) {
            ErrorText.clear();
            const std::string name =
                rigel::Windows1252FromUtf8(alignment.attribute("name").value());
            AlignmentStartStation = NumberOr(alignment, "staStart", 0.0) * LinearFactor;
            bool ok = true;
            const pugi::xml_node coordGeom = alignment.child("CoordGeom");
            if (coordGeom && coordGeom.first_child())
                ok = ReadCoordGeom(coordGeom);
            for (const pugi::xml_node& profile : alignment.children("Profile"))
                for (const pugi::xml_node& profAlign : profile.children("ProfAlign"))
                    if (ok)
                        ok = ReadProfAlign(profAlign);
            if (alignment.child("Cant"))
                ImportCant(alignment, name);
        }
    }
}

bool LandXmlImEx::ReadCoordGeom(const pugi::xml_node& coordGeom) {
    double s0 = AlignmentStartStation;
    int number = 0;
    for (const pugi::xml_node& child : coordGeom.children()) {
        ++number;
        double station = s0;
        double staStart = 0.0;
        if (NumberAttribute(child, "staStart", staStart))
            station = staStart * LinearFactor;
        if (Is(child, "Line")) {
            const KeyedPoint start = PointText(child.child("Start"));
            const KeyedPoint end = PointText(child.child("End"));
            double length = 0.0;
            if (NumberAttribute(child, "length", length))
                length *= LinearFactor;
            else
                length = Distance(start, end);
            AlignmentTarget->AddElement(NewElement(start, end, station, length, number).release());
            s0 += Distance(start, end);
        } else if (Is(child, "Curve")) {
            const KeyedPoint start = PointText(child.child("Start"));
            const KeyedPoint centre = PointText(child.child("Center"));
            const KeyedPoint end = PointText(child.child("End"));
            double radius = 0.0;
            if (NumberAttribute(child, "radius", radius))
                radius *= LinearFactor;
            else
                radius = PlaneDistance(start, centre);
            radius = Rounded(radius, Precision);
            if (std::strcmp(child.attribute("rot").value(), "ccw") == 0 && radius > 0.0)
                radius = -radius;
            double length = NumberOr(child, "length", 0.0) * LinearFactor;
            if (length < 0.0009)
                length =
                    Rounded(2.0 * std::asin(PlaneDistance(start, end) / (2.0 * radius)) * radius,
                            Precision);
            auto element = NewElement(start, end, station, length, number);
            element->SetStartRadius(radius);
            element->SetEndRadius(radius);
            AlignmentTarget->AddElement(element.release());
            s0 += length;
        } else if (Is(child, "Spiral")) {
            const std::string type = child.attribute("spiType").value();
            if (type != "clothoid") {
                rigel::GetHostUi()->MessageBox("Spiral type \"" + rigel::Windows1252FromUtf8(type) +
                                                   "\" not supported",
                                               kCaption, MB_OK);
                continue;
            }
            const KeyedPoint start = PointText(child.child("Start"));
            const KeyedPoint end = PointText(child.child("End"));
            const double length = NumberOr(child, "length", 0.0) * LinearFactor;
            const double given1 = NumberOr(child, "radiusStart", 0.0) * LinearFactor;
            const double given2 = NumberOr(child, "radiusEnd", 0.0) * LinearFactor;
            double r1 = given1, r2 = given2;
            if (std::strcmp(child.attribute("radiusStart").value(), "INF") == 0) {
                r1 = 0.0;
                r2 = Rounded(given2, Precision);
            } else if (std::strcmp(child.attribute("radiusEnd").value(), "INF") == 0) {
                r2 = 0.0;
            }
            if (std::strcmp(child.attribute("rot").value(), "ccw") == 0) {
                r1 = -r1;
                r2 = -r2;
            }
            auto element = NewElement(start, end, station, length, number);
            element->SetStartRadius(r1);
            element->SetEndRadius(r2);
            if (element->ElementType() == CvPolyElement::kTransition)
                element->SetTransParameter(CvTransCurveOk().ParameterFromLength(r1, r2, length));
            AlignmentTarget->AddElement(element.release());
            s0 += length;
        } else if (Is(child, "IrregularLine") || Is(child, "Feature")) {
            continue;
        } else if (Is(child, "Chain")) {
            ErrorText = "<Chain> element is unsupported";
            return false;
        } else {
            ErrorText = "Unknown horizontal alignment element in xml: \"" +
                        rigel::Windows1252FromUtf8(child.name());
            return false;
        }
    }
    return true;
}

bool LandXmlImEx::ReadProfAlign(const pugi::xml_node& profAlign) {
    // Station and elevation of a profile point, both in file units.
    const auto stationAndElevation = [this](const pugi::xml_node& node) {
        const KeyedPoint point = PointText(node);
        return std::pair(point.northing * LinearFactor, point.easting * LinearFactor);
    };
    for (const pugi::xml_node& child : profAlign.children()) {
        if (child.type() != pugi::node_element)
            continue;
        const auto [station, elevation] = stationAndElevation(child);
        double radius = 0.0;
        if (Is(child, "CircCurve")) {
            radius = NumberOr(child, "radius", 0.0) * LinearFactor;
        } else if (Is(child, "ParaCurve")) {
            const double length = NumberOr(child, "length", 0.0) * LinearFactor;
            const pugi::xml_node before = child.previous_sibling();
            const pugi::xml_node after = child.next_sibling();
            if (before && after) {
                const auto [s0, e0] = stationAndElevation(before);
                const auto [s2, e2] = stationAndElevation(after);
                const double g1 = station == s0 ? 0.0 : (elevation - e0) / (station - s0);
                const double g2 = s2 == station ? 0.0 : (e2 - elevation) / (s2 - station);
                radius = g2 == g1 ? 0.0 : length / (g2 - g1);
            }
        } else if (!Is(child, "PVI")) {
            continue; // UnsymParaCurve is not supported; anything else is not ours
        }
        ProfileTarget->Append(std::make_unique<DT_Punkt>(station, elevation, radius));
    }
    return true;
}

int LandXmlImEx::ImportPoints(const char* fileName, CvSporopPointList* points) {
    if (points == nullptr)
        return 0;
    Load(fileName, true);
    // The map's own points go to the list: a large survey is held once, not twice.
    PointsByKey.TakePoints(*points);
    if (Loaded)
        handedOverFrom_ = fileName;
    points->unitWord = UnitWord();
    return 1;
}

void LandXmlImEx::AppendPoints(CvSporopPointList& points) const {
    PointsByKey.CopyTo(points);
    points.unitWord = UnitWord();
}

int LandXmlImEx::UnitWord() const {
    return LinearFactor == 0.3048 ? CvSporopPointList::kFeet : CvSporopPointList::kMetres;
}

int LandXmlImEx::ImportAlignment(const char* fileName, CvPolyLine* alignment,
                                 VS_LinjePaalegg* profile) {
    if (alignment == nullptr || profile == nullptr)
        return -1;
    AlignmentTarget = alignment;
    ProfileTarget = profile;
    Load(fileName, true);
    return 0;
}
