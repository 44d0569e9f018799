#pragma once
// File-type numbers and their extensions: one constant table, both directions.

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace rigel {

// clang-format off
enum FileType : unsigned {
    kSPW = 1, kKOF = 2, kLFT = 3, kALC = 4, kCSV = 5, kTIT = 6, kNYL = 7, kNDB = 8,
    kAllTypes = 9, // unknown when derived from a name; every type to the save dispatcher
    kPXY = 10, kMIC = 11, kTXT = 12, kLIN = 13, kDAT = 14, kGPS = 15, kGEO = 16, kVER = 17,
    kSPO = 18, kPRF = 19, kVTD = 20, kTDT = 21, kHDT = 22, kUDT = 23,
    kAllTrolley = 24, // the three trolley files, to the save dispatcher
    kXML = 25, kNoExtension = 26, kDXF = 27,
};
// clang-format on

struct FileTypeRow {
    unsigned number;
    std::string_view extension; // empty: the type has none
    bool derivedFromName;       // found by the reverse lookup from a name
};

// Rows in number order 1..27.
extern const std::array<FileTypeRow, 27> kFileTypes;

// The extension of a type (upper case, no dot); empty for a type without one or unknown.
std::string_view ExtensionOfType(unsigned type);

// The type of an extension (any case, no dot), in table order; nothing when none matches.
std::optional<unsigned> TypeOfExtension(std::string_view extension);

// The text after the last "." of name, empty when there is none.
std::string_view ExtensionOfName(std::string_view name);

// name with its extension replaced by extension (see ReplaceExtension in FileTypes.cpp).
std::string ReplaceExtension(std::string_view path, std::string_view extension);

} // namespace rigel
