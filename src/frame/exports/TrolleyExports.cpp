// The trolley files read back through the exports: a TrolleyFile made for the call, its reader's
// status returned unchanged.

#include "formats/TrolleyFile.h"
#include "frame/ExportGuard.h"
#include "frame/RigelExports.h"

using rigel::GuardExport;

namespace {

// A missing path reaches the reader as no file name, which it answers with its own status.
const char* PathOf(const CString* path) {
    return path != nullptr ? path->str().c_str() : nullptr;
}

} // namespace

int rigel_GetVantaTDT(CString* path, CvPolyLine* alignment) {
    return GuardExport("rigel_GetVantaTDT", 0,
                       [&] { return TrolleyFile().ReadTDT(PathOf(path), alignment); });
}

int rigel_GetVantaHDT(CString* path, DT_Nodeliste* points) {
    return GuardExport("rigel_GetVantaHDT", 0,
                       [&] { return TrolleyFile().ReadHDT(PathOf(path), points); });
}

int rigel_GetVantaUDT(CString* path, TrackProject* project) {
    return GuardExport("rigel_GetVantaUDT", 0,
                       [&] { return TrolleyFile().ReadUDT(PathOf(path), project); });
}
