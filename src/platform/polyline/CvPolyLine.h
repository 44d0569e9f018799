#pragma once
// An alignment: an ordered chain of CvPolyElement objects with an active element (the cursor of
// the base list, DT_Nodeliste, whose cursor rules hold here too).
//
// Ownership: CvPolyLine(1) owns its elements and deletes them; CvPolyLine(0) never does.
//
// Conventions are those of CvPolyElement.h: frames, signed radii (positive right), directions as
// the mathematical angle in the (easting, northing) plane, offsets positive to the right. The
// chain's frame is that of its first element: points passed in and handed out are in that frame
// (elements in the other frame are converted on the way).
//
// Projection (StationAtPos) finds the nearest point of the whole chain. It does not test every
// element: a bounding-volume tree over the elements' boxes is searched nearest box first and
// pruned by the best distance so far. The element of the previous projection (the hint) is
// projected first to give that distance a first bound; it orders the work only: each element's
// nearest point is its global one, found from the point alone, and ties go to the earlier
// element, so the answer is the same whatever was projected before. The tree is built on first
// use and rebuilt after any change made through this class or through CvPolyElement's setters.
// Code that changes the chain behind its back (through a DT_Nodeliste pointer, or
// DT_Node::SetDette) must call InvalidateIndex().
//
// Transition curves and arcs (TransCurves2Arcs, Arcs2TransCurves): TransCurves2Arcs replaces every
// transition curve by a run of n arcs of equal length (CvTransElement), whose joints lie on the
// clothoid and whose radii are the clothoid's at each arc's middle; n is the smallest number for
// which the direction of the arcs departs from the clothoid's by at most kArcDirectionTolerance
// (an arc of length h departs by |dk| h^2 / 12 at its ends, dk the clothoid's change of curvature
// per metre), at most kMaxArcsPerTransition. Arcs2TransCurves replaces every complete run of such
// arcs by the transition curve again. The two are exact inverses: Arcs2TransCurves after
// TransCurves2Arcs gives back equal elements (value for value, class and own fields from the copy
// kept in the arcs), and TransCurves2Arcs after Arcs2TransCurves gives back the same arcs. Turn,
// SubstituteXYCoord and MapCoord on the arcs carry over exactly; after ResetSTA of the arcs the
// arcs made again have stations equal to rounding only (ResetSTA adds the arcs' lengths). Both
// leave a chain that does not own its elements unchanged.
//
// Files (formats in docs/formats.md): the tier-table file (InitFrom_TIT_File, ExportToTIT11File)
// and the line file (ExportToFile). Every number written with precision 0 reads back as the same
// double. Readers accept any bytes: a line that does not fit the format fails the whole read with
// a message naming the file and the line (LastError), and the chain is left as it was.
//
// Not thread-safe: projections update the hint and build the index.

#include "platform/base/DT_Double.h"
#include "platform/base/DT_Nodeliste.h"
#include "platform/base/DT_Punkt.h"
#include "platform/polyline/CvPolyElement.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace rigel::polyline {
class ProjectionIndex;
}

class CvPolyLine : public DT_Nodeliste {
public:
    static constexpr double kArcDirectionTolerance = 1e-6;
    static constexpr int kMaxArcsPerTransition = 4096;

    explicit CvPolyLine(int owner = 1);
    ~CvPolyLine() override;

    const char* KlasseNavn() const override { return "CvPolyLine"; }
    int KlasseType() const override { return rigel::klasse::PolyLine; }

    // --- chain and cursor
    // Appends (the chain takes the element over when it owns its elements); the cursor stays. 1,
    // or 0 for null.
    int AddElement(CvPolyElement* element);
    int GetCount() const { return Antall(); }
    // Look without moving the cursor.
    CvPolyElement* HeadElem() const;
    CvPolyElement* TailElem() const;
    CvPolyElement* ActiveElem() const;
    CvPolyElement* Element(int index) const;
    // Move the cursor; each returns the new active element, or null (cursor unchanged).
    CvPolyElement* ActivateHead();
    CvPolyElement* ActivateNext();
    CvPolyElement* ActivatePrev();
    CvPolyElement* ActivateTail();
    CvPolyElement* ActivateIndex(int index);
    CvPolyElement* ActivateElem(const CvPolyElement* element);

    // The base list's changes, so that the index notices them (same behaviour as DT_Nodeliste).
    // Only CvPolyElement objects are accepted (0 for anything else).
    int LeggTil(HovedObjekt* object);
    int Insert(HovedObjekt* object);
    HovedObjekt* TaUtAktiv();
    int SlettAktiv();
    int SlettObjekt(HovedObjekt* object);
    int SlettAlleIListen(int deleteObjects);
    int Sorter(int ascending);
    // Forces the index to be rebuilt on the next projection.
    void InvalidateIndex();

