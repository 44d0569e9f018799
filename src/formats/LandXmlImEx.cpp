// What the LandXML import and export share: construction, the load hooks and the namespaces.
// The import is in LandXmlImport.cpp, the export in LandXmlExport.cpp.
#include "formats/LandXmlImEx.h"

#include "platform/base/TextFormat.h"

#include <pugixml.hpp>

LandXmlImEx::LandXmlImEx() : NamespaceUri(NamespaceFor(VersionMajor, VersionMinor)) {}

LandXmlImEx::~LandXmlImEx() = default;

void LandXmlImEx::OnBeforeLoad(const std::string&) {}

void LandXmlImEx::OnAfterLoad(bool) {}

std::string LandXmlImEx::NamespaceFor(int major, int minor) {
    return rigel::Format("http://www.landxml.org/schema/LandXML-%d.%d", major, minor);
}
