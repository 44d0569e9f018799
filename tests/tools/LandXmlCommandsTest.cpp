// The commands on a LandXML file: its survey points loaded by their code texts, its alignment
// saved in another format, and stations along it.

#include "support/ProgramTest.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using rigel::test::Outcome;
using rigel::test::Slurp;

constexpr double kNorth = 6543210.0, kEast = 234567.0;

// The numbers of each row of a CSV text after its header.
std::vector<std::vector<double>> Table(const std::string& text) {
    std::vector<std::vector<double>> rows;
    for (const std::string& line : rigel::test::Lines(text))
        rows.push_back(rigel::test::Numbers(line));
    if (!rows.empty())
        rows.erase(rows.begin());
    return rows;
}

class LandXmlCommands : public rigel::test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Both rails of a straight track heading north, 1.435 m apart, one point a metre; a
        // named group that is not survey data; a 100 m line and a 50 m right-hand curve of
        // radius 500 along the track centre.
        std::string xml = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                          "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" "
                          "version=\"1.2\">\n<Units><Metric linearUnit=\"meter\"/></Units>\n"
                          "<CgPoints name=\"control\"><CgPoint code=\"VS\">1 2 3</CgPoint>"
                          "</CgPoints>\n<CgPoints>\n";
        for (int i = 0; i < 60; ++i)
            for (const auto& [code, side] : {std::pair{"VS", -0.7175}, std::pair{"HS", 0.7175}})
                xml +=
                    rigel::Format("<CgPoint code=\"%s\" name=\"%s%d\">%.4f %.4f %.3f</CgPoint>\n",
                                  code, code, i, kNorth + i, kEast + side, 120.0 + 0.01 * i);
        xml += rigel::Format(
            "</CgPoints>\n<Alignments><Alignment name=\"Main\" staStart=\"0\" length=\"150\">"
            "<CoordGeom>\n<Line length=\"100\"><Start>%.4f %.4f</Start><End>%.4f "
            "%.4f</End></Line>\n"
            "<Curve rot=\"cw\" radius=\"500\" length=\"50\"><Start>%.4f %.4f</Start>"
            "<Center>%.4f %.4f</Center><End>%.8f %.8f</End></Curve>\n</CoordGeom></Alignment>"
            "</Alignments>\n</LandXML>\n",
            kNorth, kEast, kNorth + 100, kEast, kNorth + 100, kEast, kNorth + 100, kEast + 500,
            kNorth + 100 + 500 * std::sin(0.1), kEast + 500 - 500 * std::cos(0.1));
        Write("track.xml", xml);
    }
};

TEST_F(LandXmlCommands, PointsAlignmentAndStations) {
    // The rails by their code texts: the centre track runs between them.
    Outcome run = Rigel("load '" + Path("track.xml") + "' --left VS --right HS");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto centre = Table(run.out);
    ASSERT_GE(centre.size(), 55u) << run.out;
    for (const auto& row : centre) {
        EXPECT_NEAR(row[2], kEast, 1e-6);
        EXPECT_NEAR(row[1], std::round(row[1]), 1e-6) << "on the rails' stations";
    }
    // Remembered as text codes: the next load needs no flags.
    EXPECT_EQ(Table(Rigel("load '" + Path("track.xml") + "'").out).size(), centre.size());

    // The alignment into a trolley table, and back.
    run = Rigel("alignment '" + Path("track.xml") + "' -o '" + Path("out.tdt") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Path("out.TDT") + "\n");
    const auto elements = Table(Rigel("trolley '" + Path("out.TDT") + "'").out);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[1][1], 2) << "an arc";
    EXPECT_NEAR(elements[1][3], 150, 1e-6);
    EXPECT_NEAR(elements[1][8], 500, 1e-6);

    // Stations along it: the curve's end from its radius and length.
    run = Rigel("geometry '" + Path("track.xml") + "' --stations 0:75:150");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto rows = Table(run.out);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_NEAR(rows[1][1], kNorth + 75, 1e-6);
    EXPECT_NEAR(rows[2][1], kNorth + 100 + 500 * std::sin(0.1), 1e-6);
    EXPECT_NEAR(rows[2][2], kEast + 500 - 500 * std::cos(0.1), 1e-6);
    EXPECT_NEAR(rows[2][4], 1.0 / 500, 1e-9);

    // A file that is not LandXML says so.
    Write("bad.xml", "not xml");
    run = Rigel("load '" + Path("bad.xml") + "'");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("bad.xml: no survey point read: the file is not readable LandXML"),
              std::string::npos)
        << run.err;

    // A file without an alignment.
    Write("points.xml", "<LandXML><CgPoints><CgPoint>1 2</CgPoint></CgPoints></LandXML>");
    run = Rigel("alignment '" + Path("points.xml") + "' -o '" + Path("p.spw") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("no alignment read"), std::string::npos) << run.err;
}

} // namespace
