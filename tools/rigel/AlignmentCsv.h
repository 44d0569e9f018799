#pragma once
// CSV views of an alignment, the work behind `rigel geometry`: positions sampled at stations
// along it, and points projected onto it. Numbers are written in their shortest form that reads
// back to the same double (rigel::ShortestDouble).
//
// Axes: x is the northing, y the easting. Azimuths are radians from north, clockwise, in
// [0, 2 pi). Curvature is 1/radius, positive where the track curves to the right. Offsets are
// positive to the right of the direction of travel.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CvPolyLine;

namespace rigel {

// Receives one CSV row at a time, without its line end.
using CsvRowSink = std::function<void(std::string_view row)>;

// Stations from `from` to `to` (inclusive) every `step` metres.
struct StationRange {
    double from = 0.0;
    double step = 0.0;
    double to = 0.0;
};

// At most this many stations per range, so that a tiny step cannot run for ever.
inline constexpr long long kMaxStations = 100'000'000;

// Parses "FROM:STEP:TO". FROM <= TO, STEP > 0, all finite. false (with the reason in *reason)
// otherwise.
bool ParseStationRange(std::string_view text, StationRange& range, std::string* reason = nullptr);

// The stations of the range: from + i * step for i = 0, 1, ... while not past `to` (a last
// station within 1e-9 m of `to` is taken as `to` itself).
std::vector<double> StationsOf(const StationRange& range);

// Writes the header "station,x,y,azimuth,curvature" and one row per station. A station off the
// alignment (before its start, after its end, in a gap) gives the station and empty fields.
// Returns the number of such stations.
int WriteStationRows(CvPolyLine& alignment, const StationRange& range, const CsvRowSink& sink);

struct PlanPoint {
    double x = 0.0; // northing
    double y = 0.0; // easting
};

// Reads "x,y" rows (blanks around the numbers allowed, "\r\n" line ends accepted, empty lines
// skipped; a first row of names without a digit is a header and skipped). false with
// "<source>:<line>: <what>" in *reason for the first row that is not two numbers.
bool ReadPointsCsv(std::string_view text, std::string_view sourceName,
                   std::vector<PlanPoint>& points, std::string* reason = nullptr);

// Writes the header "station,offset,element" and one row per point: the station, the signed
// offset and the element number of its projection onto the alignment, or three empty fields
// where the projection fails (the foot would lie beyond an end). Returns the number of failures.
int WriteProjectionRows(CvPolyLine& alignment, const std::vector<PlanPoint>& points,
                        const CsvRowSink& sink);

} // namespace rigel
