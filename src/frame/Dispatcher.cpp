#include "frame/Dispatcher.h"

#include "frame/CentreTrack.h"
#include "frame/CvSPW_File.h"

#include "elements/TierTabElementSporop.h"
#include "formats/LandXmlImEx.h"
#include "formats/LineFile.h"
#include "formats/TrolleyFile.h"
#include "formats/VS_LinjePaalegg2.h"
#include "frame/FeatureCodes.h"
#include "frame/FileTypes.h"
#include "frame/LibraryState.h"
#include "frame/RigelExports.h"
#include "frame/readers/GpsReader.h"
#include "frame/readers/KofReader.h"
#include "frame/readers/MicReader.h"
#include "frame/readers/PxyReader.h"
#include "platform/base/StrengListe.h"
#include "platform/base/Trace.h"
#include "platform/host/HostUi.h"

#include <algorithm>
#include <filesystem>

namespace rigel {
namespace {

void TraceCounts(const char* what, const std::string& name, const ReadCounts& counts) {
    Trace("[::Serialize] %s %s: %ld lines, %ld point records, %ld points placed, %ld skipped\n",
          what, name, counts.lines, counts.records, counts.placed, counts.skipped);
}

LinePoints StatePoints() {
    LibraryState& state = State();
    return {state.CenterPoints, state.LeftRailPoints, state.RightRailPoints};
}

// The KOF load fills the library's code lists through the feature-code step only when all three
// are empty: codes chosen once hold until the host clears them. The project's readingInProgress
// goes back to 0 only when the load is abandoned; after a completed load clearing it is the
// host's part.
void LoadKof(const LoadRequest& request) {
    LibraryState& state = State();
    CvPolyLine working(1);
    if (request.project != nullptr)
        request.project->readingInProgress = 1;
    if (state.CenterCodes.Antall() == 0 && state.LeftRailCodes.Antall() == 0 &&
        state.RightRailCodes.Antall() == 0) {
        if (!NumericFeatureCodeStep(state.CenterCodes, state.LeftRailCodes, state.RightRailCodes,
                                    &request.archive, request.askCodes, &working)) {
            if (request.project != nullptr)
                request.project->readingInProgress = 0;
            Trace("[::Serialize] KOF: no feature codes assigned; nothing read\n");
            return;
        }
    }
    ArchiveLineSource lines(request.archive, ArchiveName(request.archive));
    const ReadCounts counts = ReadKofPoints(
        lines, {state.CenterCodes, state.LeftRailCodes, state.RightRailCodes}, StatePoints());
    TraceCounts("KOF", lines.Name(), counts);
    CheckCentreTrack(State(), &working);
}

void CloseBoundFile(CArchive* archive, CFile& file);

// The project file is read by name: the archive and its file are closed first.
void LoadSpw(const LoadRequest& request) {
    CFile* bound = request.archive.GetFile();
    if (request.project == nullptr || bound == nullptr) {
        Trace("[::Serialize] SPW: %s; nothing read\n",
              request.project == nullptr ? "no project" : "no file bound to the archive");
        return;
    }
    const std::string path = bound->GetFilePath().str();
    CloseBoundFile(&request.archive, *bound);
    CvSPW_File file(path);
    const int result = file.Read(request.project, 0, 0, request.spwFlag ? 0 : 1);
    if (result != 1 || file.ErrorKode() != 0)
        Trace("[::Serialize] SPW %s not read (error %d): %s\n", path, file.ErrorKode(),
              file.ErrorText());
}

// The trolley's measurement file: its points are the centre track; the trolley's reference gauge,
// cant base and start station go to the project.
void LoadVtd(const LoadRequest& request) {
    TrolleyFile trolley;
    const int result = trolley.ReadMeasurementFile(request.archive, State().CenterPoints,
                                                   request.type == kVTDVariant ? 1 : 0);
    if (result != 1) {
        Trace("[::Serialize] VTD %s not read (status %d)\n", ArchiveName(request.archive), result);
        return;
    }
    CheckCentreTrack(State(), nullptr);
    if (request.project != nullptr) {
        request.project->referenceGauge = trolley.ReferenceGauge;
        request.project->cantBase = trolley.CantBase;
        request.project->trolleyStartStation = trolley.StartStation;
        request.project->startStation = trolley.StartStation;
    }
}

void LoadPxy(const LoadRequest& request) {
    ArchiveLineSource lines(request.archive, ArchiveName(request.archive));
    TraceCounts("PXY", lines.Name(), ReadPxyPoints(lines, State().CenterPoints));
    CheckCentreTrack(State(), nullptr);
}

void LoadGps(const LoadRequest& request) {
    ArchiveLineSource lines(request.archive, ArchiveName(request.archive));
    TraceCounts("GPS", lines.Name(), ReadGpsPoints(lines, State().CenterPoints));
    CheckCentreTrack(State(), nullptr);
}

// The MIC load asks for its codes every time, in lists of its own: the library's code lists
// are neither used nor changed, and there is no alignment for the dialog's tier-table option.
void LoadMic(const LoadRequest& request) {
    DT_IntListe centre(1), left(1), right(1);
    NumericFeatureCodeStep(centre, left, right, &request.archive, request.askCodes, nullptr);
    ArchiveLineSource lines(request.archive, ArchiveName(request.archive));
    TraceCounts("MIC", lines.Name(), ReadMicPoints(lines, {centre, left, right}, StatePoints()));
    CheckCentreTrack(State(), nullptr);
}

// The survey points of a LandXML file, read by name. The code lists of the text step are the
// load's own: the library's numeric lists are neither used nor changed. A point goes to the first
// line whose list holds its code; without an assignment (no codes, or the dialog cancelled) every
// point is taken as the centre track.
void LoadXml(const LoadRequest& request) {
    CFile* bound = request.archive.GetFile();
    if (bound == nullptr) {
        Trace("[::Serialize] XML: no file bound to the archive; nothing read\n");
        return;
    }
    const std::string path = bound->GetFilePath().str();
    CloseBoundFile(&request.archive, *bound);
    CvSporopPointList read(1);
    LandXmlImEx importer;
    importer.ImportPoints(path.c_str(), &read);
    if (!importer.ErrorText.empty())
        Trace("[::Serialize] XML %s: %s\n", path, importer.ErrorText);

    LibraryState& state = State();
    StrengListe centre(1), left(1), right(1);
    CvPolyLine working(1);
    const bool assigned =
        TextFeatureCodeStep(centre, left, right, request.askCodes, &working, read);
    long dropped = 0;
    for (int i = 0; i < read.Antall(); ++i) {
        const CvSporopPoint& p = *read.Punkt(i);
        CvSporopPointList* target = &state.CenterPoints;
        if (assigned) {
            target = centre.Finnes(p.code)  ? &state.CenterPoints
                     : left.Finnes(p.code)  ? &state.LeftRailPoints
                     : right.Finnes(p.code) ? &state.RightRailPoints
                                            : nullptr;
        }
        if (target == nullptr) {
            ++dropped;
            continue;
        }
        target->Append(std::make_unique<CvSporopPoint>(p.x(), p.y(), p.z(), p.code, p.description));
    }
    Trace("[::Serialize] XML %s: %d points, %ld with other codes dropped\n", path, read.Antall(),
          dropped);
    CheckCentreTrack(state, &working);
    if (request.project != nullptr)
        request.project->pointListWord = read.unitWord;
}

// What the rail-format writers cannot see in the base types: the survey point's texts and the
// tier-table element's cants and speed.
class ProjectRailAttributes final : public railout::RailAttributes {
public:
    bool Point(const DT_Punkt& point, railout::PointAttributes& out) const override {
        const auto* survey = dynamic_cast<const CvSporopPoint*>(&point);
        if (survey == nullptr)
            return false;
        out.code = survey->code;
        out.description = survey->description;
        return true;
    }
    bool Element(const CvPolyElement& element, railout::ElementAttributes& out) const override {
        if (element.KlasseType() != klasse::TierTabElementSporop)
            return false;
        const auto& record = static_cast<const TierTabElementSporop&>(element);
        out.startCant = record.h1.Get();
        out.endCant = record.h2.Get();
        out.speed = record.v.Get();
        return true;
    }
};

bool DumpResult(SaveJob& job, const char* what, int result) {
    if (result == 0)
        Trace("[::Serialize] %s %s failed: %s\n", what, job.name, job.dump.LastError());
    return result != 0;
}

bool WriteSpw(SaveJob& job) {
    CvSPW_File file(job.name);
    if (file.Write(&job.project, 0, job.spwFlag ? 0 : 1) == 1)
        return true;
    Trace("[::Serialize] project file %s not written: %s\n", job.name, file.ErrorText());
    return false;
}
bool WriteKof(SaveJob& job) {
    return DumpResult(
        job, "WriteKOF05",
        job.dump.WriteKOF05(&job.points, &job.project.alignment, &job.vertical, 7101, 1));
}
bool WriteLft(SaveJob& job) {
    return DumpResult(job, "WriteLFT",
                      job.dump.WriteLFT(&job.project.alignment, &job.vertical, &job.points, 1));
}
bool WriteAlc(SaveJob& job) {
    return DumpResult(job, "WriteALC",
                      job.dump.WriteALC(&job.project.alignment, &job.vertical, &job.points, 1));
}
bool WriteCsv(SaveJob& job) {
    return DumpResult(job, "WriteCSV",
                      job.dump.WriteCSV(&job.project.alignment, &job.vertical, &job.points, 1));
}
bool WriteTit(SaveJob& job) {
    if (job.project.alignment.ExportToTIT11File(job.name.c_str(), 1, 0) != 0)
        return true;
    Trace("[::Serialize] ExportToTIT11File failed: %s\n", job.project.alignment.LastError());
    return false;
}
bool WriteLine(SaveJob& job) {
    if (job.project.alignment.ExportToFile(job.name.c_str(), 1, 0) != 0)
        return true;
    Trace("[::Serialize] ExportToFile failed: %s\n", job.project.alignment.LastError());
    return false;
}
bool WriteNylp(SaveJob& job) {
    return DumpResult(job, "WriteNYLP", job.dump.WriteNYLP(&job.project.verticalAlignment));
}
bool WriteNadb(SaveJob& job) {
    return DumpResult(job, "WriteNADBFiles", job.dump.WriteNADBFiles(&job.project.nadbData));
}
// The line file carries the host's vertical intersection points, not the working vertical
// alignment built for the rail formats, and neither a tie nor a line name.
bool WriteLineTxt(SaveJob& job) {
    return WriteLineFile(job.name.c_str(), &job.project.alignment, &job.project.verticalAlignment,
                         nullptr, nullptr);
}
bool WriteGeo(SaveJob& job) {
    return DumpResult(
        job, "WriteWinALC_GEO",
        job.dump.WriteWinALC_GEO(&job.project.alignment, &job.vertical, &job.points, 1));
}
bool WriteVer(SaveJob& job) {
    return DumpResult(
        job, "WriteWinALC_VER",
        job.dump.WriteWinALC_VER(&job.project.alignment, &job.vertical, &job.points, 1));
}

bool TrolleyResult(SaveJob& job, const char* what, int result) {
    if (result != 1)
        Trace("[::Serialize] %s %s not written: %s\n", what, job.name,
              result == -2   ? "the project's alignment is empty"
              : result == -1 ? "no project"
                             : "the existing file was kept, or the file could not be written");
    return result == 1;
}
bool WriteTdt(SaveJob& job) {
    return TrolleyResult(job, "TDT", TrolleyFile().WriteTDT(&job.project, job.name.c_str()));
}
bool WriteHdt(SaveJob& job) {
    return TrolleyResult(job, "HDT", TrolleyFile().WriteHDT(&job.project, job.name.c_str()));
}
bool WriteUdt(SaveJob& job) {
    TrolleyFile trolley;
    trolley.ReferenceGauge = job.project.referenceGauge;
    trolley.CantBase = job.project.cantBase;
    return TrolleyResult(job, "UDT", trolley.WriteUDT(&job.project, job.name.c_str()));
}
bool WriteXml(SaveJob& job) {
    LandXmlImEx landXml;
    if (landXml.Export(&job.project, job.name.c_str()))
        return true;
    Trace("[::Serialize] LandXML %s not written: %s\n", job.name,
          job.project.alignment.GetCount() == 0 ? "the project's alignment is empty"
                                                : landXml.ErrorText);
    return false;
}

void CloseBoundFile(CArchive* archive, CFile& file) {
    try {
        if (archive != nullptr)
            archive->Close();
        file.Close();
    } catch (const std::exception& e) {
        Trace("[::Serialize] closing \"%s\": %s\n", file.GetFilePath().str(), e.what());
    }
}

// The host's save dialog may leave an empty file at the chosen path; the writers below name
// their files after it and must not leave it behind.
void DeleteEmptyFile(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_regular_file(path, error) &&
        std::filesystem::file_size(path, error) == 0 && !error) {
        if (std::filesystem::remove(path, error))
            Trace("[::Serialize] deleted the empty file \"%s\"\n", path);
    }
}

} // namespace

