// The feature-code scan on any bytes. The first byte picks the file type ('M': MIC, any other:
// KOF); the rest is the file. Every code must be found once and none may be 0.

#include "FuzzInput.h"

#include "frame/FeatureCodes.h"
#include "frame/FileTypes.h"

#include <set>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const unsigned type = data[0] == 'M' ? rigel::kMIC : rigel::kKOF;
    DT_IntListe codes(1);
    rigel::BufferLineSource lines(
        std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
    rigel::FindNumericCodes(lines, type, codes);
    std::set<int> seen;
    for (int i = 0; i < codes.Antall(); ++i)
        if (codes.Verdi(i) == 0 || !seen.insert(codes.Verdi(i)).second)
            __builtin_trap();
    return 0;
}
