// The PXY reader on any bytes.

#include "FuzzInput.h"

#include "frame/readers/PxyReader.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CvSporopPointList centre(1);
    rigel::BufferLineSource lines(std::string_view(reinterpret_cast<const char*>(data), size));
    const rigel::ReadCounts counts = rigel::ReadPxyPoints(lines, centre);
    if (counts.placed != centre.Antall() || counts.placed + counts.skipped > counts.lines)
        __builtin_trap();
    return 0;
}
