// The LandXML import on hand-written documents (data/landxml/) and on real files of other
// programs (data/landxml/external/, counts taken from the files with xmllint).
#include "elements/TierTabElementSporop.h"
#include "formats/LandXmlImEx.h"
#include "formats/LandXmlReader.h"
#include "platform/base/VS_LinjePaalegg.h"
#include "platform/host/ScriptedHostUi.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CvSporopPointList.h"
#include "support/TestSupport.h"

#include <array>
#include <pugixml.hpp>
#include <tuple>

namespace {

using rigel::test::DataPath;
constexpr double kPi = std::numbers::pi;

struct Imported {
    CvPolyLine alignment{1};
    VS_LinjePaalegg profile;
    LandXmlImEx importer;
    rigel::ScriptedHostUi ui;
    std::vector<std::string> messages;
    CvSporopPointList points{1};

    // With pointsFirst, the same importer imports the points first.
    explicit Imported(const std::string& path, int expectedMessages = 0, bool pointsFirst = false) {
        for (int i = 0; i < expectedMessages; ++i)
            ui.QueueMessageBoxAnswer(IDOK);
        rigel::ScopedHostUi scoped(ui);
        if (pointsFirst)
            importer.ImportPoints(path.c_str(), &points);
        EXPECT_EQ(importer.ImportAlignment(path.c_str(), &alignment, &profile), 0);
        ui.Verify();
        for (const auto& box : ui.MessageBoxes()) {
            EXPECT_EQ(box.caption, "LandXML Import/Export");
            messages.push_back(box.text);
        }
    }
    const TierTabElementSporop& E(int i) const {
        return dynamic_cast<const TierTabElementSporop&>(*alignment.Element(i));
    }
};

// Start and end station, length, radii, element number of an element.
void ExpectElement(const TierTabElementSporop& e, double start, double length, double r1, double r2,
                   int number) {
    EXPECT_NEAR(e.StartSTA()->Get(), start, 1e-9);
    EXPECT_NEAR(e.OrigStartSTA()->Get(), start, 1e-9);
    EXPECT_NEAR(e.EndSTA()->Get(), start + length, 1e-9);
    EXPECT_NEAR(e.OrigEndSTA()->Get(), start + length, 1e-9);
    EXPECT_NEAR(e.Length()->Get(), length, 1e-9);
    EXPECT_NEAR(e.StartRadius()->Get(), r1, 1e-9);
    EXPECT_NEAR(e.EndRadius()->Get(), r2, 1e-9);
    EXPECT_EQ(e.ElementNumber()->Get(), number);
}

std::vector<std::array<std::string, 2>> Texts(const CvSporopPointList& points) {
    std::vector<std::array<std::string, 2>> texts;
    for (int i = 0; i < points.Antall(); ++i)
        texts.push_back({points.Punkt(i)->code.str(), points.Punkt(i)->description.str()});
    return texts;
}

TEST(LandXmlImport, FootUnitsDefaultNamespacePointsAndPntRef) {
    CvSporopPointList points(1);
    LandXmlImEx importer;
    EXPECT_EQ(importer.ImportPoints(DataPath("landxml/foot_units_default_namespace.xml").c_str(),
                                    &points),
              1);
    // Keys in Windows-1252 byte order; the named group gives nothing; "§N" gives no texts.
    EXPECT_EQ(Texts(points), (std::vector<std::array<std::string, 2>>{
                                 {"K1", "P7"}, {"K2", ""}, {"K\xC6", "\xD8st"}, {"", ""}}));
    // Coordinates as they stand, not in feet.
    EXPECT_TRUE(points.Punkt(0)->Lik(DT_Punkt(1000.5, 2000.25, 10.5), 0.0));
    EXPECT_EQ(importer.ErrorText, "Could not load schema! Validation impossible.");
    // Again with the same object, which gave its points away: they are read anew.
    importer.ImportPoints(DataPath("landxml/foot_units_default_namespace.xml").c_str(), &points);
    ASSERT_EQ(points.Antall(), 8);
    EXPECT_TRUE(points.Punkt(4)->Lik(*points.Punkt(0), 0.0));

    // The alignment after the points, from the same object: its pntRef still finds K2.
    Imported in(DataPath("landxml/foot_units_default_namespace.xml"), 0, true);
    EXPECT_EQ(in.points.Antall(), 4);
    EXPECT_EQ(in.importer.AngularFactor, 1.0); // "rad" is radians
    EXPECT_EQ(in.importer.ElementPrefix, "lx:");
    EXPECT_EQ(in.importer.NamespaceUri, "http://www.landxml.org/schema/LandXML-1.2");
    ASSERT_EQ(in.alignment.GetCount(), 2);
    // Stations, lengths and radii in feet; coordinates as they stand (the start from pntRef K2),
    // and the running station grows by the coordinates' distance.
    ExpectElement(in.E(0), 100 * 0.3048, 100 * 0.3048, 0, 0, 1);
    EXPECT_TRUE(in.E(0).StartPoint()->Lik(DT_Punkt(3000, 4000), 0.0));
    ExpectElement(in.E(1), 100 * 0.3048 + 100, 50 * 0.3048, -500 * 0.3048, -500 * 0.3048, 2);
}

TEST(LandXmlImport, RepeatedKeysAndPntRefFollowTheDocumentOrder) {
    CvSporopPointList points(1);
    LandXmlImEx().ImportPoints(DataPath("landxml/cgpoints_repeated_keys_and_pntref.xml").c_str(),
                               &points);
    EXPECT_EQ(
        Texts(points),
        (std::vector<std::array<std::string, 2>>{
            {"A", "1"}, {"B", "2"}, {"R", "1"}, {"R", "2"}, {"R", "3"}, {"Z", ""}, {"Z", ""}}));
    const DT_Punkt expected[] = {{-35, 0.25, 4}, {11, 21, 0}, {10, 20, 30}, {11, 21, 0},
                                 {0, 0, 0},      {5, 6, 7},   {1, 16, 2}};
    for (int i = 0; i < points.Antall(); ++i)
        EXPECT_TRUE(points.Punkt(i)->Lik(expected[i], 0.0)) << i;
}

TEST(LandXmlImport, MillimetresLxPrefixCurveFromChordCubicSpiralAndProfile) {
    Imported in(DataPath("landxml/mm_units_lx_prefix.xml"), 1);
    EXPECT_EQ(in.messages, std::vector<std::string>{"Spiral type \"cubic\" not supported"});
    EXPECT_EQ(in.importer.ElementPrefix, "lx:");
    EXPECT_EQ(in.importer.VersionMajor * 10 + in.importer.VersionMinor, 10);
    // Millimetres, the empty unit being the first of the table (its angular unit is a row of the
    // unit tables).
    ASSERT_EQ(in.alignment.GetCount(), 3);
    ExpectElement(in.E(0), 0, 50, 0, 0, 1);                   // 3-4-5 from the points, in space
    const double arc = std::round(kPi / 3 * 100 * 1e6) / 1e6; // chord 100 on radius 100
    ExpectElement(in.E(1), 50, arc, 100, 100, 2);
    ExpectElement(in.E(2), 50 + arc, 10, 0, 0, 5); // after the cubic spiral, at the running station
    const DT_Punkt expected[] = {
        {0, 10, 0}, {100, 11, -10000}, {200, 10, 0}, {300, 9, -5000}, {400, 8, 0}};
    ASSERT_EQ(in.profile.Antall(), 5);
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(in.profile.Punkt(i)->Lik(expected[i], 1e-9)) << i;
}

TEST(LandXmlImport, ChainStopsTheGeometryAndCantsFollowTheStations) {
    Imported in(DataPath("landxml/chain_third_child_with_cant.xml"));
    EXPECT_EQ(in.importer.ErrorText, "<Chain> element is unsupported");
    EXPECT_EQ(in.importer.PointsByKey.count("\xC6\xA7\x80"), 1u); // declared windows-1252
    EXPECT_EQ(in.profile.Antall(), 0);                            // not read after a failure
    ASSERT_EQ(in.alignment.GetCount(), 2);
    // In metres: "meter" is in no unit table.
    ExpectElement(in.E(0), 150, 49.97, 0, 0, 1);
    ExpectElement(in.E(1), 199.97, 60, 0, -300.123457, 2);
    EXPECT_NEAR(in.E(1).TransParameter()->Get(), std::sqrt(60 * 300.123457), 1e-9);
    for (auto [i, h1, h2] : {std::tuple{0, 80.0, 100.0}, std::tuple{1, 100.0, 0.0}}) {
        EXPECT_EQ(in.E(i).H1.Get(), h1);
        EXPECT_EQ(in.E(i).h1.Get(), h1);
        EXPECT_EQ(in.E(i).H2.Get(), h2);
        EXPECT_EQ(in.E(i).h2.Get(), h2);
    }
}

// The root's local name and attributes are the import's (its version and prefix above).
TEST(LandXmlReader, KeepsOnlyTheRootAndItsQueriedChildrenByLocalName) {
    for (auto [file, names] :
         {std::pair{"foot_units_default_namespace.xml", "Units CgPoints CgPoints Alignments "},
          std::pair{"mm_units_lx_prefix.xml", "Units Alignments "}}) {
        pugi::xml_document document;
        ASSERT_TRUE(rigel::ReadLandXmlFile(DataPath(std::string("landxml/") + file), document));
        std::string kept;
        for (const pugi::xml_node& child : document.document_element().children())
            kept += child.name() + std::string(" ");
        EXPECT_EQ(kept, names);
    }
}

TEST(LandXmlImport, UnitTables) {
    struct Row {
        const char* units;
        double linear, angular;
        bool dms;
        const char* error;
    };
    const Row rows[] = {
        {R"(linearUnit="USSurveyFoot" angularUnit="grads")", 0.3048, kPi / 200, false,
         "Imperial unit: USSurveyFoot not supported, unit factor set to Imperial foot"},
        {R"(linearUnit="kilo" angularUnit="decimal degrees")", 1000, kPi / 180, false, ""},
        {R"(linearUnit="mile" angularUnit="decimal degrees dd.mm.ss")", 1609.3, kPi / 180, true,
         ""},
        {R"(linearUnit="inch" angularUnit="gon")", 0.0254, 1, false, ""},
        {R"(linearUnit="centimeter" angularUnit="")", 0.01, 1, false, ""},
        {R"(areaUnit="squareMeter")", 1, 1, false, ""},
    };
    rigel::test::TempFolder folder;
    folder.Write("LandXML-1.1.xsd", "<xs:schema xmlns:xs='http://www.w3.org/2001/XMLSchema'/>");
    rigel::test::SetEnvironment("RIGEL_LANDXML_SCHEMAS", folder.Path("").c_str());
    for (const Row& row : rows) {
        folder.Write("u.xml",
                     std::string("<LandXML><Units><Metric ") + row.units + "/></Units></LandXML>");
        LandXmlImEx importer;
        CvSporopPointList points(1);
        importer.ImportPoints(folder.Path("u.xml").c_str(), &points);
        EXPECT_EQ(importer.LinearFactor, row.linear) << row.units;
        EXPECT_EQ(importer.AngularFactor, row.angular) << row.units;
        EXPECT_EQ(importer.DmsAngles, row.dms) << row.units;
        EXPECT_EQ(importer.ErrorText, row.error) << row.units;
        EXPECT_EQ(points.unitWord, row.linear == 0.3048 ? 2 : 1);
    }
    rigel::test::SetEnvironment("RIGEL_LANDXML_SCHEMAS", nullptr);
}

TEST(LandXmlImport, EntitiesAreNeverExpandedNorFetched) {
    for (const char* name : {"billion_laughs.xml", "external_entity.xml",
                             "truncated_after_points.xml", "missing.xml"}) {
        CvSporopPointList points(1);
        LandXmlImEx importer;
        EXPECT_EQ(importer.ImportPoints(DataPath(std::string("landxml/") + name).c_str(), &points),
                  1);
        EXPECT_EQ(points.Antall(), 0) << name;
        EXPECT_EQ(importer.ErrorText, "Could not load file from disk") << name;
    }
    // An external DTD is not read: its undeclared entity gives nothing.
    CvSporopPointList points(1);
    LandXmlImEx().ImportPoints(DataPath("landxml/external_dtd_not_fetched.xml").c_str(), &points);
    EXPECT_EQ(Texts(points), (std::vector<std::array<std::string, 2>>{{"C", ""}, {"D", ""}}));
    CvPolyLine alignment(1);
    EXPECT_EQ(LandXmlImEx().ImportAlignment("x.xml", &alignment, nullptr), -1);
    EXPECT_EQ(LandXmlImEx().ImportPoints("x.xml", nullptr), 0);
}

TEST(LandXmlImport, ExternalFiles) {
    struct Row {
        const char* file;
        int elements, profilePoints, messages;
        double lastEnd; // NaN: not checked
    };
    const Row rows[] = {
        {"testfile_simple.xml", 3, 4, 0, 634.485959 + 30.346722},
        {"testfile_clothoid_and_parabola.xml", 71, 0, 8, 18554.831749 + 347.013},
        {"M3_RS-CL.tg.xml", 15, 13, 0, 1209.702474 + 56.543764},
        {"landxml_road_sample.xml", 8, 7, 0, NAN},
        {"subdivision.xml", 29, 31, 0, NAN},
    };
    for (const Row& row : rows) {
        Imported in(DataPath(std::string("landxml/external/") + row.file), row.messages);
        ASSERT_EQ(in.alignment.GetCount(), row.elements) << row.file;
        EXPECT_EQ(in.profile.Antall(), row.profilePoints) << row.file;
        EXPECT_EQ(in.E(0).StartSTA()->Get(), 0.0) << row.file;
        if (!std::isnan(row.lastEnd)) {
            EXPECT_NEAR(in.E(row.elements - 1).EndSTA()->Get(), row.lastEnd, 1e-6) << row.file;
        }
        if (row.file == std::string("testfile_simple.xml")) {
            EXPECT_EQ(in.E(2).StartRadius()->Get(), -820.0);
        }
        if (row.file == std::string("landxml_road_sample.xml")) {
            EXPECT_DOUBLE_EQ(in.E(0).Length()->Get(), 554.894999032248 * 0.3048);
        }
        if (row.elements != 71)
            continue;
        // Cants in metres become millimetres; each element's end cant is the next one's start.
        int withCant = 0;
        for (int i = 0; i < row.elements; ++i) {
            withCant += in.E(i).H1.Get() > 0;
            if (i + 1 < row.elements) {
                EXPECT_EQ(in.E(i).H2.Get(), in.E(i + 1).H1.Get());
            }
        }
        EXPECT_EQ(withCant, 34);
        EXPECT_EQ(in.E(2).H1.Get(), 150);
        EXPECT_EQ(in.E(10).H1.Get(), 135);
        EXPECT_EQ(in.E(40).H1.Get(), 100);
    }
    CvSporopPointList points(1), none(1);
    LandXmlImEx().ImportPoints(DataPath("landxml/external/subdivision.xml").c_str(), &points);
    LandXmlImEx().ImportPoints(DataPath("landxml/external/Lightning_columns.xy.xml").c_str(),
                               &none);
    ASSERT_EQ(points.Antall(), 639);
    EXPECT_EQ(none.Antall(), 0); // its points are in a named group
    EXPECT_EQ(points.unitWord, CvSporopPointList::kFeet);
    EXPECT_EQ(Texts(points).front(), (std::array<std::string, 2>{"CPT", "500"}));
    EXPECT_TRUE(points.Punkt(0)->Lik(DT_Punkt(2667.80100511, 1437.66706913, 255.400894), 0.0));
    EXPECT_EQ(Texts(points).back(), (std::array<std::string, 2>{"RP", "96"}));
}

} // namespace
