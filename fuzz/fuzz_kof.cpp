// The KOF point-record reader on any bytes: centre code 1 (and 0), left 2, right 3 and 2.

#include "FuzzInput.h"

#include "frame/readers/KofReader.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DT_IntListe centreCodes(1), leftCodes(1), rightCodes(1);
    centreCodes.LeggTilVerdi(1);
    leftCodes.LeggTilVerdi(2);
    rightCodes.LeggTilVerdi(3);
    rightCodes.LeggTilVerdi(2);
    CvSporopPointList centre(1), left(1), right(1);
    rigel::BufferLineSource lines(std::string_view(reinterpret_cast<const char*>(data), size));
    const rigel::ReadCounts counts =
        rigel::ReadKofPoints(lines, {centreCodes, leftCodes, rightCodes}, {centre, left, right});
    if (counts.placed != centre.Antall() + left.Antall() + right.Antall() ||
        counts.records > counts.lines)
        __builtin_trap();
    return 0;
}
