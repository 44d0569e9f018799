// `rigel geometry`: the CSV views behind it (station ranges, sampled rows, point files,
// projections), then the program run on files holding the alignment: a line north from
// (1000, 2000) over stations 0-100, then a right-hand arc of radius 200 over stations 100-150,
// whose points follow from its centre (1100, 2200).

#include "rigel/AlignmentCsv.h"

#include "formats/TrolleyFile.h"
#include "frame/CvSPW_File.h"
#include "platform/polyline/CvPolyLine.h"
#include "support/ProgramTest.h"

namespace {

using rigel::test::Numbers;

constexpr double kPi = std::numbers::pi;
constexpr double kR = 200.0;

void BuildLineAndArc(CvPolyLine& chain) {
    auto* line = new CvPolyElement;
    ASSERT_EQ(line->InitFromStart(DT_Punkt(1000.0, 2000.0), kPi / 2, 0.0, 0.0, 100.0, 0.0, 1), 1);
    auto* arc = new CvPolyElement;
    ASSERT_EQ(arc->InitFromStart(DT_Punkt(1100.0, 2000.0), kPi / 2, kR, kR, 50.0, 100.0, 2), 1);
    chain.AddElement(line);
    chain.AddElement(arc);
}

// The arc's point at angle theta turned from its start, shifted inwards (to the right) by d.
DT_Punkt OnArc(double theta, double d = 0.0) {
    return DT_Punkt(1100.0 + (kR - d) * std::sin(theta), 2200.0 - (kR - d) * std::cos(theta));
}

std::vector<std::string> Rows(const std::function<void(const rigel::CsvRowSink&)>& write) {
    std::vector<std::string> rows;
    write([&rows](std::string_view row) { rows.emplace_back(row); });
    return rows;
}

using ProcessResult = rigel::test::Outcome;

class GeometryCommand : public rigel::test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        CvPolyLine chain(1);
        BuildLineAndArc(chain);
        ASSERT_EQ(chain.ExportToTIT11File(Path("track.tit").c_str(), 1, 0), 1) << chain.LastError();
    }
    ProcessResult Rigel(const std::string& arguments) const { return Run("geometry " + arguments); }
};

TEST_F(GeometryCommand, StationsAlongTheAlignment) {
    const ProcessResult run = Rigel("'" + Path("track.tit") + "' --stations 0:50:200");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // Rows 100 (the joint, on the line) and 150 (on the arc) carry rounded arc values; the exact
    // ones are checked by the AlignmentCsv tests below, here only the joint's place.
    const std::vector<std::string> rows = rigel::test::Lines(run.out);
    ASSERT_EQ(rows.size(), 6u) << run.out;
    EXPECT_EQ(rows[0], "station,x,y,azimuth,curvature");
    EXPECT_EQ(rows[1], "0,1000,2000,0,0");
    EXPECT_EQ(rows[2], "50,1050,2000,0,0");
    EXPECT_EQ(rows[3].rfind("100,1100,2000,", 0), 0u) << rows[3];
    EXPECT_EQ(rows[5], "200,,,,");

    // The same alignment as a project file's gives the same rows.
    TrackProject project;
    ASSERT_EQ(project.alignment.InitFrom_TIT_File(Path("track.tit").c_str(), 0, 0, nullptr), 1);
    ASSERT_EQ(CvSPW_File(Path("track.spw")).Write(&project, 0, 1), 1);
    const ProcessResult fromProject = Rigel("'" + Path("track.spw") + "' --stations 0:50:200");
    EXPECT_EQ(fromProject.exitCode, 0) << fromProject.err;
    EXPECT_EQ(fromProject.out, run.out);

    // And as a trolley's TDT table, whose numbers keep 4 decimals: the stations on the line agree.
    ASSERT_EQ(TrolleyFile().WriteTDT(&project, Path("track.tdt").c_str()), 1);
    const ProcessResult fromTdt = Rigel("'" + Path("track.tdt") + "' --stations 0:50:50");
    EXPECT_EQ(fromTdt.exitCode, 0) << fromTdt.err;
    EXPECT_EQ(fromTdt.out, "station,x,y,azimuth,curvature\n0,1000,2000,0,0\n50,1050,2000,0,0\n");
}

TEST_F(GeometryCommand, ProjectedPoints) {
    Write("points.csv", "1050,2003\n\n1050,1998\r\n900,2000\n");
    const ProcessResult run =
        Rigel("'" + Path("track.tit") + "' --project '" + Path("points.csv") + "'");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "station,offset,element\n50,3,1\n50,-2,1\n,,\n");
}

// Each failure gives a non-zero exit code, no rows, and a message naming the file (and line).
TEST_F(GeometryCommand, BadInputNamesFileAndLine) {
    Write("points.csv", "1050,2003\n1050;1998\n");
    Write("broken.tit", "this is not a tier table\n");
    const std::string track = "'" + Path("track.tit") + "'";
    const struct {
        std::string arguments;
        const char* says;
    } cases[] = {
        {"'" + Path("missing.tit") + "' --stations 0:1:10", "missing.tit"},
        {track + " --project '" + Path("points.csv") + "'", "points.csv:2:"},
        {"'" + Path("broken.tit") + "' --stations 0:1:10", "broken.tit:"},
        {track + " --project '" + Path("none.csv") + "'", "none.csv"},
        {track + " --stations 0:0:10", ""},
        {track, ""},                                       // neither --stations nor --project
        {track + " --stations 0:1:2 --project x.csv", ""}, // both
    };
    for (const auto& c : cases) {
        const ProcessResult run = Rigel(c.arguments);
        EXPECT_NE(run.exitCode, 0) << c.arguments;
        EXPECT_THAT(run.err, HasSubstr(c.says));
        EXPECT_EQ(run.out, "") << c.arguments;
    }
}

