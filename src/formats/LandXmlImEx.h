#pragma once
// LandXML in both directions: survey points (CgPoints) and horizontal alignments with their
// profiles and cants are imported; a project's alignment, vertical alignment and cants are
// exported as one document. A LandXmlImEx is made for one import or export and then discarded.
//
// Reading streams the file with expat and keeps only what the import queries (the root element
// with its attributes, Units, CgPoints and Alignments) in a small pugixml document, so a Surface
// of millions of faces is passed over without being held. No entity is expanded and nothing is
// fetched: a schema that cannot be had only sets ErrorText. Writing builds a pugixml document and
// saves it atomically with tab indentation.
//
// Text is UTF-8 in the document and Windows-1252 inside the library; the conversion happens here
// and nowhere else. Numbers are read and written without the C locale.

#include "formats/KeyedPointMap.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>

class CvPolyLine;
class CvSporopPointList;
class TrackProject;
class VS_LinjePaalegg;
struct _SYSTEMTIME;
using SYSTEMTIME = _SYSTEMTIME;

namespace rigel {
struct LandXmlReadOptions;
}

namespace pugi {
class xml_document;
class xml_node;
} // namespace pugi

class LandXmlImEx {
public:
    using KeyedPoint = rigel::KeyedPoint;

    LandXmlImEx();
    virtual ~LandXmlImEx();
    LandXmlImEx(const LandXmlImEx&) = delete;
    LandXmlImEx& operator=(const LandXmlImEx&) = delete;

    // Hooks around Load; they do nothing here.
    virtual void OnBeforeLoad(const std::string& fileName);
    virtual void OnAfterLoad(bool loaded);
    // Gives the elements of AlignmentTarget the cants of the alignment node's Cant element.
    virtual void ImportCant(const pugi::xml_node& alignment, const std::string& alignmentName);

    // Import. ImportPoints: 0 without a list, else 1 (also when the file could not be loaded:
    // the list then stays empty). ImportAlignment: -1 when a target is missing, else 0.
    int ImportPoints(const char* fileName, CvSporopPointList* points);
    int ImportAlignment(const char* fileName, CvPolyLine* alignment, VS_LinjePaalegg* profile);
    // Loads the file once (a second call on the same object reuses the document) and, with
    // process set, reads units, points and (when both targets are set) alignments.
    bool Load(const char* fileName, bool process);

    // Load from bytes in memory (the fuzz target's way in); the file name given to the hooks is
    // empty.
    bool LoadBuffer(std::string_view bytes, bool process);
    // A copy of the points of PointsByKey as survey points (code and description from the key),
    // appended in key order; the list's unit word from LinearFactor. ImportPoints does the same
    // but hands over the map's own points: PointsByKey is then empty until the object loads or
    // imports again, which first reads the file's points anew.
    void AppendPoints(CvSporopPointList& points) const;

    // Folder of the local LandXML schemas (LandXML-1.1.xsd, ...): $RIGEL_LANDXML_SCHEMAS, else
    // empty (no schema; loading goes on without it).
    static std::string SchemaDirectory();

private:
    // Import steps (LandXmlImport.cpp).
    bool LoadSchema();
    bool LoadWith(const std::string& fileName, bool process,
                  const std::function<bool(pugi::xml_document&, const rigel::LandXmlReadOptions&,
                                           std::string* reason)>& read);
    bool ProcessDocument();
    void ReadUnits(const pugi::xml_node& root);
    void ReadCgPoints(const pugi::xml_node& root);
    void AddCgPoint(bool hasCode, std::string_view code, bool hasName, std::string_view name,
                    std::string_view text, std::string_view pntRef);
    KeyedPoint PointText(std::string_view text, std::string_view pntRef) const;
    KeyedPoint PointText(const pugi::xml_node& node) const;
    void ReadAlignments(const pugi::xml_node& root);
    bool ReadCoordGeom(const pugi::xml_node& coordGeom);
    bool ReadProfAlign(const pugi::xml_node& profAlign);

    int UnitWord() const;
    rigel::LandXmlReadOptions PointReading();

    std::string codeBuffer_, nameBuffer_; // AddCgPoint's texts, kept to reuse their storage
    std::string handedOverFrom_; // the file whose points ImportPoints gave away, until read again

public:
    // Export of the project's alignment, vertical alignment and cants. Nothing is written when
    // there is no project or its alignment is empty. true when the file was written.
    bool Export(TrackProject* project, const char* fileName);

    // The document of the last load or export.
    std::unique_ptr<pugi::xml_document> Document;
    bool Loaded = false;
    int VersionMajor = 1;
    int VersionMinor = 1;
    std::string NamespaceUri;   // the LandXML namespace of VersionMajor.VersionMinor
    std::string ElementPrefix;  // "lx:" when the document has a default namespace
    double LinearFactor = 1.0;  // metres per linear unit of the file
    double AngularFactor = 1.0; // radians per angular unit of the file
    bool DmsAngles = false;
    int Precision = 6;
    double AlignmentStartStation = 0.0;
    rigel::KeyedPointMap PointsByKey; // keys in Windows-1252
    CvPolyLine* AlignmentTarget = nullptr;
    VS_LinjePaalegg* ProfileTarget = nullptr;
    std::string ErrorText;

    // Export members.
    double Gauge = 1.435;
    std::string RotationPoint = "center";
    std::string ProjectName;
    std::string AlignmentName;
    double RunningLength = 0.0;

    // The namespace the LandXML standard publishes for a version.
    static std::string NamespaceFor(int major, int minor);

    // --- export (LandXmlExport.cpp)
    // Written on Application: our product, its maker and where to find it. A distributor of the
    // library puts its own name and address here.
    static constexpr const char* kApplicationName = "Meridan";
    static constexpr const char* kManufacturerName = "Rigel";
    static constexpr const char* kManufacturerUrl = "https://example.org/rigel";
    // The header's date ("2026-03-01", local clock) and time ("14:05:09", followed by the offset
    // from UTC in whole hours, "+01:00", when the local and UTC hours differ).
    static std::string HeaderDate(const SYSTEMTIME& local);
    static std::string HeaderTime(const SYSTEMTIME& local, const SYSTEMTIME& utc);
};
