// The profile file on any bytes. The input is a profile text, then after a NUL byte a section, an
// entry and a value, each ended by a NUL (missing pieces are empty). The text must write back to
// its own bytes (with a last line end added); setting the entry must be read back at once and
// after writing, must change no line but its own or add only its own lines, and a refused name
// must leave the text as it was; removing the entry must leave it unreadable; and any value must
// survive its escaping.

#include "FuzzInput.h"

#include "platform/host/IniFile.h"

#include <string>
#include <string_view>
#include <vector>

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    for (std::size_t nl; (nl = text.find('\n')) != std::string_view::npos;) {
        lines.push_back(text.substr(0, nl));
        text.remove_prefix(nl + 1);
    }
    return lines;
}

// after holds before's lines in order, with one of them replaced or at most two lines added.
bool OnlyOwnLinesChanged(std::string_view before, std::string_view after) {
    const std::vector<std::string_view> a = Lines(before), b = Lines(after);
    if (b.size() == a.size()) {
        std::size_t differ = 0;
        for (std::size_t i = 0; i < a.size(); ++i)
            differ += a[i] != b[i];
        return differ <= 1;
    }
    if (b.size() < a.size() || b.size() > a.size() + 2)
        return false;
    std::size_t i = 0;
    for (std::string_view line : b)
        if (i < a.size() && line == a[i])
            ++i;
    return i == a.size();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view input(reinterpret_cast<const char*>(data), size);
    std::string_view pieces[4];
    for (std::string_view& piece : pieces) {
        const std::size_t end = input.find('\0');
        piece = input.substr(0, end);
        input.remove_prefix(end == std::string_view::npos ? input.size() : end + 1);
    }
    const auto [text, section, entry, value] = pieces;

    rigel::IniFile ini = rigel::IniFile::Parse(text);
    const std::string written = ini.Text();
    if (written != std::string(text) + (text.empty() || text.back() == '\n' ? "" : "\n"))
        __builtin_trap();

    if (rigel::IniFile::UnescapeValue(rigel::IniFile::EscapeValue(value)) != value)
        __builtin_trap();

    if (!ini.Set(section, entry, value)) {
        if (ini.Text() != written || (rigel::IniFile::IsValidSectionName(section) &&
                                      rigel::IniFile::IsValidEntryName(entry)))
            __builtin_trap();
        return 0;
    }
    const std::string changed = ini.Text();
    if (ini.Get(section, entry) != value ||
        rigel::IniFile::Parse(changed).Get(section, entry) != value ||
        !OnlyOwnLinesChanged(written, changed))
        __builtin_trap();

    if (!ini.RemoveEntry(section, entry) || ini.Get(section, entry).has_value())
        __builtin_trap();
    return 0;
}
