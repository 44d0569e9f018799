// The whole survey load beside the bare reading of its lines: a KOF file of two shuffled rails
// goes through Serialize as a host loads it (feature codes from the profile, the point records,
// the sort and the centre track), then GetCenterCoordinateList. The line read is the same
// CArchive::ReadString loop on the same file, so the ratio is what the load adds to I/O; it is
// given against the read from the page cache (best of three) and against one read from the disk.
// Last, `rigel load` of the same file writes the centre track as CSV (kof_load_csv), timed as a
// whole process against the library's load and checked row by row against its centre list.

#include "BenchRegistry.h"
#include "synthetic/SurveyCheck.h"
#include "synthetic/SyntheticSurvey.h"

#include "frame/FeatureCodes.h"
#include "frame/FileTypes.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"
#include "frame/readers/KofReader.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"
#include "platform/host/CWinApp.h"
#include "platform/host/LineSource.h"
#include "platform/railout/CvRailDump.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

using rigel::bench::Report;
using rigel::bench::Time;

// n points on each rail (before repeats and strays), shuffled.
rigel::bench::SurveyOptions KofSurvey(long long n) {
    rigel::bench::SurveyOptions o;
    o.spacing = 0.25;
    o.length = static_cast<double>(n - 1) * o.spacing;
    o.seed = 7;
    return o;
}

std::string Record(const rigel::bench::SurveyPoint& p) {
    return rigel::railout::KofPointRecord(p.x, p.y, p.z, p.line == 1 ? "7111" : "7112",
                                          p.line == 1 ? "left" : "right")
        .value();
}

// The survey as KOF point records; returns its counts.
rigel::bench::SurveyCounts WriteSurvey(const std::string& file, long long n) {
    const std::vector<rigel::bench::SurveyPoint> survey = rigel::bench::MakeSurvey(KofSurvey(n));
    std::string text;
    for (const rigel::bench::SurveyPoint& p : survey) {
        text += Record(p);
        text += '\n';
    }
    std::string reason;
    if (!rigel::WriteFileAtomically(file, text, &reason)) {
        std::fprintf(stderr, "rigel-bench kof_load: %s\n", reason.c_str());
        std::exit(1);
    }
    return rigel::bench::CountSurvey(survey);
}

// What is wrong with the library's lists after a load of the survey: the survey is made again,
// with the plan coordinates of its records as they read back, to tell each point's place.
std::string CheckLoad(long long n, const rigel::bench::SurveyCounts& counts,
                      const CvSporopPointList& centre) {
    std::vector<rigel::bench::SurveyPoint> survey = rigel::bench::MakeSurvey(KofSurvey(n));
    for (rigel::bench::SurveyPoint& p : survey) {
        const std::string record = Record(p);
        p.x = rigel::Atof(std::string_view(record).substr(24, 12));
        p.y = rigel::Atof(std::string_view(record).substr(37, 12));
    }
    int t[5] = {};
    GetQuickSortStatus(&t[0], &t[1], &t[2], &t[3], &t[4]);
    const rigel::LibraryState& state = rigel::State();
    return rigel::bench::CheckRailsAndCentre(
        {t[0], t[1], t[2], t[3], t[4]}, counts, rigel::bench::SurveyIndex(std::move(survey)),
        state.LeftRailPoints, state.RightRailPoints, centre, KofSurvey(n).spacing);
}

// The load once more, step by step as the dispatcher takes them, to show where the time goes:
// the feature-code scan of the file, the point records, the sort with the centre track, and the
// copy to the host.
void LoadByStages(const std::string& file, long long n, const rigel::bench::SurveyCounts& counts) {
    rigel_ClearCoordinateLists();
    rigel::LibraryState& state = rigel::State();
    DT_IntListe found(1), centre(1), left(1), right(1);
    left.LeggTilVerdi(7111);
    right.LeggTilVerdi(7112);
    const double codes = Time([&] {
        CFile f(file.c_str(), CFile::modeRead);
        CArchive archive(&f, CArchive::load, 1 << 16);
        rigel::ArchiveLineSource lines(archive, file);
        rigel::FindNumericCodes(lines, rigel::kKOF, found);
    });
    const double records = Time([&] {
        CFile f(file.c_str(), CFile::modeRead);
        CArchive archive(&f, CArchive::load, 1 << 16);
        rigel::ArchiveLineSource lines(archive, file);
        rigel::ReadKofPoints(lines, {centre, left, right},
                             {state.CenterPoints, state.LeftRailPoints, state.RightRailPoints});
    });
    const double check = Time([] { CheckCenterCoordinateList(nullptr); });
    CvSporopPointList copy(1);
    const double handOver = Time([&] { GetCenterCoordinateList(&copy); });
    const double peak = rigel::bench::PeakRssMb();
    if (!rigel::bench::Sane("kof_load_stages", CheckLoad(n, counts, copy)))
        return;
    Report("kof_load_stages", counts.points, codes + records + check + handOver,
           {{"codes_seconds", codes},
            {"records_seconds", records},
            {"sort_and_centre_seconds", check},
            {"copy_seconds", handOver}},
           peak);
}

