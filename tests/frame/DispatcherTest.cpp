// The load and save dispatcher through Serialize, MeridanSave and rigel_LoadFile, and its tables.

#include "support/FrameTest.h"

#include "frame/Dispatcher.h"
#include "frame/FileTypes.h"
#include "frame/LibraryState.h"
#include "platform/railout/CvRailDump.h"

#include <algorithm>
#include <set>

namespace rigel::test {
namespace {

// The save rows' reach, extensions and rail rule show in the files the saves below write.
TEST(DispatchTables, ReadersOncePerTypeAndTheSaveOrder) {
    auto known = [](unsigned t) { return (t >= 1 && t <= kFileTypes.size()) || t == kVTDVariant; };
    std::set<unsigned> readers;
    for (const ReaderRow& row : kReaders) {
        EXPECT_TRUE(known(row.type)) << row.name;
        EXPECT_TRUE(readers.insert(row.type).second) << "type " << row.type << " twice";
        EXPECT_EQ(ExtensionOfType(row.type == kVTDVariant ? kVTD : row.type), row.name);
        EXPECT_EQ(FindReader(row.type), &row);
    }

    // The save order, and the message of each failure (LIN stands for the LIN/DAT row).
    std::vector<std::pair<std::string_view, std::string_view>> order;
    for (const SaveRow& row : kSaveSteps)
        order.emplace_back(ExtensionOfType(row.extension != 0 ? row.extension : row.types[0]),
                           row.failureText ? row.failureText : "-");
    const std::vector<std::pair<std::string_view, std::string_view>> expected = {
        {"SPW", "-"},
        {"KOF", "Write KOF failed"},
        {"LFT", "[::Serialize] Writing LFT"},
        {"ALC", "::Serialize] aRailDumpServer.WriteALC() failed."},
        {"CSV", "[::Serialize] Writing CSV"},
        {"TIT", "-"},
        {"LIN", "-"},
        {"NYL", "Write NYLP failed"},
        {"NDB", "Write NADB failed"},
        {"TXT", "-"},
        {"GEO", "::Serialize] aRailDumpServer.WriteWinALC_GEO() failed."},
        {"VER", "::Serialize] aRailDumpServer.WriteWinALC_VER() failed."},
        {"TDT", "-"},
        {"HDT", "-"},
        {"UDT", "-"},
        {"XML", "-"},
    };
    EXPECT_EQ(order, expected);
}

class Dispatcher : public FrameTest {
protected:
    Dispatcher() {
        std::filesystem::create_directory(out);
        // A straight track heading north for 200 m, the points on it.
        project.alignment.AddElement(
            new CvPolyElement(DT_Punkt(0, 0), DT_Punkt(200, 0), 0, 0, 200, 0, 200, 1));
        for (int i = 0; i < 5; ++i)
            project.projectPoints.LeggTil(new CvSporopPoint(10.0 * (i + 1), 0.01 * i, 100.0 + i,
                                                            "KL", "P" + std::to_string(i)));
        project.sectionStart = 0.0;
        project.sectionEnd = 200.0;
        project.projectTexts = {"t1", "t2", "t3", "t4", "t5"};
        project.verticalAlignment.LeggTil(new DT_Punkt(0, 100, 0));
        project.verticalAlignment.LeggTil(new DT_Punkt(200, 104, 0));
        project.nadbData.Calculate(&project.alignment);
    }

    // Saves as the host does: its save dialog created the chosen file (empty), Serialize gets a
    // storing archive on it, and the host closes both afterwards.
    void SaveAs(const std::string& name, int type, bool railExports, TrackProject* p) {
        CFile file(Out(name).c_str(), CFile::modeCreate | CFile::modeWrite);
        CArchive archive(&file, CArchive::store);
        Serialize(&archive, p, type, 0, 0, railExports ? 1 : 0);
        archive.Close();
        file.Close();
    }
    std::string Out(const std::string& name) const { return out + "/" + name; }
    std::set<std::string> Written() const {
        std::set<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(out))
            names.insert(e.path().filename().string());
        return names;
    }
    void Clear() {
        for (const std::string& name : Written())
            std::filesystem::remove(Out(name));
    }

