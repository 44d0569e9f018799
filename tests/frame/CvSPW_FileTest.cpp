// The project file: a golden file written by hand, the full round trip (file and in-memory
// modes), and the reading rules for old or damaged files.

#include "support/TestSupport.h"

#include "elements/TierTabElementSporop.h"
#include "frame/CvSPW_File.h"
#include "synthetic/SyntheticAlignment.h"

namespace {

using rigel::test::FileBytes;
using rigel::test::TempFolder;

std::unique_ptr<TierTabElementSporop> Record(const CvPolyElement& e, int k) {
    auto r = std::make_unique<TierTabElementSporop>(
        *e.StartPoint(), *e.EndPoint(), e.StartRadius()->Get(), e.EndRadius()->Get(),
        e.Length()->Get(), e.StartSTA()->Get(), e.EndSTA()->Get(), e.ElementNumber()->Get());
    r->SetTransParameter(e.TransParameter()->Get());
    r->H1.Init(10 * k);
    r->H2.Init(10 * k + 5);
    r->v.Init(120 + k);
    r->Code3 = k;
    const DT_Double start(e.StartSTA()->Get() + 1000), end(e.EndSTA()->Get() + 1000);
    r->OrigStartSTA(&start);
    r->OrigEndSTA(&end);
    return r;
}

// A project with every member set to something other than its default.
void Fill(TrackProject& p, const std::string& existingFile) {
    for (int i = 0; i < 5; ++i) {
        // Values that 15 decimals hold exactly, so that they read back equal.
        auto point = std::make_unique<CvSporopPoint>(6650000.125 + i, 560000.5 - i * 0.25, 12.25,
                                                     i == 1 ? "KM 12" : "C", i == 1 ? "" : "a b");
        point->profile = i * 10.0;
        point->curvature = 0.000244140625;
        point->curvature7 = -0.0001220703125;
        point->verticalCurvature = 0.000030517578125;
        point->mark = i;
        point->direction = 0.125 * i;
        point->curvature3 = 0.00048828125;
        point->cant = i == 2 ? 999 : -40 + i;
        p.projectPoints.Append(std::move(point));
    }
    auto split = std::make_unique<CvSporopPoint>(1.5, 2.5, 3.5, "", "");
    split->profile = 7.0;
    p.splitPoints.Append(std::move(split));
    const auto chain = rigel::bench::MakeSyntheticAlignment(8, 2000.0, 5);
    for (int k = 0; k < chain->GetCount(); ++k) {
        p.inputTierTable.AddElement(Record(*chain->Element(k), k).release());
        p.alignment.AddElement(Record(*chain->Element(k), k + 1).release());
        p.previousConverted.AddElement(new CvPolyElement(*chain->Element(k)));
    }
    p.previousConverted.TransCurves2Arcs();
    p.nadbData.Calculate(&p.inputTierTable);
    p.verticalTierTable.AddElement(
        new CvPolyElement(DT_Punkt(0, 100), DT_Punkt(200, 104), 0, 0, 200.04, 0, 200.04, 1));
    p.editedVerticalTierTable.AddElement(
        new CvPolyElement(DT_Punkt(0, 90), DT_Punkt(100, 91), 0, 0, 100.005, 0, 100.005, 1));
    p.verticalAlignment.Append(std::make_unique<DT_Punkt>(0, 100, 0));
    p.verticalAlignment.Append(std::make_unique<DT_Punkt>(500, 105, 12000));
    p.givenSpeeds.Append(std::make_unique<DT_Punkt>(10, 20, 120));
    p.requirements.Append(std::make_unique<DT_Punkt>(1.25, 2.5, 3.75));
    for (int i = 0; i < 5; ++i)
        p.projectTexts[i] = CString(i == 2 ? std::string() : "text " + std::to_string(i));
    for (int i = 0; i < 11; ++i)
        p.divInts[i] = i * 3 - 4;
    p.pointListWord = 2;
    p.divReals = {0.5, -1.25, 3e5, 4.0, 5.5, 6.0};
    p.divPair = {7.0, 8.0};
    p.startPoint.Init(6650000.1, 560000.2, 13.3);
    p.startStation = 1234.5;
    p.divPair2 = {9.0, 10.0};
    p.divReals2 = {1, 2, 3, 4, 5, 6};
    p.referenceGauge = 1.5;
    p.cantBase = 1.6;
    p.referenceSide = CString("left");
    p.userProfilePath = CString(existingFile);
    p.userProfileText = CString("profile text");
    for (int i = 0; i < 5; ++i)
        p.offsetView[i] = {i + 1, 10 * (i + 1)};
}

auto Fields(const DT_Punkt& p) {
    return std::make_tuple(p.x(), p.y(), p.z());
}
auto Fields(const CvSporopPoint& p) {
    return std::make_tuple(p.x(), p.y(), p.z(), p.profile, p.curvature, p.curvature7,
                           p.verticalCurvature, p.mark, p.direction, p.curvature3, p.cant, p.code,
                           p.description);
}
template <typename List> auto AllFields(const List& list) {
    std::vector<decltype(Fields(*list.Punkt(0)))> out;
    for (int i = 0; i < list.Antall(); ++i)
        out.push_back(Fields(*list.Punkt(i)));
    return out;
}

void ExpectSameProject(const TrackProject& a, const TrackProject& b) {
    EXPECT_EQ(AllFields(a.projectPoints), AllFields(b.projectPoints));
    EXPECT_EQ(AllFields(a.splitPoints), AllFields(b.splitPoints));
    EXPECT_EQ(AllFields(a.verticalAlignment), AllFields(b.verticalAlignment));
    EXPECT_EQ(AllFields(a.givenSpeeds), AllFields(b.givenSpeeds));
    EXPECT_EQ(AllFields(a.requirements), AllFields(b.requirements));
    // The project file keeps the own fields of the alignment's records only.
    ASSERT_EQ(a.alignment.GetCount(), b.alignment.GetCount());
    for (int k = 0; k < a.alignment.GetCount(); ++k)
        EXPECT_EQ(static_cast<const TierTabElementSporop*>(a.alignment.Element(k))
                      ->EqualRecord(
                          *static_cast<const TierTabElementSporop*>(b.alignment.Element(k)), 1e-6),
                  1)
            << k;
    for (auto [x, y] : {std::pair{&a.inputTierTable, &b.inputTierTable},
                        {&a.previousConverted, &b.previousConverted},
                        {&a.verticalTierTable, &b.verticalTierTable},
                        {&a.editedVerticalTierTable, &b.editedVerticalTierTable}}) {
        ASSERT_EQ(x->GetCount(), y->GetCount());
        for (int k = 0; k < x->GetCount(); ++k)
            EXPECT_EQ(x->Element(k)->Equal(*y->Element(k)), 1) << k;
    }
    ASSERT_EQ(a.nadbData.SegmentCount(), b.nadbData.SegmentCount());
    for (int k = 0; k < a.nadbData.SegmentCount(); ++k) {
        EXPECT_EQ(a.nadbData.Segment(k)->Text(), b.nadbData.Segment(k)->Text());
        EXPECT_EQ(b.inputTierTable.Element(k)->PrivateData(), b.nadbData.Segment(k));
    }
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(a.projectTexts[i].str(), b.projectTexts[i].str());
    EXPECT_EQ(a.divInts, b.divInts);
    EXPECT_EQ(std::tie(a.pointListWord, a.divReals, a.divPair, a.startStation, a.divPair2,
                       a.divReals2, a.referenceGauge, a.cantBase),
              std::tie(b.pointListWord, b.divReals, b.divPair, b.startStation, b.divPair2,
                       b.divReals2, b.referenceGauge, b.cantBase));
    EXPECT_EQ(Fields(a.startPoint), Fields(b.startPoint));
    EXPECT_EQ(a.referenceSide.str(), b.referenceSide.str());
    EXPECT_EQ(a.userProfilePath.str(), b.userProfilePath.str());
    EXPECT_EQ(a.userProfileText.str(), b.userProfileText.str());
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(std::tie(a.offsetView[i].a, a.offsetView[i].b),
                  std::tie(b.offsetView[i].a, b.offsetView[i].b));
}

} // namespace