// clang-format off
const std::array<ReaderRow, 8> kReaders = {{
    {kSPW, "SPW", LoadSpw, false},
    {kKOF, "KOF", LoadKof, true},
    {kPXY, "PXY", LoadPxy, true},
    {kVTD, "VTD", LoadVtd, true},
    {kVTDVariant, "VTD", LoadVtd, true},
    {kMIC, "MIC", LoadMic, true},
    {kGPS, "GPS", LoadGps, true},
    {kXML, "XML", LoadXml, true},
}};

const std::array<SaveRow, 16> kSaveSteps = {{
    {{kSPW, kAllTypes, 0}, false, kSPW, WriteSpw, nullptr},
    {{kKOF, kAllTypes, 0}, false, kKOF, WriteKof, "Write KOF failed"},
    {{kLFT, kAllTypes, 0}, true, kLFT, WriteLft, "[::Serialize] Writing LFT"},
    {{kALC, kAllTypes, 0}, true, kALC, WriteAlc, "::Serialize] aRailDumpServer.WriteALC() failed."},
    {{kCSV, kAllTypes, 0}, true, kCSV, WriteCsv, "[::Serialize] Writing CSV"},
    {{kTIT, kAllTypes, 0}, false, kTIT, WriteTit, nullptr},
    {{kLIN, kDAT, 0}, false, 0, WriteLine, nullptr},
    {{kNYL, kAllTypes, 0}, false, kNYL, WriteNylp, "Write NYLP failed"},
    {{kNDB, kAllTypes, 0}, false, kNDB, WriteNadb, "Write NADB failed"},
    {{kTXT, 0, 0}, false, kTXT, WriteLineTxt, nullptr},
    {{kGEO, kAllTypes, 0}, true, kGEO, WriteGeo,
     "::Serialize] aRailDumpServer.WriteWinALC_GEO() failed."},
    {{kVER, kAllTypes, 0}, true, kVER, WriteVer,
     "::Serialize] aRailDumpServer.WriteWinALC_VER() failed."},
    {{kTDT, kAllTypes, kAllTrolley}, false, kTDT, WriteTdt, nullptr},
    {{kHDT, kAllTypes, kAllTrolley}, false, kHDT, WriteHdt, nullptr},
    {{kUDT, kAllTypes, kAllTrolley}, false, kUDT, WriteUdt, nullptr},
    {{kXML, kAllTypes, 0}, false, kXML, WriteXml, nullptr},
}};

