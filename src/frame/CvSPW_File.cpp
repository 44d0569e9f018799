#include "frame/CvSPW_File.h"

#include "elements/TierTabElementSporop.h"
#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using rigel::AppendFixed;
using rigel::AppendInteger;
using rigel::Format;
using rigel::OneLine;
namespace spw = rigel::spw;

constexpr char kBlankMark = '\xA7'; // "§" in Windows-1252

enum Section {
    kKof,
    kSplitPoints,
    kTitInn,
    kTitNadb,
    kTitRes,
    kTitOh,
    kTitPrevConverted,
    kNylAsTit,
    kNylEditAsTit,
    kNyl,
    kGivenSpeed,
    kRequirement,
    kProjInfo,
    kDiv,
    kUserProfiles,
    kOffsetView,
    kSectionCount
};
static_assert(std::size(spw::kSections) == kSectionCount);

bool IsBlank(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}

// ---------------------------------------------------------------------------------------------
// Writing

// The lines of the file: collected in one text for the file, or one by one in the project's own
// text list.
class LineOut {
public:
    explicit LineOut(StrengListe* list) : list_(list) {}
    // The line being built; End() finishes it.
    std::string& Text() { return line_; }
    void End() {
        if (list_ != nullptr) {
            list_->LeggTilStreng(line_);
            line_.clear();
        } else {
            line_ += '\n';
            whole_ += line_;
            line_.clear();
        }
    }
    void Line(std::string_view text) {
        line_ = text;
        End();
    }
    const std::string& Whole() const { return whole_; }

private:
    StrengListe* list_;
    std::string line_;
    std::string whole_;
};

// A point text as one token: blanks become the mark; an empty text is the mark alone.
void AppendToken(std::string& out, std::string_view text) {
    if (text.empty()) {
        out += kBlankMark;
        return;
    }
    for (char c : text)
        out += IsBlank(c) ? kBlankMark : c;
}

void WritePoint(LineOut& out, const CvSporopPoint& p, bool withTexts) {
    std::string& line = out.Text();
    for (double v :
         {p.x(), p.y(), p.z(), p.profile, p.curvature, p.curvature7, p.verticalCurvature}) {
        AppendFixed(line, v, 15);
        line += ' ';
    }
    AppendInteger(line, p.mark);
    line += ' ';
    AppendFixed(line, p.direction, 15);
    line += ' ';
    AppendFixed(line, p.curvature3, 15);
    if (withTexts) {
        line += ' ';
        AppendInteger(line, p.cant);
        line += ' ';
        AppendToken(line, p.code);
        line += ' ';
        AppendToken(line, p.description);
    }
    out.End();
}

void WriteElements(LineOut& out, const CvPolyLine& elements, const char* what) {
    Streng line1, line2;
    for (int i = 0; i < elements.GetCount(); ++i) {
        const CvPolyElement* element = elements.Element(i);
        if (element->GetLinesTIT(&line1, &line2, 11) == 0) {
            rigel::Trace("[CvSPW_File] %s element %d not written: a value is not finite\n", what,
                         i + 1);
            continue;
        }
        out.Line(line1.str());
        out.Line(line2.str());
    }
}

// The input tier table's stations chained anew: each element starts where the one before ended.
void Restation(CvPolyLine& elements) {
    if (elements.GetCount() == 0)
        return;
    double station = elements.Element(0)->StartSTA()->Get();
    for (int i = 0; i < elements.GetCount(); ++i) {
        CvPolyElement* element = elements.Element(i);
        element->SetStartSTA(station);
        station += std::fabs(element->Length()->Get());
        element->SetEndSTA(station);
    }
}

