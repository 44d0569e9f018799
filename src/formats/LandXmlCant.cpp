// The cant of an imported alignment: the Cant element's stations give each element of the
// alignment its start cant and the element before it its end cant.
#include "elements/TierTabElementSporop.h"
#include "formats/LandXmlImEx.h"
#include "platform/base/TextScan.h"
#include "platform/base/Trace.h"
#include "platform/polyline/CvPolyLine.h"

#include <cmath>
#include <cstring>
#include <pugixml.hpp>
#include <vector>

namespace {

struct CantStation {
    double station = 0.0;
    double cant = 0.0; // mm, signed: negative to the left
    double speed = 0.0;
};

double NumberAttribute(const pugi::xml_node& node, const char* name) {
    return rigel::Atof(node.attribute(name).value());
}

bool IsTrue(const char* text) {
    return std::strcmp(text, "true") == 0 || std::strcmp(text, "1") == 0;
}

// appliedCant is read as millimetres from 1.0 up and as metres below.
double CantOf(const pugi::xml_node& station) {
    const double applied = NumberAttribute(station, "appliedCant");
    double cant = applied >= 1.0 ? std::round(applied) : std::floor(applied * 1000.0 + 0.5);
    const bool leftHand = std::strcmp(station.attribute("curvature").value(), "ccw") == 0;
    if (leftHand)
        cant = -cant;
    if (IsTrue(station.attribute("adverse").value()))
        cant = leftHand ? -cant : (cant > 0.0 ? -cant : cant);
    return cant;
}

// The station the cant of an element starting at s comes from: the first one not before s,
// unless it lies 0.05 m or more beyond s, when the one before it counts; past the end the last.
const CantStation& StationFor(const std::vector<CantStation>& stations, double s) {
    std::size_t low = 0, high = stations.size();
    while (low < high) {
        const std::size_t middle = low + (high - low) / 2;
        if (stations[middle].station < s)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == stations.size())
        return stations.back();
    if (low > 0 && stations[low].station - s >= 0.05)
        return stations[low - 1];
    return stations[low];
}

} // namespace

void LandXmlImEx::ImportCant(const pugi::xml_node& alignment, const std::string&) {
    const pugi::xml_node cant = alignment.child("Cant");
    // Recorded by the file for its receiver; the cants below are taken as they stand.
    [[maybe_unused]] const double gauge = NumberAttribute(cant, "gauge");
    [[maybe_unused]] const double appliedCantConstant =
        NumberAttribute(cant, "appliedCantConstant");
    [[maybe_unused]] const std::string rotationPoint = cant.attribute("rotationPoint").value();

    std::vector<CantStation> stations;
    for (const pugi::xml_node& child : cant.children()) {
        if (std::strcmp(child.name(), "CantStation") == 0)
            stations.push_back({NumberAttribute(child, "station"), CantOf(child),
                                NumberAttribute(child, "speed")});
        else if (std::strcmp(child.name(), "SpeedStation") == 0)
            stations.push_back(
                {NumberAttribute(child, "station"), 0.0, NumberAttribute(child, "speed")});
    }
    if (stations.empty()) {
        rigel::Trace("\n[ImportCant] No cant stations found.");
        return;
    }
    rigel::Trace("\n[ImportCant] CantStations:");
    for (const CantStation& station : stations)
        rigel::Trace("[ImportCant] Current interval: STA=%10.3f OH=%4.0f S=%8.3f\n",
                     station.station, station.cant, station.speed);
    if (AlignmentTarget == nullptr)
        return;

    TierTabElementSporop* previous = nullptr;
    for (int i = 0; i < AlignmentTarget->GetCount(); ++i) {
        auto* element = dynamic_cast<TierTabElementSporop*>(AlignmentTarget->Element(i));
        if (element == nullptr) {
            previous = nullptr;
            continue;
        }
        const double cantHere = std::fabs(StationFor(stations, element->StartSTA()->Get()).cant);
        element->H1.Init(cantHere);
        element->h1.Init(cantHere);
        if (previous != nullptr) {
            previous->H2.Init(cantHere);
            previous->h2.Init(cantHere);
        }
        previous = element;
    }
    rigel::Trace("\n[ImportCant] pHorizontal:");
    for (int i = 0; i < AlignmentTarget->GetCount(); ++i) {
        const auto* element =
            dynamic_cast<const TierTabElementSporop*>(AlignmentTarget->Element(i));
        if (element != nullptr)
            rigel::Trace("\n[ImportCant] Current element: STA=%10.3f H1=%6.1f H2=%6.1f h1=%6.1f "
                         "h2=%6.1f",
                         element->StartSTA()->Get(), element->H1.Get(), element->H2.Get(),
                         element->h1.Get(), element->h2.Get());
    }
}
