// rigel load FILE: the host's survey sequence (SurveyInput), then the centre points as CSV and the
// sorter's totals (GetQuickSortStatus) on standard error in the words of its report.
//
// Exit codes: 0 done; 1 the file or the output cannot be read or written; 2 a usage problem,
// including a survey whose feature codes are not assigned to any track line (nothing is read
// then, and the message names the codes the file holds).

#include "CentreCsv.h"
#include "Commands.h"
#include "Messages.h"
#include "SurveyInput.h"

#include <memory>
#include <string>

namespace rigel::cli {

namespace {

struct LoadOptions {
    SurveyOptions survey;
    std::string output;
    std::string type; // a number or an extension name; empty: from the file name
    bool analyse = false;
};

// What the host does with a fresh centre track, in the order the project-file reader completes
// points that lack derived values; stations run from 0 along the points.
void Analyse(CvSporopPointList& centre) {
    centre.UpdateDefaultStationing(1, nullptr, 0);
    centre.UpdateDirections(0);
    centre.UpdateCurvatures7();
    centre.UpdateCurvaturesByCircles(7, CvSporopPointList::kTargetCurvature3);
    centre.UpdateCurvatures();
    centre.UpdateVerticalCurvatures();
}

int RunLoad(const LoadOptions& o) {
    const std::optional<unsigned> type = DecideType(o.type, o.survey.file, "--type");
    if (!type)
        return 2;
    CvSporopPointList centre(1);
    if (const int code = LoadCentreTrack(o.survey, *type, centre); code != 0)
        return code;
    if (o.analyse)
        Analyse(centre);
    ReportSort();
    std::string reason;
    if (!WriteCentreCsv(centre, o.output, &reason)) {
        Complain("cannot write %s", reason);
        return 1;
    }
    return 0;
}

} // namespace

RunCommand SetupLoad(CLI::App& sub) {
    auto o = std::make_shared<LoadOptions>();
    sub.add_option("FILE", o->survey.file, "the survey file (KOF, PXY, GPS, MIC, ...)")->required();
    sub.add_option("-o,--output", o->output,
                   "write the centre points as CSV here (default: standard output)");
    sub.add_option("--type", o->type,
                   "the file type, as a number (2 KOF, 10 PXY, 11 MIC, 15 GPS, ...) or an "
                   "extension (kof), when the file name does not tell it");
    const std::function<void()> noteFlags = AddSurveyFlags(sub, o->survey);
    sub.add_flag("--analyse", o->analyse,
                 "fill profile (metres along the points from 0), direction and the curvatures of "
                 "the centre points before writing them");
    return [o, noteFlags] {
        noteFlags();
        return RunLoad(*o);
    };
}

} // namespace rigel::cli
