// The centre track for the host.

#include "frame/CentreTrack.h"
#include "frame/ExportGuard.h"
#include "frame/RigelExports.h"

bool CheckCenterCoordinateList(CvPolyLine* alignment) {
    return rigel::GuardExport("CheckCenterCoordinateList", false,
                              [&] { return rigel::CheckCentreTrack(rigel::State(), alignment); });
}