TEST(ProjectFile, GoldenTextOfASmallProject) {
    TempFolder dir;
    TrackProject p;
    auto point = std::make_unique<CvSporopPoint>(1.5, -2.25, 0.125, "KM 12", "");
    point->cant = -7;
    p.projectPoints.Append(std::move(point));
    p.givenSpeeds.Append(std::make_unique<DT_Punkt>(1.0005, 2, 80));
    p.projectTexts[0] = CString("Line\nnorth");
    p.offsetView[0] = {1, 2};
    CvSPW_File file(dir.Path("p.spw"));
    ASSERT_EQ(file.Write(&p, 0, 1), 1);
    EXPECT_EQ(FileBytes(dir.Path("p.spw")),
              FileBytes(rigel::test::DataPath("project/small_project_one_point_one_speed.spw")));
}

TEST(ProjectFile, WriteReadWriteKeepsEveryMemberAndTheBytes) {
    TempFolder dir;
    dir.Write("profile.ini", "x");
    TrackProject written;
    Fill(written, dir.Path("profile.ini"));
    // The input elements are stationed anew on writing: break the chain first.
    written.inputTierTable.Element(3)->SetStartSTA(1e6);
    ASSERT_EQ(CvSPW_File(dir.Path("a.spw")).Write(&written, 0, 1), 1);
    for (int k = 1; k < written.inputTierTable.GetCount(); ++k)
        EXPECT_EQ(written.inputTierTable.Element(k)->StartSTA()->Get(),
                  written.inputTierTable.Element(k - 1)->EndSTA()->Get());

    TrackProject read;
    ASSERT_EQ(CvSPW_File(dir.Path("a.spw")).Read(&read, 0, 0, 1), 1);
    ExpectSameProject(written, read);
    ASSERT_EQ(CvSPW_File(dir.Path("b.spw")).Write(&read, 0, 1), 1);
    EXPECT_EQ(FileBytes(dir.Path("a.spw")), FileBytes(dir.Path("b.spw")));

    // In memory: the project's own text list holds the same lines, and the file gets nothing.
    ASSERT_EQ(CvSPW_File(dir.Path("c.spw")).Write(&read, 0, 0), 1);
    EXPECT_FALSE(std::filesystem::exists(dir.Path("c.spw")));
    std::string lines;
    for (int i = 0; i < read.Antall(); ++i)
        lines += read.Tekst(i)->str() + "\n";
    EXPECT_EQ(lines, FileBytes(dir.Path("a.spw")));
    TrackProject fromMemory;
    for (int i = 0; i < read.Antall(); ++i)
        fromMemory.LeggTilStreng(read.Tekst(i)->str());
    ASSERT_EQ(CvSPW_File("unused").Read(&fromMemory, 0, 0, 0), 1);
    ExpectSameProject(written, fromMemory);
}

