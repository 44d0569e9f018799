// The project-file reader on any bytes: the lines go to the project's own text list and are read
// in memory. What it read must write, read and write again to the same lines (the reader keeps
// nothing it cannot give back), except the offset view's b values of 5 or less, which every read
// scales by 10 (old files kept them in tenths).

#include "FuzzInput.h"

#include "frame/CvSPW_File.h"
#include "platform/host/LineSource.h"

#include <algorithm>
#include <climits>
#include <string>
#include <string_view>

namespace {

std::string Lines(const TrackProject& project) {
    std::string text;
    for (int i = 0; i < project.Antall(); ++i)
        text += project.Tekst(i)->str() + '\n';
    return text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TrackProject first;
    rigel::BufferLineSource lines(std::string_view(reinterpret_cast<const char*>(data), size));
    for (std::string line; lines.Next(line);)
        first.LeggTilStreng(line);
    CvSPW_File file("fuzz.spw");
    const int read = file.Read(&first, 0, 0, 0);
    if (read != 1 && read != CvSPW_File::kCannotWriteOrNoLines)
        __builtin_trap();
    if (read != 1)
        return 0;
    if (file.Write(&first, 0, 0) != 1)
        __builtin_trap();
    const std::string once = Lines(first);
    TrackProject second;
    for (int i = 0; i < first.Antall(); ++i)
        second.LeggTilStreng(first.Tekst(i)->str());
    if (file.Read(&second, 0, 0, 0) != 1 || file.Write(&second, 0, 0) != 1)
        __builtin_trap();
    // The last line holds the b values.
    const std::string again = Lines(second);
    const std::size_t cut = once.rfind('\n', once.size() - 2) + 1;
    if (again.compare(0, cut, once, 0, cut) != 0)
        __builtin_trap();
    for (int i = 0; i < 5; ++i) {
        const int b = first.offsetView[i].b, scaled = second.offsetView[i].b;
        if (scaled != (b <= 5 ? static_cast<int>(std::max<long long>(INT_MIN, b * 10LL)) : b))
            __builtin_trap();
    }
    return 0;
}
