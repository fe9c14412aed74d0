// What the dense and the profile matrices print through the output routing.
#include "geometry/matrices/matrice.h"
#include "geometry/matrices/matrice_sym.h"
#include "services/output/output.h"

void Matrice::Mprint() const {
    if (vec) {
        mprintf("\n");
        for (std::uint32_t i = 0; i < rows; ++i)
            mprintf("%+6e  ", vec[i]);
        return;
    }
    if (!lines) return;
    auto header = [this] {
        mprintf("\n[NoCol]:");
        for (std::uint32_t j = 0; j < cols; ++j)
            mprintf("        %06d ", j);
    };
    header();
    for (std::uint32_t i = 0; i < rows; ++i) {
        mprintf("\n[%05d]:", i);
        for (std::uint32_t j = 0; j < cols; ++j)
            mprintf("%+6e ", lines[i][j]);
    }
    // A long matrix names its columns again below, where the reader is.
    if (rows >= 21) header();
}

void MatriceSym::Mprint() const {
    for (std::uint32_t i = 0; i < rows && table; ++i) {
        mprintf("\n[%05d]", i);
        const pLine row = table[i];
        if (!row.values) continue;
        mprintf("[%05d,%05d]:", row.first, row.last);
        for (std::int32_t j = 0; j <= row.last - row.first; ++j)
            mprintf("%+6e ", row.values[j]);
    }
}
