// `rigel convert` run as a program: a survey into a project file and on into every format, a
// project saved again byte for byte, and a writer that fails.

#include "platform/railout/CvRailDump.h"

#include "support/ProgramTest.h"

namespace {

using rigel::test::FileBytes;
using rigel::test::Outcome;

class ConvertCommand : public rigel::test::ProgramTest {
protected:
    // A project file of one measured point at (x, y).
    void OnePointProject(const std::string& name, double x, double y) {
        Write(name, rigel::Format("@@DATA_SEGMENT_1\n**KOF_SECTION**\n%.3f %.3f 10 0 0 0 0 0 0 0 "
                                  "999 P \xA7\n",
                                  x, y));
    }
};

TEST_F(ConvertCommand, SurveyToProjectToEveryFormat) {
    std::string kof;
    for (int i = 0; i < 50; ++i) {
        kof +=
            *rigel::railout::KofPointRecord(6543210.0 + i, 234567.0 + 0.5 * i, 12.0, "7111", "") +
            "\n";
        kof += *rigel::railout::KofPointRecord(6543210.0 + i - 0.6, 234567.0 + 0.5 * i + 1.2, 12.01,
                                               "7112", "") +
               "\n";
    }
    Write("survey.kof", kof);
    Outcome run = Rigel("convert '" + Path("survey.kof") + "' '" + Path("p.spw") +
                        "' --left 7111 --right 7112");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Path("p.SPW") + "\n");
    // Where names ignore case (Windows) the file chosen is the project itself.
    std::error_code same;
    if (!std::filesystem::equivalent(Path("p.spw"), Path("p.SPW"), same)) {
        EXPECT_FALSE(std::filesystem::exists(Path("p.spw"))) << "the empty file chosen is removed";
    }
    const std::string project = FileBytes(Path("p.SPW"));
    EXPECT_THAT(project, HasSubstr("C-50 [Calculated]\n")) << "the centre track";

    // Without an alignment the trolley files cannot be written: named, and the exit code says so.
    run = Rigel("convert '" + Path("p.SPW") + "' '" + Path("all") + "' --type all");
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_EQ(run.out, Path("all.SPW") + "\n" + Path("all.KOF") + "\n" + Path("all.TIT") + "\n" +
                           Path("all.NYL") + "\n" + Path("all.NDB") + "\n");
    EXPECT_EQ(FileBytes(Path("all.SPW")), project);
    EXPECT_THAT(run.err, HasSubstr("all.UDT not written: [::Serialize] UDT " + Path("all.UDT") +
                                   " not written: the project's alignment is empty"));
    EXPECT_THAT(run.err, HasSubstr("all.XML not written: [::Serialize] LandXML " + Path("all.XML") +
                                   " not written: the project's alignment is empty"));

    // The example project has one: the trolley family is written.
    run = Rigel("convert '" + std::string(RIGEL_SOURCE_DIR) + "/examples/track_2km.spw' '" +
                Path("t") + "' --type trolley");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Path("t.TDT") + "\n" + Path("t.HDT") + "\n" + Path("t.UDT") + "\n");
    // Again: the writers ask before replacing; without a terminal the answer is No, with --force
    // Yes.
    Write("t.TDT", "kept");
    run = Rigel("convert '" + std::string(RIGEL_SOURCE_DIR) + "/examples/track_2km.spw' '" +
                Path("t") + "' --type tdt");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("t.TDT not written: "));
    EXPECT_EQ(FileBytes(Path("t.TDT")), "kept");
    run = Rigel("convert '" + std::string(RIGEL_SOURCE_DIR) + "/examples/track_2km.spw' '" +
                Path("t") + "' --type tdt --force");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(FileBytes(Path("t.TDT")), "kept");
}

TEST_F(ConvertCommand, LineFileByItsExtension) {
    const std::string example = std::string(RIGEL_SOURCE_DIR) + "/examples/track_2km.spw";
    Outcome run = Rigel("convert '" + example + "' '" + Path("t.txt") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, Path("t.TXT") + "\n");
    // The example's line file (its records are held to hand-written text in LineFileTest).
    EXPECT_EQ(
        FileBytes(Path("t.TXT")).rfind("TIE (null)\nTIEVE \nLINJA (null)        6101005\t", 0), 0u);

    // A project without an alignment has no line file, and says why.
    OnePointProject("bare.spw", 10.0, 20.0);
    run = Rigel("convert '" + Path("bare.spw") + "' '" + Path("bare.txt") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("bare.TXT not written: [::WriteLineFile] " + Path("bare.TXT") +
                                   ": the alignment has no elements"));
}

TEST_F(ConvertCommand, FailuresAreNamedAndLoseNothing) {
    // y does not fit the KOF columns: the KOF writer fails, the file at OUTPUT stays as it was.
    OnePointProject("far.spw", 10.0, 1e13);
    Write("far.KOF", "previous\n");
    Outcome run = Rigel("convert '" + Path("far.spw") + "' '" + Path("far.KOF") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr("Write KOF failed"));
    EXPECT_THAT(run.err, HasSubstr("far.KOF not written: "));
    EXPECT_THAT(run.err, HasSubstr("does not fit the KOF columns"));
    EXPECT_EQ(FileBytes(Path("far.KOF")), "previous\n");

    const struct {
        std::string arguments, words;
        int exitCode;
    } refused[] = {
        {"'" + Path("far.spw") + "' '" + Path("x") + "' --type 99", "--type 99: not a file type",
         2},
        {"'" + Path("far.spw") + "' '" + Path("x.pxy") + "'", "type 10 saves no file", 2},
        {"'" + Path("none.spw") + "' '" + Path("x.kof") + "'", "cannot read", 1},
        {"'" + Path("far.spw") + "' '" + Path("no/such/x.kof") + "'", "cannot write", 1},
    };
    for (const auto& r : refused) {
        run = Rigel("convert " + r.arguments);
        EXPECT_EQ(run.exitCode, r.exitCode) << r.arguments;
        EXPECT_THAT(run.err, HasSubstr(r.words));
    }
}

} // namespace
