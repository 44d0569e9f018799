#pragma once
// Large work arrays (the sorter's and the k-d tree's, some hundred MB for a million points) are
// filled once, right after they are allocated. With 4 KiB pages that first touch costs one page
// fault per 4 KiB, about a fifth of a sort's time on a virtual machine; offering the array to the
// kernel's transparent huge pages first makes it one fault per 2 MiB. Only advice: where the
// kernel does not take it (other systems, huge pages switched off) nothing changes.

#include <cstddef>

namespace rigel {

// Advises huge pages for the whole 2 MiB pages inside [p, p + bytes); blocks under 4 MiB are
// left alone.
void AdviseHugePages(const void* p, std::size_t bytes);

// Reserves room for n elements in v and advises huge pages for it, before anything touches it.
template <typename Vector> void ReserveLarge(Vector& v, std::size_t n) {
    v.reserve(n);
    AdviseHugePages(v.data(), v.capacity() * sizeof(typename Vector::value_type));
}

// v holds n value-initialised elements, in storage advised for huge pages before it was filled.
template <typename Vector> void AssignLarge(Vector& v, std::size_t n) {
    v.clear();
    ReserveLarge(v, n);
    v.resize(n);
}

} // namespace rigel
