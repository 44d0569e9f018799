#pragma once
// The rail output writers: the measured points, the horizontal alignment and the vertical
// alignment of a project written as KOF point records and as plain text tables (LFT, ALC, CSV,
// NYLP, NADB, WinALC GEO and VER). Every layout is described in docs/formats.md.
//
// A save drives one object: SetFilename (again before each write: every writer writes to the
// current file name), SetProjectData, SetSection, then the writers.
//
// What the writers take. The base types only: points are a DT_PointList whose nodes are DT_Punkt
// or any class derived from it; alignments are CvPolyLine chains of CvPolyElement or derived
// elements. What those base types do not carry (a point's code and description, an element's
// cant and speed) the writers ask of a RailAttributes object that the caller installs with
// SetAttributes; the caller's implementation knows its own classes (the library's survey point
// and tier-table element), so that this component needs nothing from above it. Without one,
// points have no code (WriteKOF05 writes the code it is given for that case) and no
// description, and elements carry no cant (written as 0) and no speed (0).
//
// The section. SetSection(start, end, limit, alignment) fixes the station range of the output.
// It fails, and the object is then in a failed state, when a pointer is null, a value is not
// finite, start is not below end, or the alignment has elements and the section does not
// overlap its station range (an overlap of more than 1e-9 m is needed). In the failed state the
// writers that use the section (WriteKOF05, WriteLFT, WriteALC, WriteCSV, WriteWinALC_GEO,
// WriteWinALC_VER) write nothing and return 0 until a SetSection succeeds; WriteNYLP and
// WriteNADBFiles do not use the section. With limit true, the writers keep to the section:
// - elements are cut at the section's ends (their end values interpolated: radius from the
//   curvature there, cant linearly along the element; elements without a positive overlap are
//   left out);
// - points are kept when their station on the alignment (CvPolyLine::StationAtPos) lies in the
//   section; a point that cannot be stationed is left out; with no alignment (null or empty)
//   every point is kept;
// - vertical intersection points are kept inside the section together with the nearest one
//   before and after it, so that the grades across the section stay defined.
// With limit false, or before any SetSection, everything is written; a successful SetSection
// still names its section in the headers.
//
// Frames. Points and the written coordinates have x northing, y easting. An alignment whose
// first element is in frame 2 (x easting) has the point coordinates swapped before they are
// projected onto it and its coordinates swapped back when written. Azimuths are written in gon,
// from north, clockwise, in [0, 400).
//
// Writing. Each writer builds its whole text first and writes it through rigel::AtomicFile: the
// target is replaced only when the text is complete, and a writer that fails leaves any previous
// file untouched. Numbers go through rigel::Format. Every writer returns 1 on success and 0
// otherwise (no file name, a null argument where one is needed, a failed section, a value that
// does not fit its column, a file that cannot be written), with the reason in LastError().
//
// The flag the save passes last to WriteKOF05 and to the table writers (1) asks for the header:
// KOF comment records for WriteKOF05, the column-name row for WriteCSV, and the "#" lines (kind,
// project texts, section, column names) for the others. WriteNYLP and WriteNADBFiles always write
// their header.

#include "platform/base/DT_PointList.h"
#include "platform/base/DT_Punkt.h"
#include "platform/base/VS_LinjePaalegg.h"
#include "platform/polyline/CvNADB_Calculation.h"
#include "platform/polyline/CvPolyElement.h"
#include "platform/polyline/CvPolyLine.h"

#include <array>
#include <optional>
#include <string>

