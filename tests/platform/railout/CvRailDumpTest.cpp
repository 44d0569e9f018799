#include "platform/railout/CvRailDump.h"

#include "frame/readers/KofReader.h"
#include "platform/base/TextFormat.h"

#include "support/TestSupport.h"

#include <map>

namespace {

using rigel::railout::ElementAttributes;
using rigel::railout::PointAttributes;
using rigel::test::FileBytes;
using rigel::test::TempFolder;

const double kQuarter = std::numbers::pi * 50.0; // quarter circle of radius 100
// Rounding to 0.1 mm is off by at most half of it.
const double kHalfTenthMm = 0.5e-4 + 1e-9;

std::string Golden(const char* name) {
    return FileBytes(std::string(RIGEL_SOURCE_DIR) + "/tests/platform/railout/golden/" + name);
}

// North 100 m, a right-hand quarter circle of radius 100, east 100 m (stations 0 to 357.08).
void MakeAlignment(CvPolyLine& a) {
    const double s2 = 100 + kQuarter;
    a.AddElement(new CvPolyElement({1000, 2000}, {1100, 2000}, 0, 0, 100, 0, 100));
    a.AddElement(new CvPolyElement({1100, 2000}, {1200, 2100}, 100, 100, kQuarter, 100, s2));
    a.AddElement(new CvPolyElement({1200, 2100}, {1200, 2200}, 0, 0, 100, s2, s2 + 100));
}

// Vertical points with a kink at 0, a crest of radius 2000 at 200 and a kink at 400.
void MakeVertical(VS_LinjePaalegg& v) {
    for (const DT_Punkt& p : {DT_Punkt(-300, 100, 0), DT_Punkt(0, 100, 0), DT_Punkt(200, 104, 2000),
                              DT_Punkt(400, 100, 0), DT_Punkt(600, 100, 0)})
        v.LeggTil(new DT_Punkt(p));
}

class Attributes : public rigel::railout::RailAttributes {
public:
    bool Point(const DT_Punkt& p, PointAttributes& out) const override {
        const auto it = points.find(&p);
        return it != points.end() && (out = it->second, true);
    }
    bool Element(const CvPolyElement& e, ElementAttributes& out) const override {
        const auto it = elements.find(&e);
        return it != elements.end() && (out = it->second, true);
    }
    std::map<const DT_Punkt*, PointAttributes> points;
    std::map<const CvPolyElement*, ElementAttributes> elements;
};

struct RailDumpTest : ::testing::Test {
    RailDumpTest() {
        MakeAlignment(alignment);
        MakeVertical(vertical);
        // The cant runs out along the last straight.
        attributes.elements[alignment.Element(0)] = {0, 0, 80};
        attributes.elements[alignment.Element(1)] = {100, 100, 80};
        attributes.elements[alignment.Element(2)] = {100, 0, 80};
        dump.SetProjectData("Line 12", "", "Oslo S", nullptr, "km 1-2");
        dump.SetAttributes(&attributes);
    }
    std::string Write(const char* name, int (CvRailDump::*writer)(CvPolyLine*, VS_LinjePaalegg*,
                                                                  DT_PointList*, int)) {
        dump.SetFilename(dir.Path(name).c_str());
        EXPECT_EQ((dump.*writer)(&alignment, &vertical, &points, 1), 1) << dump.LastError();
        return FileBytes(dir.Path(name));
    }
    TempFolder dir;
    CvPolyLine alignment{1};
    VS_LinjePaalegg vertical;
    DT_PointList points{1};
    Attributes attributes;
    CvRailDump dump;
    const double start = 50, end = 300;
};

TEST_F(RailDumpTest, TablesCutAtTheSectionMatchTheGoldenFiles) {
    ASSERT_TRUE(dump.SetSection(&start, &end, true, &alignment));
    EXPECT_EQ(Write("a.lft", &CvRailDump::WriteLFT), Golden("section_cut.lft"));
    EXPECT_EQ(Write("a.alc", &CvRailDump::WriteALC), Golden("section_cut.alc"));
    EXPECT_EQ(Write("a.geo", &CvRailDump::WriteWinALC_GEO), Golden("section_cut.geo"));
    EXPECT_EQ(Write("a.ver", &CvRailDump::WriteWinALC_VER), Golden("section_cut.ver"));
}

TEST_F(RailDumpTest, VerticalPointsAndSegmentsMatchTheGoldenFiles) {
    dump.SetFilename(dir.Path("v.nylp").c_str());
    ASSERT_EQ(dump.WriteNYLP(&vertical), 1);
    EXPECT_EQ(FileBytes(dir.Path("v.nylp")), Golden("vertical.nylp"));

    CvNADB_Calculation nadb;
    nadb.AddSegment(SegmentType::Make(1, 0, 100, "LINE").Text());
    nadb.AddSegment(SegmentType::Make(2, 100, 100 + kQuarter, "ARC").Text());
    nadb.AddSegment("free text");
    dump.SetFilename(dir.Path("s.ndb").c_str());
    ASSERT_EQ(dump.WriteNADBFiles(&nadb), 1);
    EXPECT_EQ(FileBytes(dir.Path("s.ndb")), Golden("segments.ndb"));
}

TEST_F(RailDumpTest, PointsWithStationsAndOffsetsMatchTheGoldenFile) {
    const double r = 101 * std::sin(std::numbers::pi / 4);
    auto* p1 = new DT_Punkt(1050, 1999, 10);
    auto* p2 = new DT_Punkt(1100 + r, 2100 - r, 11);
    points.LeggTil(p1);
    points.LeggTil(p2);
    points.LeggTil(new DT_Punkt(900, 2000, 0)); // before the start: no station
    attributes.points[p1] = {"7101", ""};
    attributes.points[p2] = {"7102", "north, \"km 2\""};
    EXPECT_EQ(Write("p.csv", &CvRailDump::WriteCSV), Golden("points.csv"));

    // Kept to the section, the point without a station goes.
    ASSERT_TRUE(dump.SetSection(&start, &end, true, &alignment));
    const std::string limited = Write("q.csv", &CvRailDump::WriteCSV);
    EXPECT_THAT(limited, Not(HasSubstr("900.0000")));
    EXPECT_THAT(limited, HasSubstr("178.5398"));
}

TEST_F(RailDumpTest, KofRecordsMatchTheGoldenFile) {
    auto* a = new DT_Punkt(6543210.1234, 234567.8912, 120.4567);
    auto* c = new DT_Punkt(-12.3, 0.0001, -5.25);
    points.LeggTil(a);
    points.LeggTil(new DT_Punkt(6543211.5, 234568.25, 1234.5678)); // no code: the default
    points.LeggTil(c);
    attributes.points[a] = {"7101", "left rail"};
    attributes.points[c] = {"KM 12", "a very long description"};
    dump.SetFilename(dir.Path("p.kof").c_str());
    ASSERT_EQ(dump.WriteKOF05(&points, nullptr, nullptr, 7100, 1), 1) << dump.LastError();
    EXPECT_EQ(FileBytes(dir.Path("p.kof")), Golden("points.kof"));
}

// 200 points with negative eastings, two of three with their own code, written without a
// header, come back through the KOF reader to within the tenth of a millimetre the columns keep.
TEST_F(RailDumpTest, KofRecordsLoadBackThroughTheKofReader) {
    std::vector<PointAttributes> given;
    for (int i = 0; i < 200; ++i) {
        const double x = 6543210.0 + i * 1.23456789, y = -(234567.0 + i * 0.987654321);
        auto* p = new DT_Punkt(x, y, i % 2 ? 987.65432 - i : -99.98765 + i);
        points.LeggTil(p);
        if (i % 3 != 0) // every third point has no code: the default
            attributes.points[p] = {i % 3 == 1 ? "7111" : "7112", rigel::Format("p%d", i)};
        given.push_back(i % 3 != 0 ? attributes.points[p] : PointAttributes{"7101", ""});
    }
    dump.SetFilename(dir.Path("back.kof").c_str());
    ASSERT_EQ(dump.WriteKOF05(&points, &alignment, &vertical, 7101, 0), 1) << dump.LastError();

    DT_IntListe centre(1), left(1), right(1);
    centre.LeggTilVerdi(7101);
    left.LeggTilVerdi(7111);
    right.LeggTilVerdi(7112);
    CvSporopPointList c(1), l(1), r(1);
    const std::string text = FileBytes(dir.Path("back.kof"));
    rigel::BufferLineSource lines(text);
    const rigel::ReadCounts counts = rigel::ReadKofPoints(lines, {centre, left, right}, {c, l, r});
    EXPECT_EQ(counts.placed, 200);
    EXPECT_EQ(counts.skipped, 0);
    ASSERT_EQ(c.Antall() + l.Antall() + r.Antall(), 200);
    int next[3] = {0, 0, 0};
    for (int i = 0; i < 200; ++i) {
        CvSporopPointList& list = i % 3 == 0 ? c : i % 3 == 1 ? l : r;
        const CvSporopPoint* q = list.Punkt(next[i % 3]++);
        const DT_Punkt* p = points.Punkt(i);
        EXPECT_NEAR(q->x(), p->x(), kHalfTenthMm) << i;
        EXPECT_NEAR(q->y(), p->y(), kHalfTenthMm) << i;
        EXPECT_NEAR(q->z(), p->z(), kHalfTenthMm) << i;
        EXPECT_EQ(q->code, given[i].code);
        EXPECT_EQ(q->description, given[i].description);
    }
}

TEST_F(RailDumpTest, FailuresWriteNothingAndKeepThePreviousFile) {
    const std::string kof = dir.Path("f.kof");
    ASSERT_TRUE(rigel::WriteFileAtomically(kof, "previous\n"));
    points.LeggTil(new DT_Punkt(1050, 2000, 10));
    dump.SetFilename(kof.c_str());

    const double outside = 400, further = 500, nan = std::nan("");
    EXPECT_FALSE(dump.SetSection(&end, &start, true, &alignment)); // start not below end
    EXPECT_FALSE(dump.SetSection(&start, &start, true, nullptr));
    EXPECT_FALSE(dump.SetSection(&outside, &further, true, &alignment)); // beyond 357.08
    EXPECT_FALSE(dump.SetSection(&nan, &end, true, nullptr));
    EXPECT_FALSE(dump.SetSection(nullptr, &end, true, nullptr));
    EXPECT_TRUE(dump.SectionFailed());

    EXPECT_EQ(dump.WriteKOF05(&points, &alignment, &vertical, 7101, 1), 0);
    for (auto writer : {&CvRailDump::WriteLFT, &CvRailDump::WriteALC, &CvRailDump::WriteCSV,
                        &CvRailDump::WriteWinALC_GEO, &CvRailDump::WriteWinALC_VER})
        EXPECT_EQ((dump.*writer)(&alignment, &vertical, &points, 1), 0);
    EXPECT_EQ(FileBytes(kof), "previous\n");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"f.kof"});

    // A section that overlaps the alignment in part is accepted; then a point that does not fit
    // the KOF columns fails the write, still without touching the file.
    ASSERT_TRUE(dump.SetSection(&start, &further, true, &alignment));
    points.LeggTil(new DT_Punkt(12345678901.0, 2000, 10));
    EXPECT_EQ(dump.WriteKOF05(&points, nullptr, nullptr, 7101, 1), 0);
    EXPECT_THAT(dump.LastError(), HasSubstr("point 2"));
    EXPECT_EQ(FileBytes(kof), "previous\n");
}

TEST_F(RailDumpTest, CutTransitionTakesTheCurvatureAndCantAtTheCut) {
    // Straight to radius 500 over 100 m: at its middle the curvature is 1/1000.
    alignment.SlettAlleIListen(1);
    auto* e = new CvPolyElement;
    ASSERT_EQ(e->InitFromStart({0, 0}, std::numbers::pi / 2, 0, 500, 100, 0), 1);
    alignment.AddElement(e);
    attributes.elements = {{e, {0, 120, 0}}};
    const double from = 50, to = 1000;
    ASSERT_TRUE(dump.SetSection(&from, &to, true, &alignment));
    dump.SetFilename(dir.Path("t.lft").c_str());
    ASSERT_EQ(dump.WriteLFT(&alignment, nullptr, nullptr, 0), 1) << dump.LastError();
    EXPECT_EQ(FileBytes(dir.Path("t.lft")),
              "   1  3      50.0000     100.0000    50.0000    1000.0000     500.0000    60.0 "
              "  120.0    0\n");
}

} // namespace
