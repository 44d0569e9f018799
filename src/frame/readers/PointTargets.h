#pragma once
// What the point-file readers share: the code lists that route a point to its line, the lists
// that receive the points, and the counts a read returns.

#include "platform/base/DT_IntListe.h"
#include "points/CvSporopPointList.h"

#include <string_view>
#include <unordered_map>

namespace rigel {

struct LineCodes {
    const DT_IntListe& centre;
    const DT_IntListe& left;
    const DT_IntListe& right;
};

struct LinePoints {
    CvSporopPointList& centre;
    CvSporopPointList& left;
    CvSporopPointList& right;
};

struct ReadCounts {
    long lines = 0;   // lines read
    long records = 0; // lines that are point records by the format's rule
    long placed = 0;  // points appended (a record placed on two lines counts twice)
    long skipped = 0; // records skipped or placed on no line
};

// A point as a record gives it.
struct RecordPoint {
    double x, y, z;
    std::string_view code;
    std::string_view description;
};

// The lines each code goes to, looked up once per record in a hash table built from the three
// code lists (a linear search of the lists per record would make a read with many assigned codes
// quadratic).
class CodeRoutes {
public:
    enum Line : unsigned char { kLeft = 1, kRight = 2, kCentre = 4 };
    explicit CodeRoutes(const LineCodes& codes);
    unsigned Lines(int code) const {
        const auto found = lines_.find(code);
        return found == lines_.end() ? 0u : found->second;
    }

private:
    std::unordered_map<int, unsigned char> lines_;
};

// Appends a new point to the left rail when left holds code, to the right rail when right holds
// it, and to the centre when centre holds it (or, with zeroIsCentre, when code is 0): each test on
// its own. Returns the number of lists the point went to.
int PlaceByCode(const RecordPoint& point, int code, const CodeRoutes& routes,
                const LinePoints& points, bool zeroIsCentre);

} // namespace rigel
