#pragma once
// The project file (SPW): the host's whole TrackProject as one text file of sections.
//
// Layout: the segment line "@@DATA_SEGMENT_1", then sixteen sections in a fixed order, each a
// header line ("**KOF_SECTION**", ...) and its lines, up to the next line that begins with "**"
// (docs/formats.md, "Project file"). Point texts are single tokens: every blank becomes the byte
// 0xA7 ("§" in Windows-1252) and an empty text is written as that byte alone. Line breaks inside
// the free texts (project texts, reference side, user profiles) are written as blanks, since a
// text line cannot hold them.
//
// Reading looks for the sections in their order and skips those that are missing; a file of
// points without derived values (no point line with ten or more values) gets them computed.

#include "formats/TrackProject.h"
#include "platform/base/TekstFil.h"

#include <string_view>

class CvSPW_File : public TekstFil {
public:
    // Error codes (ErrorKode) and what Write and Read return for them.
    static constexpr int kCannotOpenForReading = 1;
    static constexpr int kCannotWriteOrNoLines = 2;

    explicit CvSPW_File(std::string_view name) : TekstFil(name) {}
    const char* KlasseNavn() const override { return "CvSPW_File"; }

    // Writes the project. toFile 1: to the file (atomically); toFile 0: the lines go to the
    // project's own text list (emptied first) and the file receives nothing. 1 on success, 2 when
    // the file cannot be written, 0 without a project.
    int Write(TrackProject* project, int unused, int toFile);
    // Reads the project. fromFile 1: from the file; fromFile 0: from the lines the project's own
    // text list holds. 1 on success, 1 or 2 (see above) on failure, 0 without a project.
    int Read(TrackProject* project, int unused1, int unused2, int fromFile);
};

namespace rigel::spw {

// The section headers, in the order of the file.
inline constexpr std::string_view kSegmentLine = "@@DATA_SEGMENT_1";
inline constexpr std::string_view kSections[] = {
    "**KOF_SECTION**",        "**SPLITPOINT_SECTION**", "**TIT_INN_SECTION**",
    "**TIT_NADB_SECTION**",   "**TIT_RES_SECTION**",    "**TIT_OH_SECTION**",
    "**TIT_PREV_CONVERTED**", "**NYL_AS_TIT_SECTION**", "**NYLEDIT_AS_TIT_SECTION**",
    "**NYL_SECTION**",        "**GIVENSPEED_SECTION**", "**REQUIREMENT_SECTION**",
    "**PROJINFO_SECTION**",   "**DIV_SECTION**",        "**USER_PROFILES**",
    "**OFFSET_VIEW_CONFIG**",
};

} // namespace rigel::spw
