#include "geometry/matrices/matrice_sym.h"

#include "geometry/matrices/profile_rows.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>

namespace {

using geometry::matrices::ColumnRange;
using geometry::matrices::storedColumns;

constexpr std::int32_t kRowGrowth = 10;

double* zeroedBlock(std::int64_t n) {
    return n > 0 && n <= INT_MAX
               ? static_cast<double*>(std::calloc(static_cast<std::size_t>(n), sizeof(double)))
               : nullptr;
}

double* outOfMemory() {
    g_CalculState = -100;
    return nullptr;
}

} // namespace

double* geometry::matrices::growRow(MatriceSym::pLine& row, std::int32_t j, std::int32_t& capacity,
                                    std::int32_t widest) {
    if (!row.values) {
        double* block = zeroedBlock(kRowGrowth);
        if (!block) return outOfMemory();
        row.values = block;
        row.first = row.last = j;
        row.allocated = capacity = kRowGrowth;
    } else if (j < row.first) {
        const std::int64_t added = std::int64_t{row.first} - j;
        double* block = zeroedBlock(capacity + added);
        if (!block) return outOfMemory();
        std::memcpy(block + added, row.values,
                    static_cast<std::size_t>(row.last - row.first + 1) * sizeof(double));
        std::free(row.values);
        row.values = block;
        row.allocated += static_cast<std::int32_t>(added);
        capacity += static_cast<std::int32_t>(added);
        row.first = j;
    } else if (j > row.last) {
        const std::int64_t wanted = std::int64_t{j} - row.first + kRowGrowth;
        if (std::int64_t{j} >= std::int64_t{row.first} + capacity) {
            const std::int64_t size =
                std::max(wanted, std::min(std::int64_t{capacity} * 2, std::int64_t{widest} - row.first));
            void* grown = size <= INT_MAX
                              ? std::realloc(row.values, static_cast<std::size_t>(size) * sizeof(double))
                              : nullptr;
            if (!grown) return outOfMemory();
            row.values = static_cast<double*>(grown);
            capacity = static_cast<std::int32_t>(size);
        }
        if (std::int64_t{j} >= std::int64_t{row.first} + row.allocated)
            row.allocated = static_cast<std::int32_t>(wanted);
        std::fill(row.values + (row.last + 1 - row.first), row.values + (j + 1 - row.first), 0.0);
        row.last = j;
    }
    return row.values + (j - row.first);
}

double* MatriceSym::pLine::pAtt(std::int32_t j) {
    std::int32_t capacity = allocated;
    return geometry::matrices::growRow(*this, j, capacity, 0);
}

MatriceSym::MatriceSym(const MatriceSym& s) {
    copyFrom(s);
}

MatriceSym& MatriceSym::operator=(const MatriceSym& s) {
    if (&s == this) return *this;
    release();
    copyFrom(s);
    return *this;
}

MatriceSym& MatriceSym::operator=(const Matrice& m) {
    SetNul(m.rows, m.cols);
    for (std::uint32_t i = 0; i < rows && table; ++i) {
        for (std::uint32_t j = 0; j < cols; ++j) {
            const double value = m.element(i, j);
            if (value == 0) continue;
            double* at = pAt(i, j);
            if (!at) {
                fail();
                break;
            }
            *at = value;
        }
    }
    return *this;
}

MatriceSym::~MatriceSym() {
    release();
}

void MatriceSym::SetNul(std::uint32_t r, std::uint32_t c) {
    release();
    if (r == 0 || c == 0) return;
    table = static_cast<pLine*>(std::calloc(std::size_t{r} + 1, sizeof(pLine)));
    if (!table) return fail();
    rows = r;
    cols = c;
}

void MatriceSym::VideMatrice() {
    if (borrowed) return;
    const std::uint32_t r = rows;
    const std::uint32_t c = cols;
    release();
    rows = r;
    cols = c;
}

MatriceSym::pLine MatriceSym::operator[](std::uint32_t i) const {
    if (!table) return pLine{};
    return table[std::min(i, rows)];
}

double* MatriceSym::pAt(std::uint32_t i, std::uint32_t j) {
    if (!table || i >= rows || j >= cols) return nullptr;
    return table[i].pAtt(static_cast<std::int32_t>(j));
}

