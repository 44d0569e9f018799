#include "ProjectOutput.h"

#include "CliHostUi.h"
#include "Messages.h"
#include "SurveyInput.h"

#include "frame/Dispatcher.h"
#include "frame/FileTypes.h"
#include "frame/RigelExports.h"
#include "platform/base/AtomicFile.h"
#include "platform/base/SystemFile.h"
#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"
#include "platform/host/CWinApp.h"

#include <filesystem>
#include <optional>
#include <vector>

namespace rigel::cli {

namespace {

struct Target {
    std::string name;
    FileStamp before;
};

// The files the save rows of type will write, named as the dispatcher names them.
std::vector<Target> TargetsOf(const std::string& output, unsigned type, bool railExports) {
    std::vector<Target> targets;
    for (const SaveRow& row : kSaveSteps) {
        if (!RowApplies(row, type, railExports))
            continue;
        Streng name;
        CString base(output);
        SetFileExtFromFileType2(row.extension != 0 ? row.extension : type, &name, &base);
        targets.push_back({name.str(), StampOf(name.Get())});
    }
    return targets;
}

// Binds OUTPUT to a storing archive as the host's save dialog does. An existing file is opened in
// place and left as it is, so that a writer that fails loses nothing; a new one is made empty,
// and the dispatcher deletes it when no writer takes its name.
int Save(const OutputOptions& o, unsigned type, TrackProject& project,
         std::vector<std::string>& traced) {
    CFile file;
    CFileException error;
    const bool exists = StampOf(o.output.c_str()).exists;
    const UINT mode = exists ? CFile::modeWrite : CFile::modeCreate | CFile::modeWrite;
    if (!file.Open(o.output.c_str(), mode, &error)) {
        Complain("cannot write %s: %s", o.output, ErrnoText(error.m_lOsError));
        return 1;
    }
    CWinApp app("rigel");
    UseProfile(app, o.profile);
    AfxSetApp(&app);
    DialogFlags flags;
    flags.force = o.force;
    CliHostUi ui(flags, stdin, stderr);
    ScopedHostUi installUi(ui);
    // The writers report why they failed in the trace.
    const TraceSink previous = SetTraceSink([&traced](std::string_view line) {
        traced.emplace_back(line);
        if (!traced.back().empty() && traced.back().back() == '\n')
            traced.back().pop_back();
    });
    {
        CArchive archive(&file, CArchive::store);
        Serialize(&archive, &project, static_cast<int>(type), 0, 0, o.railExports ? 1 : 0);
    }
    SetTraceSink(previous);
    AfxSetApp(nullptr);
    return 0;
}

// The station range the rail formats cover (the project file does not keep it): --section, else
// the alignment's stations, else everything.
bool SetSection(const OutputOptions& o, TrackProject& project) {
    if (!o.section.empty()) {
        double from = 0, to = 0;
        std::string rest;
        if (Scan(o.section, "%lf:%lf%s", &from, &to, &rest) != 2 || !(from < to)) {
            Complain("--section %s: give FROM:TO with FROM below TO", o.section);
            return false;
        }
        project.sectionStart = from;
        project.sectionEnd = to;
    } else if (project.alignment.GetCount() == 0 ||
               !project.alignment.StationRange(&project.sectionStart, &project.sectionEnd)) {
        project.sectionStart = -1e12;
        project.sectionEnd = 1e12;
    }
    return true;
}

} // namespace

std::optional<unsigned> OutputType(const OutputOptions& o) {
    if (o.type == "all")
        return kAllTypes;
    if (o.type == "trolley")
        return kAllTrolley;
    return DecideType(o.type, o.output, "--type");
}

void AddOutputFlags(CLI::App& sub, OutputOptions& o) {
    sub.add_option("--type", o.type,
                   "what to save: a file type number or extension (spw, kof, tit, ...), 'all' "
                   "(type 9: every format) or 'trolley' (type 24); default: OUTPUT's extension");
    sub.add_flag("--rail-exports", o.railExports,
                 "also write the rail formats (LFT, ALC, CSV, GEO, VER)");
    sub.add_option("--section", o.section,
                   "FROM:TO: the stations the rail formats cover (default: the whole alignment)");
    sub.add_flag("--force", o.force, "answer Yes where a writer asks to overwrite a file");
}

int SaveProject(const OutputOptions& o, TrackProject& project) {
    const std::optional<unsigned> type = OutputType(o);
    if (!type)
        return 2;
    if (!SetSection(o, project))
        return 2;
    std::vector<Target> targets = TargetsOf(o.output, *type, o.railExports);
    std::vector<std::string> traced;
    if (const int code = Save(o, *type, project, traced); code != 0)
        return code;

    int result = 0;
    for (const Target& target : targets) {
        if (!(StampOf(target.name.c_str()) == target.before)) {
            std::printf("%s\n", target.name.c_str());
            continue;
        }
        std::string why;
        const std::string leaf = std::filesystem::path(target.name).filename().string();
        for (const std::string& line : traced)
            if (line.find(leaf) != std::string::npos ||
                line.find("nothing written") != std::string::npos)
                why += (why.empty() ? "" : "; ") + line;
        Complain("%s not written%s%s", target.name, why.empty() ? "" : ": ", why);
        result = 1;
    }
    if (targets.empty() && result == 0) {
        Complain("type %u saves no file", *type);
        return 2;
    }
    return std::fflush(stdout) == 0 ? result : 1;
}

} // namespace rigel::cli