TEST(AlignmentCsv, StationRangeParsing) {
    rigel::StationRange r;
    std::string error;
    ASSERT_TRUE(rigel::ParseStationRange(" 10 : 2.5 :20", r, &error)) << error;
    EXPECT_EQ(r.from, 10.0);
    EXPECT_EQ(r.step, 2.5);
    EXPECT_EQ(r.to, 20.0);
    for (const char* bad : {"0:0:10", "0:-1:10", "10:1:0", "a:1:2", "1:2", "1:2:3:4", "1::3",
                            "0:1:inf", "0:1e-300:1e300", ""}) {
        EXPECT_FALSE(rigel::ParseStationRange(bad, r, &error)) << bad;
        EXPECT_THAT(error, HasSubstr(std::string("\"") + bad + "\""));
    }
    EXPECT_EQ(r.to, 20.0) << "untouched on failure";
}

TEST(AlignmentCsv, StationsEndExactlyAtTo) {
    // 3 * 0.1 is 0.30000000000000004: the last station is still 0.3 itself.
    EXPECT_EQ(rigel::StationsOf({0.0, 0.1, 0.3}), (std::vector<double>{0.0, 0.1, 0.2, 0.3}));
    EXPECT_EQ(rigel::StationsOf({0.0, 3.0, 10.0}), (std::vector<double>{0.0, 3.0, 6.0, 9.0}));
    EXPECT_EQ(rigel::StationsOf({5.0, 1.0, 5.0}), (std::vector<double>{5.0}));
}

TEST(AlignmentCsv, StationRowsAlongLineAndArc) {
    CvPolyLine chain(1);
    BuildLineAndArc(chain);
    const auto rows = Rows([&](const rigel::CsvRowSink& sink) {
        EXPECT_EQ(rigel::WriteStationRows(chain, {-10.0, 10.0, 160.0}, sink), 2);
    });
    ASSERT_EQ(rows.size(), 19u); // the header and rows on the line: the program test above
    EXPECT_EQ(rows[1], "-10,,,,");
    EXPECT_EQ(rows[18], "160,,,,");

    // Station 140: 40 m into the arc, turned by 0.2 rad to the right.
    const std::vector<double> v = Numbers(rows[16]);
    ASSERT_EQ(v.size(), 5u);
    EXPECT_EQ(v[0], 140.0);
    EXPECT_NEAR(v[1], OnArc(0.2).x(), 1e-9);
    EXPECT_NEAR(v[2], OnArc(0.2).y(), 1e-9);
    EXPECT_NEAR(v[3], 0.2, 1e-12);
    EXPECT_NEAR(v[4], 1.0 / kR, 1e-15);
}

TEST(AlignmentCsv, PointFiles) {
    std::vector<rigel::PlanPoint> points;
    std::string error;
    ASSERT_TRUE(rigel::ReadPointsCsv("1,2\n\n 3.5 , -4e1\r\n7,8", "p.csv", points, &error));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[1].x, 3.5);
    EXPECT_EQ(points[1].y, -40.0);
    EXPECT_EQ(points[2].y, 8.0);

    ASSERT_TRUE(rigel::ReadPointsCsv("\nx,y\n5,6\n", "p.csv", points, &error)) << "a header";
    EXPECT_EQ(points.size(), 4u);
    points.resize(3);
    EXPECT_FALSE(rigel::ReadPointsCsv("x,y\nx,y\n", "p.csv", points, &error)) << "one header";
    EXPECT_FALSE(rigel::ReadPointsCsv("1,2\n\nx,3\n", "p.csv", points, &error));
    EXPECT_EQ(error, "p.csv:3: expected x,y (two numbers separated by a comma)");
    for (const char* bad : {"1;2", "1,2,3", "1,", "1", "1,2x", "nan,1"})
        EXPECT_FALSE(rigel::ReadPointsCsv(bad, "p.csv", points, &error)) << bad;
    EXPECT_EQ(points.size(), 3u) << "nothing appended from a failed file";
}

// The CSV text of points on the line and before the start: the program test above.
TEST(AlignmentCsv, ProjectionRows) {
    CvPolyLine chain(1);
    BuildLineAndArc(chain);
    // Before the start, and inside the right-hand curve: right, positive.
    const std::vector<rigel::PlanPoint> points = {{900.0, 2000.0},
                                                  {OnArc(0.1, 2.0).x(), OnArc(0.1, 2.0).y()}};
    const auto rows = Rows([&](const rigel::CsvRowSink& sink) {
        EXPECT_EQ(rigel::WriteProjectionRows(chain, points, sink), 1);
    });
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[1], ",,");
    const std::vector<double> v = Numbers(rows[2]);
    ASSERT_EQ(v.size(), 3u);
    EXPECT_NEAR(v[0], 100.0 + 0.1 * kR, 1e-9);
    EXPECT_NEAR(v[1], 2.0, 1e-9);
    EXPECT_EQ(v[2], 2.0);
}

} // namespace
