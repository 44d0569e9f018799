#pragma once
// A stable merge sort without recursion: bottom-up runs over one scratch buffer, O(n log n)
// comparisons on every input and constant stack depth. It relies on nothing about the comparison
// beyond answering: comparisons with a tolerance (which are not transitive) reorder but never
// misbehave, and elements the comparison holds equal keep their order.

#include <algorithm>
#include <cstddef>
#include <vector>

#include "platform/base/HugePages.h"

namespace rigel {

// Sorts items so that no item is followed by one that `before` puts ahead of it within a merged
// run; before(a, b) answers whether a belongs strictly before b.
template <typename T, typename Before> void StableMergeSort(std::vector<T>& items, Before before) {
    const std::size_t n = items.size();
    if (n < 2)
        return;
    // Short runs by insertion sort (guarded: it never walks past the run's start).
    constexpr std::size_t kRun = 16;
    for (std::size_t lo = 0; lo < n; lo += kRun) {
        const std::size_t hi = std::min(lo + kRun, n);
        for (std::size_t i = lo + 1; i < hi; ++i) {
            T item = std::move(items[i]);
            std::size_t j = i;
            while (j > lo && before(item, items[j - 1])) {
                items[j] = std::move(items[j - 1]);
                --j;
            }
            items[j] = std::move(item);
        }
    }
    std::vector<T> scratch;
    AssignLarge(scratch, n);
    std::vector<T>* from = &items;
    std::vector<T>* to = &scratch;
    for (std::size_t width = kRun; width < n; width *= 2) {
        for (std::size_t lo = 0; lo < n; lo += 2 * width) {
            const std::size_t mid = std::min(lo + width, n);
            const std::size_t hi = std::min(lo + 2 * width, n);
            std::size_t a = lo, b = mid, out = lo;
            while (a < mid && b < hi) {
                // Take from the right run only when it is strictly before: equal items stay in
                // their order.
                if (before((*from)[b], (*from)[a]))
                    (*to)[out++] = std::move((*from)[b++]);
                else
                    (*to)[out++] = std::move((*from)[a++]);
            }
            while (a < mid)
                (*to)[out++] = std::move((*from)[a++]);
            while (b < hi)
                (*to)[out++] = std::move((*from)[b++]);
        }
        std::swap(from, to);
    }
    if (from != &items)
        items = std::move(*from);
}

} // namespace rigel
