// `rigel load` run as a program on small KOF surveys.

#include "platform/base/TextScan.h"
#include "platform/polyline/CvPolyLine.h"
#include "platform/railout/CvRailDump.h"

#include "support/ProgramTest.h"

namespace {

using rigel::test::FileBytes;
using rigel::test::Outcome;

std::vector<std::string> Split(const std::string& line, char by = ',') {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, by);)
        fields.push_back(f);
    if (!line.empty() && line.back() == by)
        fields.emplace_back();
    return fields;
}

// Along the track: t(i) = i + 0.0005 i^2 metres, heading 0.8 north, 0.6 east.
double T(int i) {
    return i + 0.0005 * i * i;
}
double X(int i) {
    return 6543210.1234 + 0.8 * T(i);
}
double Y(int i) {
    return 234567.8901 + 0.6 * T(i);
}
double Z(int i) {
    return 120.0 + i * 0.0123;
}

class LoadCommand : public rigel::test::ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Centre points (7110) about 1 m apart along a straight heading north-east, the spacing
        // growing by a millimetre from point to point, with a left-rail point (7111) beside each;
        // a record without coordinates; a description with a comma.
        std::string kof = " 00 test survey\n";
        for (int i = 0; i < 40; ++i) {
            const double x = X(i), y = Y(i), z = Z(i);
            kof += *rigel::railout::KofPointRecord(x, y, z, "7110", i == 5 ? "km 1,5" : "c") + "\n";
            kof += *rigel::railout::KofPointRecord(x - 0.6, y + 0.8, z, "7111", "l") + "\n";
            if (i == 10)
                kof += " 05 no fix     7110\n";
        }
        Write("survey.kof", kof);
    }
    // `rigel load ARGUMENTS` with a profile of the test's own.
    Outcome Rigel(const std::string& arguments, const std::string& input = "",
                  const std::string& profile = "profile.ini") const {
        return ProgramTest::Rigel("load " + arguments, input, profile);
    }
};

TEST_F(LoadCommand, ExitCodesAndMessages) {
    // No code known and none given: nothing read, the codes and the flags named.
    Outcome run = Rigel("'" + Path("survey.kof") + "' -o '" + Path("c.csv") + "'");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("7110, 7111"));
    EXPECT_THAT(run.err, HasSubstr("--centre"));
    EXPECT_FALSE(std::filesystem::exists(Path("c.csv")));

    run = Rigel("'" + Path("missing.kof") + "' --centre 7110");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr(Path("missing.kof")));
    EXPECT_THAT(run.err, HasSubstr("No such file"));

    // The type from the name, or from --type; a type without a reader is refused.
    std::filesystem::copy_file(Path("survey.kof"), Path("survey.pts"));
    run = Rigel("'" + Path("survey.pts") + "' --centre 7110");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("--type"));
    EXPECT_EQ(Rigel("'" + Path("survey.pts") + "' --type 2 --centre 7110").exitCode, 0);
    EXPECT_EQ(Rigel("'" + Path("survey.pts") + "' --type kof --centre 7110").exitCode, 0);
    run = Rigel("'" + Path("survey.pts") + "' --type 2", "", "other.ini");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("found by the file's extension: name the file .kof"));
    EXPECT_EQ(Rigel("'" + Path("survey.kof") + "' --centre 71x0").exitCode, 2);

    // Usage errors and files without a reader: exit 2 and the words that tell what to do.
    const struct {
        std::string arguments, words, then;
    } refused[] = {
        {"", "FILE is required", "--help"},
        {"'" + Path("survey.kof") + "' --bogus", "--bogus", "--help"},
        {"'" + Path("survey.pts") + "' --type 99", "--type 99: not a file type", "--help"},
        {"'" + Path("survey.pts") + "' --type 12", "no reader for type 12 (TXT)", "reads KOF (2)"},
        {"'" + Path("survey.kof") + "' --type spw", "holds a whole project", "rigel convert"},
    };
    for (const auto& r : refused) {
        run = Rigel(r.arguments);
        EXPECT_EQ(run.exitCode, 2) << r.arguments;
        EXPECT_THAT(run.err, HasSubstr(r.words));
        EXPECT_THAT(run.err, HasSubstr(r.then));
    }

    // Records without a code (a field survey from the shared test data), with a profile of its
    // own: said so, and --centre 0 loads them, which the profile remembers for the next load.
    const auto fresh = [&](const std::string& flags) {
        return Rigel("'" + std::string(RIGEL_TEST_DATA) +
                         "/kof/external/15-5-18-Fossegata_windows.kof'" + flags,
                     "", "fresh.ini");
    };
    run = fresh("");
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_THAT(run.err, HasSubstr("carry no feature code"));
    EXPECT_THAT(run.err, HasSubstr("--centre 0"));
    EXPECT_EQ(fresh(" --centre 0").exitCode, 0);
    run = fresh("");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("6 points read."));

    // An alignment that cannot be read is an error, not a silent load without it.
    run = Rigel("'" + Path("survey.kof") + "' --centre 7110 --alignment '" + Path("no.tit") + "'");
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_THAT(run.err, HasSubstr(Path("no.tit")));
}

