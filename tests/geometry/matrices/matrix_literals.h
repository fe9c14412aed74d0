#pragma once
// Dense matrices written out in a test: table({{1, 2}, {3, 4}}) and vector({1, 2}).
#include "geometry/matrices/matrice.h"

#include <initializer_list>

namespace testing_support {

inline Matrice table(std::initializer_list<std::initializer_list<double>> values) {
    Matrice m(static_cast<std::uint32_t>(values.size()), static_cast<int>(values.begin()->size()));
    std::uint32_t i = 0;
    for (const auto& row : values) {
        std::uint32_t j = 0;
        for (double v : row)
            m[i][j++] = v;
        ++i;
    }
    return m;
}

inline Matrice vector(std::initializer_list<double> values) {
    Matrice m(static_cast<std::uint32_t>(values.size()), 0);
    std::uint32_t i = 0;
    for (double v : values)
        m.vec[i++] = v;
    return m;
}

} // namespace testing_support
