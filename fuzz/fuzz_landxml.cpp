// The LandXML reader and the whole import (units, points, alignments, profiles, cants) on any
// bytes. Besides not crashing: the reader and the import agree on whether the document loads (and
// a document that does not load gives no points),
// nothing makes more elements, profile points or survey points than the input has tags, every
// message box the import shows is one of the answered ones (one per Spiral element at most), and
// the points handed over by the import's own way (TakePoints) are the copies AppendPoints made.

#include "FuzzInput.h"

#include "formats/LandXmlImEx.h"
#include "formats/LandXmlReader.h"
#include "platform/base/VS_LinjePaalegg.h"
#include "platform/host/ScriptedHostUi.h"
#include "platform/polyline/CvPolyLine.h"
#include "points/CvSporopPointList.h"

#include <algorithm>
#include <pugixml.hpp>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const long tags = std::count(bytes.begin(), bytes.end(), '<');

    pugi::xml_document document;
    const bool read = rigel::ReadLandXmlBuffer(bytes, document);
    // One answer for every Spiral the import could complain about (in any encoding).
    const std::size_t spirals = document.select_nodes("//Spiral").size();

    rigel::ScriptedHostUi ui;
    for (std::size_t i = 0; i < spirals; ++i)
        ui.QueueMessageBoxAnswer(IDOK);
    rigel::ScopedHostUi scoped(ui);
    CvPolyLine alignment(1);
    VS_LinjePaalegg profile;
    CvSporopPointList points(1);
    LandXmlImEx importer;
    importer.AlignmentTarget = &alignment;
    importer.ProfileTarget = &profile;
    // Half the inputs load first without processing, so that processing runs on a kept document.
    if (size > 0 && (data[0] & 1) != 0)
        importer.LoadBuffer(bytes, false);
    const bool loaded = importer.LoadBuffer(bytes, true);
    importer.AppendPoints(points);
    CvSporopPointList taken(1);
    importer.PointsByKey.TakePoints(taken);
    if (taken.Antall() != points.Antall() || !importer.PointsByKey.empty())
        __builtin_trap();
    for (int i = 0; i < points.Antall(); ++i) {
        const CvSporopPoint& a = *points.Punkt(i);
        const CvSporopPoint& b = *taken.Punkt(i);
        if (!a.Lik(b, 0.0) || a.code != b.code || a.description != b.description)
            __builtin_trap();
    }
    if (loaded != read || (!loaded && points.Antall() != 0))
        __builtin_trap();
    if (alignment.GetCount() > tags || profile.Antall() > tags || points.Antall() > tags ||
        !ui.Unanswered().empty())
        __builtin_trap();
    return 0;
}