TEST_F(LoadCommand, CsvOfTheCentreTrackReadsBackToTheLoadedNumbers) {
    const Outcome run = Rigel("'" + Path("survey.kof") + "' --centre 7110 --analyse --verbose");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("40 points read."));
    EXPECT_THAT(run.err, HasSubstr("survey.kof:24:")); // the record without x

    const std::vector<std::string> rows = rigel::test::Lines(run.out);
    ASSERT_EQ(rows.size(), 41u);
    EXPECT_EQ(rows[0], "index,x,y,z,profile,direction,curvature,curvature7,curvature3,"
                       "verticalCurvature,cant,code,description");
    for (int i = 0; i < 40; ++i) {
        const std::string& line = rows[static_cast<std::size_t>(i) + 1];
        const std::vector<std::string> f = Split(line);
        ASSERT_EQ(f.size(), i == 5 ? 14u : 13u) << line; // the quoted comma splits here
        EXPECT_EQ(f[0], std::to_string(i));
        // The very doubles the KOF reader made of the record's columns.
        const std::string record = *rigel::railout::KofPointRecord(X(i), Y(i), Z(i), "", "");
        EXPECT_EQ(rigel::Atof(f[1]), rigel::Atof(record.substr(24, 12))) << line;
        EXPECT_EQ(rigel::Atof(f[2]), rigel::Atof(record.substr(37, 12))) << line;
        EXPECT_EQ(rigel::Atof(f[3]), rigel::Atof(record.substr(49, 8))) << line;
        // Stations from 0 along the points (coordinates rounded to 0.1 mm).
        EXPECT_NEAR(rigel::Atof(f[4]), T(i), 2e-4) << line;
        EXPECT_EQ(f[10], "999");
        EXPECT_EQ(f[11], "7110");
        if (i == 5) {
            EXPECT_EQ(f[12] + "," + f[13], "\"km 1,5\"");
        }
    }
}

TEST_F(LoadCommand, CodesGivenOnceAreRememberedAndTheDialogCanBeAnswered) {
    ASSERT_EQ(Rigel("'" + Path("survey.kof") + "' --left 7111").exitCode, 0);
    EXPECT_THAT(FileBytes(Path("profile.ini")),
                HasSubstr("Available Left Track Feature Codes=7111"));
    // The profile now knows the left rail; one rail alone stands in for the centre.
    Outcome run = Rigel("'" + Path("survey.kof") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr(",7111,l\n"));

    // At the prompt: the codes found and the assignment, then the centre chosen instead.
    run = Rigel("'" + Path("survey.kof") + "' --ask", "c 7110\nl\nok\n");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err, HasSubstr("SURVEY.KOF contains these feature codes:"));
    EXPECT_THAT(run.err, HasSubstr("left rail:    7111"));
    EXPECT_THAT(run.out, Not(HasSubstr(",7111,l\n")));
    EXPECT_THAT(run.out, HasSubstr(",7110,c\n"));

    EXPECT_EQ(Rigel("'" + Path("survey.kof") + "' --ask", "cancel\n").exitCode, 2);
}

