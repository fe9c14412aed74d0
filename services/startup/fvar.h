#pragma once
// The library's variable block `vfVar`: one per process, 618 bytes with no gaps, the same layout as the block
// of the other product family's variables module ("QOLMEX64.DLL", "QOLMEX.DLL" in the 32-bit build), with
// which it is synchronised. Fields without a reader in this system keep their places; every byte not listed
// stays zero.
#include <cstddef>
#include <cstdint>

// A handle or routine in an 8-byte slot whatever the build's pointer width: the 32-bit build writes it
// zero-extended and reads its low half, so that the block has one layout in both builds.
template <class T> struct __attribute__((packed)) WidePointer {
    std::uint64_t bits;

    WidePointer& operator=(T value) {
        bits = reinterpret_cast<std::uintptr_t>(value);
        return *this;
    }
    operator T() const { return reinterpret_cast<T>(static_cast<std::uintptr_t>(bits)); }
};

struct __attribute__((packed)) fVar {
    std::int32_t size;                  // 618
    std::uint64_t exchanged;            // handed to the other family's block
    std::uint64_t fromOther12;          // taken from the other family's block
    WidePointer<void*> moduleHandle;    // the library's module; non-null once the library is loaded
    std::uint64_t fromOther28;          // taken from the other family's block
    char zoneName[40];                  // taken from the other family's block; "" without it
    WidePointer<int (*)()> returnsZero; // a routine that answers 0
    std::uint8_t reserved84[16];
    WidePointer<void (*)(char*)> asyncErrorBox; // the asynchronous error box
    std::uint8_t reserved108[28];
    double htcMode; // 2.0, used by the map-tile conversions
    std::uint8_t reserved144[254];
    std::int32_t jigFlags;        // bit value 2: a based rubber band is active in the segment jig
    std::int32_t pluginFlags;     // bit value 4 while the plug-in is loaded
    double earthRadius;           // 6378137.0, the WGS 84 semi-major axis in metres
    double earthRadiusInverse;    // 1 / 6378137
    double equirectangularFactor; // 4390419.788351634 (R cos 46.5 degrees)
    std::uint8_t reserved430[4];
    std::int32_t zero434;      // 0
    std::int32_t signature438; // 123456
    std::uint8_t reserved442[36];
    float colourScale478; // 255.0
    float colourScale482; // 255.0
    std::uint8_t reserved486[24];
    double maxSagitta;          // largest sagitta when arcs are cut into chords (0.1)
    char zoneNameOverride[100]; // used by the plug-in instead of GetZoneQEL when not empty

    explicit fVar(int unused);

    // Exchanges the words shared with the other family's block when its module is loaded; answers 1 then,
    // else clears the words taken from it and answers 0.
    int SynchronizeTavroZorta();
};

static_assert(sizeof(fVar) == 618);
static_assert(offsetof(fVar, exchanged) == 4);
static_assert(offsetof(fVar, fromOther12) == 12);
static_assert(offsetof(fVar, moduleHandle) == 20);
static_assert(offsetof(fVar, fromOther28) == 28);
static_assert(offsetof(fVar, zoneName) == 36);
static_assert(offsetof(fVar, returnsZero) == 76);
static_assert(offsetof(fVar, asyncErrorBox) == 100);
static_assert(offsetof(fVar, htcMode) == 136);
static_assert(offsetof(fVar, jigFlags) == 398);
static_assert(offsetof(fVar, pluginFlags) == 402);
static_assert(offsetof(fVar, earthRadius) == 406);
static_assert(offsetof(fVar, earthRadiusInverse) == 414);
static_assert(offsetof(fVar, equirectangularFactor) == 422);
static_assert(offsetof(fVar, zero434) == 434);
static_assert(offsetof(fVar, signature438) == 438);
static_assert(offsetof(fVar, colourScale478) == 478);
static_assert(offsetof(fVar, colourScale482) == 482);
static_assert(offsetof(fVar, maxSagitta) == 510);
static_assert(offsetof(fVar, zoneNameOverride) == 518);

// The block of this process.
extern fVar vfVar;

// The zone name of `vfVar`, after a synchronisation with the other family's block.
const char* GetZoneQEL();
