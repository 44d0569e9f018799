// Benchmark of the LandXML export: a 50 km alignment of n elements with cants and speeds, and a
// vertical alignment with a curve every kilometre, written as one document.

#include "BenchRegistry.h"

#include "elements/TierTabElementSporop.h"
#include "formats/LandXmlImEx.h"
#include "formats/TrackProject.h"
#include "synthetic/SurveyCheck.h"
#include "synthetic/SyntheticAlignment.h"

#include <filesystem>
#include <pugixml.hpp>
#include <string>

#include <unistd.h>

namespace {

void MakeProject(long long n, TrackProject& project) {
    const auto alignment = rigel::bench::MakeSyntheticAlignment(static_cast<int>(n), 50'000.0);
    for (int k = 0; k < alignment->GetCount(); ++k) {
        const CvPolyElement& e = *alignment->Element(k);
        auto record = std::make_unique<TierTabElementSporop>(
            *e.StartPoint(), *e.EndPoint(), e.StartRadius()->Get(), e.EndRadius()->Get(),
            e.Length()->Get(), e.StartSTA()->Get(), e.EndSTA()->Get(), k + 1);
        record->SetTransParameter(e.TransParameter()->Get());
        record->h1.Init(e.ElementType() == CvPolyElement::kLine ? 0.0 : 90.0);
        record->v.Init(160);
        record->OrigStartSTA(e.StartSTA());
        record->OrigEndSTA(e.EndSTA());
        project.alignment.AddElement(record.release());
    }
    for (int km = 0; km <= 50; ++km)
        project.verticalAlignment.LeggTil(
            new DT_Punkt(1000.0 * km, 100.0 + (km % 2) * 8.0, km == 0 || km == 50 ? 0 : 20000));
}

// What is wrong with the file written, "" when it holds every element, cant station and
// vertical point.
std::string Check(const std::string& path, const TrackProject& project) {
    pugi::xml_document document;
    if (!document.load_file(path.c_str()))
        return "the file written does not parse";
    const pugi::xml_node alignment =
        document.child("LandXML").child("Alignments").child("Alignment");
    const auto count = [](const pugi::xml_node& node) {
        return static_cast<int>(std::distance(node.begin(), node.end()));
    };
    if (count(alignment.child("CoordGeom")) != project.alignment.GetCount())
        return "elements lost";
    if (count(alignment.child("Cant")) != project.alignment.GetCount())
        return "cant stations lost";
    if (count(alignment.child("Profile").child("ProfAlign")) != project.verticalAlignment.Antall())
        return "vertical points lost";
    return {};
}

const rigel::bench::Register landXmlExport{
    "landxml_export_alignment",
    "export a 50 km alignment of n elements with profile and cant as LandXML", 600,
    [](long long n) {
        TrackProject project;
        MakeProject(n, project);
        const std::string path = (std::filesystem::temp_directory_path() /
                                  ("rigel-bench-" + std::to_string(::getpid()) + ".xml"))
                                     .string();
        bool written = false;
        const double seconds =
            rigel::bench::Time([&] { written = LandXmlImEx().Export(&project, path.c_str()); });
        const double peak = rigel::bench::PeakRssMb();
        const std::string problem = written ? Check(path, project) : "the export failed";
        std::filesystem::remove(path);
        if (rigel::bench::Sane("landxml_export_alignment", problem))
            rigel::bench::Report("landxml_export_alignment", n, seconds, {}, peak);
    }};

} // namespace
