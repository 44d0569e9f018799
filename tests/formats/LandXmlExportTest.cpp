// The LandXML export against a golden file and the LandXML schemas, and the railway value texts.

#include "formats/LandXmlImEx.h"

#include "Version.h"
#include "elements/TierTabElementSporop.h"
#include "formats/RailwayValues.h"
#include "formats/TrackProject.h"
#include "platform/host/CWinApp.h"
#include "platform/host/Win32.h"
#include "support/RunProgram.h"
#include "support/TestSupport.h"

#include <memory>
#include <pugixml.hpp>
#include <regex>

namespace rigel::test {
namespace {

struct Piece {
    double startRadius, endRadius, length, cant;
    int speed;
};

// The golden file's three elements, then a realistic run: straights, clothoids, arcs both ways,
// a reverse curve (two clothoids meeting at the straight), a clothoid between two radii.
const Piece kPieces[] = {
    {0, 0, 100, 0, 120},      {500, 500, 50, 80, 120}, {500, 0, 60, 80, 100},
    {0, 0, 150, 0, 100},      {0, -800, 80, 0, 100},   {-800, -800, 200, 60, 100},
    {-800, 0, 80, 60, 100},   {0, 1200, 70, 0, 100},   {1200, 1200, 300, 45, 100},
    {1200, 600, 50, 45, 100}, {600, 600, 120, 90, 80}, {600, 0, 90, 90, 80},
    {0, 0, 250.5, 0, 80},
};

// A project of the first n pieces, chained from (1000, 2000) heading north at station 12.3456;
// with plainLast the last one is a CvPolyElement, without railway values.
void MakeProject(TrackProject& p, std::size_t n, bool plainLast = false) {
    p.projectTexts[0] = CString("Golden track");
    p.projectTexts[1] = CString("Main  ");
    DT_Punkt start(1000, 2000);
    DT_Double direction(std::numbers::pi / 2);
    double station = 12.3456;
    for (std::size_t i = 0; i < n; ++i) {
        const Piece& piece = kPieces[i];
        auto* e = new TierTabElementSporop();
        e->InitFromStart(start, direction.Get(), piece.startRadius, piece.endRadius, piece.length,
                         station, static_cast<int>(i) + 1);
        e->h1.Init(piece.cant);
        e->v.Init(piece.speed);
        e->OrigStartSTA(In(DT_Double(station + (i == 1 ? 0.25 : 0.0))));
        e->OrigEndSTA(In(DT_Double(station + piece.length)));
        station += piece.length;
        e->PosAtStation(station, &start, &direction);
        p.alignment.AddElement(plainLast && i + 1 == n
                                   ? new CvPolyElement(*std::unique_ptr<TierTabElementSporop>(e))
                                   : e);
    }
    for (const DT_Punkt& v : {DT_Punkt(0, 100, 0), DT_Punkt(200, 102, 5000), DT_Punkt(400, 100, 0)})
        p.verticalAlignment.LeggTil(new DT_Punkt(v));
}

TEST(LandXmlExport, WritesTheGoldenFile) {
    TempFolder dir;
    TrackProject project;
    MakeProject(project, 3);
    project.alignment.Element(1)->SubstituteXYCoord(); // written in the north-east frame
    LandXmlImEx landXml;
    ASSERT_TRUE(landXml.Export(&project, dir.Path("g.xml").c_str()));
    std::string written = FileBytes(dir.Path("g.xml"));
    EXPECT_TRUE(std::regex_search(
        written, std::regex(R"(date="\d{4}-\d\d-\d\d" time="\d\d:\d\d:\d\d([+-]\d\d:00)?")")));
    // The clock, the login name and the version stand as "@name@" in the golden file.
    written =
        std::regex_replace(written, std::regex(R"((date|time|createdBy)="[^"]*")"), R"($1="@$1@")");
    const std::string golden = std::regex_replace(
        FileBytes(DataPath("landxml/line_arc_spiral.xml")), std::regex("@version@"), RIGEL_VERSION);
    EXPECT_EQ(written, golden);
}

// Each version validates against its schema and reads back through the import: the same
// elements, positions every 10 m, the profile and (from 1.1 on) the cants at the element starts.
TEST(LandXmlExport, PrecisionVersionsSchemasAndTheImport) {
    const struct {
        int precision, major, minor;
        const char* staStart;
        bool cant;
    } cases[] = {
        {-1, 1, 0, "12.345600", false}, {3, 1, 1, "12.346", true}, {-1, 1, 2, "12.345600", true}};
    TempFolder dir;
    for (const auto& c : cases) {
        const std::string version = Format("%d.%d", c.major, c.minor);
        CWinApp app("test");
        app.SetProfilePath(dir.Path(version + ".ini"));
        if (c.precision >= 0)
            app.WriteProfileInt("Settings", "Export Precision", c.precision);
        AfxSetApp(&app);
        TrackProject project;
        MakeProject(project, std::size(kPieces), true);
        LandXmlImEx landXml;
        landXml.VersionMajor = c.major;
        landXml.VersionMinor = c.minor;
        const std::string file = dir.Path("v" + version + ".xml");
        ASSERT_TRUE(landXml.Export(&project, file.c_str()));
        AfxSetApp(nullptr);
        const int xmllint = RunProgram(
            "xmllint",
            {"--noout", "--schema", DataPath("landxml-schema/LandXML-" + version + ".xsd"), file},
            {}, file, file + ".out", file + ".log");
        EXPECT_EQ(xmllint, 0) << version << ": "
                              << (xmllint < 0 ? "xmllint could not be run"
                                              : FileBytes(file + ".log"));
        EXPECT_NE(FileBytes(file).find("<Alignment name=\"Main\" staStart=\"" +
                                       std::string(c.staStart) + "\""),
                  std::string::npos);

        CvPolyLine back(1);
        VS_LinjePaalegg profile;
        ASSERT_EQ(LandXmlImEx().ImportAlignment(file.c_str(), &back, &profile), 0);
        ASSERT_EQ(back.GetCount(), project.alignment.GetCount()) << version;
        const double tolerance = c.precision < 0 ? 1e-6 : 1e-3;
        for (int i = 0; i < back.GetCount(); ++i) {
            const CvPolyElement &a = *project.alignment.Element(i), &b = *back.Element(i);
            SCOPED_TRACE(version + " element " + std::to_string(i));
            EXPECT_EQ(b.ElementType(), a.ElementType());
            EXPECT_TRUE(b.Equal(a, tolerance)) << "ends, stations, length, radii, parameter";
            for (double s = 0; s < a.Length()->Get(); s += 10) {
                DT_Punkt p, q;
                ASSERT_TRUE(a.PosAtStation(a.StartSTA()->Get() + s, &p) &&
                            b.PosAtStation(b.StartSTA()->Get() + s, &q));
                EXPECT_LT(p.AvstandTil(q), tolerance) << s;
            }
            // The arc's cant begins 0.25 m after its start; the plain element has no
            // cant station.
            const double cant = c.cant ? kPieces[i == 1 || i == 12 ? i - 1 : i].cant : 0.0;
            EXPECT_EQ(dynamic_cast<const TierTabElementSporop&>(b).h1.Get(), cant);
        }
        ASSERT_EQ(profile.Antall(), project.verticalAlignment.Antall());
        for (int i = 0; i < profile.Antall(); ++i)
            EXPECT_TRUE(profile.Punkt(i)->Lik(*project.verticalAlignment.Punkt(i), tolerance));
    }
}

TEST(LandXmlExport, NothingWrittenWithoutAlignmentAndFailuresAreNamed) {
    TempFolder dir;
    TrackProject project;
    LandXmlImEx landXml;
    EXPECT_FALSE(landXml.Export(nullptr, dir.Path("a.xml").c_str()));
    EXPECT_FALSE(landXml.Export(&project, dir.Path("a.xml").c_str()));
    EXPECT_TRUE(dir.Entries().empty());
    MakeProject(project, 2);
    EXPECT_FALSE(landXml.Export(&project, dir.Path("missing/a.xml").c_str()));
    EXPECT_EQ(landXml.ErrorText, "Exception in Save method");
}

TEST(LandXmlExport, HeaderDateAndTime) {
    // year, month, day of week, day, hour, minute, second, millisecond
    const struct {
        SYSTEMTIME local, utc;
        const char* time;
    } cases[] = {
        {{2026, 3, 0, 1, 14, 5, 9, 0}, {2026, 3, 0, 1, 13, 5, 9, 0}, "14:05:09+01:00"},
        {{2026, 3, 0, 1, 14, 5, 9, 0}, {2026, 3, 0, 1, 14, 5, 9, 0}, "14:05:09"},
        {{2026, 1, 0, 1, 0, 30, 0, 0}, {2025, 12, 0, 31, 23, 30, 0, 0}, "00:30:00+01:00"},
        {{2026, 3, 0, 1, 19, 0, 0, 0}, {2026, 3, 0, 2, 0, 0, 0, 0}, "19:00:00-05:00"},
        {{2026, 3, 0, 1, 17, 30, 0, 0}, {2026, 3, 0, 1, 12, 0, 0, 0}, "17:30:00+05:00"},
        {{2026, 3, 0, 1, 14, 0, 0, 0}, {2026, 3, 0, 1, 12, 59, 59, 0}, "14:00:00+01:00"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LandXmlImEx::HeaderTime(c.local, c.utc), c.time);
    EXPECT_EQ(LandXmlImEx::HeaderDate(cases[0].local), "2026-03-01");
}

TEST(RailwayValues, TextsSplitIntoTheirItems) {
    using Items = std::vector<std::pair<std::string, std::string>>;
    const Items six = {{"H", "12.000"},     {"V", "80.0"},       {"I", "0.0"},
                       {"HOS", "0.000000"}, {"HOE", "0.000000"}, {"CWS", "0.0"}};
    const struct {
        std::string text;
        Items items;
    } cases[] = {
        {std::string(kRailwayDataPrefix) + "12.000 80.0 0.0 0.000000 0.000000 0.0", six},
        {"12.000 80.0 0.0 0.000000 0.000000 0.0", six},
        {"12.000 80.0 0.0 0.25 -0.5 1.5 2.5 -3.5",
         {{"H", "12.000"},
          {"V", "80.0"},
          {"I", "0.0"},
          {"HOS", "0.25"},
          {"HOE", "-0.5"},
          {"CWS", "-3.5"}}},
        {"12.000 80.0", {{"H", "12.000"}, {"V", "80.0"}}},
        {"12.000  0 0.0 0.25\r\n", {{"H", "12.000"}, {"I", "0.0"}, {"HOS", "0.25"}}},
        {"@DTMLineconData=1.5 2.5", {}},
        {"", {}},
    };
    RailwayData data;
    for (const auto& c : cases) {
        Items got;
        for (const RailwayDataItem& item : data.ParseRailwayData(c.text))
            got.emplace_back(item.Key, item.Value);
        EXPECT_EQ(got, c.items) << c.text;
    }
    EXPECT_EQ(data.Parsed.back().first, static_cast<int>(std::size(cases)) - 1);
    EXPECT_EQ(data.Counter, static_cast<int>(std::size(cases)));

    TierTabElementSporop element(DT_Punkt(0, 0), DT_Punkt(100, 0), 0, 0, 100, 10, 110);
    element.h1.Init(12.0);
    element.v.Init(80);
    element.OrigStartSTA(In(DT_Double(10.25)));
    element.OrigEndSTA(In(DT_Double(109.5)));
    EXPECT_EQ(RailwayValueText(element), "12.000 80.0 0.0 0.250000 -0.500000 0.0");

    pugi::xml_document document;
    document.load_string("<a><p Key=\"17\" Value=\"Sp&#229;r 2\"/><p Value=\"x\"/></a>");
    DTMRailway::API::KeyValuePair pair;
    pair.Read(document.first_child().first_child());
    EXPECT_EQ(std::pair(pair.Key, pair.Value), std::pair(17, std::string("Sp\xE5r 2")));
    pair.Read(document.first_child().last_child()); // without Key: the key stays
    EXPECT_EQ(std::pair(pair.Key, pair.Value), std::pair(17, std::string("x")));
}

} // namespace
} // namespace rigel::test
