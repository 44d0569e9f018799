// The column rules of the KOF, PXY, GPS and MIC readers, on small fixtures and on real KOF files.

#include "support/FrameTest.h"

#include "frame/readers/Columns.h"
#include "frame/readers/GpsReader.h"
#include "frame/readers/KofReader.h"
#include "frame/readers/MicReader.h"
#include "frame/readers/PxyReader.h"

namespace rigel::test {
namespace {

class PointReaders : public FrameTest {
protected:
    // A fixture under tests/data/ through the KOF reader, or another reader of the same lists.
    ReadCounts Kof(const std::string& name, decltype(&ReadKofPoints) read = &ReadKofPoints) {
        const std::string bytes = FileBytes(DataPath(name));
        BufferLineSource lines(bytes, name);
        return read(lines, {centreCodes, leftCodes, rightCodes}, {centre, left, right});
    }
    std::vector<std::string> Reasons() const {
        std::vector<std::string> out;
        for (const Diagnostic& d : diagnostics)
            out.push_back(d.file + ":" + std::to_string(d.line) + ": " + d.reason);
        return out;
    }

    DT_IntListe centreCodes{1}, leftCodes{1}, rightCodes{1};
    CvSporopPointList centre{1}, left{1}, right{1};
};

TEST(Columns, MidTrimsBlanksAndClampsToTheLine) {
    EXPECT_EQ(Mid("ab  12.5 \tcd", 2, 8), "12.5");
    EXPECT_EQ(Mid("short", 3, 10), "rt");
    EXPECT_EQ(Mid("short", 5, 2), "");
    EXPECT_EQ(Mid("short", 99, 2), "");
    EXPECT_EQ(Mid(" \r\v\f ", 0, 5), "");
}

// The archive's own rules (CArchiveTest), which ArchiveLineSource passes on.
TEST(Columns, BufferLinesSplitAsTheArchiveSplitsThem) {
    const std::string bytes = std::string("a\r\nb\rc\n\nlast\r", 13) + std::string(1, '\0') + "x";
    std::vector<std::string> lines;
    BufferLineSource buffer(bytes);
    for (std::string line; buffer.Next(line);)
        lines.push_back(line);
    EXPECT_EQ(lines, (std::vector<std::string>{"a", "b\rc", "", std::string("last\r\0x", 7)}));
    EXPECT_EQ(buffer.LineNumber(), 4);
}

TEST_F(PointReaders, OnlyBlankZeroFiveRecordsArePoints) {
    centreCodes.LeggTilVerdi(5);
    const ReadCounts counts = Kof("kof/kof_record_prefix_rules.kof");
    EXPECT_EQ(Descriptions(centre), (std::vector<std::string>{"P1", "P6"}));
    EXPECT_EQ(counts.lines, 8);
    EXPECT_EQ(counts.records, 2);
    EXPECT_EQ(left.Antall() + right.Antall(), 0);
    // "05 ...", "  05 ..." and "-05 ..." are noted; " 5 ..." does not look like a record.
    const std::string why = ": not a point record: a point record begins with \" 05\"";
    EXPECT_EQ(Reasons(), (std::vector<std::string>{"kof/kof_record_prefix_rules.kof:3" + why,
                                                   "kof/kof_record_prefix_rules.kof:5" + why,
                                                   "kof/kof_record_prefix_rules.kof:6" + why}));
    const CvSporopPoint& p = *centre.Punkt(1);
    EXPECT_EQ(p.x(), 1005.0);
    EXPECT_EQ(p.y(), 2005.0);
    EXPECT_EQ(p.z(), 10.5);
    EXPECT_EQ(p.code, "5");
}

TEST_F(PointReaders, CodeZeroAndEmptyCodeGoToTheCentre) {
    const ReadCounts counts = Kof("kof/kof_code_zero_to_centre.kof");
    EXPECT_EQ(Descriptions(centre), (std::vector<std::string>{"Z1", "Z2"}));
    EXPECT_EQ(centre.Punkt(1)->code, "");
    EXPECT_EQ(counts.skipped, 1);
    ASSERT_EQ(diagnostics.size(), 1u);
    EXPECT_EQ(diagnostics[0].line, 3);
    EXPECT_EQ(diagnostics[0].reason, "point record skipped: code 77 is assigned to no line");
}

TEST_F(PointReaders, ACodeInTwoListsLandsInBoth) {
    leftCodes.LeggTilVerdi(21);
    centreCodes.LeggTilVerdi(21);
    rightCodes.LeggTilVerdi(22);
    const ReadCounts counts = Kof("kof/kof_code_in_two_lists.kof");
    EXPECT_EQ(Descriptions(left), (std::vector<std::string>{"L1", "L2"}));
    EXPECT_EQ(Descriptions(centre), (std::vector<std::string>{"L1", "L2"}));
    EXPECT_EQ(Descriptions(right), (std::vector<std::string>{"R1"}));
    EXPECT_EQ(counts.placed, 5);
    EXPECT_NE(left.Punkt(0), centre.Punkt(0)) << "each list owns its own point";
}

TEST_F(PointReaders, RecordsWithAnEmptyXOrYAreSkipped) {
    centreCodes.LeggTilVerdi(5);
    const ReadCounts counts = Kof("kof/kof_empty_x_or_y_skipped.kof");
    EXPECT_EQ(Descriptions(centre), (std::vector<std::string>{"C", "D"}));
    EXPECT_EQ(centre.Punkt(0)->z(), 0.0);
    EXPECT_EQ(counts.skipped, 2);
    EXPECT_EQ(Reasons(),
              (std::vector<std::string>{
                  "kof/kof_empty_x_or_y_skipped.kof:1: point record skipped: x (columns 24-35) "
                  "is empty",
                  "kof/kof_empty_x_or_y_skipped.kof:2: point record skipped: y (columns 37-48) "
                  "is empty"}));
}

// "nan", "inf" and numbers beyond a double: such a point would upset the sorting of the whole
// survey, so it is skipped like a record without coordinates.
TEST_F(PointReaders, RecordsWithCoordinatesThatAreNotFiniteAreSkipped) {
    centreCodes.LeggTilVerdi(5);
    const ReadCounts counts = Kof("kof/kof_non_finite_coordinates_skipped.kof");
    EXPECT_EQ(Descriptions(centre), (std::vector<std::string>{"D"}));
    EXPECT_EQ(counts.skipped, 3);
    const std::string file = "kof/kof_non_finite_coordinates_skipped.kof:";
    EXPECT_EQ(Reasons(),
              (std::vector<std::string>{file + "1: point skipped: x is not a finite number",
                                        file + "2: point skipped: y is not a finite number",
                                        file + "3: point skipped: z is not a finite number"}));

    BufferLineSource gps("1 1 2 3\n2 nan 2 3\n3 1 2 1e400\n", "g.gps");
    CvSporopPointList points(1);
    EXPECT_EQ(ReadGpsPoints(gps, points).skipped, 2);
    EXPECT_EQ(points.Antall(), 1);
}

TEST_F(PointReaders, PxySkipsTwoHeaderLinesAndEmptyCoordinates) {
    const std::string bytes = FileBytes(DataPath("pxy/pxy_two_header_lines.pxy"));
    BufferLineSource lines(bytes, "p.pxy");
    const ReadCounts counts = ReadPxyPoints(lines, centre);
    EXPECT_EQ(Descriptions(centre), (std::vector<std::string>{"PT-A", "PT-D"}));
    EXPECT_EQ(centre.Punkt(0)->code, "KL");
    EXPECT_EQ(centre.Punkt(0)->y(), 2000.0);
    EXPECT_EQ(centre.Punkt(1)->z(), 0.0);
    EXPECT_EQ(counts.skipped, 2);

    const std::string shortFile = FileBytes(DataPath("pxy/pxy_fewer_than_three_lines.pxy"));
    BufferLineSource two(shortFile, "short.pxy");
    CvSporopPointList none(1);
    EXPECT_EQ(ReadPxyPoints(two, none).placed, 0);
    EXPECT_EQ(none.Antall(), 0);
}

TEST_F(PointReaders, GpsTakesLinesWithAllFourNumbers) {
    const std::string bytes = FileBytes(DataPath("gps/gps_three_numbers_skipped.gps"));
    BufferLineSource lines(bytes, "g.gps");
    const ReadCounts counts = ReadGpsPoints(lines, centre);
    ASSERT_EQ(centre.Antall(), 3);
    EXPECT_EQ(centre.Punkt(1)->x(), 1002.0); // trailing text after four fields is not looked at
    EXPECT_EQ(centre.Punkt(2)->x(), 1004.5);
    EXPECT_EQ(centre.Punkt(2)->z(), -1.5);
    EXPECT_EQ(counts.skipped, 2);
    EXPECT_EQ(Reasons(), (std::vector<std::string>{
                             "g.gps:2: line skipped: \"%d %lf %lf %lf\" read 3 of 4 fields (no z)",
                             "g.gps:5: line skipped: \"%d %lf %lf %lf\" read 0 of 4 fields (no "
                             "the point number)"}));
}

TEST_F(PointReaders, MicTakesKindsOneAndElevenUpWithAPositiveCount) {
    centreCodes.LeggTilVerdi(100);
    leftCodes.LeggTilVerdi(200);
    rightCodes.LeggTilVerdi(300);
    rightCodes.LeggTilVerdi(100);
    const ReadCounts counts = Kof("mic/mic_kinds_and_counts.mic", &ReadMicPoints);
    ASSERT_EQ(centre.Antall(), 1);
    EXPECT_EQ(centre.Punkt(0)->x(), 1000.0);
    EXPECT_EQ(centre.Punkt(0)->code, "") << "coordinates only";
    ASSERT_EQ(left.Antall(), 1);
    EXPECT_EQ(left.Punkt(0)->y(), 2002.0);
    ASSERT_EQ(right.Antall(), 2);
    EXPECT_EQ(right.Punkt(0)->x(), 1000.0); // code 100 is also a right code
    EXPECT_EQ(right.Punkt(1)->z(), 10.6);
    EXPECT_EQ(counts.records, 4);
    EXPECT_EQ(counts.skipped, 1); // code 999
}

// Real files: the UTM32 pair from the Norwegian Geotechnical Institute's parser and the
// deliberately malformed demo file of kof-parser-js.
TEST_F(PointReaders, RealKofFilesByTheColumnRules) {
    centreCodes.LeggTilVerdi(2418);
    Kof("kof/external/UTM32_NE.kof");
    ASSERT_EQ(centre.Antall(), 1);
    EXPECT_EQ(centre.Punkt(0)->x(), 6589107.923);
    EXPECT_EQ(centre.Punkt(0)->y(), 594137.802);
    EXPECT_EQ(centre.Punkt(0)->description, "07-187");
    centre.SlettAlleIListen(1);

    centreCodes.LeggTilVerdi(8245);
    leftCodes.LeggTilVerdi(7601);
    rightCodes.LeggTilVerdi(8751);
    const ReadCounts counts =
        Kof("kof/external/01-05_points_multiple_utm32_epsg25832_some_rows_wrongly_formatted.kof");
    // "     05 SKILT-01", "05 SKILT-02" and "-05 LYKT-02" are not records.
    EXPECT_EQ(left.Antall(), 0);
    EXPECT_EQ(Descriptions(centre),
              (std::vector<std::string>{"69217", "69269", "124057", "98285", "98284", "69207"}));
    EXPECT_EQ(Descriptions(right), (std::vector<std::string>{"LYKT-01", "LYKT-03", "LYKT-04"}));
    // "98285" has its fields one column late: x and z lose their last digit.
    const CvSporopPoint& shifted = *centre.Punkt(3);
    EXPECT_EQ(shifted.x(), 6540275.65);
    EXPECT_EQ(shifted.y(), 314036.555);
    EXPECT_EQ(shifted.z(), 7.61);
    // Shifted codes read as 65, 261 and -5, and 8292 is on no line.
    EXPECT_EQ(counts.records, 13);
    EXPECT_EQ(counts.skipped, 4);
    right.SlettAlleIListen(1);
    centre.SlettAlleIListen(1);

    // A blank code field is code 0: every point of this GNSS log goes to the centre, its
    // Windows-1252 name byte for byte.
    Kof("kof/external/15-5-18-Fossegata_windows.kof");
    ASSERT_EQ(centre.Antall(), 6);
    EXPECT_EQ(centre.Punkt(0)->description, "\xC6\xD8\xC5"
                                            "1");
    EXPECT_EQ(centre.Punkt(5)->z(), 68.052);
}

TEST_F(PointReaders, TabsInsideColumnsAreNotedNotFatal) {
    rightCodes.LeggTilVerdi(70);
    rightCodes.LeggTilVerdi(7);
    const ReadCounts counts = Kof("kof/external/kof-with-tabs.kof");
    EXPECT_EQ(Descriptions(centre), (std::vector<std::string>{"14"}));
    ASSERT_EQ(right.Antall(), 3);
    EXPECT_EQ(right.Punkt(0)->x(), 23231.981); // "23231.981  5": atof's leading number
    EXPECT_EQ(right.Punkt(1)->z(), 0.231);     // ".231"
    EXPECT_EQ(counts.placed, 4);
    ASSERT_GE(diagnostics.size(), 2u);
    EXPECT_EQ(diagnostics[0].line, 3);
    EXPECT_EQ(diagnostics[0].tally, "point records with tabs inside the columns");
    EXPECT_EQ(diagnostics[1].line, 3);
    EXPECT_EQ(diagnostics[1].reason, "x \"23231.981  5\" is not a plain number; read as 23231.981");
    EXPECT_EQ(diagnostics[1].tally, "numbers not plain");
}

} // namespace
} // namespace rigel::test
