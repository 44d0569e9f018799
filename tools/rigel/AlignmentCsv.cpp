#include "AlignmentCsv.h"

#include "platform/base/B_Vinkel.h"
#include "platform/base/DT_Double.h"
#include "platform/base/DT_Punkt.h"
#include "platform/base/ShortestDouble.h"
#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"
#include "platform/polyline/CvPolyLine.h"

#include <cmath>
#include <numbers>

namespace rigel {

namespace {

std::string_view Trim(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// A whole field as one number, nothing else in it.
bool ParseField(std::string_view field, double& value) {
    field = Trim(field);
    return !field.empty() && ParseDouble(field, value) == field.size() && std::isfinite(value);
}

} // namespace

bool ParseStationRange(std::string_view text, StationRange& range, std::string* reason) {
    const std::size_t first = text.find(':');
    const std::size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
    StationRange r;
    if (second == std::string_view::npos || text.find(':', second + 1) != std::string_view::npos ||
        !ParseField(text.substr(0, first), r.from) ||
        !ParseField(text.substr(first + 1, second - first - 1), r.step) ||
        !ParseField(text.substr(second + 1), r.to)) {
        if (reason)
            *reason =
                Format("stations \"%s\": expected FROM:STEP:TO, three numbers", std::string(text));
        return false;
    }
    if (!(r.step > 0.0)) {
        if (reason)
            *reason = Format("stations \"%s\": STEP must be greater than 0", std::string(text));
        return false;
    }
    if (r.to < r.from) {
        if (reason)
            *reason = Format("stations \"%s\": TO is before FROM", std::string(text));
        return false;
    }
    if ((r.to - r.from) / r.step >= static_cast<double>(kMaxStations)) {
        if (reason)
            *reason =
                Format("stations \"%s\": more than %lld stations", std::string(text), kMaxStations);
        return false;
    }
    range = r;
    return true;
}

std::vector<double> StationsOf(const StationRange& range) {
    std::vector<double> stations;
    if (!(range.step > 0.0) || range.to < range.from)
        return stations;
    // Each station from the start rather than by adding steps, so that rounding does not pile up.
    const double span = (range.to - range.from) / range.step;
    const auto last = static_cast<long long>(std::floor(span + 1e-9));
    stations.reserve(static_cast<std::size_t>(last + 1));
    for (long long i = 0; i <= last; ++i) {
        double s = range.from + static_cast<double>(i) * range.step;
        if (s > range.to || std::fabs(s - range.to) <= 1e-9)
            s = range.to;
        stations.push_back(s);
    }
    return stations;
}

int WriteStationRows(CvPolyLine& alignment, const StationRange& range, const CsvRowSink& sink) {
    sink("station,x,y,azimuth,curvature");
    int off = 0;
    std::string row;
    for (const double station : StationsOf(range)) {
        DT_Punkt point;
        DT_Double direction, curvature;
        row = ShortestDouble(station);
        if (alignment.PosAtStation(station, &point, &direction, nullptr, &curvature)) {
            // The chain reports the mathematical angle of travel (counter-clockwise from east).
            B_Vinkel azimuth;
            azimuth.InitMellom0og2PI(std::numbers::pi / 2 - direction.Get());
            row += ',';
            row += ShortestDouble(point.x());
            row += ',';
            row += ShortestDouble(point.y());
            row += ',';
            row += ShortestDouble(azimuth.Get());
            row += ',';
            // A straight reads "0", never "-0".
            row += ShortestDouble(curvature.Get() == 0.0 ? 0.0 : curvature.Get());
        } else {
            row += ",,,,";
            ++off;
        }
        sink(row);
    }
    return off;
}

bool ReadPointsCsv(std::string_view text, std::string_view sourceName,
                   std::vector<PlanPoint>& points, std::string* reason) {
    std::vector<PlanPoint> read;
    long long lineNumber = 0;
    long long firstLine = 0;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (Trim(line).empty())
            continue;
        if (firstLine == 0)
            firstLine = lineNumber;
        const std::size_t comma = line.find(',');
        PlanPoint p;
        const bool xRead = ParseField(line.substr(0, comma), p.x);
        const bool yRead =
            comma != std::string_view::npos && ParseField(line.substr(comma + 1), p.y);
        // A header row (as our own CSV has): a first line of names, without a digit.
        if (lineNumber == firstLine && line.find_first_of("0123456789") == std::string_view::npos &&
            !xRead && !yRead) {
            continue;
        }
        if (!xRead || !yRead) {
            if (reason)
                *reason = Format("%s:%lld: expected x,y (two numbers separated by a comma)",
                                 std::string(sourceName), lineNumber);
            return false;
        }
        read.push_back(p);
    }
    points.insert(points.end(), read.begin(), read.end());
    return true;
}

int WriteProjectionRows(CvPolyLine& alignment, const std::vector<PlanPoint>& points,
                        const CsvRowSink& sink) {
    sink("station,offset,element");
    int failed = 0;
    std::string row;
    for (const PlanPoint& p : points) {
        DT_Double station, offset;
        CvPolyElement* element = nullptr;
        if (alignment.StationAtPos(DT_Punkt(p.x, p.y), &station, &offset, &element) &&
            element != nullptr) {
            row = ShortestDouble(station.Get());
            row += ',';
            row += ShortestDouble(offset.Get());
            row += ',';
            row += Format("%d", element->ElementNumber()->Get());
        } else {
            row = ",,";
            ++failed;
        }
        sink(row);
    }
    return failed;
}

} // namespace rigel
