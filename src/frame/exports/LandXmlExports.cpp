// The alignments of a LandXML file read through the export: an importer made for the call.

#include "formats/LandXmlImEx.h"
#include "frame/ExportGuard.h"
#include "frame/RigelExports.h"

int rigel_GetLandXMLAlignment(const char* path, CvPolyLine* alignment, VS_LinjePaalegg* profile) {
    rigel::GuardExport("rigel_GetLandXMLAlignment", [&] {
        LandXmlImEx importer;
        importer.ImportAlignment(path, alignment, profile);
    });
    return 1;
}