// A folder of our own under the system's temporary folder, removed at the end.
struct ScratchFolder {
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rigel-kof-load-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            std::perror("rigel-bench kof_load: mkdtemp");
            std::exit(1);
        }
        path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    std::filesystem::path path;
};

long ReadLines(const std::string& file) {
    CFile f(file.c_str(), CFile::modeRead);
    CArchive archive(&f, CArchive::load, 1 << 16);
    CString line;
    long lines = 0;
    while (archive.ReadString(line))
        ++lines;
    return lines;
}

// The least a load must do: read the file, and for each point record convert x, y and z at their
// columns with std::from_chars. Returns the records converted; their sum goes to `sum`.
long MinimalParse(const std::string& file, double& sum) {
    std::string text(std::filesystem::file_size(file), '\0');
    std::ifstream(file, std::ios::binary)
        .read(text.data(), static_cast<std::streamsize>(text.size()));
    const auto number = [](std::string_view field) {
        while (!field.empty() && field.front() == ' ')
            field.remove_prefix(1);
        double v = 0;
        std::from_chars(field.data(), field.data() + field.size(), v);
        return v;
    };
    long records = 0;
    sum = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + at, end - at);
        if (line.size() >= 57 && line.substr(0, 3) == " 05") {
            sum += number(line.substr(24, 12)) + number(line.substr(37, 12)) +
                   number(line.substr(49, 8));
            ++records;
        }
        at = end + 1;
    }
    return records;
}

// Asks the kernel to drop the file's pages from its cache (after a sync), so that the next read
// comes from the disk. Returns false when it cannot.
bool DropFromCache(const std::string& file) {
    const int fd = open(file.c_str(), O_RDONLY);
    if (fd < 0)
        return false;
    const bool done = fdatasync(fd) == 0 && posix_fadvise(fd, 0, 0, POSIX_FADV_DONTNEED) == 0;
    close(fd);
    return done;
}

// The command-line program beside this one, or an empty path.
std::string CliPath() {
    std::error_code error;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    const std::filesystem::path cli = self.parent_path() / "rigel";
    return std::filesystem::exists(cli, error) ? cli.string() : std::string();
}

