#include <sys/mman.h>

#include <cstdint>
#include <new>

#include "platform/large_blocks.h"

namespace zl {

namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;
// Below this the heap serves well; above it a block is mostly filled at once.
constexpr std::size_t LargeBlock = std::size_t{4} << 20;

std::size_t roundedUp(std::size_t bytes) { return (bytes + HugePage - 1) & ~(HugePage - 1); }

// AddressSanitizer cannot see into memory mapped here; its builds keep
// every block on the heap it watches.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool MapLargeBlocks = false;
#else
constexpr bool MapLargeBlocks = true;
#endif

}  // namespace

void* allocateBlock(std::size_t bytes) {
  if (!MapLargeBlocks || bytes < LargeBlock) return ::operator new(bytes);
  const std::size_t size = roundedUp(bytes);
  // Map one huge page more and trim, so the block starts on a huge page.
  void* mapped = ::mmap(nullptr, size + HugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (mapped == MAP_FAILED) throw std::bad_alloc();
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  const std::uintptr_t aligned = (start + HugePage - 1) & ~std::uintptr_t{HugePage - 1};
  if (aligned > start) ::munmap(mapped, aligned - start);
  if (const std::size_t tail = start + HugePage - aligned) ::munmap(reinterpret_cast<void*>(aligned + size), tail);
  ::madvise(reinterpret_cast<void*>(aligned), size, MADV_HUGEPAGE);  // only a wish: without it, small pages
  return reinterpret_cast<void*>(aligned);
}

void releaseBlock(void* block, std::size_t bytes) noexcept {
  if (!MapLargeBlocks || bytes < LargeBlock) {
    ::operator delete(block);
    return;
  }
  ::munmap(block, roundedUp(bytes));
}

}  // namespace zl
