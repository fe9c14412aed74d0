#include "host/lisp/item_blocks.h"

#include <new>

namespace host {

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kKeepBlocks = false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kKeepBlocks = false;
#else
constexpr bool kKeepBlocks = true;
#endif
#else
constexpr bool kKeepBlocks = true;
#endif

constexpr std::size_t kGrain = 64;   // sizes are kept in classes of this many bytes
constexpr std::size_t kClasses = 32; // up to 2 KB: pairs, points and entity lists
constexpr std::size_t kKeptBytesPerClass = 1 << 20;

struct FreeBlock {
    FreeBlock* next;
};

// Plain data, never destroyed: lists freed while the program ends still find it.
struct Kept {
    FreeBlock* first = nullptr;
    std::size_t count = 0;
};
Kept g_kept[kClasses];

std::size_t classOf(std::size_t bytes) {
    return (bytes + kGrain - 1) / kGrain - 1;
}

} // namespace

void* allocateItemBlock(std::size_t bytes) {
    const std::size_t c = classOf(bytes);
    if (!kKeepBlocks || c >= kClasses) return ::operator new(bytes);
    Kept& kept = g_kept[c];
    if (FreeBlock* block = kept.first) {
        kept.first = block->next;
        --kept.count;
        return block;
    }
    return ::operator new((c + 1) * kGrain);
}

void releaseItemBlock(void* block, std::size_t bytes) noexcept {
    const std::size_t c = classOf(bytes);
    if (!kKeepBlocks || c >= kClasses || g_kept[c].count == kKeptBytesPerClass / ((c + 1) * kGrain)) {
        ::operator delete(block);
        return;
    }
    Kept& kept = g_kept[c];
    kept.first = new (block) FreeBlock{kept.first};
    ++kept.count;
}

} // namespace host
