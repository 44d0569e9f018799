// The trolley files: the measurement file read into survey points, and the TDT, HDT and UDT
// tables written from a project and read back.

#include "formats/TrolleyFile.h"

#include "elements/TierTabElementSporop.h"
#include "formats/TrackProject.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"
#include "platform/host/ScriptedHostUi.h"
#include "support/TestSupport.h"

namespace {

using rigel::test::DataPath;
using rigel::test::FileBytes;
using rigel::test::TempFolder;
constexpr double kPi = std::numbers::pi;

struct Piece {
    double startRadius, endRadius, length, h1 = 0, h2 = 0;
};

// Survey elements chained from (north, east) on direction (the mathematical angle, pi / 2 for
// north), each starting where and how the previous one ends; source stations = own stations.
void Chain(CvPolyLine& alignment, double north, double east, double direction,
           const std::vector<Piece>& pieces) {
    DT_Punkt start(north, east);
    DT_Double angle(direction);
    double station = 0;
    for (const Piece& p : pieces) {
        auto* e = new TierTabElementSporop();
        e->InitFromStart(start, angle.Get(), p.startRadius, p.endRadius, p.length, station,
                         alignment.GetCount() + 1);
        e->h1.Init(p.h1);
        e->h2.Init(p.h2);
        e->OrigStartSTA(e->StartSTA());
        e->OrigEndSTA(e->EndSTA());
        alignment.AddElement(e);
        station += p.length;
        alignment.PosAtStation(station, &start, &angle);
    }
}

// North on a line, a transition into a right-hand arc of 100 m, the arc, a transition out and a
// line heading east: the transitions turn by 0.25 rad each, the arc by pi/2 - 0.5.
const double kArcLength = 100 * (kPi / 2 - 0.5);
const std::vector<Piece> kCurve = {
    {0, 0, 50}, {0, 100, 50}, {100, 100, kArcLength}, {100, 0, 50}, {0, 0, 40}};

// "x y z cant code description profile" of a point.
std::string Fields(const CvSporopPoint& p) {
    return rigel::Format("%.12g %.12g %.12g %d %s %s %.12g", p.x(), p.y(), p.z(), p.cant, p.code,
                         p.description, p.profile);
}

// "h1/h2 " of every element; with reset, every cant becomes -1 afterwards.
std::string Cants(CvPolyLine& alignment, bool reset) {
    std::string text;
    for (int i = 0; i < alignment.GetCount(); ++i) {
        auto* e = static_cast<TierTabElementSporop*>(alignment.Element(i));
        text += rigel::Format("%g/%g ", e->h1.Get(), e->h2.Get());
        if (reset)
            e->h1 = e->h2 = DT_Double(-1);
    }
    return text;
}

} // namespace

TEST(TrolleyMeasurementFile, HeaderAndPointsWithTheCantAngle) {
    // Half the height difference over the cant base of 1.5 m: 0.75 sin(angle); the cant,
    // -29.998 and +14.9998 mm, is cut toward zero.
    const double h2 = 0.75 * std::sin(0.02), h3 = 0.75 * std::sin(-0.01);
    for (int type28 : {0, 1}) {
        CFile vtd(DataPath("trolley/measurement_cant_angle.vtd").c_str(), CFile::modeRead);
        CArchive archive(&vtd, CArchive::load);
        TrolleyFile file;
        CvSporopPointList points;
        ASSERT_EQ(file.ReadMeasurementFile(archive, points, type28), 1);
        EXPECT_EQ(rigel::Format("%g %g %g <%s>", file.ReferenceGauge, file.CantBase,
                                file.StartStation, file.Name),
                  "1.435 1.5 1234.5 <Line 7 North >");
        ASSERT_EQ(points.Antall(), 3);
        EXPECT_EQ(Fields(*points.Punkt(0)), "6000.25 2000.5 101.5 0 7111 P1 1234.5");
        EXPECT_EQ(Fields(*points.Punkt(1)), "6001.25 2001.5 " +
                                                rigel::Format("%.12g", 101.6 - h2 * !type28) +
                                                " -29 7111 P2 1235.5");
        EXPECT_EQ(Fields(*points.Punkt(2)), "6002.25 2002.5 " +
                                                rigel::Format("%.12g", 101.7 + h3 * !type28) +
                                                " 14 7112 P3 1236.5");
    }
}

TEST(TrolleyTdt, FileOfACurveBetweenTwoLinesAndItsElementsReadBack) {
    TempFolder folder;
    TrackProject project;
    Chain(project.alignment, 100, 200, kPi / 2, kCurve);
    TrolleyFile file;
    ASSERT_EQ(file.WriteTDT(&project, folder.Path("a.tdt").c_str()), 1);
    // Widths: stations, coordinates and lengths below 1000 (3 + 8), directions below 400 gon
    // (3 + 10), radii 100 (3 + 7). After a transition the direction is that of the last arc
    // replacing it, 1e-6 rad off the transition's own.
    EXPECT_EQ(FileBytes(folder.Path("a.tdt")),
              FileBytes(DataPath("trolley/curve_between_two_lines.tdt")));
    CvPolyLine read;
    ASSERT_EQ(file.ReadTDT(folder.Path("a.tdt").c_str(), &read), 1);
    ASSERT_EQ(read.GetCount(), 5);
    // The same elements to the 6 decimals written, a transition's parameter too, which comes from
    // its length and radii.
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(read.Element(i)->Equal(*project.alignment.Element(i), 1e-6)) << i;
}

