#include "formats/RailwayValues.h"

#include "platform/base/CodePage.h"
#include "platform/base/TextFormat.h"
#include "platform/base/TextScan.h"

#include <algorithm>
#include <pugixml.hpp>

namespace rigel {

std::string RailwayValueText(const TierTabElementSporop& element) {
    return Format("%.3f %.1f 0.0 %.6f %.6f 0.0", element.h1.Get(),
                  static_cast<double>(element.v.Get()),
                  element.OrigStartSTA()->Get() - element.StartSTA()->Get(),
                  element.OrigEndSTA()->Get() - element.EndSTA()->Get());
}

namespace {

void Store(RailwayDataItems& items, const RailwayDataKey& key, std::string_view value) {
    for (RailwayDataItem& item : items) {
        if (item.Key == key.key) {
            item.Value = value;
            return;
        }
    }
    RailwayDataItem item;
    item.Key = key.key;
    item.Name = key.name;
    item.Value = value;
    item.Signed = key.isSigned;
    item.TypeCode = key.typeCode;
    items.push_back(std::move(item));
}

} // namespace

void SplitRailwayValues(std::string_view text, RailwayDataItems& items) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.remove_suffix(1);
    constexpr std::size_t kLast = std::size(kRailwayDataKeys) - 1;
    std::size_t position = 0;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find(' ', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view token = text.substr(start, end - start);
        if (!token.empty()) {
            if (token.size() >= 2)
                Store(items, kRailwayDataKeys[std::min(position, kLast)], token);
            ++position;
        }
        start = end + 1;
    }
}

const RailwayDataItem* FindRailwayItem(const RailwayDataItems& items, std::string_view key) {
    for (const RailwayDataItem& item : items)
        if (item.Key == key)
            return &item;
    return nullptr;
}

double RailwayItemNumber(const RailwayDataItems& items, std::string_view key, double fallback) {
    const RailwayDataItem* item = FindRailwayItem(items, key);
    return item != nullptr ? Atof(item->Value) : fallback;
}

const RailwayDataItems& RailwayData::ParseRailwayData(std::string_view text) {
    if (text.starts_with("@DTMLineconData"))
        text.remove_prefix(std::min(text.size(), kRailwayDataPrefix.size()));
    RailwayDataItems items;
    SplitRailwayValues(text, items);
    Parsed.emplace_back(Counter++, std::move(items));
    return Parsed.back().second;
}

} // namespace rigel

namespace DTMRailway::API {

void KeyValuePair::Read(const pugi::xml_node& element) {
    if (const pugi::xml_attribute key = element.attribute("Key"))
        Key = rigel::Atoi(key.value());
    Value = rigel::Windows1252FromUtf8(element.attribute("Value").value());
}

} // namespace DTMRailway::API
