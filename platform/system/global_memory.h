#pragma once
// Movable global memory blocks (GlobalAlloc with GMEM_MOVEABLE): a handle to a block that can grow, whose
// size the owner can ask, and whose bytes are reached by locking it. The block's owner frees it.
#include <cstddef>

namespace platform {

struct GlobalBlock;
using HGLOBAL = GlobalBlock*;

// A block of `size` zeroed bytes; null when memory runs out.
HGLOBAL GlobalAlloc(std::size_t size);
// The block resized to `size` bytes (new bytes zeroed), keeping its handle; null, with the block unchanged,
// when memory runs out or `block` is null.
HGLOBAL GlobalReAlloc(HGLOBAL block, std::size_t size);
// The block's size in bytes; 0 for null.
std::size_t GlobalSize(HGLOBAL block);
// The block's bytes until the next resize; null for null.
void* GlobalLock(HGLOBAL block);
bool GlobalUnlock(HGLOBAL block);
// Frees the block; answers null.
HGLOBAL GlobalFree(HGLOBAL block);

} // namespace platform
