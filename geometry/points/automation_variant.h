#pragma once
// The few automation types that carry a point across automation interfaces: a VARIANT holding a
// one-dimensional SAFEARRAY. They keep the Windows layouts (a 24-byte VARIANT, the type word first) so a
// VARIANT can be handed to a peer as it stands; only what the points need is provided.
#include <cstddef>
#include <cstdint>

using VARTYPE = std::uint16_t;
constexpr VARTYPE VT_EMPTY = 0;
constexpr VARTYPE VT_R8 = 5;
constexpr VARTYPE VT_ARRAY = 0x2000;

struct SAFEARRAYBOUND {
    std::uint32_t cElements;
    std::int32_t lLbound;
};

struct SAFEARRAY {
    std::uint16_t cDims;
    std::uint16_t fFeatures;
    std::uint32_t cbElements;
    std::uint32_t cLocks;
    void* pvData;
    SAFEARRAYBOUND rgsabound[1];
};

struct VARIANT {
    VARTYPE vt;
    std::uint16_t wReserved1;
    std::uint16_t wReserved2;
    std::uint16_t wReserved3;
    union {
        double dblVal;
        SAFEARRAY* parray;
        unsigned char reserved[16];
    };
};

static_assert(sizeof(VARIANT) == 24 && offsetof(VARIANT, parray) == 8);

// A one-dimensional array of doubles with the given bound, zero-filled; null when out of memory or when
// the type is not VT_R8 or dims is not 1.
SAFEARRAY* SafeArrayCreate(VARTYPE type, unsigned dims, const SAFEARRAYBOUND* bounds);
void SafeArrayDestroy(SAFEARRAY* array);

void VariantInit(VARIANT* v);
// Destroys what the variant holds and leaves it empty.
void VariantClear(VARIANT* v);
