#include "platform/host/IniFile.h"

namespace rigel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view s) {
    while (!s.empty() && IsBlank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && IsBlank(s.back()))
        s.remove_suffix(1);
    return s;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

// The line without the "\r" of a CRLF end, which is not part of what the line says.
std::string_view Content(const std::string& raw) {
    std::string_view s(raw);
    if (!s.empty() && s.back() == '\r')
        s.remove_suffix(1);
    return s;
}

} // namespace

IniFile::Line IniFile::ParseLine(std::string raw) {
    Line line;
    line.raw = std::move(raw);
    std::string_view s = Trim(Content(line.raw));
    if (s.empty() || s.front() == ';' || s.front() == '#')
        return line;
    if (s.front() == '[') {
        std::size_t close = s.rfind(']');
        if (close != std::string_view::npos && close > 0) {
            line.kind = Kind::Section;
            line.name = std::string(Trim(s.substr(1, close - 1)));
        }
        return line;
    }
    std::size_t eq = line.raw.find('=');
    if (eq == std::string::npos)
        return line;
    std::string_view key = Trim(std::string_view(line.raw).substr(0, eq));
    if (key.empty())
        return line;
    line.kind = Kind::Entry;
    line.name = std::string(key);
    line.valueAt = eq + 1;
    return line;
}

IniFile IniFile::Parse(std::string_view text) {
    IniFile ini;
    while (!text.empty()) {
        std::size_t nl = text.find('\n');
        std::string_view raw = text.substr(0, nl);
        ini.lines_.push_back(ParseLine(std::string(raw)));
        if (nl == std::string_view::npos)
            break;
        text.remove_prefix(nl + 1);
    }
    return ini;
}

std::string IniFile::Text() const {
    std::string out;
    for (const Line& line : lines_) {
        out += line.raw;
        out += '\n';
    }
    return out;
}

std::size_t IniFile::SectionEnd(std::size_t header) const {
    std::size_t i = header + 1;
    while (i < lines_.size() && lines_[i].kind != Kind::Section)
        ++i;
    return i;
}

std::optional<std::string> IniFile::Get(std::string_view section, std::string_view entry) const {
    for (std::size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Kind::Section || !SameName(lines_[h].name, section))
            continue;
        const std::size_t end = SectionEnd(h);
        for (std::size_t i = h + 1; i < end; ++i) {
            const Line& line = lines_[i];
            if (line.kind == Kind::Entry && SameName(line.name, entry)) {
                std::string_view value = Content(line.raw).substr(line.valueAt);
                return UnescapeValue(Trim(value));
            }
        }
    }
    return std::nullopt;
}

bool IniFile::Set(std::string_view section, std::string_view entry, std::string_view value) {
    if (!IsValidSectionName(section) || !IsValidEntryName(entry))
        return false;
    std::size_t firstHeader = lines_.size();
    for (std::size_t h = 0; h < lines_.size(); ++h) {
        if (lines_[h].kind != Kind::Section || !SameName(lines_[h].name, section))
            continue;
        if (firstHeader == lines_.size())
            firstHeader = h;
        const std::size_t end = SectionEnd(h);
        for (std::size_t i = h + 1; i < end; ++i) {
            Line& line = lines_[i];
            if (line.kind == Kind::Entry && SameName(line.name, entry)) {
                // Keep the line's own spelling and layout up to the "=" and its line end.
                std::string head = line.raw.substr(0, line.valueAt);
                bool crlf = !line.raw.empty() && line.raw.back() == '\r';
                line.raw = head + EscapeValue(value) + (crlf ? "\r" : "");
                return true;
            }
        }
    }
    Line added = ParseLine(std::string(entry) + "=" + EscapeValue(value));
    if (firstHeader == lines_.size()) {
        lines_.push_back(ParseLine("[" + std::string(section) + "]"));
        lines_.push_back(std::move(added));
        return true;
    }
    // After the section's last entry, so that blank lines and comments that lead into the next
    // section stay where they are.
    std::size_t at = firstHeader + 1;
    const std::size_t end = SectionEnd(firstHeader);
    for (std::size_t i = firstHeader + 1; i < end; ++i)
        if (lines_[i].kind == Kind::Entry)
            at = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    return true;
}

bool IniFile::RemoveEntry(std::string_view section, std::string_view entry) {
    bool removed = false;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size();) {
        const Line& line = lines_[i];
        if (line.kind == Kind::Section)
            inSection = SameName(line.name, section);
        if (inSection && line.kind == Kind::Entry && SameName(line.name, entry)) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(i));
            removed = true;
        } else {
            ++i;
        }
    }
    return removed;
}

bool IniFile::RemoveSection(std::string_view section) {
    bool removed = false;
    bool inSection = false;
    std::vector<Line> kept;
    kept.reserve(lines_.size());
    for (Line& line : lines_) {
        if (line.kind == Kind::Section)
            inSection = SameName(line.name, section);
        if (inSection)
            removed = true;
        else
            kept.push_back(std::move(line));
    }
    lines_ = std::move(kept);
    return removed;
}

std::string IniFile::EscapeValue(std::string_view value) {
    std::size_t lead = 0;
    while (lead < value.size() && value[lead] == ' ')
        ++lead;
    std::size_t trail = value.size();
    while (trail > lead && value[trail - 1] == ' ')
        --trail;
    std::string out;
    out.reserve(value.size() + 8);
    for (std::size_t i = 0; i < value.size(); ++i) {
        const char c = value[i];
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case ' ':
            out += (i < lead || i >= trail) ? "\\s" : " ";
            break;
        default:
            out += c;
            break;
        }
    }
    return out;
}

std::string IniFile::UnescapeValue(std::string_view raw) {
    std::string out;
    out.reserve(raw.size());
    for (std::size_t i = 0; i < raw.size(); ++i) {
        if (raw[i] != '\\' || i + 1 == raw.size()) {
            out += raw[i];
            continue;
        }
        switch (raw[i + 1]) {
        case '\\':
            out += '\\';
            break;
        case 'n':
            out += '\n';
            break;
        case 'r':
            out += '\r';
            break;
        case 't':
            out += '\t';
            break;
        case 's':
            out += ' ';
            break;
        default:
            out += '\\';
            continue; // the next character is read as itself
        }
        ++i;
    }
    return out;
}

bool IniFile::IsValidSectionName(std::string_view name) {
    if (name.empty() || IsBlank(name.front()) || IsBlank(name.back()))
        return false;
    return name.find_first_of("\r\n") == std::string_view::npos;
}

bool IniFile::IsValidEntryName(std::string_view name) {
    if (!IsValidSectionName(name))
        return false;
    if (name.front() == '[' || name.front() == ';' || name.front() == '#')
        return false;
    return name.find('=') == std::string_view::npos;
}

} // namespace rigel