TEST_F(LoadCommand, TheAlignmentOptionTakesTheHeightFromTheInnerRail) {
    // Both rails, the right one 5 mm higher; the track curves gently to the right.
    std::string kof;
    for (int i = 0; i < 40; ++i) {
        kof += *rigel::railout::KofPointRecord(X(i) + 0.45, Y(i) - 0.6, 10.0, "7111", "") + "\n";
        kof += *rigel::railout::KofPointRecord(X(i) - 0.45, Y(i) + 0.6, 10.005, "7112", "") + "\n";
    }
    Write("rails.kof", kof);
    CvPolyLine alignment(1);
    auto* arc = new CvPolyElement;
    ASSERT_EQ(arc->InitFromStart({X(0) - 8, Y(0) - 6}, std::atan2(0.8, 0.6), 1e5, 1e5, 100, 0), 1);
    alignment.AddElement(arc);
    ASSERT_EQ(alignment.ExportToTIT11File(Path("arc.tit").c_str(), 1, 0), 1);

    // Without the alignment the lower rail would give the height (CentreTrackTest).
    const Outcome run = Rigel("'" + Path("rails.kof") + "' --left 7111 --right 7112 --alignment '" +
                              Path("arc.tit") + "'");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::vector<std::string> f = Split(run.out.substr(run.out.find('\n') + 1));
    EXPECT_EQ(f[3], "10.005"); // the inner rail of a right-hand curve
    EXPECT_EQ(f[10], "-5");    // left minus right, in millimetres
}

} // namespace

namespace {

TEST_F(LoadCommand, OddInputIsReadByTheColumnRulesAndSummarised) {
    // A byte-order mark before the first record (which then is no record), a decimal comma in x,
    // a tab inside the description columns, a record without y, among plain records.
    std::string kof =
        "\xEF\xBB\xBF" + *rigel::railout::KofPointRecord(X(0), Y(0), Z(0), "7110", "bom") + "\n";
    for (int i = 1; i < 8; ++i)
        kof += *rigel::railout::KofPointRecord(X(i), Y(i), Z(i), "7110", "c") + "\n";
    std::string comma = *rigel::railout::KofPointRecord(X(8), Y(8), Z(8), "7110", "comma");
    comma[comma.find('.', 24)] = ',';
    std::string tab = *rigel::railout::KofPointRecord(X(9), Y(9), Z(9), "7110", "tab");
    tab[6] = '\t';
    kof += comma + "\n" + tab + "\n" + " 05 no y     7110     6543299.0000\n";
    Write("odd.kof", kof);

    Outcome run = Rigel("'" + Path("odd.kof") + "' --centre 7110");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string summary = Path("odd.kof") +
                                ": 1 a UTF-8 byte-order mark before the first "
                                "line; 1 numbers cut at a decimal comma; 1 point records with "
                                "tabs inside the columns; 1 point records skipped: x or y empty "
                                "(--verbose lists them)";
    EXPECT_THAT(run.err, HasSubstr(summary));
    // Records 1 to 9 are read; x of the comma record is its whole metres.
    EXPECT_THAT(run.err, HasSubstr("9 points read."));
    EXPECT_THAT(run.out, HasSubstr("," + std::to_string(static_cast<long>(X(8))) + ","));

    // Line ends of a lone CR: the whole file is one line, not a record.
    std::string crOnly = kof;
    for (char& c : crOnly)
        if (c == '\n')
            c = '\r';
    Write("cr.kof", crOnly.substr(3));
    run = Rigel("'" + Path("cr.kof") + "' --centre 7110");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.err,
                HasSubstr("carriage returns inside lines (CR-only line ends read as one line)"));
    EXPECT_THAT(run.err, HasSubstr("1 points read."));
}

} // namespace

// A trolley's measurement file: its points become the centre track, the heights lowered by half
// the rise the cant angle gives over the cant base (type 20) or kept (type 28).
TEST_F(LoadCommand, TrolleyMeasurementFile) {
    std::string vtd = "Vanta measurement\nName=Line 7\nReferenceGauge=1.435\nCantBase=1.5\n"
                      "Operator=\ndescription;code;east;north;height;-;angle;station\n";
    for (int i = 0; i < 12; ++i)
        vtd += rigel::Format("P%d;7;%.3f;%.3f;101.5;9;0.02;%d\n", i, 2000.0 + 0.6 * i,
                             6000.0 + 0.8 * i, 1234 + i);
    Write("run.vtd", vtd);
    for (const std::string type : {"", " --type 28"}) {
        const Outcome run = Rigel("'" + Path("run.vtd") + "'" + type);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        // The first row after the header; the reader's own values: TrolleyFileTest.
        const std::vector<std::string> f = Split(rigel::test::Lines(run.out).at(1));
        ASSERT_EQ(f.size(), 13u);
        EXPECT_NEAR(std::stod(f[3]), type.empty() ? 101.5 - 0.75 * std::sin(0.02) : 101.5, 1e-12);
    }
}
