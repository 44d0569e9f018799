// The trolley-file readers on any bytes. The first byte picks the reader (its value modulo 4:
// measurement file, TDT, HDT, UDT); the rest is the file. Besides not crashing, a reader may not
// make more records than the file has lines, and the UDT reader may only set cants, never add or
// drop elements.

#include "FuzzInput.h"

#include "formats/TrolleyFile.h"
#include "platform/base/DT_PointList.h"
#include "platform/host/LineSource.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CvSporopPointList.h"

#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view bytes(reinterpret_cast<const char*>(data) + 1, size - 1);
    long lineCount = 1;
    for (char c : bytes)
        lineCount += c == '\n';
    rigel::BufferLineSource lines(bytes);
    switch (data[0] % 4) {
    case 0: {
        CvSporopPointList points(1);
        TrolleyFile().ReadMeasurementLines(lines, points, data[0] & 4 ? 1 : 0);
        if (points.Antall() > lineCount)
            __builtin_trap();
        break;
    }
    case 1: {
        CvPolyLine alignment(1);
        TrolleyFile::ReadTDTLines(lines, alignment);
        if (alignment.GetCount() > lineCount)
            __builtin_trap();
        break;
    }
    case 2: {
        DT_PointList points(1);
        TrolleyFile::ReadHDTLines(lines, points);
        if (points.Antall() > lineCount)
            __builtin_trap();
        break;
    }
    default: {
        // Three arcs and a straight to receive the cants.
        CvPolyLine alignment(1);
        DT_Punkt start(6000.0, 2000.0);
        for (int k = 0; k < 4; ++k) {
            auto* element = new CvPolyElement;
            element->InitFromStart(start, 1.0, k == 3 ? 0.0 : 500.0, k == 3 ? 0.0 : 500.0, 100.0,
                                   100.0 * k, k + 1);
            start = *element->EndPoint();
            alignment.AddElement(element);
        }
        TrolleyFile::ReadUDTLines(lines, alignment);
        if (alignment.GetCount() != 4)
            __builtin_trap();
    }
    }
    return 0;
}