const std::array<SaveTypeRow, 9> kSaveTypes = {{
    // type       saves nothing  sets the section
    {kKOF,        false,         true},
    {kLFT,        false,         true},
    {kALC,        false,         true},
    {kCSV,        false,         true},
    {kAllTypes,   false,         true},
    {kPXY,        true,          false},
    {kMIC,        true,          false},
    {kGPS,        true,          false},
    {kSPO,        true,          false},
}};

// clang-format on

const ReaderRow* FindReader(unsigned type) {
    for (const ReaderRow& row : kReaders)
        if (row.type == type)
            return &row;
    return nullptr;
}

void Load(const LoadRequest& request) {
    if (const ReaderRow* row = FindReader(request.type)) {
        row->load(request);
        return;
    }
    Trace("[::Serialize] type %u has no reader; nothing read\n", request.type);
}

bool RowApplies(const std::array<unsigned, 3>& types, unsigned type) {
    return type != 0 && std::find(types.begin(), types.end(), type) != types.end();
}

bool RowApplies(const SaveRow& row, unsigned type, bool railExports) {
    return (!row.railExports || railExports) && RowApplies(row.types, type);
}

SaveTypeRow SaveTypeOf(unsigned type) {
    for (const SaveTypeRow& row : kSaveTypes)
        if (row.type == type)
            return row;
    return {type, false, false};
}

