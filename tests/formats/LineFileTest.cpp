// The line file against golden texts written from its record layouts, with element coordinates,
// arc centres and stations computed independently (numerical integration of the clothoids).

#include "formats/LineFile.h"

#include "platform/base/VS_LinjePaalegg.h"
#include "platform/polyline/CvPolyLine.h"

#include "support/TestSupport.h"

#include <clocale>

namespace rigel::test {
namespace {

struct ElementRow {
    int number;
    double length, startRadius, endRadius, transParameter, startSTA, endSTA;
    double startX, startY, endX, endY;
};

void Fill(CvPolyLine& alignment, std::initializer_list<ElementRow> rows) {
    for (const ElementRow& r : rows) {
        auto* e =
            new CvPolyElement(DT_Punkt(r.startX, r.startY), DT_Punkt(r.endX, r.endY), r.startRadius,
                              r.endRadius, r.length, r.startSTA, r.endSTA, r.number);
        e->SetTransParameter(r.transParameter);
        alignment.AddElement(e);
    }
}

TEST(LineFile, MatchesGoldenText) {
    // Heading 30 degrees east of north: a line, a clothoid into a left arc of radius 400, the
    // arc, a clothoid out of it and a line.
    CvPolyLine track(1);
    Fill(track,
         {
             {10, 100, 0, 0, 0, 1200, 1300, 6500100.0, 250200.0, 6500186.602540378, 250250.0},
             {20, 60, 0, -400, 154.91933384829667, 1300, 1360, 6500186.602540378, 250250.0,
              6500239.284542574, 250278.68461312982},
             {30, 150, -400, -400, 0, 1360, 1510, 6500239.284542574, 250278.68461312982,
              6500383.352954651, 250317.17946511615},
             {40, 60, -400, 0, 154.91933384829667, 1510, 1570, 6500383.352954651,
              250317.17946511615, 6500443.321255561, 250318.59483491586},
             {50, 80, 0, 0, 0, 1570, 1650, 6500443.321255561, 250318.59483491586, 6500523.321177023,
              250318.4827370004},
         });
    VS_LinjePaalegg vertical;
    vertical.LeggTil(new DT_Punkt(1200, 50.0, 0));
    vertical.LeggTil(new DT_Punkt(1300, 51.2, -2000)); // a sag: the radius is written unsigned
    vertical.LeggTil(new DT_Punkt(1410, 49.8, 3000));
    vertical.LeggTil(new DT_Punkt(1450, 50.1, 0));

    CvPolyLine straight(1);
    Fill(straight, {{1, 100, 0, 0, 0, -25.5, 74.5, 100, 200, 200, 200}});
    VS_LinjePaalegg none;

    const struct {
        CvPolyLine* alignment;
        VS_LinjePaalegg* vertical;
        const char *tie, *line, *golden;
    } cases[] = {
        {&track, &vertical, nullptr, nullptr, "line_clothoid_arc_clothoid_line.txt"},
        {&straight, &none, "Tie 7", "Track 12", "named_line_no_vertical.txt"},
    };
    TempFolder dir;
    // The same bytes under a host locale with a decimal comma.
    for (const char* locale : {"C", rigel::test::kDecimalCommaLocale}) {
        if (std::setlocale(LC_ALL, locale) == nullptr)
            continue;
        for (const auto& c : cases) {
            const std::string path = dir.Path(c.golden);
            ASSERT_TRUE(WriteLineFile(path.c_str(), c.alignment, c.vertical, c.tie, c.line));
            EXPECT_EQ(FileBytes(path), FileBytes(DataPath(std::string("linefile/") + c.golden)))
                << c.golden << " in locale " << locale;
        }
    }
    std::setlocale(LC_ALL, "C");
    // The arc's centre was taken on a copy: the alignment is as it was.
    EXPECT_EQ(track.Element(2)->Frame(), 1);
    EXPECT_DOUBLE_EQ(track.Element(2)->StartPoint()->x(), 6500239.284542574);
}

TEST(LineFile, WritesNoFileWithoutNameOrElements) {
    TempFolder dir;
    const std::string path = dir.Path("kept.txt");
    const std::string noFolder = dir.Path("no/such/folder.txt");
    dir.Write("kept.txt", "previous");
    CvPolyLine empty(1), one(1);
    Fill(one, {{1, 10, 0, 0, 0, 0, 10, 0, 0, 10, 0}});
    const struct {
        const char* name;
        CvPolyLine* alignment;
    } refused[] = {
        {nullptr, &one},          {"", &one}, {path.c_str(), nullptr}, {path.c_str(), &empty},
        {noFolder.c_str(), &one},
    };
    for (const auto& r : refused)
        EXPECT_FALSE(WriteLineFile(r.name, r.alignment, nullptr, nullptr, nullptr))
            << (r.name ? r.name : "null name");
    EXPECT_EQ(FileBytes(path), "previous");
    EXPECT_EQ(dir.Entries(), std::vector<std::string>{"kept.txt"});
}

} // namespace
} // namespace rigel::test
