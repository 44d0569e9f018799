#include "platform/base/CompactText.h"

#include <stdexcept>

namespace rigel {

static_assert(sizeof(char*) <= 8, "the heap form keeps the address in 8 bytes");

std::size_t CompactText::size() const noexcept {
    if (!OnHeap())
        return kInlineCapacity - static_cast<unsigned char>(bytes_[15]);
    std::size_t n = 0;
    for (int i = 6; i >= 0; --i)
        n = (n << 8) | static_cast<unsigned char>(bytes_[8 + i]);
    return n;
}

void CompactText::assign(std::string_view text) {
    if (text.size() <= kInlineCapacity) {
        // text may lie in this object's own buffer: move it before the buffer goes.
        char copy[kInlineCapacity];
        if (!text.empty())
            std::memcpy(copy, text.data(), text.size());
        Release();
        if (!text.empty())
            std::memcpy(bytes_, copy, text.size());
        SetInlineLength(text.size());
        return;
    }
    if (text.size() >= (std::size_t{1} << 56))
        throw std::length_error("CompactText: text too long");
    char* buffer = new char[text.size() + 1];
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    Release();
    std::memcpy(bytes_, &buffer, sizeof buffer);
    std::size_t n = text.size();
    for (int i = 0; i < 7; ++i, n >>= 8)
        bytes_[8 + i] = static_cast<char>(n & 0xFF);
    bytes_[15] = static_cast<char>(kHeapTag);
}

void CompactText::Release() noexcept {
    if (OnHeap())
        delete[] HeapData();
}

} // namespace rigel
