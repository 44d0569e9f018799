// The MIC point-record reader on any bytes: centre code 100, left 200, right 300 and 100.

#include "FuzzInput.h"

#include "frame/readers/MicReader.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    DT_IntListe centreCodes(1), leftCodes(1), rightCodes(1);
    centreCodes.LeggTilVerdi(100);
    leftCodes.LeggTilVerdi(200);
    rightCodes.LeggTilVerdi(300);
    rightCodes.LeggTilVerdi(100);
    CvSporopPointList centre(1), left(1), right(1);
    rigel::BufferLineSource lines(std::string_view(reinterpret_cast<const char*>(data), size));
    const rigel::ReadCounts counts =
        rigel::ReadMicPoints(lines, {centreCodes, leftCodes, rightCodes}, {centre, left, right});
    if (counts.placed != centre.Antall() + left.Antall() + right.Antall())
        __builtin_trap();
    return 0;
}
