// What a KOF load does after reading, on any bytes: the points read (centre code 1, left 2,
// right 3) go through the sort and the centre track from the rails, as every load ends.

#include "FuzzInput.h"

#include "frame/LibraryState.h"
#include "frame/RigelExports.h"
#include "frame/readers/KofReader.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DT_IntListe centreCodes(1), leftCodes(1), rightCodes(1);
    centreCodes.LeggTilVerdi(1);
    leftCodes.LeggTilVerdi(2);
    rightCodes.LeggTilVerdi(3);
    rigel_ClearCoordinateLists();
    rigel::LibraryState& state = rigel::State();
    rigel::BufferLineSource lines(std::string_view(reinterpret_cast<const char*>(data), size));
    rigel::ReadKofPoints(lines, {centreCodes, leftCodes, rightCodes},
                         {state.CenterPoints, state.LeftRailPoints, state.RightRailPoints});
    const bool centre = state.CenterPoints.Antall() > 0;
    const bool left = state.LeftRailPoints.Antall() > 0;
    const bool right = state.RightRailPoints.Antall() > 0;
    const bool checked = CheckCenterCoordinateList(nullptr);
    // The result says whether there is a centre track; measured centre points or a single rail
    // always leave one (two rails may lie too far apart for any centre point).
    const bool track = state.CenterPoints.Antall() > 0;
    if (checked != track || ((centre || left != right) && !track))
        __builtin_trap();
    return 0;
}
