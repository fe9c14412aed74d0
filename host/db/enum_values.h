#pragma once
// Enumerations read from files: a value that is none of the enumeration's own is mapped to its default, as
// the DXF reference has readers do, never stored as an enum value that does not exist.
#include <initializer_list>

#include "host/db/acdb.h"
#include "host/db/cm_color.h"

namespace host {

template <typename E> E enumOrDefault(long long value, std::initializer_list<E> values, E fallback) {
    for (E e : values)
        if (static_cast<long long>(e) == value) return e;
    return fallback;
}

// A line weight; ByLayer for a value that is none.
inline AcDb::LineWeight lineWeightOrDefault(long long value) {
    using namespace AcDb;
    return enumOrDefault(value,
                         {kLnWt000, kLnWt005, kLnWt009, kLnWt013,     kLnWt015,     kLnWt018,        kLnWt020,
                          kLnWt025, kLnWt030, kLnWt035, kLnWt040,     kLnWt050,     kLnWt053,        kLnWt060,
                          kLnWt070, kLnWt080, kLnWt090, kLnWt100,     kLnWt106,     kLnWt120,        kLnWt140,
                          kLnWt158, kLnWt200, kLnWt211, kLnWtByLayer, kLnWtByBlock, kLnWtByLwDefault},
                         kLnWtByLayer);
}

// An entity's colour index, from 0 (ByBlock) to 256 (ByLayer); ByLayer for any other value.
inline Adesk::UInt16 colorIndexOrDefault(long long value) {
    return value >= AcCmColor::kByBlock && value <= AcCmColor::kByLayer ? static_cast<Adesk::UInt16>(value)
                                                                        : AcCmColor::kByLayer;
}

} // namespace host