    std::string out = dir.Path("out");
    TrackProject project;
};

TEST_F(Dispatcher, SavingAllTypesWritesEveryBuiltWriterNextToTheChosenFile) {
    SaveAs("proj.SPW", kAllTypes, false, &project);
    ui.Verify(); // no message box
    EXPECT_EQ(Written(),
              (std::set<std::string>{"proj.SPW", "proj.KOF", "proj.TIT", "proj.NYL", "proj.NDB",
                                     "proj.TDT", "proj.HDT", "proj.UDT", "proj.XML"}))
        << "the empty proj.SPW is deleted, then written";

    Clear();
    SaveAs("proj.SPW", kAllTypes, true, &project);
    ui.Verify();
    EXPECT_EQ(Written(),
              (std::set<std::string>{"proj.SPW", "proj.KOF", "proj.LFT", "proj.ALC", "proj.CSV",
                                     "proj.TIT", "proj.NYL", "proj.NDB", "proj.GEO", "proj.VER",
                                     "proj.TDT", "proj.HDT", "proj.UDT", "proj.XML"}));

    // The trolley family and the line-file types.
    Clear();
    SaveAs("proj.TDT", kAllTrolley, true, &project);
    EXPECT_EQ(Written(), (std::set<std::string>{"proj.TDT", "proj.HDT", "proj.UDT"}));
    Clear();
    SaveAs("proj.LIN", kLIN, false, &project);
    SaveAs("proj.DAT", kDAT, false, &project);
    SaveAs("proj.txt", kTXT, false, &project);
    EXPECT_EQ(Written(), (std::set<std::string>{"proj.LIN", "proj.DAT", "proj.TXT"}));
    // The line file gets the project's vertical intersection points and no names.
    EXPECT_EQ(FileBytes(Out("proj.TXT")),
              FileBytes(DataPath("linefile/dispatcher_straight_north_no_names.txt")));
    // A rail type without the rail exports writes nothing, and its empty file is gone.
    Clear();
    SaveAs("proj.LFT", kLFT, false, &project);
    EXPECT_TRUE(Written().empty());
}

TEST_F(Dispatcher, AFailedSectionWritesNothingForTheTypesThatSetIt) {
    project.sectionStart = 120.0;
    project.sectionEnd = 120.0;
    for (unsigned type : {kKOF, kLFT, kALC, kCSV, kAllTypes}) {
        SaveAs("proj.SPW", static_cast<int>(type), true, &project);
        EXPECT_TRUE(Written().empty()) << type;
    }
    ui.Verify(); // no message either
    // Types that set no section are not blocked.
    SaveAs("proj.SPW", kTIT, true, &project);
    SaveAs("proj.SPW", kNYL, true, &project);
    SaveAs("proj.SPW", kTXT, true, &project);
    EXPECT_EQ(Written(), (std::set<std::string>{"proj.TIT", "proj.NYL", "proj.TXT"}));
}

TEST_F(Dispatcher, TheEmptyFileAtTheTargetIsDeletedOthersAreKept) {
    SaveAs("x.KOF", kNYL, false, &project);
    EXPECT_EQ(Written(), (std::set<std::string>{"x.NYL"}));

    ASSERT_TRUE(WriteFileAtomically(Out("y.KOF"), "keep me\n"));
    CFile file(Out("y.KOF").c_str(), CFile::modeRead);
    MeridanSave(&file, &project, kNYL, 0, 0, 0);
    EXPECT_EQ(FileBytes(Out("y.KOF")), "keep me\n");
    EXPECT_TRUE(Written().count("y.NYL"));
}

TEST_F(Dispatcher, TypesAndCallsThatSaveNothing) {
    for (unsigned type : {kPXY, kMIC, kGPS, kSPO}) {
        SaveAs("p.KOF", static_cast<int>(type), true, &project);
        EXPECT_EQ(Written(), (std::set<std::string>{"p.KOF"})) << "the host's file stays";
        Clear();
    }
    SaveAs("p.KOF", kKOF, true, nullptr);
    EXPECT_EQ(Written(), (std::set<std::string>{"p.KOF"}));
    Clear();
    MeridanSave(nullptr, &project, kAllTypes, 0, 0, 1);
    EXPECT_TRUE(Written().empty()) << "no file bound";
    EXPECT_EQ(State().CurrentProject, &project);
}

TEST_F(Dispatcher, FailedWritersShowTheirMessageAndTheRestStillRuns) {
    project.projectPoints.LeggTil(new CvSporopPoint(50, 1e13, 0, "KL", "far")); // y too wide
    // Two grades, the second straight up: two intersection points at one station, which the VER
    // writer refuses.
    project.verticalTierTable.AddElement(
        new CvPolyElement(DT_Punkt(0, 100), DT_Punkt(200, 104), 0, 0, 200.04, 0, 200.04, 1));
    project.verticalTierTable.AddElement(
        new CvPolyElement(DT_Punkt(200, 104), DT_Punkt(200, 105), 0, 0, 1, 200.04, 201.04, 2));
    ui.QueueMessageBoxAnswer(IDOK);
    ui.QueueMessageBoxAnswer(IDOK);
    SaveAs("proj.SPW", kAllTypes, true, &project);
    ui.Verify();
    ASSERT_EQ(ui.MessageBoxes().size(), 2u);
    EXPECT_EQ(ui.MessageBoxes()[0].text, "Write KOF failed");
    EXPECT_EQ(ui.MessageBoxes()[1].text, "::Serialize] aRailDumpServer.WriteWinALC_VER() failed.");
    EXPECT_EQ(ui.MessageBoxes()[0].type, MB_OK);
    EXPECT_EQ(Written(), (std::set<std::string>{"proj.SPW", "proj.LFT", "proj.ALC", "proj.CSV",
                                                "proj.TIT", "proj.NYL", "proj.NDB", "proj.GEO",
                                                "proj.TDT", "proj.HDT", "proj.UDT", "proj.XML"}));
}

TEST_F(Dispatcher, SerializeHandsCoordinatesMeridanSaveWholePoints) {
    SaveAs("a.KOF", kKOF, false, &project);
    CFile file(Out("b.KOF").c_str(), CFile::modeCreate | CFile::modeWrite);
    MeridanSave(&file, &project, kKOF, 0, 0, 0);
    file.Close();
    // The first point's record (the KOF reader's tests read such records back): Serialize hands
    // over coordinates only, which get the default code and no text; MeridanSave whole points.
    EXPECT_THAT(FileBytes(Out("a.KOF")),
                HasSubstr(*railout::KofPointRecord(10, 0, 100, "7101", "") + "\n"));
    EXPECT_THAT(FileBytes(Out("b.KOF")),
                HasSubstr(*railout::KofPointRecord(10, 0, 100, "KL", "P0") + "\n"));
}

TEST_F(Dispatcher, LoadsSetTheStateAndEndWithTheCentreTrack) {
    SetProfileCodes(kNumericCodeEntries.left, "20\n");
    SetProfileCodes(kNumericCodeEntries.right, "30\n");
    TrackProject p;
    Load(DataPath("kof/kof_feature_codes.kof"), kKOF, false, &p, true);
    EXPECT_EQ(State().CurrentProject, &p);
    EXPECT_EQ(State().RailExportsEnabled, 1);
    // Only rails measured: the centre track is built between them (its values: CentreTrackTest).
    ASSERT_EQ(State().CenterPoints.Antall(), 6);
    EXPECT_EQ(State().CenterPoints.Punkt(0)->description, "[Calculated]");

    rigel_ClearCoordinateLists();
    Load(DataPath("pxy/pxy_two_header_lines.pxy"), kPXY, false, nullptr);
    int read = 0, deleted = 0, duplicates = 0, errors = 0, analysed = 0;
    GetQuickSortStatus(&read, &deleted, &duplicates, &errors, &analysed);
    EXPECT_EQ(read, 2) << "the PXY points went through the sorter (its totals start anew)";
    EXPECT_EQ(State().CurrentProject, nullptr);
    EXPECT_EQ(State().RailExportsEnabled, 0);

    rigel_ClearCoordinateLists();
    Load(DataPath("gps/gps_three_numbers_skipped.gps"), kGPS, false);
    EXPECT_EQ(State().CenterPoints.Antall(), 3);

    // MIC: codes from the profile, in lists of its own.
    rigel_ClearCoordinateLists();
    rigel_ClearFeatureCodesLists();
    SetProfileCodes(kNumericCodeEntries.centre, "100\n200\n");
    Load(DataPath("mic/mic_kinds_and_counts.mic"), kMIC, false);
    EXPECT_EQ(State().CenterPoints.Antall(), 2);
    EXPECT_FALSE(rigel_IsFeatureCodesLoaded()) << "the library's code lists are not used";

    TraceCapture trace;
    rigel_ClearCoordinateLists();
    Load(DataPath("kof/kof_feature_codes.kof"), kSPO, true);
    Load(DataPath("kof/kof_feature_codes.kof"), kXML, true);
    EXPECT_EQ(State().CenterPoints.Antall(), 0);
    EXPECT_THAT(trace.Text(), HasSubstr("type 18 has no reader"));
    EXPECT_THAT(trace.Text(), HasSubstr("kof_feature_codes.kof: Could not load file from disk"))
        << "a file that is not XML reads no points";
    ui.Verify();
}

TEST_F(Dispatcher, LoadFileAsksForAKofFile) {
    ui.QueueFileDialogAnswer(std::nullopt);
    EXPECT_EQ(rigel_LoadFile(), 0);
    ASSERT_EQ(ui.FileDialogs().size(), 1u);
    const FileDialogRequest& request = ui.FileDialogs()[0];
    EXPECT_TRUE(request.open);
    EXPECT_EQ(request.defaultExtension, "KOF-files");
    EXPECT_EQ(request.initialFileName, "*.KOF");
    EXPECT_EQ(request.flags, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_FALSE(rigel_IsCoordinatesLoaded());

    ui.QueueFileDialogAnswer(dir.Path("missing.kof"));
    EXPECT_EQ(rigel_LoadFile(), 0);
    EXPECT_FALSE(rigel_IsCoordinatesLoaded());

    // Codes are asked for; the rail exports are switched on.
    ui.QueueFileDialogAnswer(DataPath("kof/kof_feature_codes.kof"));
    ui.QueueFeatureCodeAnswer(Ok({"10"}, {}, {}));
    EXPECT_EQ(rigel_LoadFile(), 0);
    ui.Verify();
    EXPECT_EQ(State().CenterPoints.Antall(), 6);
    EXPECT_EQ(State().RailExportsEnabled, 1);
}

} // namespace
} // namespace rigel::test
