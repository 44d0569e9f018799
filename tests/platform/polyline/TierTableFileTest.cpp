// Tier-table and line files: golden files written by hand, exact round trips, malformed input.

#include "platform/base/Diagnostics.h"
#include "platform/base/TextScan.h"
#include "platform/polyline/CvPolyLine.h"

#include "support/TestSupport.h"

#include <array>
#include <bit>
#include <clocale>
#include <cstdint>

namespace {

using rigel::test::DataPath;
using rigel::test::FileBytes;
using rigel::test::TempFolder;

// An element's numbers in the line file's column order (columns 3 to 14).
std::array<double, 12> Values(const CvPolyElement& e) {
    return {e.StartSTA()->Get(),    e.EndSTA()->Get(),    e.Length()->Get(),
            e.StartRadius()->Get(), e.EndRadius()->Get(), e.TransParameter()->Get(),
            e.StartPoint()->x(),    e.StartPoint()->y(),  e.StartPoint()->z(),
            e.EndPoint()->x(),      e.EndPoint()->y(),    e.EndPoint()->z()};
}

// Bit for bit: -0.0 and 0.0 differ.
void ExpectSameBits(const std::array<double, 12>& a, const std::array<double, 12>& b, int i) {
    for (int k = 0; k < 12; ++k)
        EXPECT_EQ(std::bit_cast<std::uint64_t>(a[k]), std::bit_cast<std::uint64_t>(b[k]))
            << "element " << i << " column " << k + 3;
}

// Every kind, awkward numbers (thirds, negative zero, tiny and huge magnitudes), both frames.
CvPolyLine* AwkwardChain() {
    auto* chain = new CvPolyLine(1);
    std::mt19937_64 rng(11);
    std::uniform_real_distribution<double> u(-1.0, 1.0);
    const double radii[][2] = {{0, 0},           {1.0 / 3, 1.0 / 3},
                               {-2000.0 / 7, 0}, {1e-300, 450.25},
                               {-0.0, -0.0},     {123456.789012345, -9876.54321}};
    int n = 0;
    for (const auto& r : radii) {
        auto* e = new CvPolyElement(DT_Punkt(6'650'000.0 + u(rng) * 1e3, 560'000.0 / 3 + u(rng)),
                                    DT_Punkt(u(rng) * 1e-310, 1e15 * u(rng), -0.0), r[0], r[1],
                                    std::nextafter(100.0, 200.0), 0.1 + n, 0.1 + n + 0.2, -n * 7);
        e->SetTransParameter(std::sqrt(2.0) * n);
        if (n % 2 == 1)
            e->MapCoord(2, 0);
        chain->AddElement(e);
        ++n;
    }
    return chain;
}

} // namespace

TEST(TierTableFile, GoldenFileReadsAndWritesBackByteForByte) {
    CvPolyLine chain(1);
    ASSERT_EQ(
        chain.InitFrom_TIT_File(DataPath("polyline/line_arc_line.tit").c_str(), 0, 0, nullptr), 1)
        << chain.LastError();
    TempFolder dir;
    ASSERT_EQ(chain.ExportToTIT11File(dir.Path("out.tit").c_str(), 1, 0), 1) << chain.LastError();
    EXPECT_EQ(FileBytes(dir.Path("out.tit")), FileBytes(DataPath("polyline/line_arc_line.tit")));
    // The line file, written by hand too, shows every number, type and frame as read.
    ASSERT_EQ(chain.ExportToFile(dir.Path("out.lin").c_str(), 1, 0), 1);
    EXPECT_EQ(FileBytes(dir.Path("out.lin")), FileBytes(DataPath("polyline/line_arc_line.lin")));
}

TEST(TierTableFile, CommentsCrLfTypeFourAndAMissingFrameAreAccepted) {
    CvPolyLine chain(1);
    ASSERT_EQ(chain.InitFrom_TIT_File(DataPath("polyline/type4_crlf.tit").c_str(), 0, 0, nullptr),
              1)
        << chain.LastError();
    ASSERT_EQ(chain.GetCount(), 1);
    CvPolyElement* e = chain.HeadElem(); // type 4: an arc, as its radii say
    EXPECT_EQ(e->Frame(), 1);
    EXPECT_EQ(e->ElementNumber()->Get(), 7);
    EXPECT_EQ(e->StartPoint()->z(), 3.25);
    DT_Punkt c;
    ASSERT_EQ(e->ArcCenter(&c), 1);
    EXPECT_NEAR(c.x(), 1000.0, 1e-9) << "a left curve heading north turns about a point west";
    EXPECT_NEAR(c.y(), 1750.0, 1e-9);
    EXPECT_NEAR(e->CalcLength(0), 250 * std::numbers::pi / 4, 1e-9);
}

TEST(TierTableFile, EveryNumberReadsBackToTheSameDouble) {
    std::unique_ptr<CvPolyLine> chain(AwkwardChain());
    TempFolder dir;
    const std::string first = dir.Path("a.tit"), second = dir.Path("b.tit");
    ASSERT_EQ(chain->ExportToTIT11File(first.c_str(), 1, 0), 1) << chain->LastError();
    CvPolyLine back(1);
    ASSERT_EQ(back.InitFrom_TIT_File(first.c_str(), 0, 0, nullptr), 1) << back.LastError();
    ASSERT_EQ(back.GetCount(), chain->GetCount());
    for (int i = 0; i < back.GetCount(); ++i) {
        EXPECT_EQ(back.Element(i)->Equal(*chain->Element(i)), 1) << i;
        ExpectSameBits(Values(*back.Element(i)), Values(*chain->Element(i)), i);
    }
    ASSERT_EQ(back.ExportToTIT11File(second.c_str(), 1, 0), 1);
    EXPECT_EQ(FileBytes(first), FileBytes(second));

    // The line file's numbers too (columns as documented).
    const std::string lin = chain->LineFileText(0);
    std::istringstream lines(lin);
    std::string line;
    int i = 0;
    while (std::getline(lines, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        const CvPolyElement* e = chain->Element(i);
        int number = 0, type = 0, frame = 0;
        double v[12];
        ASSERT_EQ(rigel::Scan(line, "%d %d %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %lf %d",
                              &number, &type, &v[0], &v[1], &v[2], &v[3], &v[4], &v[5], &v[6],
                              &v[7], &v[8], &v[9], &v[10], &v[11], &frame),
                  15);
        ExpectSameBits(std::to_array(v), Values(*e), i);
        EXPECT_EQ(number, e->ElementNumber()->Get());
        EXPECT_EQ(type, e->ElementType());
        EXPECT_EQ(frame, e->Frame());
        ++i;
    }
    EXPECT_EQ(i, chain->GetCount());

    // With decimals asked for, the values are rounded (and still read).
    CvPolyLine rounded(1);
    ASSERT_EQ(rounded.InitFrom_TIT_Text(chain->TIT11Text(3), "rounded", 0, 0, nullptr), 1);
    EXPECT_EQ(rounded.Element(1)->StartRadius()->Get(), 0.333);
}

TEST(TierTableFile, TextIsTheSameUnderADecimalCommaLocale) {
    std::unique_ptr<CvPolyLine> chain(AwkwardChain());
    const std::string inC = chain->TIT11Text(0) + chain->LineFileText(4);
    if (std::setlocale(LC_ALL, rigel::test::kDecimalCommaLocale) == nullptr)
        GTEST_SKIP() << "no locale " << rigel::test::kDecimalCommaLocale;
    const std::string inDe = chain->TIT11Text(0) + chain->LineFileText(4);
    CvPolyLine back(1);
    const int read = back.InitFrom_TIT_Text(chain->TIT11Text(0), "de", 0, 0, nullptr);
    std::setlocale(LC_ALL, "C");
    EXPECT_EQ(inDe, inC);
    ASSERT_EQ(read, 1);
    EXPECT_EQ(back.Element(5)->Equal(*chain->Element(5)), 1);
}

TEST(TierTableFile, MalformedFilesFailWithFileAndLineAndLeaveTheChain) {
    const std::string good = "TIT 11\n1 0 0 0 0 0 10\n1 10 10 0 0 0 0 1\n";
    const struct {
        std::string text;
        long line;
        const char* says;
    } cases[] = {
        {"", 0, "no \"TIT 11\" header"},
        {"# only a comment\n\n", 2, "no \"TIT 11\" header"},
        {"TIT 12\n", 1, "must be \"TIT 11\""},
        {"TIT 11 extra\n", 1, "must be \"TIT 11\""},
        {"TIT 11\n1 0 0 0 0 0 10\n", 2, "no second line"},
        {"TIT 11\n1 0 0 0 0 10\n1 10 10 0 0 0 0 1\n", 2, "expected 7 fields"},
        {"TIT 11\n1 0 0 0 0 0 10 5\n1 10 10 0 0 0 0 1\n", 2, "expected 7 fields"},
        {"TIT 11\n1 0 0 0 0 0 abc\n1 10 10 0 0 0 0 1\n", 2, "length is not a finite number"},
        {"TIT 11\n1 0 nan 0 0 0 10\n1 10 10 0 0 0 0 1\n", 2, "start x is not a finite"},
        {"TIT 11\n1 0 0 0 0 0 10\n1 10 1e999 0 0 0 0 1\n", 3, "end x is not a finite"},
        {"TIT 11\n1 0 0 0 0 0 10\n5 10 10 0 0 0 0 1\n", 3, "must be 1, 2, 3 or 4"},
        {"TIT 11\n1 0 0 0 0 0 10\n1 10 10 0 0 0 0 3\n", 3, "frame must be 1 or 2"},
        {"TIT 11\n1 0 0 0 0 0 10\n1 10 10 0 0 0 0 1 9\n", 3, "expected 7 or 8 fields"},
        {"TIT 11\n99999999999 0 0 0 0 0 10\n1 10 10 0 0 0 0 1\n", 2, "element number"},
        {"TIT 11\n1 0 0 0 0 0 10\n1 10 10,5 0 0 0 0 1\n", 3, "end x"},
        {std::string("TIT 11\n1 0 0\0 0 0 0 10\n1 10 10 0 0 0 0 1\n", 39), 2, "\\x00"},
        {"\x89PNG\r\n\x1a\n\xff\xfe", 1, "must be \"TIT 11\""},
        {good + "2 10 10 0 0 0 10\n", 4, "no second line"},
    };
    for (const auto& c : cases) {
        CvPolyLine chain(1);
        ASSERT_EQ(chain.InitFrom_TIT_Text(good, "good.tit", 0, 0, nullptr), 1);
        std::vector<rigel::Diagnostic> notes;
        rigel::ScopedDiagnosticSink sink([&](const rigel::Diagnostic& d) { notes.push_back(d); });
        EXPECT_EQ(chain.InitFrom_TIT_Text(c.text, "bad.tit", 0, 0, nullptr), 0) << c.says;
        EXPECT_EQ(chain.ErrorKode(), -3);
        EXPECT_EQ(chain.LastError().rfind("bad.tit:" + std::to_string(c.line) + ": ", 0), 0u)
            << chain.LastError();
        EXPECT_THAT(chain.LastError(), HasSubstr(c.says));
        ASSERT_EQ(notes.size(), 1u) << c.says;
        EXPECT_EQ(notes[0].line, c.line);
        EXPECT_EQ(chain.GetCount(), 1) << "the chain is left as it was";
    }
}

TEST(TierTableFile, FileErrorsAndOptions) {
    TempFolder dir;
    CvPolyLine chain(1);
    EXPECT_EQ(chain.InitFrom_TIT_File(nullptr, 0, 0, nullptr), 0);
    EXPECT_EQ(chain.ErrorKode(), -1);
    EXPECT_EQ(chain.InitFrom_TIT_File(dir.Path("missing.tit").c_str(), 0, 0, nullptr), 0);
    EXPECT_EQ(chain.ErrorKode(), -2);
    EXPECT_THAT(chain.LastError(), HasSubstr("missing.tit"));

    const std::string golden = DataPath("polyline/line_arc_line.tit");
    ASSERT_EQ(chain.InitFrom_TIT_File(golden.c_str(), 0, 0, nullptr), 1);
    // append (restationing: PolyLineTest).
    ASSERT_EQ(chain.InitFrom_TIT_File(golden.c_str(), 1, 0, nullptr), 1);
    EXPECT_EQ(chain.GetCount(), 6);

    // Stationing from a reference: a copy shifted 4 m east of the first line starts at the
    // station of its first point on the reference (the golden chain itself).
    CvPolyLine reference(1);
    reference.InitFrom_TIT_File(golden.c_str(), 0, 0, nullptr);
    std::string shifted = "TIT 11\n9 0 40 4 0 0 60\n1 60 100 4 0 0 0 1\n";
    CvPolyLine tied(1);
    ASSERT_EQ(tied.InitFrom_TIT_Text(shifted, "tied", 0, 1, &reference), 1) << tied.LastError();
    EXPECT_NEAR(tied.HeadElem()->StartSTA()->Get(), 40.0, 1e-12);
    shifted = "TIT 11\n9 0 -40 4 0 0 60\n1 60 20 4 0 0 0 1\n";
    EXPECT_EQ(tied.InitFrom_TIT_Text(shifted, "tied", 0, 1, &reference), 0);
    EXPECT_EQ(tied.ErrorKode(), -4);

    // overwrite 0 keeps an existing file.
    const std::string out = dir.Path("keep.tit");
    dir.Write("keep.tit", "previous");
    EXPECT_EQ(chain.ExportToTIT11File(out.c_str(), 0, 0), 0);
    EXPECT_EQ(chain.ErrorKode(), -5);
    EXPECT_EQ(FileBytes(out), "previous");
    EXPECT_EQ(chain.ExportToTIT11File(dir.Path("no/such/dir.tit").c_str(), 1, 0), 0);
    EXPECT_EQ(chain.ErrorKode(), -2);

    // Values that are not finite are never written.
    chain.Element(0)->SetLength(NAN);
    EXPECT_EQ(chain.ExportToTIT11File(dir.Path("nan.tit").c_str(), 1, 0), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("nan.tit")));
}