TEST(TrolleyTdt, ANegativeCoordinateWidensTheCoordinateColumns) {
    CvPolyLine alignment; // east from (-5, 10): coordinates below 100, 2 + 8 + 1 wide
    Chain(alignment, -5, 10, 0, {{0, 0, 20}});
    EXPECT_EQ(TrolleyFile::TDTText(alignment),
              FileBytes(DataPath("trolley/negative_coordinate_wider_columns.tdt")));
}

TEST(TrolleyHdt, PointsCountRadiiAndTheEndMarker) {
    DT_PointList vertical;
    EXPECT_EQ(TrolleyFile::HDTText(vertical), "-1");
    vertical.LeggTil(new DT_Punkt(10, 100, 500));
    EXPECT_EQ(TrolleyFile::HDTText(vertical),
              "0\n      10.000000       100.000000      999.000000");
    // A first point keeps |R|; a crest keeps its sign, a sag is negative.
    vertical.SlettAlleIListen(1);
    for (const DT_Punkt& p : {DT_Punkt(0, 100, -50), DT_Punkt(100, 110, 2000),
                              DT_Punkt(200, 100, 3000), DT_Punkt(300, 120, 0)})
        vertical.LeggTil(new DT_Punkt(p));
    EXPECT_EQ(TrolleyFile::HDTText(vertical),
              FileBytes(DataPath("trolley/crest_sag_and_end_marker.hdt")));
}

TEST(TrolleyUdt, RecordsWhereTheCantChangesReadBack) {
    TrackProject project;
    project.cantBase = 0; // the default base of 1.5 m
    Chain(project.alignment, 0, 0, kPi / 2,
          {{0, 0, 50},
           {0, 100, 50, 0, 80},
           {100, 100, 50, 80, 80},
           {100, 100, 50, 80, 80},
           {100, 100, 50, 80, 80},
           {100, 0, 50, 80, 0},
           {0, 0, 40}});
    TempFolder folder;
    TrolleyFile file;
    ASSERT_EQ(file.WriteUDT(&project, folder.Path("a.udt").c_str()), 1);
    EXPECT_EQ(FileBytes(folder.Path("a.udt")), FileBytes(DataPath("trolley/cant_changes.udt")));
    const std::string cants = Cants(project.alignment, true);
    ASSERT_EQ(file.ReadUDT(folder.Path("a.udt").c_str(), &project), 1);
    EXPECT_EQ(Cants(project.alignment, false), cants);
}

TEST(TrolleyUdt, ChangingCantAtTheEndIsClosedTwiceOnTheRaisedRightRail) {
    CvPolyLine alignment;
    Chain(alignment, 0, 0, kPi / 2, {{0, 0, 50}, {0, -100, 50, 0, 60}});
    EXPECT_EQ(TrolleyFile::UDTText(alignment, 1.2),
              FileBytes(DataPath("trolley/changing_cant_at_the_end.udt")));
}

TEST(TrolleyUdt, ElementsWithinARecordPairToOneCentimetre) {
    TempFolder folder;
    folder.Write("a.udt", "  100.0000 -0.7500 0.0500 0.7500 0.0000 0\n"
                          "  200.0000 -0.7500 0.0000 0.7500 0.0700 0\n");
    TrackProject project;
    // Inside the pair of records to 9 mm; outside by 2 cm.
    project.alignment.AddElement(
        new TierTabElementSporop({0, 0}, {1, 0}, 0, 0, 1, 99.991, 200.009));
    project.alignment.AddElement(new TierTabElementSporop({0, 0}, {1, 0}, 0, 0, 1, 99.98, 150));
    ASSERT_EQ(TrolleyFile().ReadUDT(folder.Path("a.udt").c_str(), &project), 1);
    EXPECT_EQ(Cants(project.alignment, false), "50/70 0/0 ");
}

TEST(TrolleyWriters, StatusAndTheOverwritePrompt) {
    TempFolder folder;
    TrackProject project;
    TrolleyFile file;
    const std::string path = folder.Path("a.txt");
    EXPECT_EQ(file.WriteTDT(nullptr, path.c_str()), -1);
    EXPECT_EQ(file.WriteHDT(&project, path.c_str()), -2);
    EXPECT_EQ(file.ReadHDT(path.c_str(), &project.verticalAlignment), -2);
    Chain(project.alignment, 0, 0, kPi / 2, {{0, 0, 10, 20, 20}});
    folder.Write("a.txt", "keep");
    rigel::ScriptedHostUi ui;
    rigel::ScopedHostUi scope(ui);
    for (int answer : {IDNO, IDNO, IDNO, IDYES})
        ui.QueueMessageBoxAnswer(answer);
    EXPECT_EQ(file.WriteTDT(&project, path.c_str()), 0);
    EXPECT_EQ(file.WriteHDT(&project, path.c_str()), 0);
    EXPECT_EQ(file.WriteUDT(&project, path.c_str()), 0);
    EXPECT_EQ(FileBytes(path), "keep");
    EXPECT_EQ(file.WriteUDT(&project, path.c_str()), 1);
    EXPECT_NE(FileBytes(path), "keep");
    ui.Verify();
    std::string captions;
    for (const auto& box : ui.MessageBoxes()) {
        captions += box.caption + ";";
        EXPECT_EQ(box.text, "File <" + path + "> already exists!\nWould you like to overwrite...?");
        EXPECT_EQ(box.type, MB_YESNO | MB_ICONQUESTION);
    }
    EXPECT_EQ(captions, "Export Vanta TDT;Export Vanta HDT;Export Vanta UDT;Export Vanta UDT;");
}