namespace rigel::railout {

// What a point carries beyond its coordinates.
struct PointAttributes {
    std::string code;
    std::string description;
};

// What an element carries beyond its geometry: cants in millimetres (magnitudes; the raised rail
// follows from the sign of the radius) at its start and end, and the track speed in km/h.
struct ElementAttributes {
    double startCant = 0.0;
    double endCant = 0.0;
    int speed = 0;
};

// The caller's knowledge of its own point and element classes. Each answers true and fills the
// record when it knows the object, false otherwise (the writers then use the defaults above).
class RailAttributes {
public:
    virtual ~RailAttributes() = default;
    virtual bool Point(const DT_Punkt& point, PointAttributes& out) const = 0;
    virtual bool Element(const CvPolyElement& element, ElementAttributes& out) const = 0;
};

// The KOF point record of a point, its fields at the columns of rigel::kof (texts left-aligned,
// numbers right-aligned; docs/formats.md, "KOF point records"), or nothing (with the reason in
// *reason) when a coordinate is not finite or does not fit its column. Description and code are cut
// to their widths.
std::optional<std::string> KofPointRecord(double x, double y, double z, std::string_view code,
                                          std::string_view description,
                                          std::string* reason = nullptr);

} // namespace rigel::railout

class CvRailDump {
public:
    CvRailDump() = default;
    CvRailDump(const CvRailDump&) = delete;
    CvRailDump& operator=(const CvRailDump&) = delete;

    // The file the next write goes to. A null name clears it (writes then fail).
    void SetFilename(const char* name);
    const std::string& Filename() const { return filename_; }

    // The five project texts, in the order given (the save passes t1, t5, t4, t3, t2); a null
    // text is empty. Written in the headers as "text 1" to "text 5" in this order.
    void SetProjectData(const char* text1, const char* text2, const char* text3, const char* text4,
                        const char* text5);

    // See the header comment. The alignment is only read (its station range); it may be null.
    bool SetSection(const double* start, const double* end, bool limit,
                    const CvPolyLine* alignment = nullptr);
    bool HasSection() const { return sectionSet_; }
    bool SectionFailed() const { return sectionFailed_; }
    double SectionStart() const { return sectionStart_; }
    double SectionEnd() const { return sectionEnd_; }

    // Not owned; null removes it. It must outlive the writes.
    void SetAttributes(const rigel::railout::RailAttributes* attributes) {
        attributes_ = attributes;
    }

    // KOF point records, one per point in list order; defaultCode is the code of a point that has
    // none. alignment: for the section only; vertical: not used (the points carry their heights).
    int WriteKOF05(DT_PointList* points, CvPolyLine* alignment, VS_LinjePaalegg* vertical,
                   int defaultCode, int header);
    // Element table: stations, length, radii and cants of each element.
    int WriteLFT(CvPolyLine* alignment, VS_LinjePaalegg* vertical, DT_PointList* points,
                 int header);
    // Element table with the coordinates and azimuths of each element's ends.
    int WriteALC(CvPolyLine* alignment, VS_LinjePaalegg* vertical, DT_PointList* points,
                 int header);
    // The points with their station and offset on the alignment (comma-separated).
    int WriteCSV(CvPolyLine* alignment, VS_LinjePaalegg* vertical, DT_PointList* points,
                 int header);
    // The main points of the horizontal alignment (where elements meet).
    int WriteWinALC_GEO(CvPolyLine* alignment, VS_LinjePaalegg* vertical, DT_PointList* points,
                        int header);
    // The vertical intersection points with tangent lengths and grades.
    int WriteWinALC_VER(CvPolyLine* alignment, VS_LinjePaalegg* vertical, DT_PointList* points,
                        int header);
    // The vertical intersection points as they are (station, height, radius, tangent length).
    int WriteNYLP(VS_LinjePaalegg* vertical);
    // The NADB segments, one row each.
    int WriteNADBFiles(CvNADB_Calculation* nadb);

    // Why the last write or SetSection failed ("" after a success).
    const std::string& LastError() const { return lastError_; }

private:
    int Fail(std::string reason);
    int Commit(const std::string& text);
    bool SectionUsable();
    bool Limited() const { return sectionSet_ && limit_; }
    void AppendHeader(std::string& text, const char* kind, const char* columns) const;

    std::string filename_;
    std::array<std::string, 5> texts_;
    bool sectionSet_ = false;
    bool sectionFailed_ = false;
    bool limit_ = false;
    double sectionStart_ = 0.0;
    double sectionEnd_ = 0.0;
    const rigel::railout::RailAttributes* attributes_ = nullptr;
    std::string sectionError_;
    std::string lastError_;
};
