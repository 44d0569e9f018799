#pragma once
// The railway value text that LandXML carries for each horizontal element: cant, speed, cant
// deficiency, the two cant station offsets and a signed cant, as numbers separated by single
// blanks in that order ("12.000 80.0 0.0 0.000000 0.000000 0.0"). A text may also come as a full
// key, "@DTMLineconData@LINECON_RAILWAY_DATA@NADB_RAILWAY_DATA=" followed by the numbers.
//
// Splitting a text into named items (SplitRailwayValues):
// - Blanks separate tokens. Runs of blanks count as one separator: an empty token takes no
//   position. A line end at the end of the text (CR, LF) is removed first.
// - The k-th token takes the key of position k of the table below; tokens from the sixth on all
//   take "CWS", so "CWS" holds the last of them. A text of fewer than six numbers gives the first
//   keys of the table in order (two numbers give "H" and "V").
// - A token of one character (a bare "0", "5") is rejected: it gives no item but keeps its
//   position, so that the numbers after it keep their keys.
// - An item whose key is already in the list only has its value replaced.
// The type codes, precision and limits of an item are carried for the receiving side; nothing
// here gives them a meaning.

#include "elements/TierTabElementSporop.h"

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace pugi {
class xml_node;
}

namespace rigel {

struct RailwayDataItem {
    std::string Key;  // "H", "V", "I", "HOS", "HOE" or "CWS"
    std::string Name; // "Cant", "Speed", ...
    std::string Value;
    int Signed = 0;
    int TypeCode = 0;
    int Precision = 2;
    long long MaxValue = 2147483647LL;
    long long MinValue = -2147483648LL;
    bool Flag = false;
};

using RailwayDataItems = std::vector<RailwayDataItem>;

// The fixed order of the items in a railway value text.
struct RailwayDataKey {
    const char* key;
    const char* name;
    int isSigned;
    int typeCode;
};
inline constexpr RailwayDataKey kRailwayDataKeys[6] = {
    {"H", "Cant", 0, 0},
    {"V", "Speed", 0, 4},
    {"I", "Cant deficiency", 0, 0},
    {"HOS", "Cant offset start", 0, 2},
    {"HOE", "Cant offset end", 0, 2},
    {"CWS", "Cant with sign", 1, 5},
};

inline constexpr std::string_view kRailwayDataPrefix =
    "@DTMLineconData@LINECON_RAILWAY_DATA@NADB_RAILWAY_DATA=";

// The text written for an element: its h1, v, 0, OrigStartSTA - StartSTA, OrigEndSTA - EndSTA
// and 0, as "%.3f %.1f 0.0 %.6f %.6f 0.0".
std::string RailwayValueText(const TierTabElementSporop& element);

// Appends the items of a text without the prefix to items (see above).
void SplitRailwayValues(std::string_view text, RailwayDataItems& items);

// The item with this key, or null.
const RailwayDataItem* FindRailwayItem(const RailwayDataItems& items, std::string_view key);
// The item's value as a number (atof), or fallback when the item is missing.
double RailwayItemNumber(const RailwayDataItems& items, std::string_view key,
                         double fallback = 0.0);

// The owner of parsed texts: each parsed text gets a running number and its own item list.
class RailwayData {
public:
    // Removes the full prefix from a text that begins with "@DTMLineconData", splits the rest and
    // appends (running number, items) to Parsed. Returns the new entry's items.
    const RailwayDataItems& ParseRailwayData(std::string_view text);

    int Counter = 0;
    std::vector<std::pair<int, RailwayDataItems>> Parsed;
};

} // namespace rigel

namespace DTMRailway::API {

// An integer key and a text value, read from an XML element's attributes "Key" and "Value".
struct KeyValuePair {
    int Key = 0;
    std::string Value; // Windows-1252

    // Key from "Key" (atoi) when the attribute is present, else unchanged; Value from "Value"
    // ("" when absent).
    void Read(const pugi::xml_node& element);
};

} // namespace DTMRailway::API