TEST(ProjectFile, OldAndDamagedFiles) {
    TempFolder dir;
    const auto read = [&](const std::string& text, TrackProject& p) {
        dir.Write("f.spw", text);
        return CvSPW_File(dir.Path("f.spw")).Read(&p, 0, 0, 1);
    };
    TrackProject p;
    EXPECT_EQ(CvSPW_File(dir.Path("none.spw")).Read(&p, 0, 0, 1), 1);
    EXPECT_EQ(read("", p), 2);
    EXPECT_EQ(CvSPW_File("x").Write(nullptr, 0, 1), 0);

    // Points of x y z only: derived values computed; a wild cant capped; no NYL section, yet
    // the later sections are read; settings of 0 and an empty side take the defaults; small
    // offset-view b values are scaled.
    std::string text = "@@DATA_SEGMENT_1\n**KOF_SECTION**\n";
    for (int i = 0; i < 20; ++i)
        text += rigel::Format("%d %.3f 10\n", i * 5, 0.002 * i * i);
    text += "**GIVENSPEED_SECTION**\n1 2 3\n**DIV_SECTION**\n1 2\n\n\n\n\n0 0 0 0 0 0 0 0\n\n"
            "**OFFSET_VIEW_CONFIG**\n1 2 3 4 5\n4 6 5 0 -1\n";
    ASSERT_EQ(read(text, p), 1);
    ASSERT_EQ(p.projectPoints.Antall(), 20);
    EXPECT_NE(p.projectPoints.Punkt(10)->direction, 0.0) << "directions recomputed";
    EXPECT_NE(p.projectPoints.Punkt(10)->curvature7, 0.0) << "curvatures recomputed";
    EXPECT_EQ(p.givenSpeeds.Antall(), 1);
    EXPECT_EQ(p.divInts[0], 1);
    EXPECT_EQ(p.divInts[1], 2);
    EXPECT_EQ(p.referenceGauge, 1.435);
    EXPECT_EQ(p.cantBase, 1.5);
    EXPECT_EQ(p.referenceSide.str(), "center");
    EXPECT_EQ(std::tie(p.offsetView[0].b, p.offsetView[1].b, p.offsetView[2].b, p.offsetView[3].b,
                       p.offsetView[4].b),
              std::make_tuple(40, 6, 50, 0, -10));

    ASSERT_EQ(read("@@DATA_SEGMENT_1\n**KOF_SECTION**\n"
                   "1 2 3 4 5 6 7 8 9 10 -1500 KM\xA7"
                   "12 \xA7\n",
                   p),
              1);
    const CvSporopPoint& q = *p.projectPoints.Punkt(0);
    EXPECT_EQ(std::tie(q.cant, q.code, q.description), std::make_tuple(999, "KM 12", ""));
    EXPECT_EQ(q.direction, 9.0) << "a point with derived values is not recomputed";
}
