// `rigel geometry` run as a program on a tier-table file written by the polyline component.

#include "platform/polyline/CvPolyLine.h"

#include "support/ProgramTest.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <numbers>
#include <string>

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
    std::istringstream lines(run.out);
    std::string header, r0, r50, r100, r150, r200, extra;
    std::getline(lines, header);
    std::getline(lines, r0);
    std::getline(lines, r50);
    std::getline(lines, r100);
    std::getline(lines, r150);
    std::getline(lines, r200);
    EXPECT_FALSE(std::getline(lines, extra));
    EXPECT_EQ(header, "station,x,y,azimuth,curvature");
    EXPECT_EQ(r0, "0,1000,2000,0,0");
    EXPECT_EQ(r50, "50,1050,2000,0,0");
    EXPECT_EQ(r100.rfind("100,1100,2000,", 0), 0u) << r100;
    EXPECT_EQ(r150.rfind("150,", 0), 0u) << r150;
    EXPECT_NE(r150.find(",0.005"), std::string::npos) << r150;
    EXPECT_EQ(r200, "200,,,,");
}

TEST_F(GeometryCommand, ProjectedPoints) {
    Write("points.csv", "1050,2003\n\n1050,1998\r\n900,2000\n");
    const ProcessResult run =
        Rigel("'" + Path("track.tit") + "' --project '" + Path("points.csv") + "'");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "station,offset,element\n50,3,1\n50,-2,1\n,,\n");
}

TEST_F(GeometryCommand, BadInputNamesFileAndLine) {
    ProcessResult run = Rigel("'" + Path("missing.tit") + "' --stations 0:1:10");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("missing.tit"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    Write("points.csv", "1050,2003\n1050;1998\n");
    run = Rigel("'" + Path("track.tit") + "' --project '" + Path("points.csv") + "'");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("points.csv:2:"), std::string::npos) << run.err;
    EXPECT_EQ(run.out, "");

    Write("broken.tit", "this is not a tier table\n");
    run = Rigel("'" + Path("broken.tit") + "' --stations 0:1:10");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("broken.tit:"), std::string::npos) << run.err;

    run = Rigel("'" + Path("track.tit") + "' --project '" + Path("none.csv") + "'");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("none.csv"), std::string::npos) << run.err;

    run = Rigel("'" + Path("track.tit") + "' --stations 0:0:10");
    EXPECT_NE(run.exitCode, 0);
    run = Rigel("'" + Path("track.tit") + "'");
    EXPECT_NE(run.exitCode, 0) << "neither --stations nor --project";
    run = Rigel("'" + Path("track.tit") + "' --stations 0:1:2 --project x.csv");
    EXPECT_NE(run.exitCode, 0) << "both";
}
