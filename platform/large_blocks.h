// Memory for the few large blocks of the program: the bytes of a
// vocabulary file and the records of its pairs. A block of several
// megabytes comes straight from the system in huge pages where the system
// offers them, so filling it costs a few hundred page faults instead of
// hundreds of thousands; smaller blocks come from the usual heap.
//
// Failure throws std::bad_alloc, as any allocation does.
#pragma once

#include <cstddef>

namespace zl {

// At least `bytes` bytes, aligned for any type, contents undefined.
void* allocateBlock(std::size_t bytes);

// Gives back a block from `allocateBlock`, with the same size.
void releaseBlock(void* block, std::size_t bytes) noexcept;

}  // namespace zl
