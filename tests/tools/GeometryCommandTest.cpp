// `rigel geometry` run as a program on a tier-table file written by the polyline component.

#include "formats/TrolleyFile.h"
#include "frame/CvSPW_File.h"
#include "platform/polyline/CvPolyLine.h"

#include "support/ProgramTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace {

using ProcessResult = rigel::test::Outcome;

class GeometryCommand : public rigel::test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();

        // A line north from (1000, 2000), 100 m, then a right-hand arc of radius 200, 50 m.
        CvPolyLine chain(1);
        auto* line = new CvPolyElement;
        line->InitFromStart(DT_Punkt(1000.0, 2000.0), std::numbers::pi / 2, 0, 0, 100, 0, 1);
        auto* arc = new CvPolyElement;
        arc->InitFromStart(DT_Punkt(1100.0, 2000.0), std::numbers::pi / 2, 200, 200, 50, 100, 2);
        chain.AddElement(line);
        chain.AddElement(arc);
        ASSERT_EQ(chain.ExportToTIT11File(Path("track.tit").c_str(), 1, 0), 1) << chain.LastError();
    }
    ProcessResult Rigel(const std::string& arguments) const { return Run("geometry " + arguments); }
};

} // namespace

TEST_F(GeometryCommand, StationsAlongTheAlignment) {
    const ProcessResult run = Rigel("'" + Path("track.tit") + "' --stations 0:50:200");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    // Rows 100 (the joint, on the line) and 150 (end of the arc) carry rounded arc values; the
    // exact ones are checked in the unit tests, here only their presence and shape.
    const std::vector<std::string> rows = rigel::test::Lines(run.out);
    ASSERT_EQ(rows.size(), 6u) << run.out;
    EXPECT_EQ(rows[0], "station,x,y,azimuth,curvature");
    EXPECT_EQ(rows[1], "0,1000,2000,0,0");
    EXPECT_EQ(rows[2], "50,1050,2000,0,0");
    EXPECT_EQ(rows[3].rfind("100,1100,2000,", 0), 0u) << rows[3];
    EXPECT_EQ(rows[4].rfind("150,", 0), 0u) << rows[4];
    EXPECT_NE(rows[4].find(",0.005"), std::string::npos) << rows[4];
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
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(run.out, "") << c.arguments;
    }
}
