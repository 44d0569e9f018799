// rigel-make-example: writes the example survey of examples/ as a KOF file. A synthetic track of
// straights, transitions and arcs (tools/synthetic/SyntheticSurvey.h) measured on both rails,
// with a centre point now and then, millimetre noise, shuffled order, repeated shots and stray
// points. With --project it also writes a project file of the same track: the measured centre
// points, the designed alignment with its cants and speed, and a vertical alignment of two grades
// and a crest curve. The same options and seed always give the same bytes.

#include "synthetic/SyntheticSurvey.h"

#include "elements/TierTabElementSporop.h"
#include "formats/VS_LinjePaalegg2.h"
#include "frame/CvSPW_File.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/TextFormat.h"
#include "platform/railout/CvRailDump.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>
#include <string>

namespace {

struct Options {
    std::string output = "examples/track_2km.kof";
    double length = 2000.0;
    double spacing = 1.0;
    int centreEvery = 25;
    int leftCode = 7111;
    int rightCode = 7112;
    int centreCode = 7110;
    std::uint64_t seed = 2024;
    std::string project; // also write the project file here
};

// Cant in millimetres for a radius: 150 mm at 600 m, at most 160 mm, 0 on a straight.
double CantFor(double radius) {
    return radius == 0 ? 0.0 : std::min(150.0 * 600.0 / std::fabs(radius), 160.0);
}

// The designed alignment, element after element from the survey's start.
void AddDesign(const rigel::bench::SurveyOptions& s, TrackProject& project) {
    DT_Punkt start(rigel::bench::kSurveyStartX, rigel::bench::kSurveyStartY,
                   rigel::bench::kSurveyStartZ);
    DT_Double direction(std::numbers::pi / 2 - s.startBearing);
    double station = 0.0;
    int number = 0;
    for (const rigel::bench::DesignElement& e : rigel::bench::SurveyDesign(s)) {
        auto element = std::make_unique<TierTabElementSporop>();
        element->InitFromStart(start, direction.Get(), e.startRadius, e.endRadius, e.length,
                               station, ++number);
        element->H1.Init(CantFor(e.startRadius));
        element->H2.Init(CantFor(e.endRadius));
        element->v.Init(80);
        element->vReq.Init(80);
        const DT_Double from(station), to(station + e.length);
        element->OrigStartSTA(&from);
        element->OrigEndSTA(&to);
        project.inputTierTable.AddElement(new TierTabElementSporop(*element));
        project.alignment.AddElement(element.release());
        station += e.length;
        project.alignment.PosAtStation(station, &start, &direction);
    }
    project.nadbData.Calculate(&project.inputTierTable);
}

// Grades and a crest curve that follow the survey's heights (120 m + 2 sin(s / 700 m)):
// intersection points at 0, 1100 m and the end, a vertical curve of radius 100 km at the middle
// one.
void AddVerticalDesign(double length, TrackProject& project) {
    const auto height = [](double s) { return 120.0 + 2.0 * std::sin(s / 700.0); };
    const double pvi = 1100.0, radius = 100'000.0;
    const double g1 = (height(pvi) - height(0)) / pvi;
    const double g2 = (height(length) - height(pvi)) / (length - pvi);
    // Directions in the plane of station (x) and height (y), as the component measures them.
    const double t1 = std::atan2(1.0, g1), t2 = std::atan2(1.0, g2);
    const double tangent = radius * std::tan((t2 - t1) / 2);
    const double lengths[] = {pvi / std::sin(t1) - tangent, radius * (t2 - t1), 0.0};
    DT_Punkt start(0.0, height(0));
    DT_Double direction(t1);
    double station = 0.0;
    for (int k = 0; k < 3; ++k) {
        auto element = std::make_unique<CvPolyElement>();
        double elementLength = lengths[k];
        if (k == 2) // the last grade runs to the end of the track
            elementLength = (length - start.x()) / std::sin(t2);
        element->InitFromStart(start, direction.Get(), k == 1 ? -radius : 0.0,
                               k == 1 ? -radius : 0.0, elementLength, station, k + 1);
        station += elementLength;
        start = *element->EndPoint();
        project.verticalTierTable.AddElement(element.release());
        project.verticalTierTable.PosAtStation(station, &start, &direction);
    }
    VS_LinjePaalegg2 points(0.001);
    if (points.BuildFromElements(&project.verticalTierTable))
        for (int i = 0; i < points.Antall(); ++i)
            project.verticalAlignment.Append(std::make_unique<DT_Punkt>(*points.Punkt(i)));
}

int WriteProject(const Options& o, const rigel::bench::SurveyOptions& s,
                 const std::vector<rigel::bench::SurveyPoint>& survey) {
    TrackProject project;
    std::vector<const rigel::bench::SurveyPoint*> centre;
    for (const rigel::bench::SurveyPoint& p : survey)
        if (p.line == 0 && p.index >= 0 && !p.repeat)
            centre.push_back(&p);
    std::sort(centre.begin(), centre.end(),
              [](const auto* a, const auto* b) { return a->index < b->index; });
    for (const rigel::bench::SurveyPoint* p : centre)
        project.projectPoints.Append(std::make_unique<CvSporopPoint>(
            p->x, p->y, p->z, rigel::Format("%d", o.centreCode), "centre"));
    AddDesign(s, project);
    project.projectPoints.UpdateProfiles(&project.alignment);
    project.projectPoints.UpdateDirections(0);
    project.projectPoints.UpdateCurvatures7();
    project.projectPoints.UpdateCurvaturesByCircles(7, CvSporopPointList::kTargetCurvature3);
    project.projectPoints.UpdateCurvatures();
    project.projectPoints.UpdateVerticalCurvatures();
    AddVerticalDesign(s.length, project);
    project.givenSpeeds.Append(std::make_unique<DT_Punkt>(0.0, s.length, 80.0));
    project.projectTexts[0] = CString("Example track");
    project.projectTexts[1] = CString(rigel::Format("%.0f m, seed %d", s.length, o.seed));
    project.projectTexts[2] = CString("rigel-make-example");
    CvSPW_File file(o.project);
    if (file.Write(&project, 0, 1) != 1) {
        std::fprintf(stderr, "rigel-make-example: %s: %s\n", o.project.c_str(),
                     file.ErrorText().c_str());
        return 1;
    }
    std::fprintf(stderr, "rigel-make-example: project of %d points and %d elements written to %s\n",
                 project.projectPoints.Antall(), project.alignment.GetCount(), o.project.c_str());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options o;
    CLI::App app{"rigel-make-example: writes a synthetic rail survey as a KOF file"};
    app.allow_windows_style_options(false);
    app.add_option("-o,--output", o.output, "the KOF file to write")->capture_default_str();
    app.add_option("--length", o.length, "metres of track")->capture_default_str();
    app.add_option("--spacing", o.spacing, "metres between measured points")->capture_default_str();
    app.add_option("--centre-every", o.centreEvery, "one centre point every N rail stations")
        ->capture_default_str();
    app.add_option("--seed", o.seed, "random seed")->capture_default_str();
    app.add_option("--project", o.project,
                   "also write a project file (SPW) of the track: its centre points, the designed "
                   "alignment and a vertical alignment");
    CLI11_PARSE(app, argc, argv);
    if (!(o.length > 0) || !(o.spacing > 0) || o.centreEvery <= 0) {
        std::fputs("rigel-make-example: length, spacing and --centre-every must be positive\n",
                   stderr);
        return 2;
    }

    rigel::bench::SurveyOptions s;
    s.length = o.length;
    s.spacing = o.spacing;
    s.centre = true;
    s.seed = o.seed;
    const auto survey = rigel::bench::MakeSurvey(s);

    std::string text;
    text += " 00 Synthetic track survey made by rigel-make-example\n";
    text += rigel::Format(" 00 %.0f m of track, points every %.2f m, seed %d\n", o.length,
                          o.spacing, o.seed);
    text += rigel::Format(" 00 codes: %d left rail, %d right rail, %d track centre\n", o.leftCode,
                          o.rightCode, o.centreCode);
    long written = 0;
    for (const rigel::bench::SurveyPoint& p : survey) {
        // Centre points only now and then, as a surveyor takes them at chosen places; the shots
        // of stray and repeated points keep whatever line they came from.
        if (p.line == 0 && p.index >= 0 && p.index % o.centreEvery != 0)
            continue;
        const int code = p.line == 1 ? o.leftCode : p.line == 2 ? o.rightCode : o.centreCode;
        const char* what = p.line == 1 ? "left" : p.line == 2 ? "right" : "centre";
        std::string error;
        const auto record =
            rigel::railout::KofPointRecord(p.x, p.y, p.z, rigel::Format("%d", code), what, &error);
        if (!record) {
            std::fprintf(stderr, "rigel-make-example: %s\n", error.c_str());
            return 1;
        }
        text += *record + "\n";
        ++written;
        // One shot without a position, as a field book has now and then.
        if (written == 1000)
            text += rigel::Format(" 05 %-10s %-8d\n", "no fix", o.leftCode);
    }
    std::string reason;
    if (!rigel::WriteFileAtomically(o.output, text, &reason)) {
        std::fprintf(stderr, "rigel-make-example: %s\n", reason.c_str());
        return 1;
    }
    std::fprintf(stderr, "rigel-make-example: %ld points written to %s\n", written,
                 o.output.c_str());
    return o.project.empty() ? 0 : WriteProject(o, s, survey);
}