void WriteProject(TrackProject& project, LineOut& out) {
    out.Line(spw::kSegmentLine);
    out.Line(spw::kSections[kKof]);
    for (int i = 0; i < project.projectPoints.Antall(); ++i)
        WritePoint(out, *project.projectPoints.Punkt(i), true);
    out.Line(spw::kSections[kSplitPoints]);
    for (int i = 0; i < project.splitPoints.Antall(); ++i)
        WritePoint(out, *project.splitPoints.Punkt(i), false);
    out.Line(spw::kSections[kTitInn]);
    Restation(project.inputTierTable);
    WriteElements(out, project.inputTierTable, "input tier table");
    out.Line(spw::kSections[kTitNadb]);
    for (int i = 0; i < project.nadbData.SegmentCount(); ++i)
        out.Line(OneLine(project.nadbData.Segment(i)->Text()));
    out.Line(spw::kSections[kTitRes]);
    WriteElements(out, project.alignment, "alignment");
    out.Line(spw::kSections[kTitOh]);
    for (int i = 0; i < project.alignment.GetCount(); ++i) {
        const CvPolyElement* element = project.alignment.Element(i);
        if (element->KlasseType() == rigel::klasse::TierTabElementSporop)
            out.Line(static_cast<const TierTabElementSporop*>(element)->ProjectFileLine());
    }
    out.Line(spw::kSections[kTitPrevConverted]);
    project.previousConverted.Arcs2TransCurves();
    project.previousConverted.SubstituteXYCoord();
    WriteElements(out, project.previousConverted, "previously converted");
    project.previousConverted.TransCurves2Arcs();
    project.previousConverted.SubstituteXYCoord();
    out.Line(spw::kSections[kNylAsTit]);
    WriteElements(out, project.verticalTierTable, "vertical");
    out.Line(spw::kSections[kNylEditAsTit]);
    WriteElements(out, project.editedVerticalTierTable, "edited vertical");
    out.Line(spw::kSections[kNyl]);
    for (int i = 0; i < project.verticalAlignment.Antall(); ++i) {
        const DT_Punkt* p = project.verticalAlignment.Punkt(i);
        out.Line(Format("%.15lf %.15lf %.15lf", p->x(), p->y(), p->z()));
    }
    const auto writeTriples = [&out](const DT_PointList& points) {
        for (int i = 0; i < points.Antall(); ++i) {
            const DT_Punkt* p = points.Punkt(i);
            out.Line(Format("%.3f %.3f %.3f", p->x(), p->y(), p->z()));
        }
    };
    out.Line(spw::kSections[kGivenSpeed]);
    writeTriples(project.givenSpeeds);
    out.Line(spw::kSections[kRequirement]);
    writeTriples(project.requirements);
    out.Line(spw::kSections[kProjInfo]);
    for (const CString& text : project.projectTexts)
        out.Line(OneLine(text.str()));

    out.Line(spw::kSections[kDiv]);
    std::string line;
    for (int v : project.divInts)
        line += Format("%d ", v);
    out.Line(line + Format("%d", project.pointListWord));
    const auto reals = [](std::initializer_list<double> values) {
        std::string text;
        for (double v : values)
            text += Format(text.empty() ? "%.15lf" : " %.15lf", v);
        return text;
    };
    const auto& r = project.divReals;
    out.Line(reals({r[0], r[1], r[2], r[3], r[4], r[5]}));
    out.Line(reals({project.divPair[0], project.divPair[1]}));
    out.Line(reals({project.startPoint.x(), project.startPoint.y(), project.startPoint.z(),
                    project.startStation}));
    out.Line(reals({project.divPair2[0], project.divPair2[1]}));
    const auto& r2 = project.divReals2;
    out.Line(reals(
        {r2[0], r2[1], r2[2], r2[3], r2[4], r2[5], project.referenceGauge, project.cantBase}));
    out.Line(OneLine(project.referenceSide.str().substr(0, 120)));

    out.Line(spw::kSections[kUserProfiles]);
    out.Line(OneLine(project.userProfilePath.str()));
    out.Line(OneLine(project.userProfileText.str()));
    out.Line(spw::kSections[kOffsetView]);
    const auto& v = project.offsetView;
    out.Line(Format("%d %d %d %d %d", v[0].a, v[1].a, v[2].a, v[3].a, v[4].a));
    out.Line(Format("%d %d %d %d %d", v[0].b, v[1].b, v[2].b, v[3].b, v[4].b));
}

// ---------------------------------------------------------------------------------------------
// Reading

using Lines = std::vector<std::string_view>;

bool IsHeader(std::string_view line) {
    return line.substr(0, 2) == "**";
}

