#pragma once
// A text of bytes (Windows-1252, as every text of the library) in 16 bytes: up to 15 bytes are
// kept in place, longer texts in a heap buffer of their own. Survey points carry two texts each
// and come by the hundred thousand; a std::string takes 32 bytes for the same text.
//
// Layout: in place, the text fills the first bytes, a NUL follows it and the last byte holds
// 15 minus the length (so a text of 15 bytes ends with the NUL that is its length byte). On the
// heap, the first 8 bytes hold the buffer's address, the next 7 the length and the last byte is
// kHeapTag.

#include <compare>
#include <cstddef>
#include <cstring>
#include <string>
#include <string_view>

namespace rigel {

class CompactText {
public:
    CompactText() noexcept { SetInlineLength(0); }
    explicit CompactText(std::string_view text) {
        SetInlineLength(0);
        assign(text);
    }
    CompactText(const CompactText& other) : CompactText(other.view()) {}
    CompactText(CompactText&& other) noexcept {
        std::memcpy(bytes_, other.bytes_, sizeof bytes_);
        other.SetInlineLength(0);
    }
    CompactText& operator=(const CompactText& other) {
        if (this != &other)
            assign(other.view());
        return *this;
    }
    CompactText& operator=(CompactText&& other) noexcept {
        if (this != &other) {
            Release();
            std::memcpy(bytes_, other.bytes_, sizeof bytes_);
            other.SetInlineLength(0);
        }
        return *this;
    }
    CompactText& operator=(std::string_view text) {
        assign(text);
        return *this;
    }
    ~CompactText() { Release(); }

    void assign(std::string_view text);
    void clear() noexcept {
        Release();
        SetInlineLength(0);
    }

    bool empty() const noexcept { return size() == 0; }
    std::size_t size() const noexcept;
    const char* data() const noexcept { return OnHeap() ? HeapData() : bytes_; }
    const char* c_str() const noexcept { return data(); }
    std::string_view view() const noexcept { return {data(), size()}; }
    operator std::string_view() const noexcept { return view(); }
    std::string str() const { return std::string(view()); }

    friend bool operator==(const CompactText& a, const CompactText& b) noexcept {
        return a.view() == b.view();
    }
    friend bool operator==(const CompactText& a, std::string_view b) noexcept {
        return a.view() == b;
    }
    friend std::strong_ordering operator<=>(const CompactText& a, const CompactText& b) noexcept {
        return a.view() <=> b.view();
    }
    friend std::strong_ordering operator<=>(const CompactText& a, std::string_view b) noexcept {
        return a.view() <=> b;
    }

    static constexpr std::size_t kInlineCapacity = 15;

private:
    static constexpr unsigned char kHeapTag = 0x80;

    bool OnHeap() const noexcept { return static_cast<unsigned char>(bytes_[15]) == kHeapTag; }
    char* HeapData() const noexcept {
        char* p;
        std::memcpy(&p, bytes_, sizeof p);
        return p;
    }
    void SetInlineLength(std::size_t n) noexcept {
        bytes_[n] = '\0';
        bytes_[15] = static_cast<char>(kInlineCapacity - n);
    }
    void Release() noexcept;

    char bytes_[16];
};

static_assert(sizeof(CompactText) == 16);

} // namespace rigel
