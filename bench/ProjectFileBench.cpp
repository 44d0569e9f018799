// Benchmarks of the project file: writing and reading a project of n measured points along a
// synthetic alignment, and reading a file of bare x y z lines, whose derived values the reader
// computes.

#include "BenchRegistry.h"

#include "elements/TierTabElementSporop.h"
#include "frame/CvSPW_File.h"
#include "synthetic/SurveyCheck.h"
#include "synthetic/SyntheticAlignment.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

namespace {

using rigel::bench::Report;
using rigel::bench::Time;

// A scratch file removed when the benchmark ends.
struct ScratchFile {
    std::string path = (std::filesystem::temp_directory_path() /
                        ("rigel-bench-" + std::to_string(::getpid()) + ".spw"))
                           .string();
    ~ScratchFile() { std::filesystem::remove(path); }
    double MegaBytes() const { return static_cast<double>(std::filesystem::file_size(path)) / 1e6; }
};

// n points along a 600-element alignment, every field set, and the alignment as the project's.
void MakeProject(long long n, TrackProject& project) {
    const auto alignment = rigel::bench::MakeSyntheticAlignment();
    const auto along = rigel::bench::PointsAlong(*alignment, n, 0.003);
    project.projectPoints.Reserve(static_cast<std::size_t>(n));
    for (std::size_t i = 0; i < along.size(); ++i) {
        const DT_Punkt& p = along[i].position;
        auto point = std::make_unique<CvSporopPoint>(p.x(), p.y(), 100.0 + 1e-4 * along[i].station,
                                                     "C", i % 100 == 0 ? "km post" : "");
        point->profile = along[i].station;
        point->direction = std::fmod(along[i].station * 1e-3, 6.0);
        point->curvature = point->curvature7 = point->curvature3 = 1.0 / 3000;
        point->verticalCurvature = 1e-5;
        point->cant = static_cast<int>(i % 150);
        project.projectPoints.Append(std::move(point));
    }
    for (int k = 0; k < alignment->GetCount(); ++k) {
        const CvPolyElement& e = *alignment->Element(k);
        auto record = std::make_unique<TierTabElementSporop>(
            *e.StartPoint(), *e.EndPoint(), e.StartRadius()->Get(), e.EndRadius()->Get(),
            e.Length()->Get(), e.StartSTA()->Get(), e.EndSTA()->Get(), k + 1);
        record->SetTransParameter(e.TransParameter()->Get());
        project.alignment.AddElement(record.release());
    }
}

// What differs between the points written and read, beyond the 15 decimals the file keeps.
std::string Compare(const CvSporopPointList& written, const CvSporopPointList& read) {
    if (written.Antall() != read.Antall())
        return rigel::Format("%d points written, %d read", written.Antall(), read.Antall());
    for (int i = 0; i < written.Antall(); ++i) {
        const CvSporopPoint &a = *written.Punkt(i), &b = *read.Punkt(i);
        if (std::fabs(a.x() - b.x()) > 1e-9 || std::fabs(a.y() - b.y()) > 1e-9 ||
            std::fabs(a.z() - b.z()) > 1e-9 || std::fabs(a.profile - b.profile) > 1e-9 ||
            std::fabs(a.direction - b.direction) > 1e-12 || a.cant != b.cant || a.code != b.code ||
            a.description != b.description || std::fabs(a.curvature7 - b.curvature7) > 1e-14)
            return rigel::Format("point %d differs after the round trip", i);
    }
    return {};
}

const rigel::bench::Register spwWrite{
    "spw_write", "write a project file of n measured points", 1'000'000, [](long long n) {
        TrackProject project;
        MakeProject(n, project);
        ScratchFile file;
        int result = 0;
        const double seconds = Time([&] { result = CvSPW_File(file.path).Write(&project, 0, 1); });
        const double peak = rigel::bench::PeakRssMb();
        TrackProject read;
        std::string problem = result == 1 ? std::string() : "the write failed";
        if (problem.empty() && CvSPW_File(file.path).Read(&read, 0, 0, 1) != 1)
            problem = "the file written does not read";
        if (problem.empty())
            problem = Compare(project.projectPoints, read.projectPoints);
        if (rigel::bench::Sane("spw_write", problem))
            Report("spw_write", n, seconds, {{"mb_per_second", file.MegaBytes() / seconds}}, peak);
    }};

const rigel::bench::Register spwRead{
    "spw_read", "read a project file of n measured points", 1'000'000, [](long long n) {
        TrackProject project;
        MakeProject(n, project);
        ScratchFile file;
        CvSPW_File(file.path).Write(&project, 0, 1);
        TrackProject read;
        int result = 0;
        const double seconds = Time([&] { result = CvSPW_File(file.path).Read(&read, 0, 0, 1); });
        const double peak = rigel::bench::PeakRssMb();
        std::string problem = result == 1 ? Compare(project.projectPoints, read.projectPoints)
                                          : std::string("the read failed");
        if (problem.empty() && read.alignment.GetCount() != project.alignment.GetCount())
            problem = "elements lost";
        if (rigel::bench::Sane("spw_read", problem))
            Report("spw_read", n, seconds, {{"mb_per_second", file.MegaBytes() / seconds}}, peak);
    }};

const rigel::bench::Register spwReadRecompute{
    "spw_read_recompute", "read a project file of n bare x y z points (derived values computed)",
    1'000'000, [](long long n) {
        TrackProject project;
        MakeProject(n, project);
        ScratchFile file;
        {
            std::string text = "@@DATA_SEGMENT_1\n**KOF_SECTION**\n";
            for (int i = 0; i < project.projectPoints.Antall(); ++i) {
                const CvSporopPoint& p = *project.projectPoints.Punkt(i);
                text += rigel::Format("%.4f %.4f %.4f\n", p.x(), p.y(), p.z());
            }
            TekstFil out(file.path);
            if (!out.LukkOpp("wt") || !out.LeggTilLinje(text) || !out.LukkIgjen()) {
                std::fprintf(stderr, "spw_read_recompute: cannot write %s\n", file.path.c_str());
                return;
            }
        }
        TrackProject read;
        int result = 0;
        const double seconds = Time([&] { result = CvSPW_File(file.path).Read(&read, 0, 0, 1); });
        const double peak = rigel::bench::PeakRssMb();
        // The same points with the derived values computed directly.
        CvSporopPointList expected(1);
        for (int i = 0; i < read.projectPoints.Antall(); ++i) {
            const CvSporopPoint& p = *read.projectPoints.Punkt(i);
            expected.Append(std::make_unique<CvSporopPoint>(p.x(), p.y(), p.z(), "", ""));
        }
        expected.UpdateDirections(0);
        expected.UpdateCurvatures7();
        expected.UpdateCurvaturesByCircles(7, CvSporopPointList::kTargetCurvature3);
        expected.UpdateCurvatures();
        expected.UpdateVerticalCurvatures();
        std::string problem =
            result == 1 ? Compare(expected, read.projectPoints) : std::string("the read failed");
        if (problem.empty() && read.projectPoints.Antall() != n)
            problem = "points lost";
        if (problem.empty() && read.projectPoints.Punkt(n / 2)->curvature7 == 0.0)
            problem = "no curvature computed";
        if (rigel::bench::Sane("spw_read_recompute", problem))
            Report("spw_read_recompute", n, seconds,
                   {{"mb_per_second", file.MegaBytes() / seconds}}, peak);
    }};

} // namespace
