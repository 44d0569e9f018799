#include "formats/LineFile.h"

#include "platform/base/AtomicFile.h"
#include "platform/base/DT_Nodeliste.h"
#include "platform/base/DT_Punkt.h"
#include "platform/base/Streng.h"
#include "platform/base/TextFormat.h"
#include "platform/base/Trace.h"
#include "platform/polyline/CvPolyElement.h"
#include "platform/polyline/CvPolyLine.h"

#include <cmath>
#include <memory>
#include <string>

namespace {

// The line code the design application files alignments under.
constexpr int kLineCode = 6101005;
constexpr int kLineNameWidth = 13;

// What the C runtime prints for a null "%s" argument, which the records have always carried.
const char* NameOrNull(const char* name) {
    return name != nullptr ? name : "(null)";
}

// 1 straight line, 3 circular arc, 4 anything else (a transition).
int ElementCode(const CvPolyElement& element) {
    switch (element.ElementType()) {
    case CvPolyElement::kLine:
        return 1;
    case CvPolyElement::kArc:
        return 3;
    default:
        return 4;
    }
}

// The arc's centre in the element's own axes. The centre is taken with the plan axes swapped, as
// the polyline component computes it in the frame of (easting, northing), on a copy so that the
// caller's alignment stays as it was; its coordinates are swapped back for the record.
bool ArcCentreOf(const CvPolyElement& element, double& x, double& y) {
    std::unique_ptr<CvPolyElement> swapped(element.Clone());
    swapped->SubstituteXYCoord();
    DT_Punkt centre;
    if (swapped->ArcCenter(&centre) == 0)
        return false;
    x = centre.y();
    y = centre.x();
    return true;
}

} // namespace

bool WriteLineFile(const char* fileName, CvPolyLine* alignment, DT_Nodeliste* verticalPoints,
                   const char* tieName, const char* lineName) {
    if (fileName == nullptr || *fileName == '\0') {
        rigel::Trace("[::WriteLineFile] no file name; nothing written\n");
        return false;
    }
    if (alignment == nullptr || alignment->GetCount() == 0) {
        rigel::Trace("[::WriteLineFile] %s: %s; nothing written\n", fileName,
                     alignment == nullptr ? "no alignment" : "the alignment has no elements");
        return false;
    }

    const char* tie = NameOrNull(tieName);
    Streng paddedName;
    paddedName.Init("%s", NameOrNull(lineName));
    paddedName.FyllBlankeTilLengdeEr(kLineNameWidth);
    const std::string& name = paddedName.str();

    std::string text;
    rigel::FormatAppend(text, "TIE %s\n", tie);
    text += "TIEVE \n";
    const CvPolyElement* first = alignment->HeadElem();
    rigel::FormatAppend(text, "LINJA %s %d\t%12.3f\n", name, kLineCode,
                        first != nullptr ? first->StartSTA()->Get() : 0.0);

    for (CvPolyElement* e = alignment->ActivateHead(); e != nullptr;
         e = alignment->ActivateNext()) {
        const CvPolyElement& element = *e;
        const int number = element.ElementNumber()->Get();
        const int code = ElementCode(element);
        rigel::FormatAppend(text, "ELEM\t%4d       0 %3d %11.3f %11.3f %9.3f\n", number, code,
                            element.StartRadius()->Get(), element.EndRadius()->Get(),
                            element.TransParameter()->Get());
        rigel::FormatAppend(text, "ELEMP1\t%4d %11.3f %13.4f %13.4f\n", number,
                            element.StartSTA()->Get(), element.StartPoint()->x(),
                            element.StartPoint()->y());
        rigel::FormatAppend(text, "ELEMP2\t%4d %11.3f %13.4f %13.4f\n", number,
                            element.EndSTA()->Get(), element.EndPoint()->x(),
                            element.EndPoint()->y());
        if (code == 3) {
            double x = 0.0, y = 0.0;
            if (!ArcCentreOf(element, x, y)) {
                rigel::Trace("[::WriteLineFile] %s: the arc %d (stations %.3f to %.3f) has no "
                             "centre; nothing written\n",
                             fileName, number, element.StartSTA()->Get(), element.EndSTA()->Get());
                return false;
            }
            rigel::FormatAppend(text, "ELEMCP\t%4d %12.4f %12.4f\n", number, x, y);
        }
    }

    rigel::FormatAppend(text, "TIE %s\n", tie);
    text += "TIEVE \n";
    rigel::FormatAppend(text, "LINJAZ\t%s %s\n", name, name);
    if (verticalPoints != nullptr) {
        int running = 0;
        for (HovedObjekt* node = verticalPoints->AktiverForste(); node != nullptr;
             node = verticalPoints->AktiverNeste()) {
            // The list holds points; anything else in it has no station and height to give.
            const auto* point = dynamic_cast<const DT_Punkt*>(node);
            if (point == nullptr)
                continue;
            rigel::FormatAppend(text, "ELEMZ %4d %11.4f %11.4f %11.3f\n", ++running, point->x(),
                                point->y(), std::fabs(point->z()));
        }
    }

    std::string reason;
    if (!rigel::WriteFileAtomically(fileName, text, &reason)) {
        rigel::Trace("[::WriteLineFile] %s not written: %s\n", fileName, reason);
        return false;
    }
    return true;
}
