// Feature codes: the scan of a file's codes, the proposal from the profile, the dialog through
// HostUi, the merge after OK, the profile write-back, the tier-table option and cancel.

#include "support/FrameTest.h"

#include "frame/LibraryState.h"
#include "platform/host/CvDialogThemeCodes.h"

namespace rigel::test {
namespace {

const char* const kCentre = kNumericCodeEntries.centre;
const char* const kLeft = kNumericCodeEntries.left;
const char* const kRight = kNumericCodeEntries.right;

std::vector<std::string> S(std::initializer_list<const char*> texts) {
    return {texts.begin(), texts.end()};
}

class FeatureCodes : public FrameTest {
protected:
    // kof_feature_codes.kof: 6 points each with code 10 (centre), 20 (left), 30 (right), one 40.
    std::string KofPath() const { return DataPath("kof/kof_feature_codes.kof"); }
    LibraryState& state = State();
};

TEST(FindNumericCodes, EachCodeOnceInTheOrderMet) {
    const std::string kof = " 05 A          30       1.0          2.0          \n"
                            " 05 B          10       1.0          2.0          \n"
                            "05 C           77       1.0          2.0          \n"
                            " 05 D          30       1.0          2.0          \n"
                            " 05 E          0        1.0          2.0          \n"
                            " 05 F          abc      1.0          2.0          \n"
                            " 05 G          -4       \n";
    DT_IntListe codes(1);
    BufferLineSource lines(kof);
    FindNumericCodes(lines, kKOF, codes);
    EXPECT_EQ(Codes(codes), (std::vector<int>{30, 10, -4}));

    // A line longer than 254 characters is examined in pieces; a piece can be a record.
    const std::string longLine = std::string(254, 'x') + " 05 H          55       1.0\n";
    BufferLineSource pieces(longLine);
    FindNumericCodes(pieces, kKOF, codes);
    EXPECT_EQ(Codes(codes), (std::vector<int>{30, 10, -4, 55}));

    BufferLineSource asPxy(kof);
    DT_IntListe none(1);
    FindNumericCodes(asPxy, kPXY, none);
    EXPECT_EQ(none.Antall(), 0) << "only KOF and MIC carry numeric codes";
}

TEST(FindNumericCodes, MicKindsAndCounts) {
    const std::string bytes = FileBytes(DataPath("mic/mic_kinds_and_counts.mic"));
    BufferLineSource lines(bytes);
    DT_IntListe codes(1);
    FindNumericCodes(lines, kMIC, codes);
    // Kind 5, kind 10, a count of 0 and a negative count are not point records.
    EXPECT_EQ(Codes(codes), (std::vector<int>{100, 200, 300, 999}));
}

TEST_F(FeatureCodes, RegisteredCodesAreProposedAndTheAnswerIsTaken) {
    SetProfileCodes(kCentre, "10\n");
    SetProfileCodes(kLeft, "20\n");
    ui.QueueFeatureCodeAnswer(Ok(S({"10"}), S({"20"}), S({"30"})));
    Load(KofPath(), kKOF, true, nullptr, /*railExports=*/true);
    ui.Verify();

    ASSERT_EQ(ui.FeatureCodeDialogs().size(), 1u);
    const FeatureCodeDialogRequest& request = ui.FeatureCodeDialogs()[0];
    EXPECT_EQ(request.label, "KOF_FEATURE_CODES.KOF contains these feature codes:");
    EXPECT_EQ(request.railExportsEnabled, 1);
    EXPECT_TRUE(request.numeric);
    EXPECT_EQ(request.available, S({"30", "40"}));
    EXPECT_EQ(request.centre, S({"10"}));
    EXPECT_EQ(request.left, S({"20"}));
    EXPECT_TRUE(request.right.empty());

    EXPECT_EQ(Codes(state.RightRailCodes), (std::vector<int>{30}));
    EXPECT_EQ(ProfileCodes(kRight), "30\n");
    EXPECT_EQ(state.RightRailPoints.Antall(), 6);
}

// After OK a registered code the file lacks (99) is kept in its list, and a code moved to
// another list (20) leaves its old profile entry.
TEST_F(FeatureCodes, TheAnswerIsMergedWithTheProfile) {
    const struct {
        const char *centreBefore, *centreAfter, *leftAfter;
        std::vector<std::string> answerLeft, proposed;
        std::vector<int> centreCodes;
    } cases[] = {
        {"99\n10\n", "10\n99\n", "", {}, {"10"}, {10, 99}},
        {"10\n20\n", "10\n", "20\n", {"20"}, {"10", "20"}, {10}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.centreBefore);
        rigel_ClearCoordinateLists();
        rigel_ClearFeatureCodesLists();
        SetProfileCodes(kCentre, c.centreBefore);
        ui.QueueFeatureCodeAnswer(Ok(S({"10"}), c.answerLeft, S({})));
        Load(KofPath(), kKOF, true);
        ui.Verify();
        EXPECT_EQ(ui.FeatureCodeDialogs().back().centre, c.proposed);
        EXPECT_EQ(Codes(state.CenterCodes), c.centreCodes);
        EXPECT_EQ(ProfileCodes(kCentre), c.centreAfter);
        EXPECT_EQ(ProfileCodes(kLeft), c.leftAfter);
        EXPECT_EQ(state.LeftRailPoints.Antall(), c.answerLeft.empty() ? 0 : 6);
    }
}

TEST_F(FeatureCodes, CancelAbandonsTheLoadAndTouchesNothing) {
    SetProfileCodes(kCentre, "10\n");
    SetProfileCodes(kLeft, "20\n");
    const std::string profileBefore = FileBytes(app.GetProfilePath());
    TrackProject project;
    ui.QueueFeatureCodeAnswer(FeatureCodeDialogAnswer{});
    Load(KofPath(), kKOF, true, &project);
    ui.Verify();
    EXPECT_EQ(FileBytes(app.GetProfilePath()), profileBefore);
    EXPECT_EQ(state.CenterCodes.Antall() + state.LeftRailCodes.Antall() +
                  state.RightRailCodes.Antall(),
              0);
    EXPECT_EQ(state.CenterPoints.Antall() + state.LeftRailPoints.Antall() +
                  state.RightRailPoints.Antall(),
              0);
    EXPECT_EQ(project.readingInProgress, 0);
    EXPECT_TRUE(ui.FileDialogs().empty());
}

TEST_F(FeatureCodes, WithoutTheDialogOnlyTheProfileDecides) {
    TrackProject project;
    Load(KofPath(), kKOF, false, &project);
    EXPECT_EQ(state.CenterPoints.Antall(), 0) << "no codes known: nothing read";
    EXPECT_EQ(project.readingInProgress, 0);
    EXPECT_FALSE(rigel_IsFeatureCodesLoaded());

    // The registered codes found in the file, and the profile left as it was (not sorted).
    SetProfileCodes(kCentre, "99\n10\n");
    SetProfileCodes(kRight, "30\n");
    const std::string profileBefore = FileBytes(app.GetProfilePath());
    Load(KofPath(), kKOF, false, &project);
    EXPECT_EQ(Codes(state.CenterCodes), (std::vector<int>{10}));
    EXPECT_EQ(Codes(state.RightRailCodes), (std::vector<int>{30}));
    EXPECT_EQ(state.CenterPoints.Antall(), 6);
    EXPECT_EQ(state.RightRailPoints.Antall(), 6);
    EXPECT_EQ(project.readingInProgress, 1) << "the load leaves it to the host";
    EXPECT_EQ(FileBytes(app.GetProfilePath()), profileBefore);
    EXPECT_TRUE(ui.FeatureCodeDialogs().empty());

    // Codes chosen once hold: the next load asks nothing even with the dialog requested.
    rigel_ClearCoordinateLists();
    Load(KofPath(), kKOF, true);
    EXPECT_TRUE(ui.FeatureCodeDialogs().empty());
    EXPECT_EQ(state.CenterPoints.Antall(), 6);
}

TEST_F(FeatureCodes, TheTierTableOptionReadsAndTurnsTheAlignment) {
    CvPolyLine source(1);
    source.AddElement(new CvPolyElement(DT_Punkt(0, 0), DT_Punkt(100, 0), 0, 0, 100, 0, 100, 1));
    source.AddElement(new CvPolyElement(DT_Punkt(100, 0), DT_Punkt(150, 0), 0, 0, 50, 100, 150, 2));
    const std::string tit = dir.Path("line.tit");
    ASSERT_EQ(source.ExportToTIT11File(tit.c_str(), 1, 0), 1) << source.LastError();

    FeatureCodeDialogAnswer answer = Ok(S({"10"}), S({}), S({}));
    answer.readTierTable = true;
    answer.turnTierTable = true;
    ui.QueueFeatureCodeAnswer(answer);
    ui.QueueFileDialogAnswer(tit);
    CFile file(KofPath().c_str(), CFile::modeRead);
    CArchive archive(&file, CArchive::load);
    DT_IntListe centre(1), left(1), right(1);
    CvPolyLine alignment(1);
    EXPECT_TRUE(NumericFeatureCodeStep(centre, left, right, &archive, true, &alignment));
    ui.Verify();

    ASSERT_EQ(ui.FileDialogs().size(), 1u);
    const FileDialogRequest& request = ui.FileDialogs()[0];
    EXPECT_TRUE(request.open);
    EXPECT_EQ(request.initialFileName, "*.tit");

    ASSERT_EQ(alignment.GetCount(), 2);
    EXPECT_TRUE(alignment.HeadElem()->StartPoint()->Lik(DT_Punkt(150, 0), 1e-9, 0))
        << "turned: the chain starts at the former end";
    double start = 0, end = 0;
    alignment.StationRange(&start, &end);
    EXPECT_NEAR(start, 0.0, 1e-9);
    EXPECT_NEAR(end, 150.0, 1e-9);

    // Without an alignment to fill (the MIC load) no file is asked for.
    ui.QueueFeatureCodeAnswer(answer);
    EXPECT_TRUE(NumericFeatureCodeStep(centre, left, right, &archive, true, nullptr));
    ui.Verify();
    EXPECT_EQ(ui.FileDialogs().size(), 1u);
}

TEST_F(FeatureCodes, TheTextStepWorksOnThePointsCodeTexts) {
    SetProfileCodes(kTextCodeEntries.left, "VS\n");
    CvSporopPointList points(1);
    for (const char* code : {"KL", "VS", "", "KL", "HS"})
        points.LeggTil(new CvSporopPoint(1, 2, 3, code, ""));
    ui.QueueFeatureCodeAnswer(Ok(S({"KL"}), S({"VS"}), S({"HS"})));
    StrengListe centre(1), left(1), right(1);
    EXPECT_TRUE(TextFeatureCodeStep(centre, left, right, true, nullptr, points));
    ui.Verify();
    const FeatureCodeDialogRequest& request = ui.FeatureCodeDialogs()[0];
    EXPECT_FALSE(request.numeric);
    EXPECT_EQ(request.label, "");
    EXPECT_EQ(request.available, S({"KL", "HS"}));
    EXPECT_EQ(request.left, S({"VS"}));
    EXPECT_EQ(ProfileCodes(kTextCodeEntries.centre), "KL\n");
    EXPECT_EQ(ProfileCodes(kTextCodeEntries.right), "HS\n");

    // No code texts at all: no dialog, empty lists, false.
    CvSporopPointList uncoded(1);
    uncoded.LeggTil(new CvSporopPoint(1, 2, 3, "", ""));
    EXPECT_FALSE(TextFeatureCodeStep(centre, left, right, true, nullptr, uncoded));
    EXPECT_EQ(centre.Antall() + left.Antall() + right.Antall(), 0);
    EXPECT_EQ(ui.FeatureCodeDialogs().size(), 1u);
}

TEST_F(FeatureCodes, TheDialogTakesBackDecimalCodesOnly) {
    DT_IntListe available(1), left(1), centre(1), right(1);
    available.LeggTilVerdi(7);
    CvDialogThemeCodes dialog(nullptr);
    dialog.InitLists(&available, &left, &centre, &right);
    ui.QueueFeatureCodeAnswer(Ok(S({" 12 ", "-3", "4x", "", "99999999999"}), S({"7"}), S({})));
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(Codes(centre), (std::vector<int>{12, -3}));
    EXPECT_EQ(Codes(left), (std::vector<int>{7}));

    // The headless default confirms the proposal.
    HeadlessHostUi headless;
    FeatureCodeDialogRequest request;
    request.centre = S({"10"});
    request.right = S({"30"});
    request.available = S({"40"});
    const FeatureCodeDialogAnswer confirmed = headless.FeatureCodeDialog(request);
    EXPECT_TRUE(confirmed.ok);
    EXPECT_EQ(confirmed.centre, S({"10"}));
    EXPECT_EQ(confirmed.right, S({"30"}));
}

} // namespace
} // namespace rigel::test
