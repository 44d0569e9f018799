#pragma once
// Which feature codes mean the track centre, the left rail and the right rail. The assignment is
// remembered in the application profile (section "Settings"), proposed for each new file, and
// can be changed in the feature-code dialog, which can also load a horizontal alignment from a
// tier-table file.
//
// Both steps:
// 1. empty the three line lists and read the registered lists from the profile;
// 2. collect the file's codes (numeric: from the file's point records; text: from the points'
//    code texts) into the available list, each once, in the order met;
// 3. move each available code to every line whose registered list holds it;
// 4. without the dialog, end here: the file's registered codes only, the profile untouched;
// 5. with it: show the dialog. Cancel ends the step with false, empties the three line lists
//    (so a cancelled load leaves the library's code lists as they were: a load runs the step
//    only when they are empty) and changes neither the profile nor the alignment;
// 6. after OK, per line: the codes the user moved out of it (against its list before the dialog)
//    are removed, every other registered code is merged in, the list is sorted ascending and
//    written back to its profile entry; so the profile keeps codes of earlier files until the
//    user removes them from a file that uses them;
// 7. if the dialog's tier-table option is set and there is an alignment to fill, ask for the
//    tier-table file and read it into the alignment, turning it round when the second option is
//    set.
// Result: true when the centre, left or right list holds at least one code.

#include "platform/base/DT_IntListe.h"
#include "platform/base/StrengListe.h"
#include "platform/host/CArchive.h"
#include "platform/host/LineSource.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CvSporopPointList.h"

namespace rigel {

inline constexpr const char* kFeatureCodeSection = "Settings";

struct FeatureCodeEntries {
    const char* centre;
    const char* left;
    const char* right;
};
inline constexpr FeatureCodeEntries kNumericCodeEntries{"Available Center Track Feature Codes",
                                                        "Available Left Track Feature Codes",
                                                        "Available Right Track Feature Codes"};
inline constexpr FeatureCodeEntries kTextCodeEntries{"Available Center Track Feature Codes (str)",
                                                     "Available Left Track Feature Codes (str)",
                                                     "Available Right Track Feature Codes (str)"};

// The label of the dialog for a file name: the name upper-cased, then " contains these feature
// codes:".
std::string FeatureCodeLabel(std::string_view fileName);

// Appends to available each code of the file's point records that it does not hold yet, in the
// order met. type is the file type: KOF records are lines beginning with " 05" with the code in
// Mid(15, 8); MIC records have a positive count Mid(8, 8), the kind Mid(0, 8) 1 or at least 11,
// and the code in Mid(16, 8). Any other type gives no codes; so does a code of 0 or one that is
// not a number. Lines are examined in pieces of at most 254 characters, the rest of a longer
// line being the next piece (the host reads this way).
void FindNumericCodes(LineSource& lines, unsigned type, DT_IntListe& available);

// The numeric step for the KOF and MIC loads. The file is the one archive is bound to, opened
// again by its path; its type comes from the path's extension. alignment may be null (the
// tier-table option then loads nothing and no file dialog is shown).
bool NumericFeatureCodeStep(DT_IntListe& centre, DT_IntListe& left, DT_IntListe& right,
                            CArchive* archive, bool askDialog, CvPolyLine* alignment);

// The text step for the LandXML survey-point load: the codes are the points' non-empty code
// texts. With no code text at all it ends at once with empty lists and false.
bool TextFeatureCodeStep(StrengListe& centre, StrengListe& left, StrengListe& right, bool askDialog,
                         CvPolyLine* alignment, const CvSporopPointList& points);

} // namespace rigel
