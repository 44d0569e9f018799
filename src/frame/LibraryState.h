#pragma once
// The process-wide state of the library: built when the library is loaded, in the order of the
// members below, and destroyed in the reverse order when it is unloaded. No lock: the host calls
// one export at a time.

#include "platform/base/DT_IntListe.h"
#include "platform/host/CWinApp.h"
#include "points/CvMeasurePointSort.h"
#include "points/CvSporopPointList.h"

// The library's own application object. It adds nothing to CWinApp and is never the current
// application: profile calls go to the host's.
class CRigelApp : public CWinApp {
public:
    CRigelApp() : CWinApp(nullptr) {}
};

class TrackProject;

namespace rigel {

struct LibraryState {
    CvSporopPointList LeftRailPoints{1};
    CvSporopPointList CenterPoints{1};
    CvSporopPointList RightRailPoints{1};
    CvMeasurePointSort PointSorter{nullptr};
    DT_IntListe CenterCodes{1};
    DT_IntListe LeftRailCodes{1};
    DT_IntListe RightRailCodes{1};
    CRigelApp theApp;

    int KofCursor = 0;
    // The project of the last Serialize or MeridanSave call, which the writers read; not owned.
    TrackProject* CurrentProject = nullptr;
    int RailExportsEnabled = 0;
};

LibraryState& State();

} // namespace rigel