void Save(const SaveRequest& request) {
    const SaveTypeRow rules = SaveTypeOf(request.type);
    if (rules.savesNothing || request.project == nullptr) {
        Trace("[::Serialize] type %u: nothing to save%s\n", request.type,
              request.project == nullptr ? " (no project)" : "");
        return;
    }
    TrackProject& project = *request.project;

    // The rail-format writers take the vertical alignment as intersection points. A chain
    // without elements of length gives none, and the save goes on without it.
    VS_LinjePaalegg2 vertical(0.001);
    vertical.BuildFromElements(&project.verticalTierTable);

    if (request.file == nullptr) {
        Trace("[::Serialize] type %u: no file bound; nothing written\n", request.type);
        return;
    }
    const std::string path = request.file->GetFilePath().str();
    CloseBoundFile(request.archive, *request.file);
    DeleteEmptyFile(path);

    ProjectRailAttributes attributes;
    CvRailDump dump;
    dump.SetAttributes(&attributes);
    dump.SetFilename(path.c_str());
    const auto& t = project.projectTexts;
    dump.SetProjectData(t[0], t[4], t[3], t[2], t[1]);

    DT_PointList points(1);
    points.Reserve(static_cast<std::size_t>(project.projectPoints.Antall()));
    for (int i = 0; i < project.projectPoints.Antall(); ++i) {
        const CvSporopPoint* p = project.projectPoints.Punkt(i);
        if (request.fullPoints)
            points.Append(std::make_unique<CvSporopPoint>(*p));
        else
            points.Append(std::make_unique<DT_Punkt>(p->x(), p->y(), p->z()));
    }

    if (rules.setsSection &&
        !dump.SetSection(&project.sectionStart, &project.sectionEnd, true, &project.alignment)) {
        Trace("[::Serialize] section %.3f to %.3f not accepted (%s); nothing written\n",
              project.sectionStart, project.sectionEnd, dump.LastError());
        return;
    }

    SaveJob job{project, dump, points, vertical, request.type, request.spwFlag, {}};
    for (const SaveRow& row : kSaveSteps) {
        if (!RowApplies(row, request.type, request.railExports))
            continue;
        Streng name;
        CString base(path);
        SetFileExtFromFileType2(row.extension != 0 ? row.extension : request.type, &name, &base);
        job.name = name.str();
        dump.SetFilename(job.name.c_str());
        if (!row.write(job) && row.failureText != nullptr)
            AfxMessageBox(row.failureText, MB_OK, 0);
    }
}

} // namespace rigel
