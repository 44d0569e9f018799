// rigel convert INPUT OUTPUT: a project file read whole, or a survey whose centre track becomes
// the project's measured points, saved at OUTPUT (ProjectOutput.h).
//
// Exit codes: 0 every asked-for file written; 1 input unreadable or a writer failed; 2 a usage
// problem (as for rigel load).

#include "Commands.h"
#include "ProjectInput.h"
#include "ProjectOutput.h"
#include "SurveyInput.h"

#include "formats/TrackProject.h"
#include "frame/FileTypes.h"

#include <memory>
#include <string>

namespace rigel::cli {

namespace {

struct ConvertOptions {
    SurveyOptions survey; // survey.file is INPUT
    OutputOptions out;
    std::string inputType; // of INPUT, when its name does not tell it
};

// The project to save: a project file whole, or a survey's centre track as its measured points.
int ReadInput(const ConvertOptions& o, TrackProject& project) {
    const std::optional<unsigned> type = DecideType(o.inputType, o.survey.file, "--input-type");
    if (!type)
        return 2;
    if (*type == kSPW)
        return LoadProject(o.survey.file, project);
    CvSporopPointList centre(1);
    if (const int code = LoadCentreTrack(o.survey, *type, centre); code != 0)
        return code;
    ReportSort();
    project.projectPoints.CopyPointsFrom(centre);
    return 0;
}

int RunConvert(ConvertOptions& o) {
    o.out.profile = o.survey.profile;
    if (!OutputType(o.out))
        return 2;
    TrackProject project;
    if (const int code = ReadInput(o, project); code != 0)
        return code;
    return SaveProject(o.out, project);
}

} // namespace

RunCommand SetupConvert(CLI::App& sub) {
    auto o = std::make_shared<ConvertOptions>();
    sub.add_option("INPUT", o->survey.file,
                   "a project file (SPW), or a survey file that rigel load reads")
        ->required();
    sub.add_option("OUTPUT", o->out.output,
                   "the file to save; every further file is named after it with its own "
                   "extension")
        ->required();
    sub.add_option(
        "--input-type", o->inputType,
        "the type of INPUT, as a number or an extension, when its name does not tell it");
    AddOutputFlags(sub, o->out);
    const std::function<void()> noteFlags = AddSurveyFlags(sub, o->survey);
    return [o, noteFlags] {
        noteFlags();
        return RunConvert(*o);
    };
}

} // namespace rigel::cli
