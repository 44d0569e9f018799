// The file side of the trolley files: the measurement reader, the overwrite prompt, opening and
// committing the files. The table bodies are in TrolleyTables.cpp.

#include "formats/TrolleyFile.h"

#include "formats/TrackProject.h"
#include "platform/base/Streng.h"
#include "platform/base/TekstFil.h"
#include "platform/base/TextScan.h"
#include "platform/host/CArchive.h"
#include "platform/host/HostUi.h"
#include "platform/host/LineSource.h"
#include "points/CvSporopPointList.h"

#include <climits>
#include <cmath>
#include <memory>
#include <string_view>

namespace {

constexpr int kHeaderLines = 7;

// The lines of a TekstFil opened for reading.
class FileLines final : public rigel::LineSource {
public:
    FileLines(TekstFil& file, std::string name) : LineSource(std::move(name)), file_(file) {}

protected:
    bool ReadLine(std::string& line) override {
        if (!file_.LesNesteLinje(buffer_))
            return false;
        line = buffer_.str();
        return true;
    }

private:
    TekstFil& file_;
    Streng buffer_;
};

// Asks before an existing file is replaced; true when it may be written.
bool MayWrite(const char* fileName, const char* caption) {
    if (!Fil(fileName).Finnes())
        return true;
    const std::string text =
        std::string("File <") + fileName + "> already exists!\nWould you like to overwrite...?";
    return rigel::GetHostUi()->MessageBox(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The common part of the three writers once the project was checked.
int WriteText(const char* fileName, const char* caption, const std::string& text) {
    if (fileName == nullptr || !MayWrite(fileName, caption))
        return 0;
    TekstFil file(fileName);
    if (!file.LukkOpp("wt"))
        return 0;
    if (!file.LeggTilLinje(text))
        return 0; // the unfinished file is discarded with `file`
    return file.LukkIgjen() ? 1 : 0;
}

int CheckProject(const TrackProject* project) {
    if (project == nullptr)
        return -1;
    return project->alignment.GetCount() == 0 ? -2 : 1;
}

// Runs read on the lines of an existing file: -2 missing, -3 cannot be opened, else 1.
template <typename Read> int ReadFile(const char* fileName, Read read) {
    if (fileName == nullptr)
        return -2;
    TekstFil file(fileName);
    if (!file.Finnes())
        return -2;
    if (!file.LukkOpp("rt"))
        return -3;
    FileLines lines(file, fileName);
    read(lines);
    file.LukkIgjen();
    return 1;
}

// Truncates toward zero as a C cast does, kept within int; a value that is not a number gives
// the cant of a point without cant.
int TruncatedCant(double value) {
    if (std::isnan(value))
        return CvSporopPoint::kNoCant;
    if (value >= static_cast<double>(INT_MAX))
        return INT_MAX;
    if (value <= static_cast<double>(INT_MIN))
        return INT_MIN;
    return static_cast<int>(value);
}

} // namespace

// --- measurement file

int TrolleyFile::ReadMeasurementFile(CArchive& archive, CvSporopPointList& points,
                                     int uncorrectedHeights) {
    CFile* file = archive.GetFile();
    if (file == nullptr)
        return -1;
    if (!file->IsOpen())
        return -2;
    if (!archive.IsLoading())
        return -3;
    rigel::ArchiveLineSource lines(archive, rigel::ArchiveName(archive));
    return ReadMeasurementLines(lines, points, uncorrectedHeights);
}

int TrolleyFile::ReadMeasurementLines(rigel::LineSource& lines, CvSporopPointList& points,
                                      int uncorrectedHeights) {
    std::string line;
    bool first = true;
    for (int number = 1; lines.Next(line); ++number) {
        if (number <= kHeaderLines) {
            // The first key found anywhere in the line decides; its value follows the first "=".
            const std::size_t equals = line.find('=');
            const std::string_view value = equals == std::string::npos
                                               ? std::string_view()
                                               : std::string_view(line).substr(equals + 1);
            if (line.find("ReferenceGauge") != std::string::npos)
                ReferenceGauge = rigel::Atof(value);
            else if (line.find("CantBase") != std::string::npos)
                CantBase = rigel::Atof(value);
            else if (line.find("Name") != std::string::npos)
                Name.assign(value);
            if (number < kHeaderLines)
                continue;
        }
        std::string_view fields[8];
        std::string_view rest(line);
        for (int i = 0; i < 8; ++i) {
            const std::size_t semicolon = rest.find(';');
            fields[i] = rest.substr(0, semicolon);
            if (semicolon == std::string_view::npos)
                break;
            rest.remove_prefix(semicolon + 1);
        }
        const double east = rigel::Atof(fields[2]);
        const double north = rigel::Atof(fields[3]);
        double height = rigel::Atof(fields[4]);
        const double angle = rigel::Atof(fields[6]);
        const double station = rigel::Atof(fields[7]);
        // Half the height difference of the rails; the measured point lies on the raised one.
        const double half = std::sin(angle) * 0.5 * CantBase;
        if (!uncorrectedHeights)
            height -= std::fabs(half);
        auto point = std::make_unique<CvSporopPoint>(
            DT_Punkt(north, east, height), TruncatedCant(-2.0 * half * 1000.0),
            Streng::Trimmed(fields[1]), Streng::Trimmed(fields[0]));
        point->profile = station;
        points.Append(std::move(point));
        if (first)
            StartStation = station;
        first = false;
    }
    return 1;
}

// --- TDT

int TrolleyFile::WriteTDT(TrackProject* project, const char* fileName) {
    const int ok = CheckProject(project);
    if (ok != 1)
        return ok;
    return WriteText(fileName, "Export Vanta TDT", TDTText(project->alignment));
}

int TrolleyFile::ReadTDT(const char* fileName, CvPolyLine* alignment) {
    if (alignment == nullptr)
        return 0;
    return ReadFile(fileName, [alignment](rigel::LineSource& l) { ReadTDTLines(l, *alignment); });
}

// --- HDT

int TrolleyFile::WriteHDT(TrackProject* project, const char* fileName) {
    const int ok = CheckProject(project);
    if (ok != 1)
        return ok;
    return WriteText(fileName, "Export Vanta HDT", HDTText(project->verticalAlignment));
}

int TrolleyFile::ReadHDT(const char* fileName, DT_Nodeliste* points) {
    if (points == nullptr)
        return 0;
    return ReadFile(fileName, [points](rigel::LineSource& l) { ReadHDTLines(l, *points); });
}

// --- UDT

int TrolleyFile::WriteUDT(TrackProject* project, const char* fileName) {
    const int ok = CheckProject(project);
    if (ok != 1)
        return ok;
    return WriteText(fileName, "Export Vanta UDT", UDTText(project->alignment, project->cantBase));
}

int TrolleyFile::ReadUDT(const char* fileName, TrackProject* project) {
    if (project == nullptr)
        return 0;
    return ReadFile(fileName,
                    [project](rigel::LineSource& l) { ReadUDTLines(l, project->alignment); });
}
