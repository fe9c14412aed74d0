#pragma once
// The records of the projections own plain heap arrays (their layout is shared with outside programs): a
// copy of n elements, made with new[] so that the records free it with delete[]; null for no elements.
#include <algorithm>
#include <cstddef>
#include <cstring>

namespace geometry::projections {

template <class T> T* ownedCopy(const T* source, std::size_t n) {
    if (!source || n == 0) return nullptr;
    T* const copy = new T[n];
    std::copy_n(source, n, copy);
    return copy;
}

// A copy of a text with its terminator.
inline char* ownedCopy(const char* text) {
    return text ? ownedCopy(text, std::strlen(text) + 1) : nullptr;
}

} // namespace geometry::projections
