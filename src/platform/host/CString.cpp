#include "platform/host/CString.h"

#include <algorithm>

namespace {

char UpperAscii(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}
char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

} // namespace

CString& CString::MakeUpper() {
    std::transform(s_.begin(), s_.end(), s_.begin(), UpperAscii);
    return *this;
}

CString& CString::MakeLower() {
    std::transform(s_.begin(), s_.end(), s_.begin(), LowerAscii);
    return *this;
}

CString& CString::TrimLeft() {
    std::size_t i = 0;
    while (i < s_.size() && IsBlank(s_[i]))
        ++i;
    s_.erase(0, i);
    return *this;
}

CString& CString::TrimRight() {
    while (!s_.empty() && IsBlank(s_.back()))
        s_.pop_back();
    return *this;
}

CString& CString::Trim() {
    return TrimRight().TrimLeft();
}

CString CString::Mid(int first) const {
    return Mid(first, GetLength());
}

CString CString::Mid(int first, int count) const {
    first = std::clamp(first, 0, GetLength());
    count = std::clamp(count, 0, GetLength() - first);
    return CString(s_.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(count)));
}

CString CString::Left(int count) const {
    return Mid(0, count);
}

CString CString::Right(int count) const {
    count = std::clamp(count, 0, GetLength());
    return Mid(GetLength() - count, count);
}

int CString::Find(char ch, int start) const {
    if (start < 0 || start >= GetLength())
        return -1;
    std::size_t at = s_.find(ch, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(std::string_view sub, int start) const {
    if (start < 0 || start > GetLength())
        return -1;
    std::size_t at = s_.find(sub, static_cast<std::size_t>(start));
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::ReverseFind(char ch) const {
    std::size_t at = s_.rfind(ch);
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Insert(int index, std::string_view text) {
    index = std::clamp(index, 0, GetLength());
    s_.insert(static_cast<std::size_t>(index), text);
    return GetLength();
}

int CString::Delete(int index, int count) {
    if (index >= 0 && index < GetLength() && count > 0)
        s_.erase(static_cast<std::size_t>(index), static_cast<std::size_t>(count));
    return GetLength();
}

int CString::Replace(std::string_view from, std::string_view to) {
    if (from.empty())
        return 0;
    int n = 0;
    std::size_t at = 0;
    while ((at = s_.find(from, at)) != std::string::npos) {
        s_.replace(at, from.size(), to);
        at += to.size();
        ++n;
    }
    return n;
}

int CString::Compare(std::string_view other) const {
    int c = std::string_view(s_).compare(other);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

int CString::CompareNoCase(std::string_view other) const {
    std::size_t n = std::min(s_.size(), other.size());
    for (std::size_t i = 0; i < n; ++i) {
        unsigned char a = static_cast<unsigned char>(LowerAscii(s_[i]));
        unsigned char b = static_cast<unsigned char>(LowerAscii(other[i]));
        if (a != b)
            return a < b ? -1 : 1;
    }
    return s_.size() == other.size() ? 0 : (s_.size() < other.size() ? -1 : 1);
}