    // --- stations and positions
    // Projects pos (x, y in the chain's frame) onto the nearest point of the chain. Gives the
    // station, the signed offset (right positive), the element, the direction there and the foot
    // point (each output may be null). With useHint 1 the search starts from the element of the
    // previous projection, which only saves work: the result is the same with useHint 0 or on a
    // chain that never projected anything. Returns 1 on success; 0 for an empty chain, or when
    // the nearest point is the start of the chain and pos lies before it, or the end and pos lies
    // beyond it. With extendEnds 1 such points are projected instead onto the straight extension
    // of the chain's first or last direction (stations before the start or after the end); the
    // element is then the first or last one. Outputs are set only on success. At a joint both
    // elements give the same point; the earlier element is reported.
    int StationAtPos(const DT_Punkt& pos, DT_Double* station, DT_Double* offset = nullptr,
                     CvPolyElement** element = nullptr, DT_Double* direction = nullptr,
                     DT_Punkt* foot = nullptr, int useHint = 1, int extendEnds = 0);
    // Point, direction, element and curvature at a station, shifted by offset to the right. The
    // station belongs to the first element (in chain order) whose station range holds it
    // (CvPolyElement::kStationTolerance), so a joint belongs to the element that ends there. 1 on
    // success; 0 outside every element (before the start, after the end, in a gap of the
    // stationing) or on an empty chain, with nothing set.
    int PosAtStation(double station, DT_Punkt* point, DT_Double* direction = nullptr,
                     CvPolyElement** element = nullptr, DT_Double* curvature = nullptr,
                     double offset = 0.0);
    // Stations the chain anew from startSTA: each element starts where the previous one ended
    // and ends |Length| further on (the transition values of converted arcs follow). 1, or 0 for
    // an empty chain.
    int ResetSTA(double startSTA);
    // The same from the first element's start station.
    int ResetSTA();
    // The first element's start station and the last element's end station. 1, or 0 when empty.
    int StationRange(double* startSTA, double* endSTA) const;

    // --- whole-chain operations
    // Reverses the direction of travel: the elements in reverse order, each turned
    // (CvPolyElement::Turn). restation 1: stationed anew from the former start station, so the
    // stations run over the same range; restation 0: every station s becomes -s (the station of a
    // point changes sign, and turning twice gives the chain back exactly). 1, or 0 when empty.
    int Turn(int restation);
    // This chain becomes a copy of source: every element copied with its class (Clone), the cursor
    // at the same index. A chain that does not own its elements becomes a view of the source's
    // elements instead (no copies). 1, or 0 for a null source or the chain itself.
    int Copy(const CvPolyLine* source);
    // CvPolyElement::SubstituteXYCoord on every element. 1.
    int SubstituteXYCoord();
    // CvPolyElement::MapCoord(frame, mode) on every element: MapCoord(1, 1) brings every element
    // into frame 1 (x northing, y easting). 1, or 0 for a bad frame or mode (nothing changed).
    int MapCoord(int frame, int mode);
    // See above. Both return the number of elements replaced.
    int TransCurves2Arcs();
    int Arcs2TransCurves();

    // --- files
    // Reads a tier-table file. append 0 replaces the chain's elements, 1 appends to them;
    // restation 1 stations the read elements anew (ResetSTA from the first read element's start
    // station); reference, when given, stations the read elements from the station of their first
    // start point on the reference chain (StationAtPos; failing when that projection fails).
    // 1 on success; 0 on failure with the chain unchanged and the reason in LastError()
    // ("<file>:<line>: <what>") and in ErrorKode: -1 no file name, -2 cannot be read, -3 bad
    // content, -4 the reference projection failed.
    int InitFrom_TIT_File(const char* fileName, int append, int restation,
                          const CvPolyLine* reference);
    // The same from text in memory; sourceName names it in messages.
    int InitFrom_TIT_Text(std::string_view text, std::string_view sourceName, int append,
                          int restation, const CvPolyLine* reference);
    // Writes the tier-table file. overwrite 0 refuses to replace an existing file. precision 0
    // writes every number so that it reads back to the same double; n > 0 writes n decimals.
    // 1 on success; 0 (LastError, ErrorKode -1 no name, -2 cannot write, -3 a value that is not
    // finite, -5 exists) otherwise.
    // The file is replaced only when complete.
    int ExportToTIT11File(const char* fileName, int overwrite, int precision);
    // The text ExportToTIT11File writes.
    std::string TIT11Text(int precision) const;
    // Writes the line file (one GetLinesLIN record per element, same header for the LIN and DAT
    // extensions); arguments and results as ExportToTIT11File.
    int ExportToFile(const char* fileName, int overwrite, int precision);
    std::string LineFileText(int precision) const;
    // The message of the last failed read or write ("" after a success).
    const std::string& LastError() const { return lastError_; }

private:
    const rigel::polyline::ProjectionIndex& ProjIndex();
    void StructureChanged();
    int Fail(int code, std::string message);
    static CvPolyElement* AsElement(HovedObjekt* object);

    std::unique_ptr<rigel::polyline::ProjectionIndex> index_;
    std::uint64_t structureVersion_ = 0;
    // Chain index of the element of the last projection: only the first bound of the next search.
    int hint_ = -1;
    std::string lastError_;
};
