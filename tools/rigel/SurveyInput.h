#pragma once
// A survey file read as the host reads one, shared by the commands that take survey files:
// the point lists are cleared, the file goes through Serialize in load mode (its type decided
// once), the feature-code dialog is answered from the flags, and the centre track comes back
// through GetCenterCoordinateList. Input that the column rules read but that is probably not what
// the user meant is summed up in one line on standard error.

#include "platform/host/CFile.h"
#include "points/CvSporopPointList.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <optional>
#include <string>

class CWinApp;

namespace rigel::cli {

struct SurveyOptions {
    std::string file;
    std::string centre, left, right; // the code flags as given
    bool centreGiven = false, leftGiven = false, rightGiven = false;
    bool ask = false;
    std::string alignment;
    bool turnAlignment = false;
    std::string profile;
    bool verbose = false;
};

// Adds --centre, --left, --right, --ask, --alignment, --turn-alignment, --profile and --verbose to
// a command. The returned function, run after parsing, notes which code flags were given.
std::function<void()> AddSurveyFlags(CLI::App& sub, SurveyOptions& o);

// The file type from typeText (a number or an extension name) given with typeFlag, else from the
// extension of file. Nothing, with the message given, when neither tells it.
std::optional<unsigned> DecideType(const std::string& typeText, const std::string& file,
                                   const char* typeFlag);

// Loads the survey file of type into the library and copies its centre track into centre.
// 0, or the exit code (1 unreadable input, 2 a usage problem or nothing read) with the message
// given.
int LoadCentreTrack(const SurveyOptions& o, unsigned type, CvSporopPointList& centre);

// Opens path for reading and reads a byte to be sure it can be read (a folder opens but cannot
// be read). false, with the message given, otherwise.
bool OpenReadable(const std::string& path, CFile& file);

// The sorter's totals of the last load, in the words of its report, on standard error.
void ReportSort();

// The registry key of rigel's profile on Windows: HKEY_CURRENT_USER\Software\Rigel\rigel.
inline constexpr const char* kRegistryKey = "Rigel";

// Points app at its profile: the file --profile names, else $RIGEL_PROFILE, else the registry
// where the system has one (Windows), else DefaultProfilePath().
void UseProfile(CWinApp& app, const std::string& given);
// $XDG_CONFIG_HOME/rigel/profile.ini (~/.config when unset), whose folder is made when missing.
// Empty when there is no home to put it in.
std::string DefaultProfilePath();

} // namespace rigel::cli
