#pragma once
// Reads a LandXML document with expat into a small pugixml document that holds only what the
// import asks for: the root element with its attributes (the namespace declarations among them,
// as ordinary attributes) and the root's children Units, CgPoints and Alignments with their whole
// subtrees. Everything else (surfaces of millions of faces, parcels, pipe networks) is parsed for
// well-formedness and passed over without being stored.
//
// Element names are stored by their local name (the part after the last colon), so "lx:Alignment"
// and "Alignment" both become "Alignment" and queries work whatever prefix the file uses.
// Attribute names are kept as written ("xmlns:lx", "xsi:schemaLocation"). Text runs that are only
// white space are dropped, as pugixml's own parser does; other text is kept as written. Texts are
// UTF-8 (expat converts UTF-16, ISO-8859-1, US-ASCII and, through our own table, Windows-1252).
//
// Entities: a document that declares any entity (general or parameter, internal or external) is
// refused, so that nothing is ever expanded (no "billion laughs") and nothing is ever fetched (no
// external entity; parameter entities and external DTD subsets are never read). Well-formed
// LandXML has no use for entity declarations; the five predefined entities and character
// references work as usual.
//
// Memory grows with the kept parts only. The points of a large CgPoints group may instead be
// handed one by one to a sink (LandXmlReadOptions::pointSink) and so not be stored at all.

#include <functional>
#include <string>
#include <string_view>

namespace pugi {
class xml_document;
}

namespace rigel {

// A CgPoint child of a CgPoints element of the root, as it streams past. The texts are UTF-8 and
// valid only during the call.
struct LandXmlPointRecord {
    bool groupHasName = false; // the CgPoints group has a "name" attribute
    bool hasCode = false;
    bool hasName = false;
    std::string_view code;
    std::string_view name;
    std::string_view pntRef; // empty when absent
    std::string_view text;   // the point's first text run that is not only white space
};

struct LandXmlReadOptions {
    // When set, every CgPoint child of the root's CgPoints groups goes here instead of into the
    // document (the groups stay in the document with their attributes and other children).
    std::function<void(const LandXmlPointRecord&)> pointSink;
};

// Reads the file in chunks. false (and an empty document) for a file that cannot be opened or is
// not well-formed XML, or that declares an entity; *error, when given, then says why.
bool ReadLandXmlFile(const std::string& path, pugi::xml_document& document,
                     const LandXmlReadOptions& options = {}, std::string* error = nullptr);

// The same from bytes in memory.
bool ReadLandXmlBuffer(std::string_view bytes, pugi::xml_document& document,
                       const LandXmlReadOptions& options = {}, std::string* error = nullptr);

} // namespace rigel
