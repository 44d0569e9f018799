#pragma once
// Stand-in for MFC's CString: a byte string in the Windows-1252 code page. Case changes touch
// ASCII letters only, so that results never depend on the C locale.

#include "platform/base/TextFormat.h"

#include <string>
#include <string_view>

class CString {
public:
    CString() = default;
    CString(const char* text) : s_(text ? text : "") {}
    CString(std::string text) : s_(std::move(text)) {}
    CString(std::string_view text) : s_(text) {}
    CString(char ch, int repeat) : s_(repeat > 0 ? static_cast<std::size_t>(repeat) : 0, ch) {}

    int GetLength() const { return static_cast<int>(s_.size()); }
    bool IsEmpty() const { return s_.empty(); }
    void Empty() { s_.clear(); }
    const char* GetString() const { return s_.c_str(); }
    operator const char*() const { return s_.c_str(); }
    const std::string& str() const { return s_; }
    std::string& str() { return s_; }

    char GetAt(int index) const { return s_.at(static_cast<std::size_t>(index)); }
    void SetAt(int index, char ch) { s_.at(static_cast<std::size_t>(index)) = ch; }

    template <typename... Args> void Format(std::string_view format, const Args&... args) {
        s_ = rigel::Format(format, args...);
    }
    template <typename... Args> void AppendFormat(std::string_view format, const Args&... args) {
        s_ += rigel::Format(format, args...);
    }

    CString& MakeUpper();
    CString& MakeLower();
    CString& Trim();
    CString& TrimLeft();
    CString& TrimRight();

    // Substrings clamp their arguments to the string, as MFC does.
    CString Mid(int first) const;
    CString Mid(int first, int count) const;
    CString Left(int count) const;
    CString Right(int count) const;

    // -1 when not found.
    int Find(char ch, int start = 0) const;
    int Find(std::string_view sub, int start = 0) const;
    int ReverseFind(char ch) const;

    // Return the new length.
    int Insert(int index, std::string_view text);
    int Delete(int index, int count = 1);
    int Replace(std::string_view from, std::string_view to);

    int Compare(std::string_view other) const;
    int CompareNoCase(std::string_view other) const;

    CString& operator=(const char* text) {
        s_ = text ? text : "";
        return *this;
    }
    CString& operator+=(std::string_view text) {
        s_ += text;
        return *this;
    }
    CString& operator+=(char ch) {
        s_ += ch;
        return *this;
    }
    friend CString operator+(const CString& a, std::string_view b) {
        return CString(a.s_ + std::string(b));
    }
    friend bool operator==(const CString& a, const CString& b) { return a.s_ == b.s_; }
    friend bool operator==(const CString& a, const char* b) { return a.s_ == (b ? b : ""); }

private:
    std::string s_;
};