// A point text back from its token: the mark becomes a blank, then the text is trimmed.
std::string FromToken(std::string text) {
    for (char& c : text)
        if (c == kBlankMark)
            c = ' ';
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

class ProjectReader {
public:
    explicit ProjectReader(TrackProject& project) : project_(project) {}

    void Read(const Lines& lines) {
        Clear();
        std::size_t i = 1; // after the segment line
        while (i < lines.size()) {
            const std::size_t passStart = i;
            for (int section = 0; section < kSectionCount; ++section) {
                if (i >= lines.size() || lines[i] != spw::kSections[section])
                    continue;
                ++i;
                std::size_t end = i;
                while (end < lines.size() && !IsHeader(lines[end]))
                    ++end;
                i += ReadSection(static_cast<Section>(section),
                                 Lines(lines.begin() + i, lines.begin() + end));
            }
            if (i == passStart)
                ++i; // a line that is no header where one was expected
            if (i >= lines.size() || lines[i].substr(0, 2) == "@@")
                break;
        }
        if (!pointsWithDerivedValues_) {
            CvSporopPointList& points = project_.projectPoints;
            points.UpdateDirections(0);
            points.UpdateCurvatures7();
            points.UpdateCurvaturesByCircles(7, CvSporopPointList::kTargetCurvature3);
            points.UpdateCurvatures();
            points.UpdateVerticalCurvatures();
        }
    }

private:
    void Clear() {
        project_.projectPoints.SlettAlleIListen(1);
        // The input elements refer to the segments: they go first.
        project_.inputTierTable.SlettAlleIListen(1);
        project_.nadbData.SegmentListe()->SlettAlleIListen(1);
        project_.alignment.SlettAlleIListen(1);
        project_.verticalTierTable.SlettAlleIListen(1);
        project_.editedVerticalTierTable.SlettAlleIListen(1);
        project_.requirements.SlettAlleIListen(1);
        project_.givenSpeeds.SlettAlleIListen(1);
        project_.verticalAlignment.SlettAlleIListen(1);
        project_.previousConverted.SlettAlleIListen(1);
    }

    // Reads the section's body (its lines up to the next header); returns the lines it used.
    std::size_t ReadSection(Section section, const Lines& body) {
        switch (section) {
        case kKof:
            for (std::string_view line : body)
                ReadPoint(line, project_.projectPoints, true);
            return body.size();
        case kSplitPoints:
            for (std::string_view line : body)
                ReadPoint(line, project_.splitPoints, false);
            return body.size();
        case kTitInn:
            ReadElements<TierTabElementSporop>(body, project_.inputTierTable);
            return body.size();
        case kTitNadb:
            ReadSegments(body);
            return body.size();
        case kTitRes:
            ReadElements<TierTabElementSporop>(body, project_.alignment);
            return body.size();
        case kTitOh:
            for (std::size_t k = 0;
                 k < body.size() && k < static_cast<std::size_t>(project_.alignment.GetCount());
                 ++k) {
                CvPolyElement* element = project_.alignment.Element(static_cast<int>(k));
                if (element->KlasseType() == rigel::klasse::TierTabElementSporop)
                    static_cast<TierTabElementSporop*>(element)->ReadProjectFileLine(body[k]);
            }
            return body.size();
        case kTitPrevConverted:
            ReadElements<CvPolyElement>(body, project_.previousConverted);
            project_.previousConverted.TransCurves2Arcs();
            project_.previousConverted.SubstituteXYCoord();
            return body.size();
        case kNylAsTit:
            ReadElements<CvPolyElement>(body, project_.verticalTierTable);
            return body.size();
        case kNylEditAsTit:
            ReadElements<CvPolyElement>(body, project_.editedVerticalTierTable);
            return body.size();
        case kNyl:
            ReadTriples(body, project_.verticalAlignment);
            return body.size();
        case kGivenSpeed:
            ReadTriples(body, project_.givenSpeeds);
            return body.size();
        case kRequirement:
            ReadTriples(body, project_.requirements);
            return body.size();
        case kProjInfo:
            return ReadProjectTexts(body);
        case kDiv:
            return ReadSettings(body);
        case kUserProfiles:
            return ReadUserProfiles(body);
        case kOffsetView:
            return ReadOffsetView(body);
        case kSectionCount:
            break;
        }
        return body.size();
    }

    void ReadPoint(std::string_view line, CvSporopPointList& list, bool withTexts) {
        auto point = std::make_unique<CvSporopPoint>();
        CvSporopPoint& p = *point;
        double x = 0, y = 0, z = 0;
        std::string code, description;
        const int count =
            withTexts
                ? rigel::Scan(line, "%lf %lf %lf %lf %lf %lf %lf %d %lf %lf %d %s %s", &x, &y, &z,
                              &p.profile, &p.curvature, &p.curvature7, &p.verticalCurvature,
                              &p.mark, &p.direction, &p.curvature3, &p.cant, &code, &description)
                : rigel::Scan(line, "%lf %lf %lf %lf %lf %lf %lf %d %lf %lf", &x, &y, &z,
                              &p.profile, &p.curvature, &p.curvature7, &p.verticalCurvature,
                              &p.mark, &p.direction, &p.curvature3);
        if (count >= 3)
            p.Init(x, y, z);
        if (withTexts && count >= 10)
            pointsWithDerivedValues_ = true;
        if (std::abs(static_cast<long long>(p.cant)) > CvSporopPoint::kNoCant)
            p.cant = CvSporopPoint::kNoCant;
        if (count >= 12)
            p.code = FromToken(std::move(code));
        if (count >= 13)
            p.description = FromToken(std::move(description));
        list.Append(std::move(point));
    }

    template <typename Element> void ReadElements(const Lines& body, CvPolyLine& elements) {
        for (std::size_t k = 0; k + 1 < body.size(); k += 2) {
            auto element = std::make_unique<Element>();
            std::string reason;
            if (element->InitFromLinesTIT(body[k], body[k + 1], 11, &reason) == 0) {
                rigel::Trace("[CvSPW_File] element lines not read: %s\n", reason);
                continue;
            }
            elements.AddElement(element.release());
        }
    }

    // Each segment hangs on the next input element, in order.
    void ReadSegments(const Lines& body) {
        CvNADB_Calculation& nadb = project_.nadbData;
        for (std::string_view line : body) {
            nadb.AddSegment(line);
            const int index = nadb.SegmentCount() - 1;
            if (index < project_.inputTierTable.GetCount())
                project_.inputTierTable.Element(index)->PrivateData(nadb.Segment(index), 0);
        }
    }

    static void ReadTriples(const Lines& body, DT_PointList& points) {
        for (std::string_view line : body) {
            double x = 0, y = 0, z = 0;
            rigel::Scan(line, "%lf %lf %lf", &x, &y, &z);
            points.Append(std::make_unique<DT_Punkt>(x, y, z));
        }
    }

    std::size_t ReadProjectTexts(const Lines& body) {
        const std::size_t used = std::min<std::size_t>(body.size(), 5);
        for (std::size_t k = 0; k < used; ++k)
            project_.projectTexts[k] = CString(std::string(body[k]));
        return used;
    }

    std::size_t ReadSettings(const Lines& body) {
        TrackProject& p = project_;
        const std::size_t used = std::min<std::size_t>(body.size(), 7);
        const auto line = [&body, used](std::size_t k) {
            return k < used ? body[k] : std::string_view();
        };
        if (used > 0) {
            auto& d = p.divInts;
            rigel::Scan(line(0), "%d %d %d %d %d %d %d %d %d %d %d %d", &d[0], &d[1], &d[2], &d[3],
                        &d[4], &d[5], &d[6], &d[7], &d[8], &d[9], &d[10], &p.pointListWord);
        }
        if (used > 1) {
            auto& r = p.divReals;
            rigel::Scan(line(1), "%lf %lf %lf %lf %lf %lf", &r[0], &r[1], &r[2], &r[3], &r[4],
                        &r[5]);
        }
        if (used > 2)
            rigel::Scan(line(2), "%lf %lf", &p.divPair[0], &p.divPair[1]);
        if (used > 3) {
            double x = p.startPoint.x(), y = p.startPoint.y(), z = p.startPoint.z();
            rigel::Scan(line(3), "%lf %lf %lf %lf", &x, &y, &z, &p.startStation);
            p.startPoint.Init(x, y, z);
        }
        if (used > 4)
            rigel::Scan(line(4), "%lf %lf", &p.divPair2[0], &p.divPair2[1]);
        if (used > 5) {
            auto& r = p.divReals2;
            rigel::Scan(line(5), "%lf %lf %lf %lf %lf %lf %lf %lf", &r[0], &r[1], &r[2], &r[3],
                        &r[4], &r[5], &p.referenceGauge, &p.cantBase);
            if (p.referenceGauge < 0.1)
                p.referenceGauge = 1.435;
            if (p.cantBase < 0.1)
                p.cantBase = 1.5;
        }
        if (used > 6) {
            std::string side;
            rigel::Scan(line(6), "%s", &side);
            p.referenceSide = CString(side.empty() ? std::string("center") : side);
        }
        return used;
    }

    std::size_t ReadUserProfiles(const Lines& body) {
        const std::size_t used = std::min<std::size_t>(body.size(), 2);
        if (used > 0) {
            std::error_code error;
            const std::string path(body[0]);
            if (!path.empty() && std::filesystem::is_regular_file(path, error))
                project_.userProfilePath = CString(path);
        }
        if (used > 1)
            project_.userProfileText = CString(std::string(body[1]));
        return used;
    }

    std::size_t ReadOffsetView(const Lines& body) {
        auto& v = project_.offsetView;
        const std::size_t used = std::min<std::size_t>(body.size(), 2);
        if (used > 0)
            rigel::Scan(body[0], "%d %d %d %d %d", &v[0].a, &v[1].a, &v[2].a, &v[3].a, &v[4].a);
        if (used > 1) {
            rigel::Scan(body[1], "%d %d %d %d %d", &v[0].b, &v[1].b, &v[2].b, &v[3].b, &v[4].b);
            // Old files kept b in tenths. (Saturated: a wild value must not overflow.)
            for (auto& pair : v)
                if (pair.b <= 5)
                    pair.b = static_cast<int>(
                        std::max<long long>(INT_MIN, static_cast<long long>(pair.b) * 10));
        }
        return used;
    }

    TrackProject& project_;
    bool pointsWithDerivedValues_ = false;
};

} // namespace