int MatriceSym::CopyTo(Matrice& m, int transposed) const {
    m.SetNul(transposed ? cols : rows, static_cast<int>(transposed ? rows : cols));
    if (!table) return 1;
    if (!m.hasStorage()) return 0;
    for (std::uint32_t i = 0; i < rows; ++i) {
        const pLine row = table[i];
        const ColumnRange range = storedColumns(row, cols);
        for (std::uint32_t j = range.begin; j < range.end; ++j)
            m[transposed ? j : i][transposed ? i : j] = row[static_cast<std::int32_t>(j)];
    }
    return 1;
}

std::uint32_t MatriceSym::GetMinMaxCol(std::uint32_t*& minRow, std::uint32_t*& maxRow) const {
    if (!minRow) minRow = static_cast<std::uint32_t*>(std::calloc(cols, sizeof(std::uint32_t)));
    if (!maxRow) maxRow = static_cast<std::uint32_t*>(std::calloc(cols, sizeof(std::uint32_t)));
    if (cols == 0) return 0;
    if (!minRow || !maxRow) {
        g_CalculState = -100;
        return 0;
    }
    std::memset(minRow, 0x7F, cols * sizeof(std::uint32_t));
    std::memset(maxRow, 0, cols * sizeof(std::uint32_t));
    for (std::uint32_t i = 0; i < rows && table; ++i) {
        const ColumnRange range = storedColumns(table[i], cols);
        for (std::uint32_t j = range.begin; j < range.end; ++j) {
            if (minRow[j] == 0x7F7F7F7F) minRow[j] = i;
            maxRow[j] = i;
        }
    }
    return cols;
}

MatriceSym MatriceSym::Transpose() const {
    MatriceSym result;
    result.borrowed = 1;
    std::uint32_t* minRow = nullptr;
    std::uint32_t* maxRow = nullptr;
    if (table && GetMinMaxCol(minRow, maxRow) == cols) {
        result.SetNul(cols, rows);
        // Column by column, so that each row of the result only grows at its end.
        for (std::uint32_t j = 0; j < cols && result.table; ++j) {
            for (std::uint32_t i = minRow[j]; i <= maxRow[j] && i < rows; ++i) {
                const double value = table[i][static_cast<std::int32_t>(j)];
                if (value == 0) continue;
                double* at = result.pAt(j, i);
                if (!at) {
                    result.fail();
                    break;
                }
                *at = value;
            }
        }
    }
    std::free(minRow);
    std::free(maxRow);
    result.borrowed = 1;
    return result;
}

void MatriceSym::release() {
    if (table) {
        for (std::uint32_t i = 0; i < rows; ++i)
            std::free(table[i].values);
        std::free(table);
    }
    table = nullptr;
    rows = cols = 0;
    borrowed = 0;
}

void MatriceSym::takeOver(MatriceSym& s) {
    rows = s.rows;
    cols = s.cols;
    table = s.table;
    pivotMini = s.pivotMini;
    s.table = nullptr;
    s.rows = s.cols = 0;
    s.borrowed = 0;
}

void MatriceSym::copyFrom(const MatriceSym& s) {
    // A returned result is a temporary of the caller's expression: taking its storage is the whole point.
    if (s.borrowed) return takeOver(const_cast<MatriceSym&>(s));
    pivotMini = s.pivotMini;
    if (!s.table) return;
    SetNul(s.rows, s.cols);
    for (std::uint32_t i = 0; i < rows && table; ++i) {
        const pLine from = s.table[i];
        if (!from.values) continue;
        const std::int32_t count = from.last - from.first + 1;
        const double* begin = from.values;
        const double* end = from.values + count;
        const double* firstNonZero = std::find_if(begin, end, [](double v) { return v != 0; });
        if (firstNonZero == end) continue;
        const double* lastNonZero = end - 1;
        while (*lastNonZero == 0)
            --lastNonZero;
        const auto kept = static_cast<std::int32_t>(lastNonZero - firstNonZero + 1);
        double* block = zeroedBlock(kept);
        if (!block) return fail();
        std::memcpy(block, firstNonZero, static_cast<std::size_t>(kept) * sizeof(double));
        pLine& to = table[i];
        to.values = block;
        to.first = from.first + static_cast<std::int32_t>(firstNonZero - begin);
        to.last = to.first + kept - 1;
        to.allocated = kept;
    }
}

void MatriceSym::fail() {
    release();
    g_CalculState = -100;
}
