#include "platform/polyline/SegmentType.h"

#include "platform/polyline/PolylineText.h"

SegmentType SegmentType::Make(int number, double startSTA, double endSTA, std::string_view name) {
    using rigel::polyline::FormatNumber;
    const std::size_t cut = name.find_first_of("\r\n");
    if (cut != std::string_view::npos)
        name = name.substr(0, cut);
    SegmentType segment;
    segment.Init("%d %s %s", number, FormatNumber(startSTA, 0), FormatNumber(endSTA, 0));
    if (!name.empty())
        segment.Add(" %s", std::string(name));
    return segment;
}

int SegmentType::Fields(int* number, double* startSTA, double* endSTA, std::string* name) const {
    // Three single-blank-separated tokens, then optionally one blank and the name as it is.
    const std::string_view text = Text();
    std::string_view tokens[3];
    std::size_t at = 0;
    for (int i = 0; i < 3; ++i) {
        const std::size_t end = text.find(' ', at);
        tokens[i] = text.substr(at, end == std::string_view::npos ? text.size() - at : end - at);
        at = end == std::string_view::npos ? text.size() : end + 1;
        if (i < 2 && end == std::string_view::npos)
            return 0;
    }
    int n = 0;
    double s0 = 0.0, s1 = 0.0;
    if (!rigel::polyline::ParseIntToken(tokens[0], n) ||
        !rigel::polyline::ParseDoubleToken(tokens[1], s0) ||
        !rigel::polyline::ParseDoubleToken(tokens[2], s1))
        return 0;
    if (number != nullptr)
        *number = n;
    if (startSTA != nullptr)
        *startSTA = s0;
    if (endSTA != nullptr)
        *endSTA = s1;
    if (name != nullptr)
        *name = std::string(at <= text.size() ? text.substr(at) : std::string_view());
    return 1;
}
