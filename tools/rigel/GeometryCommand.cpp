// rigel geometry ALIGNMENT (--stations FROM:STEP:TO | --project POINTS.csv): the alignment
// component on its own, on a tier-table file, a project file's alignment, a trolley's TDT table
// or the alignments of a LandXML file.
// The rows come from rigel::WriteStationRows / WriteProjectionRows.

#include "Commands.h"

#include "AlignmentCsv.h"
#include "ProjectInput.h"
#include "SurveyInput.h"

#include "formats/TrackProject.h"
#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "platform/polyline/CvPolyLine.h"

#include "platform/base/Streng.h"
#include "platform/base/TekstFil.h"

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace rigel::cli {

namespace {

struct GeometryOptions {
    std::string alignment;
    std::string stations;
    std::string points;
};

void PrintRow(std::string_view row) {
    std::fwrite(row.data(), 1, row.size(), stdout);
    std::fputc('\n', stdout);
}

// The file's lines, each ended by "\n"; false when it is not a readable regular file.
bool ReadWholeFile(const std::string& name, std::string& text) {
    TekstFil file(name);
    if (!file.Finnes() || !file.LukkOpp("rt"))
        return false;
    Streng line;
    while (file.LesNesteLinje(line)) {
        text += line.str();
        text += '\n';
    }
    return file.LukkIgjen() == 1;
}

int RunGeometry(const GeometryOptions& options) {
    if (options.stations.empty() == options.points.empty()) {
        std::fputs("rigel geometry: give either --stations FROM:STEP:TO or --project POINTS.csv\n",
                   stderr);
        return 2;
    }

    StationRange range;
    std::string error;
    if (!options.stations.empty() && !ParseStationRange(options.stations, range, &error)) {
        std::fprintf(stderr, "rigel geometry: %s\n", error.c_str());
        return 2;
    }

    // A tier-table file, or the alignment of a project file.
    TrackProject project;
    CvPolyLine& alignment = project.alignment;
    unsigned type = 0;
    CString name(options.alignment.c_str());
    const bool typed = GetFileTypeFromFileName(&name, &type);
    if (typed && type == kSPW) {
        if (const int code = LoadProject(options.alignment, project); code != 0)
            return code;
    } else if (typed && type == kTDT) {
        // A trolley's alignment table, read back through the library's export.
        if (const int status = rigel_GetVantaTDT(&name, &alignment); status != 1) {
            std::fprintf(stderr, "rigel geometry: %s: %s\n", options.alignment.c_str(),
                         status == -2 ? "no such file" : "cannot be read");
            return 1;
        }
    } else if (typed && type == kXML) {
        // The alignments of a LandXML file, through the library's export.
        CFile probe;
        if (!OpenReadable(options.alignment, probe))
            return 1;
        probe.Close();
        rigel_GetLandXMLAlignment(options.alignment.c_str(), &alignment,
                                  &project.verticalAlignment);
    } else if (!alignment.InitFrom_TIT_File(options.alignment.c_str(), 0, 0, nullptr)) {
        std::fprintf(stderr, "rigel geometry: %s\n", alignment.LastError().c_str());
        return 1;
    }
    if (alignment.GetCount() == 0) {
        std::fprintf(stderr, "rigel geometry: %s: the alignment has no elements\n",
                     options.alignment.c_str());
        return 1;
    }
    // Our axes are x north, y east; a file in the other frame is brought into it.
    alignment.MapCoord(1, 1);

    if (!options.stations.empty()) {
        WriteStationRows(alignment, range, PrintRow);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }

    std::string text;
    if (!ReadWholeFile(options.points, text)) {
        std::fprintf(stderr, "rigel geometry: %s: cannot be read\n", options.points.c_str());
        return 1;
    }
    std::vector<PlanPoint> points;
    if (!ReadPointsCsv(text, options.points, points, &error)) {
        std::fprintf(stderr, "rigel geometry: %s\n", error.c_str());
        return 1;
    }
    WriteProjectionRows(alignment, points, PrintRow);
    return std::fflush(stdout) == 0 ? 0 : 1;
}

} // namespace

RunCommand SetupGeometry(CLI::App& sub) {
    auto options = std::make_shared<GeometryOptions>();
    sub.add_option("ALIGNMENT", options->alignment,
                   "tier-table file of the alignment, a project file (SPW) whose alignment is "
                   "taken, a trolley alignment table (TDT) or a LandXML file (XML)")
        ->required();
    CLI::Option* stations =
        sub.add_option("--stations", options->stations,
                       "FROM:STEP:TO: print station,x,y,azimuth,curvature every STEP metres "
                       "(x north, y east, azimuth in radians from north, curvature positive to "
                       "the right)");
    CLI::Option* project =
        sub.add_option("--project", options->points,
                       "POINTS.csv with x,y rows: print station,offset,element for each point "
                       "(offset positive to the right; empty where the projection fails)");
    stations->excludes(project);
    return [options] { return RunGeometry(*options); };
}

} // namespace rigel::cli
