#include "frame/FileTypes.h"

namespace rigel {

// clang-format off
const std::array<FileTypeRow, 27> kFileTypes = {{
    {kSPW, "SPW", true},  {kKOF, "KOF", true},  {kLFT, "LFT", true},
    {kALC, "ALC", true},  {kCSV, "CSV", true},  {kTIT, "TIT", true},
    {kNYL, "NYL", true},  {kNDB, "NDB", true},  {kAllTypes, "", false},
    {kPXY, "PXY", true},  {kMIC, "MIC", true},  {kTXT, "TXT", true},
    {kLIN, "LIN", true},  {kDAT, "DAT", true},  {kGPS, "GPS", true},
    {kGEO, "GEO", true},  {kVER, "VER", true},  {kSPO, "SPO", true},
    {kPRF, "PRF", true},  {kVTD, "VTD", true},  {kTDT, "TDT", true},
    {kHDT, "HDT", true},  {kUDT, "UDT", true},  {kAllTrolley, "", false},
    {kXML, "XML", true},  {kNoExtension, "", false}, {kDXF, "DXF", false},
}};
// clang-format on

namespace {

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        char x = a[i], y = b[i];
        if (x >= 'a' && x <= 'z')
            x = static_cast<char>(x - 'a' + 'A');
        if (y >= 'a' && y <= 'z')
            y = static_cast<char>(y - 'a' + 'A');
        if (x != y)
            return false;
    }
    return true;
}

} // namespace

std::string_view ExtensionOfType(unsigned type) {
    if (type < 1 || type > kFileTypes.size())
        return {};
    return kFileTypes[type - 1].extension;
}

std::optional<unsigned> TypeOfExtension(std::string_view extension) {
    for (const FileTypeRow& row : kFileTypes)
        if (row.derivedFromName && EqualNoCase(row.extension, extension))
            return row.number;
    return std::nullopt;
}

std::string_view ExtensionOfName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot + 1);
}

// The folder part (up to and including the later of the last "/" and "\") is kept; the name part
// loses what follows its last "." (with the dot) and gains "." and the extension, unless the
// extension is empty or already begins with a dot.
std::string ReplaceExtension(std::string_view path, std::string_view extension) {
    const std::size_t slash = path.find_last_of("/\\");
    const std::size_t nameStart = slash == std::string_view::npos ? 0 : slash + 1;
    std::string_view name = path.substr(nameStart);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    std::string result(path.substr(0, nameStart));
    result += name;
    if (!extension.empty()) {
        if (extension.front() != '.')
            result += '.';
        result += extension;
    }
    return result;
}

} // namespace rigel
