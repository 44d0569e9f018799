// `rigel trolley` run as a program on the trolley tables written from the example project: the
// CSV holds what the tables hold, and a cant table reaches the project it is applied to.

#include "support/ProgramTest.h"

#include <algorithm>
#include <cstdio>

namespace {

using rigel::test::FileBytes;
using rigel::test::Lines;
using rigel::test::Numbers;
using rigel::test::Outcome;

class TrolleyCommand : public rigel::test::ProgramTest {
protected:
    const std::string example_ = std::string(RIGEL_SOURCE_DIR) + "/examples/track_2km.spw";
};

TEST_F(TrolleyCommand, TablesPrintWhatTheyHoldAndCantsReachTheProject) {
    ASSERT_EQ(Rigel("convert '" + example_ + "' '" + Path("t") + "' --type trolley").exitCode, 0);

    // TDT: element i runs from record i + 1 to record i + 2 (record 0 is the zero record).
    Outcome run = Rigel("trolley '" + Path("t.TDT") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> rows = Lines(run.out);
    const std::vector<std::string> records = Lines(FileBytes(Path("t.TDT")));
    ASSERT_GE(records.size(), 4u);
    ASSERT_EQ(rows.size(), records.size() - 1) << "a header and one row per element";
    EXPECT_EQ(rows[0], "element,type,start_station,end_station,start_x,start_y,end_x,end_y,"
                       "start_radius,end_radius,parameter");
    for (std::size_t i = 1; i < rows.size(); ++i) {
        const std::vector<double> row = Numbers(rows[i]);
        const std::vector<double> from = Numbers(records[i]), to = Numbers(records[i + 1]);
        ASSERT_EQ(row.size(), 11u) << rows[i];
        EXPECT_NEAR(row[2], from[0], 1e-6);
        EXPECT_NEAR(row[3], to[0], 1e-6);
        EXPECT_NEAR(row[4], from[2], 1e-6) << "x is the northing, listed second in the table";
        EXPECT_NEAR(row[5], from[1], 1e-6);
        EXPECT_NEAR(row[8], from[6], 1e-4);
        EXPECT_EQ(row[1] - 1, from[4]) << "the element code is the type less one";
    }

    // HDT: N + 1 points, the end mark read as radius 0.
    run = Rigel("trolley '" + Path("t.HDT") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> points = Lines(run.out);
    const std::vector<std::string> hdt = Lines(FileBytes(Path("t.HDT")));
    ASSERT_EQ(points.size(), hdt.size() + 1 - 1) << run.out;
    EXPECT_EQ(points[0], "station,height,radius");
    EXPECT_EQ(std::stoi(hdt[0]) + 2, static_cast<int>(points.size()));
    EXPECT_EQ(Numbers(points.back())[2], 0.0);
    EXPECT_NEAR(Numbers(points[1])[1], Numbers(hdt[1])[1], 1e-6);

    // UDT: 80 mm over the whole alignment, applied, saved and written out again from the save.
    const double start = Numbers(rows[1])[2], end = Numbers(rows.back())[3];
    char udt[200];
    std::snprintf(udt, sizeof udt, "%.4f -0.75 0.08 0.75 0 0\n%.4f -0.75 0.08 0.75 0 0\n", start,
                  end);
    Write("cant.udt", udt);
    run = Rigel("trolley '" + Path("cant.udt") + "' --project '" + example_ + "' -o '" +
                Path("canted.spw") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Path("canted.SPW") + "\n");
    ASSERT_EQ(Rigel("convert '" + Path("canted.SPW") + "' '" + Path("c.udt") + "'").exitCode, 0);
    // Lines carry no cant in the table (it is placed on the outer rail of a curve): every record
    // holds 0 or the 80 mm given, and the curves hold 80.
    int raised = 0;
    for (const std::string& record : Lines(FileBytes(Path("c.UDT")))) {
        const std::vector<double> r = Numbers(record);
        ASSERT_EQ(r.size(), 6u) << record;
        const double raise = std::max(r[2], r[4]);
        EXPECT_TRUE(raise == 0.0 || std::abs(raise - 0.08) < 1e-9) << record;
        raised += raise > 0;
    }
    EXPECT_GE(raised, 2);

    // Usage and unreadable files.
    EXPECT_EQ(Rigel("trolley '" + Path("cant.udt") + "'").exitCode, 2);
    EXPECT_EQ(Rigel("trolley '" + example_ + "'").exitCode, 2);
    run = Rigel("trolley '" + Path("missing.tdt") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("missing.tdt: no such file"));
}

} // namespace
