// The tier-table reader on any bytes: it reads the text or fails with a message that names the
// source; a chain it read writes as a TIT 11 text that reads back to equal elements, and the
// chain can be walked (a position at a station, a station at a position).

#include "FuzzInput.h"

#include "platform/polyline/CvPolyLine.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    CvPolyLine chain(1);
    const int read = chain.InitFrom_TIT_Text(text, "fuzz", 0, 0, nullptr);
    if (read == 0) {
        if (chain.LastError().rfind("fuzz:", 0) != 0)
            __builtin_trap();
        return 0;
    }
    if (read != 1)
        __builtin_trap();
    CvPolyLine again(1);
    if (again.InitFrom_TIT_Text(chain.TIT11Text(0), "again", 0, 0, nullptr) != 1 ||
        again.GetCount() != chain.GetCount())
        __builtin_trap();
    for (int k = 0; k < chain.GetCount(); ++k)
        if (again.Element(k)->Equal(*chain.Element(k)) != 1)
            __builtin_trap();
    DT_Punkt position;
    DT_Double station;
    chain.PosAtStation(0.0, &position);
    chain.StationAtPos(DT_Punkt(1, 2), &station);
    return 0;
}
