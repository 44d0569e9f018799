// rigel alignment FILE.xml -o OUTPUT: the alignments, profiles and cants of a LandXML file read
// into a project's alignment and vertical alignment, and the project saved at OUTPUT
// (ProjectOutput.h). The importer is used as a host uses it, so that its ErrorText, which the
// library's export keeps to itself, can be shown.
//
// Exit codes: 0 saved; 1 the file unreadable, without an alignment, or a file not written; 2 a
// usage problem.

#include "CliHostUi.h"
#include "Commands.h"
#include "Messages.h"
#include "ProjectOutput.h"
#include "SurveyInput.h"

#include "formats/LandXmlImEx.h"
#include "formats/TrackProject.h"
#include "platform/host/CFile.h"

#include <memory>
#include <string>

namespace rigel::cli {

namespace {

struct AlignmentOptions {
    std::string file;
    OutputOptions out;
};

int RunAlignment(const AlignmentOptions& o) {
    if (!OutputType(o.out))
        return 2;
    {
        CFile probe;
        if (!OpenReadable(o.file, probe))
            return 1;
    }
    TrackProject project;
    LandXmlImEx importer;
    {
        // An unsupported spiral is announced in a message box: on standard error here.
        DialogFlags flags;
        CliHostUi ui(flags, stdin, stderr);
        ScopedHostUi installUi(ui);
        importer.ImportAlignment(o.file.c_str(), &project.alignment, &project.verticalAlignment);
    }
    if (!importer.ErrorText.empty())
        Complain("%s: %s", o.file, importer.ErrorText);
    if (project.alignment.GetCount() == 0) {
        Complain("%s: no alignment read", o.file);
        return 1;
    }
    Complain("%s: %d elements, %d vertical intersection points", o.file,
             project.alignment.GetCount(), project.verticalAlignment.Antall());
    return SaveProject(o.out, project);
}

} // namespace

RunCommand SetupAlignment(CLI::App& sub) {
    auto o = std::make_shared<AlignmentOptions>();
    sub.add_option("FILE", o->file, "a LandXML file with one or more alignments")->required();
    sub.add_option("-o,--output", o->out.output,
                   "where the project is saved; its extension picks the format (spw, tdt, hdt, "
                   "xml, txt, tit, ...)")
        ->required();
    sub.add_option("--profile", o->out.profile, "the application profile (INI file)");
    AddOutputFlags(sub, o->out);
    return [o] { return RunAlignment(*o); };
}

} // namespace rigel::cli
