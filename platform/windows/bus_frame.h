#pragma once
// The wire form of one window message between processes: a fixed header, then the text it carries.
#include <cstddef>
#include <cstdint>

namespace platform::bus {

enum class FrameKind : std::uint8_t { Send = 1, Post = 2, Reply = 3, NoWindow = 4 };

struct __attribute__((packed)) FrameHeader {
    std::uint32_t textLength;
    FrameKind kind;
    std::uint8_t reserved[3];
    std::uint64_t id; // a send's number, repeated by its reply
    std::uint64_t window;
    std::uint32_t message;
    std::uint32_t reserved2;
    std::uint64_t wParam;
    std::int64_t lParam;
    std::int64_t result;
};

static_assert(sizeof(FrameHeader) == 56);
static_assert(offsetof(FrameHeader, kind) == 4);
static_assert(offsetof(FrameHeader, id) == 8);
static_assert(offsetof(FrameHeader, window) == 16);
static_assert(offsetof(FrameHeader, message) == 24);
static_assert(offsetof(FrameHeader, wParam) == 32);
static_assert(offsetof(FrameHeader, lParam) == 40);
static_assert(offsetof(FrameHeader, result) == 48);

// Texts longer than this are refused: no window message carries more.
constexpr std::uint32_t kFrameTextLimit = 64u << 20;

} // namespace platform::bus
