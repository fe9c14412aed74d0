#include "platform/system/global_memory.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace platform {

struct GlobalBlock {
    std::size_t size = 0;
    char* bytes = nullptr;
};

HGLOBAL GlobalAlloc(std::size_t size) {
    auto* block = new (std::nothrow) GlobalBlock;
    if (!block) return nullptr;
    block->bytes = static_cast<char*>(std::calloc(size ? size : 1, 1));
    if (!block->bytes) {
        delete block;
        return nullptr;
    }
    block->size = size;
    return block;
}

HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t size) {
    if (!block) return nullptr;
    auto* bytes = static_cast<char*>(std::realloc(block->bytes, size ? size : 1));
    if (!bytes) return nullptr;
    if (size > block->size) std::memset(bytes + block->size, 0, size - block->size);
    block->bytes = bytes;
    block->size = size;
    return block;
}

std::size_t GlobalSize(HGLOBAL block) {
    return block ? block->size : 0;
}

void* GlobalLock(HGLOBAL block) {
    return block ? block->bytes : nullptr;
}

bool GlobalUnlock(HGLOBAL block) {
    return block != nullptr;
}

HGLOBAL GlobalFree(HGLOBAL block) {
    if (block) std::free(block->bytes);
    delete block;
    return nullptr;
}

} // namespace platform
