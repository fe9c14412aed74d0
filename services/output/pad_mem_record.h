#pragma once
// The record whose address travels with wm_TavroMem: the receiver reads it, then its payload, out of the
// sender's memory while the sender waits for the answer. 40 bytes, packed, little-endian, in every build.
#include <cstddef>
#include <cstdint>

struct __attribute__((packed)) PadMemRecord {
    std::int32_t kind;     // kPadTitle or kPadCommandLine
    std::uint64_t address; // of the payload in the sender's memory
    std::int32_t length;   // of the payload in bytes (a text without its terminating zero)
    std::uint8_t zero[24]{};
};

constexpr std::int32_t kPadTitle = 1;
constexpr std::int32_t kPadCommandLine = 2;

static_assert(sizeof(PadMemRecord) == 40);
static_assert(offsetof(PadMemRecord, kind) == 0);
static_assert(offsetof(PadMemRecord, address) == 4);
static_assert(offsetof(PadMemRecord, length) == 12);
static_assert(offsetof(PadMemRecord, zero) == 16);
