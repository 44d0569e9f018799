// The LandXML survey-point import against expat alone on the same file. The file (written into a
// scratch folder and removed afterwards) has Units, a large TIN Surface (Pnts and Faces) that the
// import has to pass over, n CgPoints and a 50 km alignment of lines, curves and spirals. Two
// figures: expat streaming the file with handlers that do nothing but count elements, and
// LandXmlImEx::ImportPoints into a CvSporopPointList, run in a forked child so that its peak
// memory is its own. Targets: the import within 1.5 times expat's time, and a peak below half the
// file size. The peak is judged as the child's whole peak resident memory (import_peak_mb), which
// includes the few MiB it shares with the parent at the fork; import_growth_mb is the peak less
// what the child held when the import began.

#include "BenchRegistry.h"

#include "formats/LandXmlImEx.h"
#include "platform/base/TextFormat.h"
#include "points/CvSporopPointList.h"
#include "synthetic/SurveyCheck.h"
#include "synthetic/SyntheticAlignment.h"

#include <expat.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>

namespace {

using rigel::AppendFixed;
using rigel::AppendInteger;
using rigel::bench::Report;
using rigel::bench::Time;

// The Surface: a grid of kGridColumns x kGridRows points, two faces per grid cell.
constexpr long long kGridColumns = 1000;
constexpr long long kGridRows = 1300;
constexpr const char* kCodes[3] = {"7101", "7111", "7112"};

// A folder under the system's temporary folder, removed with its contents.
class ScratchFolder {
public:
    ScratchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "rigel-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    std::string Path(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// CgPoint i: coordinates in tenths of millimetres, so that the text written is exact and reads
// back as the double nearest to it, which is also what the division below gives.
struct PointValues {
    double northing, easting, height;
};
PointValues CgPointValues(long long i) {
    const long long n = 66'500'000'000LL + i * 2503 + (i * 7919) % 1000;
    const long long e = 5'600'000'000LL + i * 1201 + (i * 104'729) % 1000;
    const long long h = 1'000'000 + (i * 31) % 50'000;
    return {static_cast<double>(n) / 1e4, static_cast<double>(e) / 1e4,
            static_cast<double>(h) / 1e4};
}
std::string CgPointName(long long i) {
    std::string name = "P";
    const std::string digits = std::to_string(i);
    name.append(digits.size() < 7 ? 7 - digits.size() : 0, '0');
    return name + digits;
}

// Writes the document piece by piece, counting the elements it opens.
class XmlOut {
public:
    explicit XmlOut(const std::string& path) : out_(path, std::ios::binary) {
        if (!out_)
            throw std::runtime_error("cannot write " + path);
        text_.reserve(kFlush + 4096);
    }
    std::string& Text() { return text_; }
    void Opened(long long count = 1) { elements_ += count; }
    void Point(double a, double b, double c, int decimals) {
        AppendFixed(text_, a, decimals);
        text_ += ' ';
        AppendFixed(text_, b, decimals);
        text_ += ' ';
        AppendFixed(text_, c, decimals);
    }
    void MaybeFlush() {
        if (text_.size() >= kFlush)
            Flush();
    }
    void Flush() {
        out_.write(text_.data(), static_cast<std::streamsize>(text_.size()));
        text_.clear();
    }
    long long Close() {
        Flush();
        out_.close();
        if (!out_)
            throw std::runtime_error("writing the LandXML file failed");
        return elements_;
    }

private:
    static constexpr std::size_t kFlush = 1 << 20;
    std::ofstream out_;
    std::string text_;
    long long elements_ = 0;
};

void WriteSurface(XmlOut& out) {
    std::string& t = out.Text();
    t += "\t<Surfaces>\n\t\t<Surface name=\"Terrain\">\n\t\t\t<Definition surfType=\"TIN\">\n"
         "\t\t\t\t<Pnts>\n";
    out.Opened(4);
    for (long long r = 0; r < kGridRows; ++r) {
        for (long long c = 0; c < kGridColumns; ++c) {
            t += "<P id=\"";
            AppendInteger(t, r * kGridColumns + c + 1);
            t += "\">";
            out.Point(6'649'000.0 + 5.0 * static_cast<double>(r),
                      559'000.0 + 5.0 * static_cast<double>(c),
                      100.0 + 0.001 * static_cast<double>((r * 37 + c * 11) % 9000), 3);
            t += "</P>\n";
            out.MaybeFlush();
        }
    }
    out.Opened(kGridRows * kGridColumns);
    t += "\t\t\t\t</Pnts>\n\t\t\t\t<Faces>\n";
    out.Opened();
    for (long long r = 0; r + 1 < kGridRows; ++r) {
        for (long long c = 0; c + 1 < kGridColumns; ++c) {
            const long long a = r * kGridColumns + c + 1, b = a + 1, d = a + kGridColumns,
                            e = d + 1;
            const std::array<long long, 3> faces[2] = {{a, b, e}, {a, e, d}};
            for (const auto& f : faces) {
                t += "<F>";
                AppendInteger(t, f[0]);
                t += ' ';
                AppendInteger(t, f[1]);
                t += ' ';
                AppendInteger(t, f[2]);
                t += "</F>\n";
            }
            out.MaybeFlush();
        }
    }
    out.Opened(2 * (kGridRows - 1) * (kGridColumns - 1));
    t += "\t\t\t\t</Faces>\n\t\t\t</Definition>\n\t\t</Surface>\n\t</Surfaces>\n";
}

void WriteCgPoints(XmlOut& out, long long n) {
    std::string& t = out.Text();
    t += "\t<CgPoints>\n";
    out.Opened();
    for (long long i = 0; i < n; ++i) {
        const PointValues p = CgPointValues(i);
        t += "\t\t<CgPoint code=\"";
        t += kCodes[i % 3];
        t += "\" name=\"";
        t += CgPointName(i);
        t += "\">";
        out.Point(p.northing, p.easting, p.height, 4);
        t += "</CgPoint>\n";
        out.MaybeFlush();
    }
    out.Opened(n);
    t += "\t</CgPoints>\n";
}

// A point element with the plan coordinates "northing easting".
void PointElement(XmlOut& out, const char* tag, double northing, double easting) {
    std::string& t = out.Text();
    t += rigel::Format("<%s>", tag);
    AppendFixed(t, northing, 6);
    t += ' ';
    AppendFixed(t, easting, 6);
    t += rigel::Format("</%s>", tag);
    out.Opened();
}

std::string Radius(double r) {
    return r == 0.0 ? std::string("INF") : rigel::Format("%.6f", std::fabs(r));
}

// The alignment as CoordGeom. A spiral's PI is where the tangents at its ends meet.
void WriteAlignment(XmlOut& out) {
    const auto alignment = rigel::bench::MakeSyntheticAlignment(600, 50'000.0);
    double start = 0.0, end = 0.0;
    alignment->StationRange(&start, &end);
    std::string& t = out.Text();
    t += rigel::Format("\t<Alignments>\n\t\t<Alignment name=\"Track 1\" length=\"%.6f\" "
                       "staStart=\"%.6f\">\n\t\t\t<CoordGeom>\n",
                       end - start, start);
    out.Opened(3);
    for (int k = 0; k < alignment->GetCount(); ++k) {
        const CvPolyElement& e = *alignment->Element(k);
        const DT_Punkt &s = *e.StartPoint(), &f = *e.EndPoint();
        const double r1 = e.StartRadius()->Get(), r2 = e.EndRadius()->Get();
        const double length = std::fabs(e.Length()->Get()), sta = e.StartSTA()->Get();
        const char* rot = (r1 != 0.0 ? r1 : r2) > 0 ? "cw" : "ccw";
        t += "\t\t\t\t";
        switch (e.ElementType()) {
        case CvPolyElement::kLine:
            t += rigel::Format("<Line staStart=\"%.6f\" length=\"%.6f\">", sta, length);
            PointElement(out, "Start", s.x(), s.y());
            PointElement(out, "End", f.x(), f.y());
            t += "</Line>\n";
            break;
        case CvPolyElement::kArc: {
            DT_Punkt centre;
            e.ArcCenter(&centre);
            t += rigel::Format("<Curve rot=\"%s\" radius=\"%s\" length=\"%.6f\" staStart=\"%.6f\">",
                               rot, Radius(r1), length, sta);
            PointElement(out, "Start", s.x(), s.y());
            PointElement(out, "Center", centre.x(), centre.y());
            PointElement(out, "End", f.x(), f.y());
            t += "</Curve>\n";
            break;
        }
        default: {
            // Directions are angles in the (easting, northing) plane.
            DT_Punkt unused;
            DT_Double a1, a2;
            e.PosAtStation(e.StartSTA()->Get(), &unused, &a1);
            e.PosAtStation(e.EndSTA()->Get(), &unused, &a2);
            const double de1 = std::cos(a1.Get()), dn1 = std::sin(a1.Get());
            const double de2 = std::cos(a2.Get()), dn2 = std::sin(a2.Get());
            const double det = de1 * dn2 - dn1 * de2;
            const double u = std::fabs(det) < 1e-12
                                 ? length / 2
                                 : ((f.y() - s.y()) * dn2 - (f.x() - s.x()) * de2) / det;
            t += rigel::Format("<Spiral length=\"%.6f\" radiusStart=\"%s\" radiusEnd=\"%s\" "
                               "rot=\"%s\" spiType=\"clothoid\" staStart=\"%.6f\">",
                               length, Radius(r1), Radius(r2), rot, sta);
            PointElement(out, "Start", s.x(), s.y());
            PointElement(out, "PI", s.x() + u * dn1, s.y() + u * de1);
            PointElement(out, "End", f.x(), f.y());
            t += "</Spiral>\n";
        }
        }
        out.Opened();
    }
    t += "\t\t\t</CoordGeom>\n\t\t</Alignment>\n\t</Alignments>\n";
}

// The whole file; returns the number of elements in it.
long long WriteLandXml(const std::string& path, long long n) {
    XmlOut out(path);
    out.Text() += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                  "<LandXML xmlns=\"http://www.landxml.org/schema/LandXML-1.2\" version=\"1.2\" "
                  "date=\"2026-12-06\" time=\"12:00:00\">\n"
                  "\t<Units>\n\t\t<Metric linearUnit=\"meter\" areaUnit=\"squareMeter\" "
                  "volumeUnit=\"cubicMeter\" angularUnit=\"radians\" directionUnit=\"radians\"/>\n"
                  "\t</Units>\n";
    out.Opened(3);
    WriteSurface(out);
    WriteCgPoints(out, n);
    WriteAlignment(out);
    out.Text() += "</LandXML>\n";
    return out.Close();
}

// expat over the file in chunks, counting elements; -1 when the parse fails.
long long ExpatElements(const std::string& path) {
    XML_Parser parser = XML_ParserCreate(nullptr);
    long long elements = 0;
    XML_SetUserData(parser, &elements);
    XML_SetElementHandler(
        parser,
        [](void* data, const XML_Char*, const XML_Char**) { ++*static_cast<long long*>(data); },
        [](void*, const XML_Char*) {});
    XML_SetCharacterDataHandler(parser, [](void*, const XML_Char*, int) {});
    const int fd = ::open(path.c_str(), O_RDONLY);
    std::string chunk(1 << 18, '\0');
    bool ok = fd >= 0;
    while (ok) {
        const ssize_t got = ::read(fd, chunk.data(), chunk.size());
        ok = got >= 0 &&
             XML_Parse(parser, chunk.data(), static_cast<int>(got), got == 0) == XML_STATUS_OK;
        if (got == 0)
            break;
    }
    if (fd >= 0)
        ::close(fd);
    XML_ParserFree(parser);
    return ok ? elements : -1;
}

// Every point once, in key order (code, then name), with the coordinates written.
std::string CheckPoints(const CvSporopPointList& points, long long n) {
    if (points.Antall() != n)
        return rigel::Format("%d points imported, %lld written", points.Antall(), n);
    int k = 0;
    for (long long group = 0; group < 3; ++group) {
        for (long long i = group; i < n; i += 3, ++k) {
            const CvSporopPoint& p = *points.Punkt(k);
            const PointValues v = CgPointValues(i);
            if (p.code != kCodes[group] || p.description != CgPointName(i))
                return rigel::Format("point %d is %s/%s, expected %s/%s", k, p.code, p.description,
                                     kCodes[group], CgPointName(i));
            if (p.x() != v.northing || p.y() != v.easting || p.z() != v.height)
                return rigel::Format("point %s at (%.4f, %.4f, %.4f), written (%.4f, %.4f, %.4f)",
                                     p.description, p.x(), p.y(), p.z(), v.northing, v.easting,
                                     v.height);
        }
    }
    return {};
}

// A memory figure of this process from /proc/self/status, in MiB: "VmHWM:" the peak resident
// memory, "VmRSS:" the resident memory now.
double StatusMb(const std::string& field) {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(field, 0) == 0)
            return std::stod(line.substr(field.size())) / 1024.0;
    return -1;
}

struct ImportRun {
    double seconds = 0;
    double peakMb = 0;
    double startMb = 0; // resident before the import: what the child took over from the parent
    char problem[400] = {};
};

// ImportPoints in a child process: its time, its peak memory, and what is wrong with its points.
ImportRun RunImport(const std::string& path, long long n) {
    ImportRun run;
    int fds[2];
    if (::pipe(fds) != 0) {
        std::snprintf(run.problem, sizeof run.problem, "pipe failed");
        return run;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(fds[0]);
        ImportRun mine;
        {
            CvSporopPointList points(1);
            int result = 0;
            mine.startMb = StatusMb("VmRSS:");
            mine.seconds =
                Time([&] { result = LandXmlImEx().ImportPoints(path.c_str(), &points); });
            mine.peakMb = StatusMb("VmHWM:");
            const std::string problem =
                result != 1 ? std::string("ImportPoints returned ") + std::to_string(result)
                            : CheckPoints(points, n);
            std::snprintf(mine.problem, sizeof mine.problem, "%s", problem.c_str());
        }
        const bool sent = ::write(fds[1], &mine, sizeof mine) == static_cast<ssize_t>(sizeof mine);
        ::_exit(sent ? 0 : 1);
    }
    ::close(fds[1]);
    const bool received =
        child > 0 && ::read(fds[0], &run, sizeof run) == static_cast<ssize_t>(sizeof run);
    ::close(fds[0]);
    int status = 0;
    if (child > 0)
        ::waitpid(child, &status, 0);
    if (!received)
        std::snprintf(run.problem, sizeof run.problem, "the import's child process %s",
                      child < 0 ? "could not start" : "ended without a result (crashed?)");
    return run;
}

const rigel::bench::Register landXmlImportPoints{
    "landxml_import_points",
    "LandXML ImportPoints of n CgPoints in a ~170 MB file with a large Surface, against expat "
    "alone",
    500'000, [](long long n) {
        ScratchFolder folder;
        const std::string path = folder.Path("survey.xml");
        const long long elements = WriteLandXml(path, n);
        const double fileMb = static_cast<double>(std::filesystem::file_size(path)) / 1048576.0;
        const double parentMb = rigel::bench::PeakRssMb();

        // Best of two for each, alternating, so that both see the file in the page cache.
        double expatSeconds = 1e300, importSeconds = 1e300, importPeakMb = 0, importGrowthMb = 0;
        std::string problem;
        for (int round = 0; round < 2 && problem.empty(); ++round) {
            long long parsed = 0;
            expatSeconds = std::min(expatSeconds, Time([&] { parsed = ExpatElements(path); }));
            if (parsed != elements) {
                problem = rigel::Format("expat saw %lld elements of %lld", parsed, elements);
                break;
            }
            const ImportRun run = RunImport(path, n);
            problem = run.problem;
            importSeconds = std::min(importSeconds, run.seconds);
            importPeakMb = std::max(importPeakMb, run.peakMb);
            importGrowthMb = std::max(importGrowthMb, run.peakMb - run.startMb);
        }
        if (!rigel::bench::Sane("landxml_import_points", problem))
            return;
        const double ratio = importSeconds / expatSeconds;
        Report("landxml_import_points", n, importSeconds,
               {{"expat_seconds", expatSeconds},
                {"ratio", ratio},
                {"file_mb", fileMb},
                {"elements", static_cast<double>(elements)},
                {"import_peak_mb", importPeakMb},
                {"import_growth_mb", importGrowthMb},
                {"peak_per_file", importPeakMb / fileMb},
                {"rss_before_fork_mb", parentMb},
                {"meets_targets", ratio <= 1.5 && importPeakMb < fileMb / 2 ? 1.0 : 0.0}},
               importPeakMb);
        if (ratio > 1.5)
            std::fprintf(stderr,
                         "landxml_import_points: the import takes %.2f times expat's time "
                         "(target 1.5)\n",
                         ratio);
        if (importPeakMb >= fileMb / 2)
            std::fprintf(stderr,
                         "landxml_import_points: peak %.1f MiB, %.0f%% of the %.1f MiB "
                         "file (target below 50%%)\n",
                         importPeakMb, 100 * importPeakMb / fileMb, fileMb);
    }};

} // namespace