int CvSPW_File::Write(TrackProject* project, int, int toFile) {
    if (project == nullptr)
        return 0;
    if (toFile == 0) {
        project->SlettAlleIListen(1);
        LineOut out(project);
        WriteProject(*project, out);
        return 1;
    }
    LineOut out(nullptr);
    WriteProject(*project, out);
    if (!LukkOpp("wt") || !LeggTilLinje(out.Whole()) || !LukkIgjen()) {
        rigel::Trace("[CvSPW_File] cannot write \"%s\": %s\n", Navn().str(), ErrorText());
        ErrorKode(kCannotWriteOrNoLines);
        return kCannotWriteOrNoLines;
    }
    return 1;
}

int CvSPW_File::Read(TrackProject* project, int, int, int fromFile) {
    if (project == nullptr)
        return 0;
    StrengListe ownLines(1);
    const StrengListe* source = project;
    if (fromFile != 0) {
        if (!LukkOpp("rt")) {
            rigel::Trace("[CvSPW_File] cannot read \"%s\": %s\n", Navn().str(), ErrorText());
            ErrorKode(kCannotOpenForReading);
            return kCannotOpenForReading;
        }
        InitListe(ownLines);
        source = &ownLines;
    }
    if (source->Antall() == 0) {
        ErrorKode(kCannotWriteOrNoLines);
        return kCannotWriteOrNoLines;
    }
    Lines lines;
    lines.reserve(static_cast<std::size_t>(source->Antall()));
    for (int i = 0; i < source->Antall(); ++i)
        lines.emplace_back(source->Tekst(i)->str());
    // Reading fills the project's members, never its own text list, so the views stay valid.
    ProjectReader(*project).Read(lines);
    return 1;
}