// Runs the program with args and waits; true when it exits with 0.
bool Run(const std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t child = 0;
    const int failed = posix_spawn(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    return failed == 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

// What is wrong with the CSV of `rigel load` against the centre list the library handed over:
// one row per point, x and y (read back) the same doubles.
std::string CheckCsv(const std::string& csv, const CvSporopPointList& centre) {
    std::ifstream in(csv, std::ios::binary);
    std::string line;
    if (!std::getline(in, line))
        return "no CSV written";
    int row = 0;
    for (; std::getline(in, line); ++row) {
        const CvSporopPoint* p = centre.Punkt(row);
        const std::size_t a = line.find(',') + 1, b = line.find(',', a) + 1;
        const std::size_t c = line.find(',', b);
        double x = 0, y = 0;
        std::from_chars(line.data() + a, line.data() + b - 1, x);
        std::from_chars(line.data() + b, line.data() + c, y);
        if (p == nullptr || a == 0 || b == 0 || c == std::string::npos || x != p->x() ||
            y != p->y())
            return rigel::Format("CSV row %d differs from the centre list", row + 1);
    }
    return row == centre.Antall()
               ? ""
               : rigel::Format("%d CSV rows for %d centre points", row, centre.Antall());
}

const rigel::bench::Register kofLoad{
    "kof_load",
    "Load of a KOF survey of 2 x n shuffled rail points (codes, read, sort, centre track) "
    "beside the bare read of its lines",
    500'000, [](long long n) {
        ScratchFolder scratch;
        const std::string file = (scratch.path / "survey.kof").string();
        const rigel::bench::SurveyCounts counts = WriteSurvey(file, n);

        // The codes come from the profile, as they do once a user has assigned them.
        CWinApp app("rigel-bench");
        app.SetProfilePath((scratch.path / "profile.ini").string());
        app.WriteProfileString("Settings", "Available Left Track Feature Codes", "7111\n");
        app.WriteProfileString("Settings", "Available Right Track Feature Codes", "7112\n");
        AfxSetApp(&app);

        long lines = 0;
        // The read from the disk first, then the best of three from the page cache.
        double coldSeconds = -1;
        if (DropFromCache(file))
            coldSeconds = Time([&] { lines = ReadLines(file); });
        double readSeconds = 1e300;
        for (int i = 0; i < 3; ++i)
            readSeconds = std::min(readSeconds, Time([&] { lines = ReadLines(file); }));

        long parsed = 0;
        double sum = 0, parseSeconds = 1e300;
        for (int i = 0; i < 3; ++i)
            parseSeconds = std::min(parseSeconds, Time([&] { parsed = MinimalParse(file, sum); }));

        CvSporopPointList centre(1);
        const double loadSeconds = Time([&] {
            rigel_ClearCoordinateLists();
            rigel_ClearFeatureCodesLists();
            CFile f(file.c_str(), CFile::modeRead);
            CArchive archive(&f, CArchive::load, 1 << 16);
            Serialize(&archive, nullptr, 2, 0, 0, 0);
            GetCenterCoordinateList(&centre);
        });
        const double peak = rigel::bench::PeakRssMb();
        AfxSetApp(nullptr);

        int totals[5] = {};
        GetQuickSortStatus(&totals[0], &totals[1], &totals[2], &totals[3], &totals[4]);
        Report("kof_read_lines", lines, readSeconds,
               {{"file_mb", static_cast<double>(std::filesystem::file_size(file)) / (1 << 20)},
                {"from_disk_seconds", coldSeconds}});
        if (rigel::bench::Sane("kof_parse", parsed == counts.points && std::isfinite(sum) && sum > 0
                                                ? ""
                                                : rigel::Format("%ld records parsed of %ld", parsed,
                                                                static_cast<long>(counts.points))))
            Report("kof_parse", parsed, parseSeconds, {});
        if (rigel::bench::Sane("kof_load", CheckLoad(n, counts, centre)))
            Report("kof_load", counts.points, loadSeconds,
                   {{"parse_seconds", parseSeconds},
                    {"ratio_to_parse", loadSeconds / parseSeconds},
                    {"read_lines_seconds", readSeconds},
                    {"ratio_to_read", loadSeconds / readSeconds},
                    {"ratio_to_read_from_disk", coldSeconds > 0 ? loadSeconds / coldSeconds : -1},
                    {"left_points", rigel::State().LeftRailPoints.Antall()},
                    {"right_points", rigel::State().RightRailPoints.Antall()},
                    {"centre_points", centre.Antall()},
                    {"duplicates", totals[2]},
                    {"measured_errors", totals[3]}},
                   peak);
        LoadByStages(file, n, counts);

        // The same load by the command-line program, writing the centre track as CSV; its figure
        // is set against the library's load above.
        const std::string cli = CliPath();
        if (cli.empty()) {
            std::fputs("rigel-bench kof_load_csv: no rigel program beside rigel-bench\n", stderr);
            return;
        }
        const std::string csv = (scratch.path / "centre.csv").string();
        bool ran = false;
        const double csvSeconds = Time([&] {
            ran = Run({cli, "load", file, "--left", "7111", "--right", "7112", "--profile",
                       (scratch.path / "cli-profile.ini").string(), "-o", csv});
        });
        if (rigel::bench::Sane("kof_load_csv", ran ? CheckCsv(csv, centre) : "rigel load failed"))
            Report("kof_load_csv", counts.points, csvSeconds,
                   {{"load_seconds", loadSeconds},
                    {"ratio_to_load", csvSeconds / loadSeconds},
                    {"csv_mb", static_cast<double>(std::filesystem::file_size(csv)) / (1 << 20)}});
    }};

} // namespace
