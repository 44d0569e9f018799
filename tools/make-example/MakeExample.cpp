// rigel-make-example: writes the example survey of examples/ as a KOF file. A synthetic track of
// straights, transitions and arcs (bench/SyntheticSurvey.h) measured on both rails, with a
// centre point now and then, millimetre noise, shuffled order, repeated shots and stray points.
// The same options and seed always give the same bytes.

#include "synthetic/SyntheticSurvey.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/TextFormat.h"
#include "platform/railout/CvRailDump.h"

#include <CLI/CLI.hpp>

#include <cstdio>
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
};

} // namespace

int main(int argc, char** argv) {
    Options o;
    CLI::App app{"rigel-make-example: writes a synthetic rail survey as a KOF file"};
    app.add_option("-o,--output", o.output, "the KOF file to write")->capture_default_str();
    app.add_option("--length", o.length, "metres of track")->capture_default_str();
    app.add_option("--spacing", o.spacing, "metres between measured points")->capture_default_str();
    app.add_option("--centre-every", o.centreEvery, "one centre point every N rail stations")
        ->capture_default_str();
    app.add_option("--seed", o.seed, "random seed")->capture_default_str();
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
    return 0;
}
