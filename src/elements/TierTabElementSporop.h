#pragma once
// A polyline element that also carries the track's cant and speed and the stations at which the
// source delivered it. Recognised in mixed lists by its class type 3500.
//
// Cants are magnitudes in millimetres; the raised rail follows from the sign of the element's
// radius. vReq, Locked, IntAux and the three codes are stored and restored only: nothing in the
// library gives them a meaning.
//
// OrigStartSTA and OrigEndSTA keep the stationing of the delivering file; the element's own
// StartSTA and EndSTA may change when the chain is stationed anew.

#include "platform/base/DT_Double.h"
#include "platform/base/Streng.h"
#include "platform/polyline/CvPolyElement.h"

#include <string>
#include <string_view>

namespace rigel::klasse {
inline constexpr int TierTabElementSporop = 3500;
}

class TierTabElementSporop : public CvPolyElement {
public:
    // The element's line in the project file's element-data section.
    static constexpr const char* kLineFormat =
        "%3d %4.0lf %4.0lf %4.0lf %4.0lf %5d %5d %5d %5d %2d %2d %2d %.6f %.6f";
    static constexpr const char* kScanFormat = "%d %lf %lf %lf %lf %d %d %d %d %d %d %d %lf %lf";
    // Values a line must give for its source start station to be taken.
    static constexpr int kValuesWithStations = 13;

    TierTabElementSporop() = default;
    // The geometry as CvPolyElement takes it; the own fields 0.
    using CvPolyElement::CvPolyElement;
    TierTabElementSporop(const TierTabElementSporop&) = default;
    TierTabElementSporop& operator=(const TierTabElementSporop&) = default;
    ~TierTabElementSporop() override = default;

    const char* KlasseNavn() const override { return "TierTabElementSporop"; }
    int KlasseType() const override { return rigel::klasse::TierTabElementSporop; }
    CvPolyElement* Clone() const override { return new TierTabElementSporop(*this); }

    // Accessors: a value object passed in sets the field; the field is returned.
    DT_Double* OrigStartSTA(const DT_Double* newValue = nullptr);
    DT_Double* OrigEndSTA(const DT_Double* newValue = nullptr);
    const DT_Double* OrigStartSTA() const { return &origStartSTA_; }
    const DT_Double* OrigEndSTA() const { return &origEndSTA_; }

    // The project-file line (kLineFormat, no line end): element number, H1, H2, h1, h2, vReq, v,
    // Locked, IntAux, Code1 to Code3, OrigStartSTA, OrigEndSTA. Cants lose their fraction.
    std::string ProjectFileLine() const;
    int GetProjectFileLine(Streng* line) const;
    // Reads a line in that layout. The fields the line gives (in order, as far as it can be
    // scanned) are set; the others keep their values. A line with fewer than 13 values sets the
    // source stations to the element's own StartSTA and EndSTA instead. The element number on
    // the line is read past, not taken: lines are matched to elements by their order. Returns the
    // number of values the line gave (-1 for a line without any text).
    int ReadProjectFileLine(std::string_view line);

    // 1 when the own fields are equal (cants and stations within tolerance, integers exactly) and
    // the element equals other as CvPolyElement::Equal compares it.
    int EqualRecord(const TierTabElementSporop& other, double tolerance = 0.0) const;

    DT_Double H1;
    DT_Double H2;
    DT_Double h1;
    DT_Double h2;
    DT_Int vReq;
    DT_Int v;
    DT_Int Locked;
    DT_Int IntAux;
    int Code1 = 0;
    int Code2 = 0;
    int Code3 = 0;

private:
    DT_Double origStartSTA_;
    DT_Double origEndSTA_;
};
