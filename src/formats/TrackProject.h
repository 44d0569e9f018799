#pragma once
// The host's project record. The library never creates or frees one: the host passes it to
// Serialize and MeridanSave, the loads fill it and the writers read it. The members come in the
// order of the project file's sections; those after the settings block are not stored in it.
//
// It is a list of texts itself: the project-file writer can collect the file's lines here
// instead of writing them to the file.

#include "platform/base/DT_PointList.h"
#include "platform/base/DT_Punkt.h"
#include "platform/base/StrengListe.h"
#include "platform/base/VS_LinjePaalegg.h"
#include "platform/host/CString.h"
#include "platform/polyline/CvNADB_Calculation.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CvSporopPointList.h"

#include <array>

class TrackProject : public StrengListe {
public:
    TrackProject() = default;
    const char* KlasseNavn() const override { return "TrackProject"; }

    // "**KOF_SECTION**": the measured points handed to the rail-format writers.
    CvSporopPointList projectPoints{1};
    // "**SPLITPOINT_SECTION**"
    CvSporopPointList splitPoints{1};
    // "**TIT_INN_SECTION**": the horizontal alignment before processing (TierTabElementSporop).
    CvPolyLine inputTierTable{1};
    // "**TIT_NADB_SECTION**": one segment per element of inputTierTable.
    CvNADB_Calculation nadbData;
    // "**TIT_RES_SECTION**", "**TIT_OH_SECTION**": the horizontal alignment (TierTabElementSporop).
    CvPolyLine alignment{1};
    // "**TIT_PREV_CONVERTED**"
    CvPolyLine previousConverted{1};
    // "**NYL_AS_TIT_SECTION**": the vertical alignment as elements in (station, height).
    CvPolyLine verticalTierTable{1};
    // "**NYLEDIT_AS_TIT_SECTION**"
    CvPolyLine editedVerticalTierTable{1};
    // "**NYL_SECTION**": the vertical alignment as intersection points (station, height, radius).
    VS_LinjePaalegg verticalAlignment;
    // "**GIVENSPEED_SECTION**", "**REQUIREMENT_SECTION**": three numbers per point each.
    DT_PointList givenSpeeds{1};
    DT_PointList requirements{1};
    // "**PROJINFO_SECTION**": t1 to t5 at indexes 0 to 4.
    std::array<CString, 5> projectTexts;

    // "**DIV_SECTION**", the settings block.
    std::array<int, 11> divInts{};
    int pointListWord = CvSporopPointList::kMetres; // coordinate unit of points read from LandXML
    std::array<double, 6> divReals{};
    std::array<double, 2> divPair{};
    DT_Punkt startPoint;
    double startStation = 0.0;
    std::array<double, 2> divPair2{};
    std::array<double, 6> divReals2{};
    double referenceGauge = 1.435; // m; trolley reference gauge
    double cantBase = 1.5;         // m; trolley cant base
    CString referenceSide{"center"};

    // "**USER_PROFILES**"
    CString userProfilePath;
    CString userProfileText;

    // "**OFFSET_VIEW_CONFIG**": five pairs (a, b).
    struct OffsetView {
        int a = 0;
        int b = 0;
    };
    std::array<OffsetView, 5> offsetView{};

    // Not in the project file.
    int readingInProgress = 0;        // 1 while a KOF load runs
    double trolleyStartStation = 0.0; // set by a trolley measurement load
    double sectionStart = 0.0;        // station range of the rail-format output
    double sectionEnd = 0.0;
};
