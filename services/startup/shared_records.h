#pragma once
// The records of the two named shared segments, read at once by processes of every build: fixed little-endian
// byte layouts, packed, every handle in an 8-byte slot. Bytes without a reader in this system belong to
// programs outside it and keep their places.
#include "services/output/tavropad.h"
#include "services/startup/system_var.h"

#include <cstddef>
#include <cstdint>

// The general record, at byte 8 of the general segment. The creator zero-fills it; no constructor runs on it.
struct __attribute__((packed)) var_gen {
    std::uint8_t reserved0[238];
    char installFolder[100]; // ends with a backslash
    char localFolder[100];   // ends with a backslash
    std::uint8_t reserved438[2];
    std::int32_t pvDeb;           // trace bits, see g_DebugInfos
    std::int64_t size;            // 2136
    std::int64_t editorStartWord; // cleared before the editor is started and when it takes a start over
    std::uint8_t reserved460[1676];
};

static_assert(sizeof(var_gen) == 2136);
static_assert(offsetof(var_gen, installFolder) == 238);
static_assert(offsetof(var_gen, localFolder) == 338);
static_assert(offsetof(var_gen, pvDeb) == 440);
static_assert(offsetof(var_gen, size) == 444);
static_assert(offsetof(var_gen, editorStartWord) == 452);

// The segment "GlobalZortaQolmexSeg", shared with the other product family.
struct __attribute__((packed)) SZortaTAVRO {
    std::int32_t size; // 56
    std::int32_t reserved4;
    std::int64_t flags;          // bit values 1 and 2 stop the smoothing of polylines
    std::uint64_t cadWindow;     // the CAD window, written by the other family's programs
    std::int64_t otherFamily[4]; // not read in this system
};

static_assert(sizeof(SZortaTAVRO) == 56);
static_assert(offsetof(SZortaTAVRO, flags) == 8);
static_assert(offsetof(SZortaTAVRO, cadWindow) == 16);
static_assert(offsetof(SZortaTAVRO, otherFamily) == 24);

// The segment "GlobalZortaGenSeg".
struct __attribute__((packed)) ZortaGenSeg {
    ZortaGenSeg() : systemVar(), globalPad(0) {}

    std::int32_t size = 0;     // 3248
    std::int32_t busyWord = 0; // see busy_word.h
    var_gen general{};
    CSystemVar systemVar;
    std::uint8_t reserved2196[4]{};
    Tavropad globalPad;
    std::uint8_t exchangeBuffer[1024]{};
};

static_assert(sizeof(ZortaGenSeg) == 3248);
static_assert(offsetof(ZortaGenSeg, busyWord) == 4);
static_assert(offsetof(ZortaGenSeg, general) == 8);
static_assert(offsetof(ZortaGenSeg, systemVar) == 2144);
static_assert(offsetof(ZortaGenSeg, globalPad) == 2200);
static_assert(offsetof(ZortaGenSeg, exchangeBuffer) == 2224);

constexpr std::int32_t kZortaGenSegSize = sizeof(ZortaGenSeg);
constexpr std::int64_t kVarGenSize = sizeof(var_gen);
constexpr std::int32_t kZortaTavroSize = sizeof(SZortaTAVRO);

// Pointers into the segments, set by InitZortaGen and cleared when the library is unloaded.
extern ZortaGenSeg* g_pZortaGenSeg;
extern var_gen* pvg;
extern CSystemVar* g_pSystemVar;
extern Tavropad* g_pTpadG;
extern SZortaTAVRO* g_pSZortaTAVRO;

// The editor link of this process.
extern Tavropad Tpadl;

// Flag word of a selection in progress, written by programs outside the system; 0 at load.
extern std::int32_t SelectAcAdInputEnCours;
