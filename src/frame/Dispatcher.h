#pragma once
// The load and save dispatcher behind Serialize and MeridanSave: the file-type number picks the
// reader or the writers, from two constant tables.
//
// Loading (an archive in load mode): kReaders maps a type to its load. Types without a row load
// nothing, and the dispatcher traces that. Every load of survey points ends with
// CheckCenterCoordinateList; the project file fills the host's TrackProject instead.
//
// Saving (an archive in store mode, or a file): the writers run in the order of kSaveSteps, each
// when the type asks for it (9 asks for every row that lists it). The save closes the archive and
// the file first, deletes an empty file left at the chosen path, and names every output after
// that path with the row's extension.

#include "formats/TrackProject.h"
#include "platform/base/VS_LinjePaalegg.h"
#include "platform/host/CArchive.h"
#include "platform/host/CFile.h"
#include "platform/railout/CvRailDump.h"

#include <array>
#include <string>

namespace rigel {

// --- loading

struct LoadRequest {
    CArchive& archive;
    TrackProject* project; // may be null
    unsigned type;
    bool spwFlag;
    bool askCodes;
};

struct ReaderRow {
    unsigned type;
    const char* name;
    void (*load)(const LoadRequest& request);
    // true: the load fills the library's point lists and ends with the centre track; false: it
    // fills the host's project only.
    bool surveyPoints;
};

// The variant of the trolley measurement file that its reader reads with the flag 1.
inline constexpr unsigned kVTDVariant = 28;

extern const std::array<ReaderRow, 8> kReaders;

// The row for type, or null.
const ReaderRow* FindReader(unsigned type);

void Load(const LoadRequest& request);

// --- saving

struct SaveJob {
    TrackProject& project;
    CvRailDump& dump;
    DT_PointList& points;      // the project's points as the rail-format writers take them
    VS_LinjePaalegg& vertical; // the working vertical alignment, from the project's elements
    unsigned type;             // as requested
    bool spwFlag;
    std::string name; // the target of the current row
};

struct SaveRow {
    std::array<unsigned, 3> types; // the requested types that run this row (0: unused slot)
    bool railExports;              // runs only when the rail-format exports are enabled
    unsigned extension;            // the type whose extension names the file; 0: the requested one
    bool (*write)(SaveJob& job);
    const char* failureText; // shown with AfxMessageBox when the writer fails; null: none
};

extern const std::array<SaveRow, 16> kSaveSteps;

// True when the requested type (and the rail-export switch) asks for the row.
bool RowApplies(const std::array<unsigned, 3>& types, unsigned type);
bool RowApplies(const SaveRow& row, unsigned type, bool railExports);

// What a requested type does before its rows run: types with savesNothing write nothing at all;
// types with setsSection set the rail output section first (and write nothing when it is not
// accepted). A type without a row saves without a section.
struct SaveTypeRow {
    unsigned type;
    bool savesNothing;
    bool setsSection;
};
extern const std::array<SaveTypeRow, 9> kSaveTypes;

// The row for type; a type without one gets {type, false, false}.
SaveTypeRow SaveTypeOf(unsigned type);

struct SaveRequest {
    CArchive* archive; // the storing archive of Serialize; null for MeridanSave
    CFile* file;       // the file bound to it, or MeridanSave's file; null: nothing is written
    TrackProject* project;
    unsigned type;
    bool spwFlag;
    bool railExports;
    bool fullPoints; // the rail writers get whole survey points (MeridanSave), not coordinates only
};

void Save(const SaveRequest& request);

} // namespace rigel
