// The streaming LandXML reader: expat events build the kept subtrees in a pugixml document.
//
// Speed: outside the kept subtrees the handlers only count depth, and the character-data handler
// is switched off, so expat does not even report the text of skipped elements (most of a large
// file). Inside, text is gathered by runs, never by character.
#include "formats/LandXmlReader.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <exception>
#include <expat.h>
#include <memory>
#include <pugixml.hpp>
#include <string_view>
#include <strings.h>

namespace rigel {
namespace {

constexpr std::size_t kChunkBytes = 1 << 18;

std::string_view LocalName(const char* name) {
    const char* colon = std::strrchr(name, ':');
    return colon == nullptr ? std::string_view(name) : std::string_view(colon + 1);
}

bool IsKept(std::string_view local) {
    return local == "Units" || local == "CgPoints" || local == "Alignments";
}

bool OnlyWhiteSpace(const std::string& text) {
    return text.find_first_not_of(" \t\r\n") == std::string::npos;
}

// Windows-1252 as expat's single-byte table; the five bytes the code page leaves undefined map
// to the control characters of the same number, as Windows converts them.
int Windows1252Encoding(void*, const XML_Char* name, XML_Encoding* info) {
    static const char* const kNames[] = {"windows-1252", "cp1252", "x-cp1252"};
    bool known = false;
    for (const char* candidate : kNames)
        known = known || strcasecmp(name, candidate) == 0;
    if (!known)
        return XML_STATUS_ERROR;
    static const int kHigh[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                  0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
    for (int i = 0; i < 256; ++i)
        info->map[i] = i >= 0x80 && i < 0xA0 ? kHigh[i - 0x80] : i;
    info->data = nullptr;
    info->convert = nullptr;
    info->release = nullptr;
    return XML_STATUS_OK;
}

class StreamingReader {
public:
    StreamingReader(pugi::xml_document& document, const LandXmlReadOptions& options)
        : document_(document), options_(options), parser_(XML_ParserCreate(nullptr)) {
        if (parser_ == nullptr)
            throw std::bad_alloc();
        XML_SetUserData(parser_, this);
        XML_SetElementHandler(parser_, &StreamingReader::OnStart, &StreamingReader::OnEnd);
        XML_SetEntityDeclHandler(parser_, &StreamingReader::OnEntityDecl);
        XML_SetParamEntityParsing(parser_, XML_PARAM_ENTITY_PARSING_NEVER);
        XML_SetUnknownEncodingHandler(parser_, &Windows1252Encoding, nullptr);
    }
    ~StreamingReader() { XML_ParserFree(parser_); }
    StreamingReader(const StreamingReader&) = delete;
    StreamingReader& operator=(const StreamingReader&) = delete;

    bool Parse(const char* data, std::size_t size, bool final) {
        while (size > 0 || final) {
            const int piece = static_cast<int>(std::min<std::size_t>(size, 1u << 30));
            const bool last = final && static_cast<std::size_t>(piece) == size;
            if (XML_Parse(parser_, data, piece, last) != XML_STATUS_OK)
                return Failed();
            data += piece;
            size -= piece;
            if (last)
                break;
        }
        return true;
    }

    bool ParseFile(std::FILE* file) {
        for (;;) {
            void* buffer = XML_GetBuffer(parser_, static_cast<int>(kChunkBytes));
            if (buffer == nullptr)
                return Failed();
            const std::size_t got = std::fread(buffer, 1, kChunkBytes, file);
            if (got < kChunkBytes && std::ferror(file) != 0) {
                reason_ = "read error";
                return false;
            }
            const bool last = got < kChunkBytes;
            if (XML_ParseBuffer(parser_, static_cast<int>(got), last) != XML_STATUS_OK)
                return Failed();
            if (last)
                return true;
        }
    }

    const std::string& Reason() const { return reason_; }

private:
    bool Failed() {
        if (failure_)
            std::rethrow_exception(failure_);
        if (reason_.empty())
            reason_ = std::string(XML_ErrorString(XML_GetErrorCode(parser_)));
        reason_ += " at line " + std::to_string(XML_GetCurrentLineNumber(parser_)) + ", column " +
                   std::to_string(XML_GetCurrentColumnNumber(parser_));
        return false;
    }

    // An exception may not unwind through expat: keep it, stop, and throw it after the parse.
    template <typename Body> void Guarded(Body body) {
        try {
            body();
        } catch (...) {
            failure_ = std::current_exception();
            XML_StopParser(parser_, XML_FALSE);
        }
    }

    static void XMLCALL OnStart(void* self, const XML_Char* name, const XML_Char** attributes) {
        auto* reader = static_cast<StreamingReader*>(self);
        reader->Guarded([&] { reader->Start(name, attributes); });
    }
    static void XMLCALL OnEnd(void* self, const XML_Char*) {
        auto* reader = static_cast<StreamingReader*>(self);
        reader->Guarded([&] { reader->End(); });
    }
    static void XMLCALL OnText(void* self, const XML_Char* text, int length) {
        auto* reader = static_cast<StreamingReader*>(self);
        reader->Guarded([&] { reader->text_.append(text, static_cast<std::size_t>(length)); });
    }
    static void XMLCALL OnEntityDecl(void* self, const XML_Char*, int, const XML_Char*, int,
                                     const XML_Char*, const XML_Char*, const XML_Char*,
                                     const XML_Char*) {
        auto* reader = static_cast<StreamingReader*>(self);
        reader->reason_ = "the document declares an entity";
        XML_StopParser(reader->parser_, XML_FALSE);
    }

    static void CopyAttributes(pugi::xml_node node, const XML_Char** attributes) {
        for (; attributes[0] != nullptr; attributes += 2)
            node.append_attribute(attributes[0]).set_value(attributes[1]);
    }

    void Start(const XML_Char* name, const XML_Char** attributes) {
        if (keepDepth_ == 0) {
            ++depth_;
            if (depth_ == 1) {
                current_ = document_.append_child(std::string(LocalName(name)).c_str());
                CopyAttributes(current_, attributes);
                root_ = current_;
            } else if (depth_ == 2 && IsKept(LocalName(name))) {
                keepDepth_ = depth_;
                const std::string_view local = LocalName(name);
                current_ = root_.append_child(std::string(local).c_str());
                CopyAttributes(current_, attributes);
                pointGroup_ = local == "CgPoints" && options_.pointSink;
                groupHasName_ = !current_.attribute("name").empty();
                text_.clear();
                XML_SetCharacterDataHandler(parser_, &StreamingReader::OnText);
            }
            return;
        }
        FlushText();
        ++depth_;
        if (pointDepth_ != 0)
            return; // inside a streamed point: nothing below it is kept
        if (pointGroup_ && depth_ == keepDepth_ + 1 && LocalName(name) == "CgPoint") {
            StartPoint(attributes);
            return;
        }
        current_ = current_.append_child(std::string(LocalName(name)).c_str());
        CopyAttributes(current_, attributes);
    }

    void End() {
        if (keepDepth_ != 0) {
            FlushText();
            if (pointDepth_ != 0) {
                if (depth_ == pointDepth_)
                    EndPoint();
            } else {
                current_ = current_.parent();
            }
            if (depth_ == keepDepth_) {
                keepDepth_ = 0;
                pointGroup_ = false;
                XML_SetCharacterDataHandler(parser_, nullptr);
            }
        }
        --depth_;
    }

    // Text gathered since the last tag belongs to the element at depth_.
    void FlushText() {
        if (text_.empty())
            return;
        if (!OnlyWhiteSpace(text_)) {
            if (pointDepth_ != 0) {
                if (depth_ == pointDepth_ && !point_.hasText) {
                    point_.text.swap(text_);
                    point_.hasText = true;
                }
            } else {
                current_.append_child(pugi::node_pcdata).set_value(text_.c_str());
            }
        }
        text_.clear();
    }

    void StartPoint(const XML_Char** attributes) {
        pointDepth_ = depth_;
        point_.hasCode = point_.hasName = point_.hasText = false;
        point_.code.clear();
        point_.name.clear();
        point_.pntRef.clear();
        point_.text.clear();
        for (; attributes[0] != nullptr; attributes += 2) {
            const std::string_view attribute = attributes[0];
            if (attribute == "code") {
                point_.code = attributes[1];
                point_.hasCode = true;
            } else if (attribute == "name") {
                point_.name = attributes[1];
                point_.hasName = true;
            } else if (attribute == "pntRef") {
                point_.pntRef = attributes[1];
            }
        }
    }

    void EndPoint() {
        pointDepth_ = 0;
        LandXmlPointRecord record;
        record.groupHasName = groupHasName_;
        record.hasCode = point_.hasCode;
        record.hasName = point_.hasName;
        record.code = point_.code;
        record.name = point_.name;
        record.pntRef = point_.pntRef;
        record.text = point_.text;
        options_.pointSink(record);
    }

    struct PendingPoint {
        bool hasCode = false, hasName = false, hasText = false;
        std::string code, name, pntRef, text;
    };

    pugi::xml_document& document_;
    const LandXmlReadOptions& options_;
    XML_Parser parser_;
    pugi::xml_node root_;
    pugi::xml_node current_;
    int depth_ = 0;     // depth of the open element, the root being 1
    int keepDepth_ = 0; // depth of the kept child of the root being read, 0 outside
    int pointDepth_ = 0;
    bool pointGroup_ = false;
    bool groupHasName_ = false;
    std::string text_;
    PendingPoint point_;
    std::string reason_;
    std::exception_ptr failure_;
};

bool Finish(bool ok, const StreamingReader& reader, pugi::xml_document& document,
            std::string* error) {
    if (!ok) {
        document.reset();
        if (error != nullptr)
            *error = reader.Reason();
    }
    return ok;
}

} // namespace

bool ReadLandXmlFile(const std::string& path, pugi::xml_document& document,
                     const LandXmlReadOptions& options, std::string* error) {
    document.reset();
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file) {
        if (error != nullptr)
            *error = "cannot open " + path;
        return false;
    }
    StreamingReader reader(document, options);
    return Finish(reader.ParseFile(file.get()), reader, document, error);
}

bool ReadLandXmlBuffer(std::string_view bytes, pugi::xml_document& document,
                       const LandXmlReadOptions& options, std::string* error) {
    document.reset();
    StreamingReader reader(document, options);
    return Finish(reader.Parse(bytes.data(), bytes.size(), true), reader, document, error);
}

} // namespace rigel
