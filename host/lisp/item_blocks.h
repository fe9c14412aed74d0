#pragma once
// The memory of LISP lists' item blocks. Evaluating makes and drops small lists all the time (a pair per
// group of an entity list, a point per vertex), so small blocks are kept for reuse, a bounded number of each
// size, rather than given back to the heap; under the address sanitizer every block comes from the heap, so
// that it still sees each one. Host command thread only.
#include <cstddef>

namespace host {

void* allocateItemBlock(std::size_t bytes);
// `bytes` as given when the block was allocated.
void releaseItemBlock(void* block, std::size_t bytes) noexcept;

} // namespace host
