// The commands on a LandXML file: its survey points loaded by their code texts, its alignment
// saved in another format, and stations along it.

#include "support/ProgramTest.h"

namespace {

using rigel::test::Outcome;

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

// Both rails of a straight track heading north, 1.435 m apart, one point a metre, coded VS and
// HS; a named group that is not survey data; a 100 m line and a 50 m right-hand curve of radius
// 500 along the track centre.
class LandXmlCommands : public rigel::test::ProgramTest {
protected:
    const std::string track_ =
        rigel::test::DataPath("landxml/two_rails_by_code_line_and_curve.xml");
};

TEST_F(LandXmlCommands, PointsAlignmentAndStations) {
    // The rails by their code texts: the centre track runs between them.
    Outcome run = Rigel("load '" + track_ + "' --left VS --right HS");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const auto centre = Table(run.out);
    ASSERT_GE(centre.size(), 55u) << run.out;
    for (const auto& row : centre) {
        EXPECT_NEAR(row[2], kEast, 1e-6);
        EXPECT_NEAR(row[1], std::round(row[1]), 1e-6) << "on the rails' stations";
    }
    // Remembered as text codes: the next load needs no flags.
    EXPECT_EQ(Table(Rigel("load '" + track_ + "'").out).size(), centre.size());

    // The alignment into a trolley table, and back.
    run = Rigel("alignment '" + track_ + "' -o '" + Path("out.tdt") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Path("out.TDT") + "\n");
    const auto elements = Table(Rigel("trolley '" + Path("out.TDT") + "'").out);
    ASSERT_EQ(elements.size(), 2u);
    EXPECT_EQ(elements[1][1], 2) << "an arc";
    EXPECT_NEAR(elements[1][3], 150, 1e-6);
    EXPECT_NEAR(elements[1][8], 500, 1e-6);

    // Stations along it: the curve's end from its radius and length.
    run = Rigel("geometry '" + track_ + "' --stations 0:75:150");
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
    EXPECT_THAT(run.err,
                HasSubstr("bad.xml: no survey point read: the file is not readable LandXML"));

    // A file without an alignment.
    Write("points.xml", "<LandXML><CgPoints><CgPoint>1 2</CgPoint></CgPoints></LandXML>");
    run = Rigel("alignment '" + Path("points.xml") + "' -o '" + Path("p.spw") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("no alignment read"));
}

} // namespace
