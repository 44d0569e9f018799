#pragma once
// The text of an INI profile, kept line by line so that setting one entry rewrites only that line
// and every other line (comments, blank lines, unknown sections, CRLF ends) keeps its bytes.
//
// Format:
//   [Section]
//   Entry=value
//   ; a comment (also "# ...")
// - Lines end with "\n"; a "\r" before it is accepted on reading. New lines are written with "\n".
// - Section and entry names compare without regard to ASCII case; the first section of a name
//   and the first entry of a name in it win, as on Windows. Blanks around names and around the
//   raw value are not part of them. Lines before the first section belong to no section.
// - Values are escaped so that any byte string round-trips: "\\" a backslash, "\n" a line feed,
//   "\r" a carriage return, "\t" a tab, "\s" a space (written only for leading and trailing
//   spaces, which would otherwise be trimmed). A backslash before any other character, or at the
//   end, stands for itself. Bytes 0x80 to 0xFF are written unchanged (Windows-1252 text).
// - A name that cannot be written so that it reads back the same (empty, with a line break,
//   leading or trailing blanks; an entry with "=" or starting with "[", ";" or "#") is refused.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rigel {

class IniFile {
public:
    static IniFile Parse(std::string_view text);
    std::string Text() const;

    // The unescaped value, or nothing when the section or entry is missing.
    std::optional<std::string> Get(std::string_view section, std::string_view entry) const;
    // Replaces the first entry of the name (keeping its spelling) or adds it at the end of the
    // section's entries, adding the section at the end of the file when it is missing. False when
    // a name is refused.
    bool Set(std::string_view section, std::string_view entry, std::string_view value);
    // Remove every entry of the name from every section of the name / every such section with
    // its lines. True when something was removed.
    bool RemoveEntry(std::string_view section, std::string_view entry);
    bool RemoveSection(std::string_view section);

    static std::string EscapeValue(std::string_view value);
    static std::string UnescapeValue(std::string_view raw);
    static bool IsValidSectionName(std::string_view name);
    static bool IsValidEntryName(std::string_view name);

private:
    enum class Kind { Other, Section, Entry };
    struct Line {
        std::string raw; // the bytes of the line without its "\n"
        Kind kind = Kind::Other;
        std::string name;        // section name or entry name, trimmed
        std::size_t valueAt = 0; // for entries: where the raw value starts (after "=")
    };
    static Line ParseLine(std::string raw);
    // End (exclusive) of the section whose header is at index.
    std::size_t SectionEnd(std::size_t header) const;

    std::vector<Line> lines_;
};

} // namespace rigel
