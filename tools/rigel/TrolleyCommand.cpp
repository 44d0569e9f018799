// rigel trolley FILE.tdt|FILE.hdt: what the library reads back from a trolley's alignment or
// profile table, as CSV. rigel trolley FILE.udt --project P.spw -o OUT: the cant table applied
// to the project's alignment, and the project saved at OUT (ProjectOutput.h).
//
// Exit codes: 0 done; 1 a file unreadable or not written; 2 a usage problem.

#include "Commands.h"
#include "Messages.h"
#include "ProjectInput.h"
#include "ProjectOutput.h"

#include "formats/TrackProject.h"
#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "platform/base/DT_Nodeliste.h"
#include "platform/base/DT_Punkt.h"
#include "platform/base/ShortestDouble.h"
#include "platform/polyline/CvPolyElement.h"
#include "platform/polyline/CvPolyLine.h"

#include <cstdio>
#include <memory>
#include <string>

namespace rigel::cli {

namespace {

struct TrolleyOptions {
    std::string file;
    std::string project;
    OutputOptions out;
};

// The reader's status in words; 1 is success.
bool Readable(int status, const std::string& file) {
    if (status == 1)
        return true;
    Complain("%s: %s", file, status == -2 ? "no such file" : "cannot be read");
    return false;
}

void PrintRow(std::initializer_list<double> values) {
    std::string row;
    for (const double value : values) {
        if (!row.empty())
            row += ',';
        AppendShortestDouble(row, value);
    }
    row += '\n';
    std::fputs(row.c_str(), stdout);
}

int PrintElements(CString& name) {
    CvPolyLine alignment;
    if (!Readable(rigel_GetVantaTDT(&name, &alignment), name.str()))
        return 1;
    std::puts("element,type,start_station,end_station,start_x,start_y,end_x,end_y,"
              "start_radius,end_radius,parameter");
    for (int i = 0; i < alignment.GetCount(); ++i) {
        const CvPolyElement& e = *alignment.Element(i);
        PrintRow({static_cast<double>(i + 1), static_cast<double>(e.ElementType()),
                  e.StartSTA()->Get(), e.EndSTA()->Get(), e.StartPoint()->x(), e.StartPoint()->y(),
                  e.EndPoint()->x(), e.EndPoint()->y(), e.StartRadius()->Get(),
                  e.EndRadius()->Get(), e.TransParameter()->Get()});
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int PrintIntersectionPoints(CString& name) {
    DT_Nodeliste points;
    if (!Readable(rigel_GetVantaHDT(&name, &points), name.str()))
        return 1;
    std::puts("station,height,radius");
    for (int i = 0; i < points.Antall(); ++i) {
        const auto* p = dynamic_cast<const DT_Punkt*>(points.Aktiver(i));
        if (p != nullptr)
            PrintRow({p->x(), p->y(), p->z()});
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}

int ApplyCants(TrolleyOptions& o, CString& name) {
    if (o.project.empty() || o.out.output.empty()) {
        Complain("a cant table (UDT) needs --project P.spw and -o OUTPUT");
        return 2;
    }
    if (!OutputType(o.out))
        return 2;
    TrackProject project;
    if (const int code = LoadProject(o.project, project); code != 0)
        return code;
    if (project.alignment.GetCount() == 0) {
        Complain("%s: the project has no alignment to give the cants to", o.project);
        return 1;
    }
    if (!Readable(rigel_GetVantaUDT(&name, &project), o.file))
        return 1;
    return SaveProject(o.out, project);
}

int RunTrolley(TrolleyOptions& o) {
    CString name(o.file.c_str());
    unsigned type = 0;
    GetFileTypeFromFileName(&name, &type);
    switch (type) {
    case kTDT:
        return PrintElements(name);
    case kHDT:
        return PrintIntersectionPoints(name);
    case kUDT:
        return ApplyCants(o, name);
    default:
        Complain("%s: give a trolley table (.tdt, .hdt or .udt)", o.file);
        return 2;
    }
}

} // namespace

RunCommand SetupTrolley(CLI::App& sub) {
    auto o = std::make_shared<TrolleyOptions>();
    sub.add_option("FILE", o->file,
                   "a trolley table: TDT (alignment) or HDT (profile) printed as CSV, or UDT "
                   "(cants) applied to --project")
        ->required();
    sub.add_option("--project", o->project, "the project file (SPW) whose alignment takes a UDT");
    sub.add_option("-o,--output", o->out.output, "where the project with the cants is saved");
    sub.add_option("--profile", o->out.profile, "the application profile (INI file)");
    AddOutputFlags(sub, o->out);
    return [o] { return RunTrolley(*o); };
}

} // namespace rigel::cli
