// The tier-table element record and its project-file line.

#include "elements/TierTabElementSporop.h"

#include "support/TestSupport.h"

#include <clocale>
#include <memory>

namespace {

using rigel::test::In;

// An arc element from station 1000 to 1100 with every own field set.
TierTabElementSporop FilledRecord() {
    TierTabElementSporop e(DT_Punkt(6600000.0, 500000.0), DT_Punkt(6600099.0, 500010.0), 500.0,
                           500.0, 100.0, 1000.0, 1100.0, 7);
    e.H1.Init(53.0);
    e.H2.Init(110.0);
    e.h1.Init(52.0);
    e.h2.Init(0.0);
    e.vReq.Init(160);
    e.v.Init(130);
    e.Locked.Init(1);
    e.IntAux.Init(-3);
    e.Code1 = 4;
    e.Code2 = 12;
    e.Code3 = 0;
    e.OrigStartSTA(In(DT_Double(1234.5)));
    e.OrigEndSTA(In(DT_Double(1300.123457)));
    return e;
}

// The same values written by hand in the line's layout, field widths 3, 4 (x4), 5 (x4), 2 (x3).
const char* const kGoldenLine =
    "  7   53  110   52    0   160   130     1    -3  4 12  0 1234.500000 1300.123457";

} // namespace

// The line of a record (and of its clone) is the hand-written one, and it reads back into a
// record of the same geometry field for field and byte for byte.
TEST(TierTabElementSporop, ProjectFileLineMatchesTheHandWrittenLineAndRoundTrips) {
    const TierTabElementSporop written = FilledRecord();
    EXPECT_EQ(written.ProjectFileLine(), kGoldenLine);
    const std::unique_ptr<CvPolyElement> copy(written.Clone());
    const auto* clone = dynamic_cast<const TierTabElementSporop*>(copy.get());
    ASSERT_NE(clone, nullptr) << "the clone keeps the class";
    EXPECT_EQ(clone->ProjectFileLine(), kGoldenLine);

    // A record with the same geometry (as the tier-table lines would rebuild it), own fields 0.
    TierTabElementSporop read(DT_Punkt(6600000.0, 500000.0), DT_Punkt(6600099.0, 500010.0), 500.0,
                              500.0, 100.0, 1000.0, 1100.0, 7);
    EXPECT_EQ(read.ReadProjectFileLine(kGoldenLine), 14);
    EXPECT_TRUE(read.EqualRecord(written));
    EXPECT_EQ(read.ProjectFileLine(), kGoldenLine);
}

TEST(TierTabElementSporop, CantsLoseTheirFraction) {
    TierTabElementSporop e = FilledRecord();
    e.H1.Init(52.6);
    e.h2.Init(-0.4);
    TierTabElementSporop back = FilledRecord();
    back.ReadProjectFileLine(e.ProjectFileLine());
    EXPECT_EQ(back.H1.Get(), 53.0);
    EXPECT_EQ(back.h2.Get(), 0.0); // "-0" reads as minus zero
}

TEST(TierTabElementSporop, ShortLinesFallBackToTheElementsOwnStations) {
    TierTabElementSporop e = FilledRecord();
    e.ElementNumber(In(DT_Int(9)));
    // Twelve values (their order is the full line's): the source stations become the element's
    // own stations 1000 and 1100.
    EXPECT_EQ(e.ReadProjectFileLine("  1   10   20   30   40    50    60     0     0  1  2  3"),
              12);
    EXPECT_EQ(e.OrigStartSTA()->Get(), 1000.0);
    EXPECT_EQ(e.OrigEndSTA()->Get(), 1100.0);
    EXPECT_EQ(e.ElementNumber()->Get(), 9) << "lines are matched by order, not by number";

    // Thirteen values: the source start station is taken, the end station keeps its value.
    e.OrigEndSTA(In(DT_Double(-5.0)));
    EXPECT_EQ(e.ReadProjectFileLine("1 0 0 0 0 0 0 0 0 0 0 0 2000.25"), 13);
    EXPECT_EQ(e.OrigStartSTA()->Get(), 2000.25);
    EXPECT_EQ(e.OrigEndSTA()->Get(), -5.0);

    // A field that does not scan ends the line: what came before is taken, the rest kept.
    TierTabElementSporop partial = FilledRecord();
    EXPECT_EQ(partial.ReadProjectFileLine("7 11 x 99"), 2);
    EXPECT_EQ(partial.H1.Get(), 11.0);
    EXPECT_EQ(partial.H2.Get(), 110.0);
    EXPECT_EQ(partial.v.Get(), 130);
    EXPECT_EQ(partial.OrigStartSTA()->Get(), 1000.0);
    EXPECT_EQ(partial.ReadProjectFileLine(""), -1);
}

TEST(TierTabElementSporop, LineIsTheSameUnderADecimalCommaLocale) {
    if (std::setlocale(LC_ALL, rigel::test::kDecimalCommaLocale) == nullptr)
        GTEST_SKIP() << "no locale " << rigel::test::kDecimalCommaLocale;
    const std::string line = FilledRecord().ProjectFileLine();
    TierTabElementSporop read = FilledRecord();
    read.OrigStartSTA(In(DT_Double(0.0)));
    const int count = read.ReadProjectFileLine(line);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(line, kGoldenLine);
    EXPECT_EQ(count, 14);
    EXPECT_EQ(read.OrigStartSTA()->Get(), 1234.5);
}
